#pragma once
// What went across a line and what went wrong on it, kept by the line contract itself so that
// every kind of line counts alike: jobs sent, jobs answered, and the ways a job fails (no answer
// in time, the device refused it, an answer that made no sense), connections made again after
// the first, and how long the last answers took.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace qx::frame {

// Why a job answered "FAILED", as far as the line can tell.
enum class JobFault {
    None,
    Timeout,    // no whole answer within the line's deadline
    Exception,  // the device refused the request
    Malformed,  // an answer that does not fit its request (or a value the model refuses)
    Local,      // never sent: the line cannot carry it (no register, read-only, out of range)
};

class LineDiagnostics {
  public:
    // How many answers' latencies are kept; older ones drop out.
    static constexpr size_t kLatencies = 1000;

    uint64_t requests = 0;
    uint64_t answers = 0;
    uint64_t timeouts = 0;
    uint64_t exceptions = 0;
    uint64_t malformed = 0;
    uint64_t reconnects = 0;

    // A job answered after `latencyUs` microseconds.
    void answered(int64_t latencyUs);
    void failed(JobFault fault);
    // The quantile (0..1) of the kept latencies in milliseconds, nearest rank; none before the
    // first answer.
    std::optional<double> latencyMs(double quantile) const;
    size_t latencyCount() const { return count_; }

    // "requests=<n> answers=<n> timeouts=<n> exceptions=<n> malformed=<n> reconnects=<n>
    // p50=<ms> p99=<ms>"; a latency not known yet is "-", one below a millisecond keeps a decimal.
    std::string text() const;

  private:
    std::array<int64_t, kLatencies> latencies_{};
    size_t next_ = 0;
    size_t count_ = 0;
};

// A latency in milliseconds as `show line` prints it: whole when it is, else to 0.1 ms.
std::string millisecondsText(std::optional<double> ms);

}  // namespace qx::frame
