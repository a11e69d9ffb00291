#pragma once
// The frame's message handler: the view shows its message boxes through it. The stand-in frame has
// no window, so each message is kept in order and handed to an observer (the console prints it).
#include <functional>
#include <string>
#include <vector>

#include "host/FrameServices.h"

namespace qx::frame {

class MessageHandler : public host::IMessageHandler {
  public:
    struct Message {
        bool detailed;  // ShowDetailedMessage rather than ShowMessage
        std::string text;
        std::string caption;
    };

    std::string className() const override { return "MessageHandler"; }
    void ShowMessage(const std::string& text, const std::string& caption) override;
    void ShowDetailedMessage(const std::string& text, const std::string& caption) override;

    const std::vector<Message>& shown() const { return shown_; }

    // Told of every message as it is shown; the box returns at once, as a person's click would.
    std::function<void(const Message&)> onShown;

  private:
    void show(Message message);
    std::vector<Message> shown_;
};

}  // namespace qx::frame
