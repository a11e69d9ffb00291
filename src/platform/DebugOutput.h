#pragma once
// The debugger output channel: each call hands one piece of text to whoever listens. By default
// that is standard error, one line per piece; the console and tests put their own sink in its
// place. Safe to call from any thread.
#include <functional>
#include <string>

#include "platform/PackageInternal.h"

namespace qx::platform {

using DebugOutputSink = std::function<void(const std::string& text)>;

QX_FLOW_INTERNAL void OutputDebugStringA(const std::string& text);

// Sends every later piece to `sink`; an empty sink brings standard error back.
QX_FLOW_INTERNAL void setDebugOutputSink(DebugOutputSink sink);

}  // namespace qx::platform
