#pragma once
// A one-line value label whose width follows its text: the inner Label1 sizes itself to its
// caption through the text metrics, and the control takes over Label1's width. Every property
// is Label1's; the control keeps no state of its own.
#include <cstdint>
#include <string>

#include "platform/PackageInternal.h"
#include "platform/StandardControls.h"
#include "platform/TextMetrics.h"

namespace qx::display {

class QX_FLOW_INTERNAL MyLabel : public platform::Control {
  public:
    static constexpr int32_t kDesignWidth = 810;
    static constexpr int32_t kDesignHeight = 270;

    // The metrics must outlive the control (the container's text-metrics service does).
    MyLabel(std::string name, const platform::TextMetrics& metrics);

    const std::string& caption() const { return label1_.caption(); }
    // Sets Label1's text and makes the control exactly as wide as Label1 then is.
    void setCaption(std::string txt);
    uint32_t backColor() const { return label1_.backColor(); }
    void setBackColor(uint32_t color) { label1_.setBackColor(color); }
    // Write-only for the view; read back only by the console and a window's binding.
    uint32_t foreColor() const { return label1_.foreColor(); }
    void setForeColor(uint32_t color) { label1_.setForeColor(color); }

    // A resize hands the new height to Label1 and leaves Label1's width alone.
    void setWidth(int32_t v) override;
    void setHeight(int32_t v) override;

    const platform::Label& label1() const { return label1_; }

    // Adds "Caption", "BackColor" and "ForeColor".
    platform::Variant getProperty(const std::string& name) const override;
    void setProperty(const std::string& name, const platform::Variant& value) override;

  private:
    void UserControl_Resize();
    // Label1's AutoSize: its width is its text's width.
    void fitLabelToText();

    const platform::TextMetrics& metrics_;
    platform::Label label1_;
    platform::Subscription label1Watch_;
};

}  // namespace qx::display
