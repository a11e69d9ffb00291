#include "platform/DebugOutput.h"

#include <cstdio>
#include <mutex>

namespace qx::platform {

namespace {

std::mutex sinkMutex;
DebugOutputSink currentSink;

void writeToStandardError(const std::string& text) {
    const std::string line = text + "\n";  // one write, so pieces of different threads stay whole
    std::fwrite(line.data(), 1, line.size(), stderr);
}

}  // namespace

void OutputDebugStringA(const std::string& text) {
    DebugOutputSink sink;
    {
        std::lock_guard lock(sinkMutex);
        sink = currentSink;
    }
    if (sink)
        sink(text);
    else
        writeToStandardError(text);
}

void setDebugOutputSink(DebugOutputSink sink) {
    std::lock_guard lock(sinkMutex);
    currentSink = std::move(sink);
}

}  // namespace qx::platform
