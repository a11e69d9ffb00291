#include "ScreenTextMetrics.h"

#include <QApplication>

#include "Twips.h"

namespace qx::ui {

ScreenTextMetrics::ScreenTextMetrics() : metrics_(QApplication::font()) {}

int32_t ScreenTextMetrics::textWidth(const std::string& text) const {
    return toTwips(metrics_.horizontalAdvance(QString::fromStdString(text)));
}

}  // namespace qx::ui
