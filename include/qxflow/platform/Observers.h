#pragma once
// Change notices for front ends. A registration returns a Subscription, a token that ends the
// registration when it is destroyed, so neither side can leave the other a dangling observer: a
// token that outlives its list does nothing, and a list destroyed first forgets its observers.
// An observer may register or end registrations (its own too) while it is told; those ended
// during a notice are not told any more, those added are told from the next notice on.
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <utility>
#include <vector>

#include "Export.h"

namespace qx::platform {

class QX_FLOW_EXPORT Subscription {
  public:
    Subscription() = default;
    explicit Subscription(std::function<void()> end) : end_(std::move(end)) {}
    ~Subscription() { reset(); }
    Subscription(Subscription&& other) noexcept : end_(std::exchange(other.end_, nullptr)) {}
    Subscription& operator=(Subscription&& other) noexcept {
        if (this != &other) {
            reset();
            end_ = std::exchange(other.end_, nullptr);
        }
        return *this;
    }
    Subscription(const Subscription&) = delete;
    Subscription& operator=(const Subscription&) = delete;

    // Ends the registration now.
    void reset() {
        if (auto end = std::exchange(end_, nullptr)) end();
    }
    explicit operator bool() const { return static_cast<bool>(end_); }

  private:
    std::function<void()> end_;
};

template <class... Args>
class QX_FLOW_EXPORT ObserverList {
  public:
    using Observer = std::function<void(Args...)>;

    [[nodiscard]] Subscription add(Observer observer) {
        const uint64_t id = ++state_->lastId;
        state_->observers.emplace(id, std::make_shared<Observer>(std::move(observer)));
        return Subscription([weak = std::weak_ptr<State>(state_), id] {
            if (auto state = weak.lock()) state->observers.erase(id);
        });
    }

    void notify(Args... args) const {
        if (state_->observers.empty()) return;
        // The list may change while observers are told; each is looked up again before its turn.
        const std::vector<std::pair<uint64_t, std::shared_ptr<Observer>>> snapshot(state_->observers.begin(),
                                                                                   state_->observers.end());
        const std::shared_ptr<State> keep = state_;
        for (const auto& [id, observer] : snapshot)
            if (keep->observers.contains(id)) (*observer)(args...);
    }

    size_t size() const { return state_->observers.size(); }

  private:
    struct State {
        uint64_t lastId = 0;
        std::map<uint64_t, std::shared_ptr<Observer>> observers;
    };
    std::shared_ptr<State> state_ = std::make_shared<State>();
};

}  // namespace qx::platform
