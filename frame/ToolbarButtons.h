#pragma once
// The buttons of the frame's toolbar. A button keeps what the view sets on it and tells the
// toolbar's observers of every change, so a frame on screen follows it; a click is the toolbar's
// business (FrameToolbar::click), because a check-style button must toggle before the click is
// reported.
#include "frame/KeyedList.h"
#include "host/Toolbar.h"
#include "platform/Observers.h"

namespace qx::frame {

class ToolbarButton : public host::IButton {
  public:
    // `changed` is the toolbar's list (a copy shares its observers).
    ToolbarButton(std::string key, std::string caption, int32_t style, std::string image,
                  platform::ObserverList<> changed = {})
        : key_(std::move(key)),
          caption_(std::move(caption)),
          style_(style),
          image_(std::move(image)),
          changed_(std::move(changed)) {}

    std::string className() const override { return "Button"; }
    std::string key() const override { return key_; }
    int32_t value() const override { return value_; }
    void setValue(int32_t v) override { set(value_, v); }
    bool enabled() const override { return enabled_; }
    void setEnabled(bool v) override { set(enabled_, v); }
    std::string ToolTipText() const override { return toolTip_; }
    void setToolTipText(const std::string& v) override { set(toolTip_, v); }
    int32_t Style() const override { return style_; }
    void setStyle(int32_t v) override { set(style_, v); }
    std::string image() const override { return image_; }
    const std::string& caption() const { return caption_; }

  private:
    template <class T>
    void set(T& field, const T& value) {
        if (field == value) return;
        field = value;
        changed_.notify();
    }

    std::string key_;
    std::string caption_;
    int32_t style_;
    std::string image_;
    int32_t value_ = 0;
    bool enabled_ = true;
    std::string toolTip_;
    platform::ObserverList<> changed_;
};

class ToolbarButtons : public host::IButtons {
  public:
    std::string className() const override { return "Buttons"; }
    // A key already present fails with error 35602.
    host::ButtonPtr Add(const platform::Variant& index, const std::string& key, const std::string& caption,
                        int32_t style, const std::string& image) override;
    // Error 35601 for a key that is absent.
    host::ButtonPtr item(const std::string& key) const override { return buttons_.at(key); }
    int32_t count() const override { return buttons_.count(); }

    // None for a key that is absent.
    std::shared_ptr<ToolbarButton> find(const std::string& key) const { return buttons_.find(key); }
    std::vector<std::string> keys() const { return buttons_.keys(); }
    // Told when a button is added or any button changes.
    [[nodiscard]] platform::Subscription observe(std::function<void()> observer) const {
        return changed_.add(std::move(observer));
    }

  private:
    KeyedList<ToolbarButton> buttons_;
    mutable platform::ObserverList<> changed_;  // observing changes nothing of the buttons
};

}  // namespace qx::frame
