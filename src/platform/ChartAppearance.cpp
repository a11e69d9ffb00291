#include "platform/ChartAppearance.h"

#include <cctype>
#include <cmath>

#include "platform/RuntimeError.h"

namespace qx::platform {

namespace {

void checkColor(uint32_t c) {
    if (c > 0xFFFFFF) raise(kInvalidPropertyValue, "Not a colour: " + std::to_string(c));
}

void checkRange(int32_t v, int32_t lo, int32_t hi, const char* what) {
    if (v < lo || v > hi)
        raise(kInvalidPropertyValue, std::string(what) + " must lie within " + std::to_string(lo) + ".." +
                                         std::to_string(hi) + ": " + std::to_string(v));
}

bool isToken(const std::string& f, size_t i) {
    return f.compare(i, 2, "hh") == 0 || f.compare(i, 2, "mm") == 0 || f.compare(i, 2, "ss") == 0;
}

std::string twoDigits(int v) {
    return {static_cast<char>('0' + v / 10), static_cast<char>('0' + v % 10)};
}

}  // namespace

void ChartStyle::setLineColor(uint32_t c) {
    checkColor(c);
    lineColor_ = c;
}

void ChartStyle::setLineWidth(int32_t pixels) {
    checkRange(pixels, 0, 20, "Line width");
    lineWidth_ = pixels;
}

void ChartStyle::setFillColor(uint32_t c) {
    checkColor(c);
    fillColor_ = c;
}

void ChartStyle::setSymbolShape(int16_t value) {
    checkRange(value, 0, kLastSymbolShape, "Symbol shape");
    symbolShape_ = static_cast<SymbolShape>(value);
}

void ChartStyle::setSymbolSize(int32_t pixels) {
    checkRange(pixels, 1, 40, "Symbol size");
    symbolSize_ = pixels;
}

void ChartTimeScale::setBase(int32_t secondsSinceMidnight) {
    checkRange(secondsSinceMidnight, 0, 86399, "Time base");
    base_ = secondsSinceMidnight;
}

void ChartTimeScale::setFormat(std::string format) {
    for (size_t i = 0; i < format.size(); ++i) {
        if (isToken(format, i))
            ++i;
        else if (std::isalpha(static_cast<unsigned char>(format[i])))
            raise(kInvalidPropertyValue, "Time format '" + format + "': only hh, mm and ss are known");
    }
    format_ = std::move(format);
}

std::string ChartTimeScale::label(double value) const {
    if (!std::isfinite(value)) raise(kInvalidPropertyValue, "A time label needs a finite value");
    const double unitSeconds = unit_ == TimeUnit::Hours ? 3600 : unit_ == TimeUnit::Minutes ? 60 : 1;
    // Whole seconds: a value computed as seconds / 3600 must not show one second early. Whole days
    // drop out first, so that no finite value overflows when counted in seconds.
    const double inDay = std::fmod(value, 86400 / unitSeconds) * unitSeconds;
    const double seconds = std::fmod(base_ + std::round(inDay), 86400.0);
    const int t = static_cast<int>(seconds < 0 ? seconds + 86400 : seconds);
    std::string out;
    for (size_t i = 0; i < format_.size(); ++i) {
        if (!isToken(format_, i)) {
            out += format_[i];
            continue;
        }
        const char c = format_[i++];
        out += twoDigits(c == 'h' ? t / 3600 : c == 'm' ? t / 60 % 60 : t % 60);
    }
    return out;
}

void ChartAxis::setMin(double v) {
    if (!std::isfinite(v)) raise(kInvalidPropertyValue, "An axis limit must be a finite number");
    min_ = v;
}

void ChartAxis::setMax(double v) {
    if (!std::isfinite(v)) raise(kInvalidPropertyValue, "An axis limit must be a finite number");
    max_ = v;
}

}  // namespace qx::platform
