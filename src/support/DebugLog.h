#pragma once
// The library's one diagnostic log, and its read-only configuration in the registry.
//
// The log has two outputs, the debugger output channel and the file "dtm.log" beside the library,
// each switched on by a value under HKEY_LOCAL_MACHINE\SOFTWARE\QXX\Controls ("Debug",
// "DebugFile") that a thread reads at its first log call and keeps. With both off a call costs a
// flag test once the tag and message are built. Nothing that goes wrong inside the log reaches
// the caller. The switches, the model-combining switch and the log clock are kept per thread;
// a thread that has not logged yet reads the registry afresh.
#include <string>

#include "host/Object.h"
#include "platform/PackageInternal.h"
#include "platform/Scheduler.h"
#include "platform/Variant.h"

namespace qx::support {

// The first word of every log header.
inline constexpr const char* kLibraryTitle = "QX_Flow";

// Logs text followed directly by moreText, tagged with `source`.
QX_FLOW_INTERNAL void DebugLog(const std::string& source, const platform::Variant& text,
                               const platform::Variant& moreText = {});
// The tag of an object is "(" + its address in decimal + ")" + its class name.
QX_FLOW_INTERNAL void DebugLog(const host::Object& source, const platform::Variant& text,
                               const platform::Variant& moreText = {});

// Writes "QX_Flow::<tag>: <message>" to the switched-on outputs; while a handler logs a run-time
// error (platform::ErrorLineScope) the header names its line: "QX_Flow::<tag>: in line <n>: ".
// The file gets one line, prefixed with the date and time; the debugger channel gets one piece
// per line of the message.
QX_FLOW_INTERNAL void DebugWrite(const std::string& tag, const std::string& message);
// Reads this thread's two switches; they count as read even if reading fails.
QX_FLOW_INTERNAL void ReadDebugSwitches();
// Appends line and CR LF to the file (created when missing), opening and closing it for this one
// line so that it can be read, moved or deleted between two calls. Failures are ignored; a path
// that holds no regular file (a FIFO, a device, a folder) gets nothing, which the debugger
// channel is told once per process, and the call never waits.
void AppendLineToFile(const std::string& path, const std::string& line);

// One value under HKEY_LOCAL_MACHINE\keyPath[\subKey]: a REG_DWORD as a signed 32-bit number,
// a REG_SZ as its text, 0 when the key or value is missing or the text has 256 bytes or more,
// empty for any other type or when reading fails.
QX_FLOW_INTERNAL platform::Variant ReadRegistryValue(const std::string& keyPath, const std::string& valueName,
                                                     const std::string& subKey);
// "CombineModels" = 42 switches model combining on; read once per thread.
QX_FLOW_INTERNAL bool IsCombineModels();

// The log's date and time on this thread come from `scheduler` (the UI thread's, so that a run on
// virtual time logs virtual time); none, the default, means the machine's clock. The scheduler
// must outlive its use here: set none before it goes.
QX_FLOW_INTERNAL void setLogClock(const platform::Scheduler* scheduler);

}  // namespace qx::support
