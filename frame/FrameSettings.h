#pragma once
// The settings object of a stand-in data model: its language, its resource database (shared by
// the frame's model and the applied copies made from it) and the reset of the model's values.
#include <cstdint>
#include <memory>
#include <string>

#include "frame/FrameDatabase.h"
#include "host/DataModel.h"

namespace qx::frame {

class FrameDescription;

class FrameSettings : public host::ISettings {
  public:
    // `database` may be none: the model then has no database.
    FrameSettings(int32_t language, std::shared_ptr<FrameDatabase> database)
        : language_(language), database_(std::move(database)) {}

    std::string className() const override { return "Settings"; }
    std::shared_ptr<host::IDatabase> database() const override { return database_; }
    int32_t language() const override { return language_; }
    void setLanguage(int32_t language) override { language_ = language; }
    // Every parameter of the model returns to the value it started with.
    void reset() override;

    // Frame side.
    void attach(std::weak_ptr<FrameDescription> description) { description_ = std::move(description); }
    const std::shared_ptr<FrameDatabase>& frameDatabase() const { return database_; }
    int resetCount() const { return resetCount_; }

  private:
    int32_t language_;
    std::shared_ptr<FrameDatabase> database_;
    std::weak_ptr<FrameDescription> description_;
    int resetCount_ = 0;
};

}  // namespace qx::frame
