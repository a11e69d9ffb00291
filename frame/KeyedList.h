#pragma once
// The ordered, keyed collection behind the toolbar's Buttons and its image list's ListImages:
// items stay in insertion order (or at a 1-based index), a key names at most one item, and a key
// or index that is absent fails the call as the common controls' collections do.
#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/RuntimeError.h"
#include "platform/Variant.h"

namespace qx::frame {

inline constexpr int32_t kIndexOutOfBounds = 35600;
inline constexpr int32_t kKeyNotUnique = 35602;

template <class T>
class KeyedList {
  public:
    // An empty index appends; 1..count+1 inserts before that position. An empty key is allowed
    // any number of times (such an item is reachable by position only).
    void insert(const platform::Variant& index, const std::string& key, std::shared_ptr<T> item) {
        if (!key.empty() && find(key)) platform::raise(kKeyNotUnique, "Key is not unique in collection");
        size_t at = items_.size();
        if (!index.isEmpty()) {
            const int32_t i = index.toInt32();
            if (i < 1 || i > count() + 1) platform::raise(kIndexOutOfBounds, "Index out of bounds");
            at = static_cast<size_t>(i - 1);
        }
        items_.insert(items_.begin() + static_cast<std::ptrdiff_t>(at), {key, std::move(item)});
    }

    std::shared_ptr<T> find(const std::string& key) const {
        auto it = std::find_if(items_.begin(), items_.end(), [&](const auto& e) { return e.first == key; });
        return it == items_.end() ? nullptr : it->second;
    }

    // The item under key; error 35601 when there is none.
    std::shared_ptr<T> at(const std::string& key) const {
        auto item = key.empty() ? nullptr : find(key);
        if (!item) platform::raise(platform::kElementNotFound);
        return item;
    }

    int32_t count() const { return static_cast<int32_t>(items_.size()); }

    std::vector<std::string> keys() const {
        std::vector<std::string> out;
        for (const auto& e : items_) out.push_back(e.first);
        return out;
    }

  private:
    std::vector<std::pair<std::string, std::shared_ptr<T>>> items_;
};

}  // namespace qx::frame
