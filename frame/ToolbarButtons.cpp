#include "frame/ToolbarButtons.h"

namespace qx::frame {

host::ButtonPtr ToolbarButtons::Add(const platform::Variant& index, const std::string& key,
                                    const std::string& caption, int32_t style, const std::string& image) {
    auto button = std::make_shared<ToolbarButton>(key, caption, style, image, changed_);
    buttons_.insert(index, key, button);
    changed_.notify();
    return button;
}

}  // namespace qx::frame
