#pragma once
// Text widths as the window draws them: in the application's font, at 15 twips to a pixel, so
// that a label whose width follows its text is as wide on screen as its text.
#include <QFontMetrics>
#include <string>

#include "platform/TextMetrics.h"

namespace qx::ui {

// The window's font: a sans serif at 8 points whose widths are close to those the view's layout
// was made for, so that German captions fit their buttons (Debian's fonts-liberation).
inline constexpr const char* kScreenFont = "Liberation Sans";
inline constexpr int kScreenFontPoints = 8;

class ScreenTextMetrics : public platform::TextMetrics {
  public:
    // Measures in the application's font as it is when constructed.
    ScreenTextMetrics();
    int32_t textWidth(const std::string& text) const override;

  private:
    QFontMetrics metrics_;
};

}  // namespace qx::ui
