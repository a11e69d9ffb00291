#pragma once
// The frame's callback receiver: the view tells it when a deferred release has finished. The
// stand-in frame counts the notices and tells an observer, which then lets the view go.
#include <functional>

#include "host/FrameServices.h"

namespace qx::frame {

class CallbackReceiver : public host::ICallbackReceiver {
  public:
    std::string className() const override { return "CallbackReceiver"; }
    void NotifyReleased() override;

    int releasedCount() const { return releasedCount_; }

    std::function<void()> onReleased;

  private:
    int releasedCount_ = 0;
};

}  // namespace qx::frame
