#pragma once
// The collection type of the stand-in data model: items in the order they were added, found by
// 1-based index or by exact name. A missing name is error 3265 and a bad index error 9, so a
// lookup the view makes for a parameter the device lacks fails the way the original did.
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "host/Collection.h"
#include "platform/RuntimeError.h"

namespace qx::frame {

template <class T>
class NamedCollection : public host::Collection<T> {
  public:
    void add(std::string name, std::shared_ptr<T> item) {
        items_.emplace_back(std::move(name), std::move(item));
    }

    int32_t count() const override { return static_cast<int32_t>(items_.size()); }

    std::shared_ptr<T> item(int32_t index) const override {
        if (index < 1 || index > count()) platform::raise(platform::kSubscriptOutOfRange);
        return items_[static_cast<size_t>(index - 1)].second;
    }

    std::shared_ptr<T> item(const std::string& name) const override {
        for (const auto& [n, p] : items_)
            if (n == name) return p;
        platform::raise(platform::kItemNotFound);
    }

  private:
    std::vector<std::pair<std::string, std::shared_ptr<T>>> items_;
};

}  // namespace qx::frame
