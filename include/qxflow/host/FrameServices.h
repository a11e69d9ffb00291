#pragma once
// The frame's message handler and callback receiver.
#include <memory>
#include <string>

#include "Export.h"
#include "host/Object.h"

namespace qx::host {

class QX_FLOW_EXPORT IMessageHandler : public Object {
  public:
    virtual void ShowMessage(const std::string& text, const std::string& caption) = 0;
    virtual void ShowDetailedMessage(const std::string& text, const std::string& caption) = 0;
};

class QX_FLOW_EXPORT ICallbackReceiver : public Object {
  public:
    // Called once when a deferred release has finished; the frame then lets the control go.
    virtual void NotifyReleased() = 0;
};

}  // namespace qx::host
