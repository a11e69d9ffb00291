#include "frame/line/LineDiagnostics.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

namespace qx::frame {

void LineDiagnostics::answered(int64_t latencyUs) {
    ++answers;
    latencies_[next_] = std::max<int64_t>(latencyUs, 0);
    next_ = (next_ + 1) % kLatencies;
    count_ = std::min(count_ + 1, kLatencies);
}

void LineDiagnostics::failed(JobFault fault) {
    switch (fault) {
        case JobFault::Timeout:
            ++timeouts;
            break;
        case JobFault::Exception:
            ++exceptions;
            break;
        case JobFault::Malformed:
            ++malformed;
            break;
        case JobFault::None:
        case JobFault::Local:
            break;
    }
}

std::optional<double> LineDiagnostics::latencyMs(double quantile) const {
    if (count_ == 0) return std::nullopt;
    std::vector<int64_t> kept(latencies_.begin(), latencies_.begin() + static_cast<ptrdiff_t>(count_));
    std::ranges::sort(kept);
    // Nearest rank: the smallest value with at least `quantile` of the values at or below it.
    const double rank = std::ceil(quantile * static_cast<double>(count_));
    const size_t index = static_cast<size_t>(std::clamp(rank, 1.0, static_cast<double>(count_))) - 1;
    return static_cast<double>(kept[index]) / 1000.0;
}

std::string millisecondsText(std::optional<double> ms) {
    if (!ms) return "-";
    const double tenths = std::round(*ms * 10.0);
    char text[32];
    if (std::fmod(tenths, 10.0) == 0.0)
        std::snprintf(text, sizeof text, "%.0f", tenths / 10.0);
    else
        std::snprintf(text, sizeof text, "%.1f", tenths / 10.0);
    return text;
}

std::string LineDiagnostics::text() const {
    return "requests=" + std::to_string(requests) + " answers=" + std::to_string(answers) +
           " timeouts=" + std::to_string(timeouts) + " exceptions=" + std::to_string(exceptions) +
           " malformed=" + std::to_string(malformed) + " reconnects=" + std::to_string(reconnects) +
           " p50=" + millisecondsText(latencyMs(0.5)) + " p99=" + millisecondsText(latencyMs(0.99));
}

}  // namespace qx::frame
