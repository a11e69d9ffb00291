#pragma once
// The standard control models the view is built from: labels, text boxes, command buttons, check
// boxes, combo boxes (drop-down lists), frames, picture boxes and scroll bars. Each input has a
// `user...` entry point that takes it only while the control is usable, and says whether it did.
#include <string>
#include <vector>

#include "Export.h"
#include "platform/Control.h"
#include "platform/TextMetrics.h"

namespace qx::platform {

class QX_FLOW_EXPORT Label : public Control {
  public:
    explicit Label(std::string name) : Control(std::move(name), "Label") {}
    const std::string& caption() const { return caption_; }
    void setCaption(std::string v);
    // From now on the label's width follows its caption, measured with `metrics` (which must
    // outlive the label), as a label sized automatically does.
    void sizeToCaption(const TextMetrics& metrics);
    uint32_t backColor() const { return backColor_; }
    void setBackColor(uint32_t v) { assign(backColor_, v, "BackColor"); }
    uint32_t foreColor() const { return foreColor_; }
    void setForeColor(uint32_t v) { assign(foreColor_, v, "ForeColor"); }
    bool fontBold() const { return fontBold_; }
    void setFontBold(bool v) { assign(fontBold_, v, "FontBold"); }

    Variant getProperty(const std::string& name) const override;
    void setProperty(const std::string& name, const Variant& value) override;

  private:
    std::string caption_;
    const TextMetrics* sizedBy_ = nullptr;
    uint32_t backColor_ = 0xF0F0F0;
    uint32_t foreColor_ = 0x000000;
    bool fontBold_ = false;
};

class QX_FLOW_EXPORT TextBox : public Control {
  public:
    explicit TextBox(std::string name) : Control(std::move(name), "TextBox") {}
    const std::string& text() const { return text_; }
    void setText(std::string v) { assign(text_, std::move(v), "Text"); }
    bool userSetText(std::string v);
    Variant getProperty(const std::string& name) const override;
    void setProperty(const std::string& name, const Variant& value) override;

  private:
    std::string text_;
};

class QX_FLOW_EXPORT CommandButton : public Control {
  public:
    explicit CommandButton(std::string name) : Control(std::move(name), "CommandButton") {}
    const std::string& caption() const { return caption_; }
    void setCaption(std::string v) { assign(caption_, std::move(v), "Caption"); }
    Event Click;
    void click() { fire(Click); }
    bool userClick();
    Variant getProperty(const std::string& name) const override;
    void setProperty(const std::string& name, const Variant& value) override;

  private:
    std::string caption_;
};

// A check box: its click event follows every change of its value.
class QX_FLOW_EXPORT CheckBox : public Control {
  public:
    explicit CheckBox(std::string name) : Control(std::move(name), "CheckBox") {}
    const std::string& caption() const { return caption_; }
    void setCaption(std::string v) { assign(caption_, std::move(v), "Caption"); }
    int32_t value() const { return value_; }
    void setValue(int32_t v);  // 0 or 1; others fail with error 380
    Event Click;
    // A click toggles the value; its click event follows the change.
    bool userClick();
    bool userSetValue(int32_t v);
    Variant getProperty(const std::string& name) const override;
    void setProperty(const std::string& name, const Variant& value) override;

  private:
    std::string caption_;
    int32_t value_ = 0;
};

// A drop-down list: its text is always one of its entries (or empty when none is chosen).
class QX_FLOW_EXPORT ComboBox : public Control {
  public:
    explicit ComboBox(std::string name) : Control(std::move(name), "ComboBox") {}
    const std::string& text() const;
    // Chooses the entry with exactly that text; a text the list lacks fails with error 380.
    void setText(const std::string& v);
    int32_t listIndex() const { return listIndex_; }
    void setListIndex(int32_t index);  // -1 chooses nothing; outside the list fails with 380
    int32_t listCount() const { return static_cast<int32_t>(items_.size()); }
    const std::string& list(int32_t index) const;  // error 381 outside the list
    void addItem(std::string item);
    void clear();
    Event Click;  // the chosen entry changed
    // A person chooses an entry by its text or by its place in the list.
    bool userSetText(const std::string& v);
    bool userSetListIndex(int32_t index);
    Variant getProperty(const std::string& name) const override;
    void setProperty(const std::string& name, const Variant& value) override;

  private:
    std::vector<std::string> items_;
    int32_t listIndex_ = -1;
};

class QX_FLOW_EXPORT Frame : public Control {
  public:
    explicit Frame(std::string name, std::string typeName = "Frame")
        : Control(std::move(name), std::move(typeName)) {}
    const std::string& caption() const { return caption_; }
    void setCaption(std::string v) { assign(caption_, std::move(v), "Caption"); }
    Variant getProperty(const std::string& name) const override;
    void setProperty(const std::string& name, const Variant& value) override;

  private:
    std::string caption_;
};

class QX_FLOW_EXPORT PictureBox : public Control {
  public:
    explicit PictureBox(std::string name) : Control(std::move(name), "PictureBox") {}
};

// A scroll bar: refuses a value outside Min..Max with error 380 and raises Change when its
// value changes.
class QX_FLOW_EXPORT ScrollBar : public Control {
  public:
    ScrollBar(std::string name, bool horizontal, int32_t min, int32_t max);
    bool horizontal() const { return horizontal_; }
    int32_t min() const { return min_; }
    int32_t max() const { return max_; }
    int32_t value() const { return value_; }
    void setValue(int32_t v);
    void setMin(int32_t v) { assign(min_, v, "Min"); }
    void setMax(int32_t v) { assign(max_, v, "Max"); }
    Event Change;
    bool userSetValue(int32_t v);
    Variant getProperty(const std::string& name) const override;
    void setProperty(const std::string& name, const Variant& value) override;

  private:
    bool horizontal_;
    int32_t min_, max_, value_;
};

}  // namespace qx::platform
