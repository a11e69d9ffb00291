#pragma once
// The samples of a recording are stored packed, one block per commit (about one a second), so
// that a 10 ms poll costs the writer an append to a buffer rather than a row of SQLite each, and
// a value that stays as it was (a switch point, a steady flow) costs no bytes.
//
// A block is its samples one after another, each as
//   dt        the time less the previous sample's in the block (0 before the first), in ms,
//             zigzag-encoded as an unsigned LEB128 varint
//   present   one byte, bit i set when the sample holds value i: 0 flow, 1 temperature,
//             2 switch point, 3 taught maximum, 4 taught minimum, 5 temperature switch point
//   fresh     one byte, bit i set when value i follows; a value present but not fresh is the
//             previous sample's value i, bit for bit
//   values    one little-endian float64 per fresh bit, in bit order
// A hole is a sample with neither flow nor temperature.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "record/RecordingRows.h"

namespace qx::record {

class SampleBlock {
  public:
    void add(const Sample& sample);
    void clear();

    bool empty() const { return count_ == 0; }
    int64_t count() const { return count_; }
    // The earliest and latest time in the block (a clock set back may bring an earlier one).
    int64_t from() const { return from_; }
    int64_t to() const { return to_; }
    const std::string& bytes() const { return bytes_; }

  private:
    std::string bytes_;
    int64_t count_ = 0, from_ = 0, to_ = 0;
    Sample last_;
};

// Appends the block's samples to `into`. Fails with RecordingError (naming nothing but the fault;
// the caller adds the file) when the block is cut short, carries bits no layout defines, or
// repeats a value the sample before it did not hold.
void unpackSamples(const unsigned char* data, size_t size, std::vector<Sample>& into);

}  // namespace qx::record
