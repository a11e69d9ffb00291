#include "frame/FrameViewModule.h"

namespace qx::frame {

void FrameContext::notify(const host::ObjectPtr& view) {
    ++notices_;
    lastNotifier_ = view;
}

FrameViewModule::FrameViewModule(std::string name, const std::vector<std::string>& contextNames)
    : name_(std::move(name)) {
    for (const std::string& c : contextNames) {
        auto context = std::make_shared<FrameContext>(c);
        contexts_.push_back(context);
        contextCollection_->add(c, context);
    }
}

std::shared_ptr<FrameContext> FrameViewModule::context(const std::string& name) const {
    for (const auto& c : contexts_)
        if (c->name() == name) return c;
    return nullptr;
}

}  // namespace qx::frame
