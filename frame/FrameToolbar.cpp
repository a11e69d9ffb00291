#include "frame/FrameToolbar.h"

namespace qx::frame {

host::ButtonPtr FrameToolbar::click(const std::string& key) {
    auto button = buttons_->find(key);
    if (!button) return std::make_shared<ToolbarButton>(key, "", 0, "");
    if (!button->enabled()) return nullptr;
    if (button->Style() == kCheckStyle) button->setValue(button->value() == 0 ? 1 : 0);
    return button;
}

}  // namespace qx::frame
