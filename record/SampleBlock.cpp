#include "record/SampleBlock.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <optional>

namespace qx::record {

static_assert(std::endian::native == std::endian::little, "values are copied as the machine lays them out");

namespace {

constexpr size_t kValueCount = 6;
constexpr unsigned kKnownBits = (1u << kValueCount) - 1;

template <class S>  // Sample or const Sample
auto valuesOf(S& s) {
    return std::array{&s.flow,      &s.temperature, &s.switchPoint,
                      &s.taughtMax, &s.taughtMin,   &s.temperatureSwitchPoint};
}

bool sameBits(double a, double b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

}  // namespace

void SampleBlock::add(const Sample& sample) {
    // One sample takes at most a ten-byte time, the two masks and six values.
    char row[10 + 2 + kValueCount * sizeof(double)];
    size_t at = 0;
    // Unsigned arithmetic: times far apart wrap instead of overflowing, and unwrap alike.
    const uint64_t delta =
        static_cast<uint64_t>(sample.tMs) - static_cast<uint64_t>(count_ == 0 ? 0 : last_.tMs);
    uint64_t zigzag = (delta << 1) ^ (delta >> 63 ? ~uint64_t{0} : 0);
    while (zigzag >= 0x80) {
        row[at++] = static_cast<char>((zigzag & 0x7F) | 0x80);
        zigzag >>= 7;
    }
    row[at++] = static_cast<char>(zigzag);
    const size_t masks = at;
    at += 2;
    uint8_t present = 0, fresh = 0;
    const auto values = valuesOf(sample);
    const auto before = valuesOf(last_);
    for (size_t i = 0; i < kValueCount; ++i) {
        if (!*values[i]) continue;
        present = static_cast<uint8_t>(present | 1u << i);
        if (count_ > 0 && *before[i] && sameBits(**values[i], **before[i])) continue;
        fresh = static_cast<uint8_t>(fresh | 1u << i);
        std::memcpy(row + at, &**values[i], sizeof(double));
        at += sizeof(double);
    }
    row[masks] = static_cast<char>(present);
    row[masks + 1] = static_cast<char>(fresh);
    bytes_.append(row, at);
    from_ = count_ == 0 ? sample.tMs : std::min(from_, sample.tMs);
    to_ = count_ == 0 ? sample.tMs : std::max(to_, sample.tMs);
    ++count_;
    last_ = sample;
}

void SampleBlock::clear() {
    bytes_.clear();
    count_ = 0;
    last_ = {};
}

void unpackSamples(const unsigned char* data, size_t size, std::vector<Sample>& into) {
    size_t at = 0;
    const auto need = [&](size_t bytes) {
        if (size - at < bytes) throw RecordingError("a block of samples is cut short");
    };
    Sample last;
    bool first = true;
    while (at < size) {
        uint64_t zigzag = 0;
        for (unsigned shift = 0;; shift += 7) {
            need(1);
            const uint8_t byte = data[at++];
            if (shift > 63 || (shift == 63 && byte > 1))
                throw RecordingError("a block of samples holds a time out of range");
            zigzag |= uint64_t{byte & 0x7Fu} << shift;
            if (!(byte & 0x80)) break;
        }
        need(2);
        const uint8_t present = data[at], fresh = data[at + 1];
        at += 2;
        if (((present | fresh) & ~kKnownBits) != 0 || (fresh & ~present) != 0)
            throw RecordingError("a block of samples holds values of no known kind");
        const uint64_t delta = (zigzag >> 1) ^ (zigzag & 1 ? ~uint64_t{0} : 0);
        Sample s;
        s.tMs = static_cast<int64_t>((first ? 0 : static_cast<uint64_t>(last.tMs)) + delta);
        const auto values = valuesOf(s);
        const auto before = valuesOf(last);
        for (size_t i = 0; i < kValueCount; ++i) {
            if (!(present & 1u << i)) continue;
            if (fresh & 1u << i) {
                need(sizeof(double));
                double v = 0;
                std::memcpy(&v, data + at, sizeof v);
                at += sizeof v;
                *values[i] = v;
            } else {
                if (!*before[i]) throw RecordingError("a block of samples repeats a value that is not there");
                *values[i] = *before[i];
            }
        }
        into.push_back(s);
        last = s;
        first = false;
    }
}

}  // namespace qx::record
