#include "frame/FrameEnvironment.h"

#include "platform/RuntimeError.h"

namespace qx::frame {

std::shared_ptr<FrameEnvironment> FrameEnvironment::create() {
    std::shared_ptr<FrameEnvironment> env(new FrameEnvironment());
    env->store_ = std::make_shared<Store>();
    env->store_->members.push_back(env);
    return env;
}

void FrameEnvironment::put(const std::string& name, const host::Variant& value) {
    store_->values[name] = value;
}

host::Variant FrameEnvironment::get(const std::string& name) const {
    auto it = store_->values.find(name);
    return it != store_->values.end() ? it->second : host::Variant();
}

void FrameEnvironment::link(const std::shared_ptr<host::IEnvironment>& other) {
    platform::must(other);
    auto env = std::dynamic_pointer_cast<FrameEnvironment>(other);
    if (!env) platform::raise(platform::kTypeMismatch, "Only environments of the same frame can be linked");
    if (env->store_ == store_) return;
    // Keep the old store alive while its members move over; the last one moving would drop it.
    const std::shared_ptr<Store> theirs = env->store_;
    store_->values.insert(theirs->values.begin(), theirs->values.end());  // keeps this side's values
    std::erase_if(store_->members, [](const auto& m) { return m.expired(); });
    for (const auto& member : theirs->members) {
        if (auto m = member.lock()) {
            m->store_ = store_;
            store_->members.push_back(m);
        }
    }
}

}  // namespace qx::frame
