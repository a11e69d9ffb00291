#include "platform/ChartData.h"

#include <cmath>
#include <string>

#include "platform/RuntimeError.h"

namespace qx::platform {

ChartData::ChartData(int seriesCount) : y_(static_cast<size_t>(seriesCount)) {}

void ChartData::setNumPoints(int32_t n) {
    if (n < 0) raise(kInvalidPropertyValue, "NumPoints cannot be negative: " + std::to_string(n));
    x_.resize(n);
    for (auto& c : y_) c.resize(n);
}

int32_t ChartData::pointSlot(int32_t p) const {
    if (p < 1 || p > numPoints())
        raise(kSubscriptOutOfRange,
              "Point " + std::to_string(p) + " is outside 1.." + std::to_string(numPoints()));
    return p - 1;
}

size_t ChartData::seriesSlot(int series) const {
    if (series < 1 || series > seriesCount())
        raise(kSubscriptOutOfRange,
              "Series " + std::to_string(series) + " is outside 1.." + std::to_string(seriesCount()));
    return static_cast<size_t>(series - 1);
}

std::optional<double> ChartData::x(int32_t p) const {
    return x_.get(pointSlot(p));
}

void ChartData::setX(int32_t p, double value) {
    const int32_t i = pointSlot(p);
    if (!std::isfinite(value)) raise(kInvalidPropertyValue, "X must be a finite number");
    x_.set(i, value);
}

std::optional<int16_t> ChartData::y(int series, int32_t p) const {
    return y_[seriesSlot(series)].get(pointSlot(p));
}

int32_t ChartData::nextPointWithX(int32_t p) const {
    const int32_t i = x_.nextWritten(p - 1);
    return i < numPoints() ? i + 1 : 0;
}

int32_t ChartData::previousPointWithX(int32_t p) const {
    return x_.previousWritten(p - 1) + 1;
}

void ChartData::setY(int series, int32_t p, int16_t value) {
    y_[seriesSlot(series)].set(pointSlot(p), value);
}

}  // namespace qx::platform
