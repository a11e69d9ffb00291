#pragma once
// The view modules of a stand-in data model and their contexts. A context counts the notices a
// view gives it when it binds and when it leaves, so tests can see both happen.
#include <memory>
#include <string>
#include <vector>

#include "frame/NamedCollection.h"
#include "host/DataModel.h"

namespace qx::frame {

class FrameContext : public host::IContext {
  public:
    explicit FrameContext(std::string name) : name_(std::move(name)) {}
    std::string className() const override { return "Context"; }
    void notify(const host::ObjectPtr& view) override;

    const std::string& name() const { return name_; }
    int notices() const { return notices_; }
    host::ObjectPtr lastNotifier() const { return lastNotifier_.lock(); }

  private:
    std::string name_;
    int notices_ = 0;
    std::weak_ptr<host::Object> lastNotifier_;
};

class FrameViewModule : public host::IViewModule {
  public:
    FrameViewModule(std::string name, const std::vector<std::string>& contextNames);
    std::string className() const override { return "ViewModule"; }
    std::shared_ptr<host::Collection<host::IContext>> contexts() const override { return contextCollection_; }

    const std::string& name() const { return name_; }
    std::shared_ptr<FrameContext> context(const std::string& name) const;  // none when absent

  private:
    std::string name_;
    std::vector<std::shared_ptr<FrameContext>> contexts_;
    std::shared_ptr<NamedCollection<host::IContext>> contextCollection_ =
        std::make_shared<NamedCollection<host::IContext>>();
};

}  // namespace qx::frame
