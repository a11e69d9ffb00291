#pragma once
// Shared by the log tests: the log keeps its switches per thread and reads them once, so every
// case runs its logging in a thread of its own, against a registry it set up itself, and
// collects what reaches the debugger output channel.
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "host/Object.h"
#include "platform/DebugOutput.h"
#include "platform/Registry.h"

namespace qx::test {

inline constexpr const char* kControlsKey = "SOFTWARE\\QXX\\Controls";

class LogTest : public testing::Test {
  protected:
    void SetUp() override {
        platform::registryStore().clear();
        platform::setDebugOutputSink([this](const std::string& text) {
            std::lock_guard lock(mutex_);
            channel.push_back(text);
            if (onPiece) onPiece(text);
        });
    }
    void TearDown() override {
        platform::setDebugOutputSink({});
        platform::registryStore().clear();
    }

    // Runs f in a thread that has not logged yet.
    static void inFreshThread(const std::function<void()>& f) { std::thread(f).join(); }

    std::vector<std::string> channel;                 // pieces sent to the debugger output channel
    std::function<void(const std::string&)> onPiece;  // runs as each piece arrives

  private:
    std::mutex mutex_;
};

// An object of the frame's kind, as the view passes itself to the log.
class NamedObject : public host::Object {
  public:
    explicit NamedObject(std::string name) : name_(std::move(name)) {}
    std::string className() const override { return name_; }

  private:
    std::string name_;
};

}  // namespace qx::test
