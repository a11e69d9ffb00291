#pragma once
// The frame's toolbar that the view fills with its buttons and pictures. The frame reports a
// person's click through click(): a check-style button (style 1) has already toggled its value
// when the click reaches the view.
#include "frame/ToolbarButtons.h"
#include "frame/ToolbarImages.h"

namespace qx::frame {

inline constexpr int32_t kCheckStyle = 1;

class FrameToolbar : public host::IToolbar {
  public:
    std::string className() const override { return "Toolbar"; }
    std::shared_ptr<host::IImageList> ImageList() const override { return imageList_; }
    std::shared_ptr<host::IButtons> Buttons() const override { return buttons_; }

    const ToolbarButtons& buttons() const { return *buttons_; }
    const frame::ListImages& images() const { return *imageList_->images(); }

    // A click on the button with this key, as the frame reports it: the button to hand to the
    // view's ToolbarButtonClick, or none when the button is disabled (a disabled button takes no
    // click). A key the toolbar lacks is one of the frame's own buttons, which the view did not
    // add: it is reported as a detached push button with that key.
    host::ButtonPtr click(const std::string& key);

  private:
    std::shared_ptr<ToolbarButtons> buttons_ = std::make_shared<ToolbarButtons>();
    std::shared_ptr<frame::ImageList> imageList_ = std::make_shared<frame::ImageList>();
};

}  // namespace qx::frame
