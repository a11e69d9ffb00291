#include "frame/MessageHandler.h"

namespace qx::frame {

void MessageHandler::ShowMessage(const std::string& text, const std::string& caption) {
    show({false, text, caption});
}

void MessageHandler::ShowDetailedMessage(const std::string& text, const std::string& caption) {
    show({true, text, caption});
}

void MessageHandler::show(Message message) {
    shown_.push_back(std::move(message));
    if (onShown) onShown(shown_.back());
}

}  // namespace qx::frame
