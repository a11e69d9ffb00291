#include "frame/FrameSettings.h"

#include "frame/FrameDescription.h"

namespace qx::frame {

void FrameSettings::reset() {
    ++resetCount_;
    if (auto description = description_.lock()) description->restoreStartValues();
}

}  // namespace qx::frame
