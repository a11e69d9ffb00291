#pragma once
// One column of a chart group's values: the shared X values or the Y values of one series.
//
// A trend grows by one point per poll cycle without bound, so the column is a directory of
// fixed-size chunks: appending never moves a stored value and costs the same at any length.
// A value never written is a hole. Holes live in a bitmap per chunk, so a 16-bit value stays
// 16 bits and no value of the type has to be sacrificed as a marker. A chunk nobody wrote to is
// never allocated: a series the chart leaves unused costs one null pointer per chunk.
#include <algorithm>
#include <bit>
#include <cstdint>
#include <deque>
#include <memory>
#include <optional>

namespace qx::platform {

template <class T>
class ChartColumn {
  public:
    static constexpr int32_t kChunkSize = 1024;

    int32_t size() const { return size_; }

    // Indices 0..n-1 become addressable. Every index at or beyond the old size starts as a hole,
    // also one that held a value before an earlier shrink.
    void resize(int32_t n) {
        const size_t chunksNeeded = static_cast<size_t>((int64_t{n} + kChunkSize - 1) / kChunkSize);
        if (n < size_) {
            while (chunks_.size() > chunksNeeded) chunks_.pop_back();
            if (n % kChunkSize != 0 && chunks_.back()) chunks_.back()->forgetFrom(n % kChunkSize);
        } else {
            while (chunks_.size() < chunksNeeded) chunks_.emplace_back();
        }
        size_ = n;
    }

    // The caller keeps i within 0..size()-1.
    std::optional<T> get(int32_t i) const {
        const Chunk* c = chunks_[static_cast<size_t>(i / kChunkSize)].get();
        if (!c || !c->isWritten(i % kChunkSize)) return std::nullopt;
        return c->values[i % kChunkSize];
    }

    // The first index at or after i that holds a value, size() when none does; the last index at
    // or before i that holds one, -1 when none does. A range search over a column with long runs
    // of holes skips them a chunk or 64 indices at a time instead of one by one.
    int32_t nextWritten(int32_t i) const {
        for (i = std::max(i, 0); i < size_; i = (i / kChunkSize + 1) * kChunkSize) {
            const Chunk* c = chunks_[static_cast<size_t>(i / kChunkSize)].get();
            if (!c) continue;
            const int32_t base = i - i % kChunkSize;
            int32_t w = i % kChunkSize / 64;
            uint64_t bits = c->written[w] & (~uint64_t{0} << (i % 64));
            for (;;) {
                if (bits) return std::min(size_, base + w * 64 + std::countr_zero(bits));
                if (++w == Chunk::kWords) break;
                bits = c->written[w];
            }
        }
        return size_;
    }

    int32_t previousWritten(int32_t i) const {
        for (i = std::min(i, size_ - 1); i >= 0; i = i - i % kChunkSize - 1) {
            const Chunk* c = chunks_[static_cast<size_t>(i / kChunkSize)].get();
            if (!c) continue;
            const int32_t base = i - i % kChunkSize;
            int32_t w = i % kChunkSize / 64;
            uint64_t bits = c->written[w] & (~uint64_t{0} >> (63 - i % 64));
            for (;;) {
                if (bits) return base + w * 64 + 63 - std::countl_zero(bits);
                if (w-- == 0) break;
                bits = c->written[w];
            }
        }
        return -1;
    }

    void set(int32_t i, T value) {
        auto& c = chunks_[static_cast<size_t>(i / kChunkSize)];
        if (!c) c.reset(new Chunk);  // values stay uninitialised: the bitmap says none is written
        c->values[i % kChunkSize] = value;
        c->markWritten(i % kChunkSize);
    }

  private:
    struct Chunk {
        static constexpr int32_t kWords = kChunkSize / 64;
        T values[kChunkSize];
        uint64_t written[kWords] = {};

        bool isWritten(int32_t o) const { return (written[o / 64] >> (o % 64)) & 1U; }
        void markWritten(int32_t o) { written[o / 64] |= uint64_t{1} << (o % 64); }
        // Keeps the invariant that nothing at or beyond the size counts as written.
        void forgetFrom(int32_t o) {
            written[o / 64] &= (uint64_t{1} << (o % 64)) - 1;
            for (int32_t w = o / 64 + 1; w < kWords; ++w) written[w] = 0;
        }
    };
    static_assert(kChunkSize % 64 == 0);

    int32_t size_ = 0;
    std::deque<std::unique_ptr<Chunk>> chunks_;
};

}  // namespace qx::platform
