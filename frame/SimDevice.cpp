#include "frame/SimDevice.h"

#include "platform/RuntimeError.h"

namespace qx::frame {

host::CommunicationPtr SimDevice::CreateCommunication() {
    if (device_->options().commFails)
        platform::raise(platform::kCannotCreateObject, "The device's communication could not be created");
    communication_ = SimCommunication::create(scheduler_, device_);
    return communication_;
}

}  // namespace qx::frame
