// A recording's packed block of samples on arbitrary bytes, as a damaged or foreign file hands it
// to a reader. A refused block is refused with a reason; the samples of an accepted one pack into
// a block that reads back as the same samples, bit for bit (its packing is then unchanged).
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "FuzzCheck.h"
#include "record/SampleBlock.h"

namespace {

using namespace qx::record;

std::string packed(const std::vector<Sample>& samples) {
    SampleBlock block;
    for (const Sample& s : samples) block.add(s);
    return block.bytes();
}

std::vector<Sample> unpacked(const std::string& bytes) {
    std::vector<Sample> samples;
    unpackSamples(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), samples);
    return samples;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<Sample> samples;
    try {
        unpackSamples(data, size, samples);
    } catch (const RecordingError& e) {
        qx::fuzz::require(*e.what() != '\0', "a refusal gives its reason");
        return 0;
    }
    const std::string once = packed(samples);
    std::vector<Sample> again;
    try {
        again = unpacked(once);
    } catch (const RecordingError& e) {
        qx::fuzz::require(false, std::string("a packed block is refused: ") + e.what());
    }
    qx::fuzz::require(again.size() == samples.size(), "a packed block holds every sample");
    qx::fuzz::require(packed(again) == once, "a packed block reads back bit for bit");
    return 0;
}
