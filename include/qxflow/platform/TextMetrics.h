#pragma once
// Measures text for controls whose size follows their text. The console uses the fixed-pitch
// rule; a window supplies the real font's metrics.
#include <cstdint>
#include <string>

#include "Export.h"

namespace qx::platform {

class QX_FLOW_EXPORT TextMetrics {
  public:
    virtual ~TextMetrics() = default;
    // Width of the text in twips.
    virtual int32_t textWidth(const std::string& text) const = 0;
};

// Every character (UTF-8 code point) is 90 twips (6 pixels) wide.
class QX_FLOW_EXPORT FixedPitchTextMetrics : public TextMetrics {
  public:
    static constexpr int32_t kCharWidth = 90;
    int32_t textWidth(const std::string& text) const override;
};

}  // namespace qx::platform
