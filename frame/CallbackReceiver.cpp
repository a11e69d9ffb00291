#include "frame/CallbackReceiver.h"

namespace qx::frame {

void CallbackReceiver::NotifyReleased() {
    ++releasedCount_;
    if (onReleased) onReleased();
}

}  // namespace qx::frame
