#include "support/DebugLog.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <ctime>

#include "platform/DebugOutput.h"
#include "platform/LibraryFolder.h"
#include "platform/Registry.h"
#include "platform/RuntimeError.h"

namespace qx::support {

namespace {

using platform::Variant;

constexpr const char* kControlsKey = "SOFTWARE\\QXX\\Controls";
constexpr int64_t kMsPerDay = 86'400'000;

struct LogSwitches {
    bool read = false;
    bool debugger = false;
    bool file = false;
};

thread_local LogSwitches switches;
thread_local int32_t combineModels = 0;  // 0 not read yet, 10 off, 42 on
thread_local const platform::Scheduler* logClock = nullptr;

// "2026-12-06, 14:05:09"
std::string dateAndTime() {
    int year = 0;
    unsigned month = 0, day = 0;
    int64_t secondOfDay = 0;
    if (logClock) {
        const int64_t ms = logClock->nowMs();
        const int64_t dayOffset = ms >= 0 ? ms / kMsPerDay : (ms - kMsPerDay + 1) / kMsPerDay;
        secondOfDay = (ms - dayOffset * kMsPerDay) / 1000;
        const std::chrono::year_month_day date{
            std::chrono::sys_days{std::chrono::days{logClock->startDay() + dayOffset}}};
        year = static_cast<int>(date.year());
        month = static_cast<unsigned>(date.month());
        day = static_cast<unsigned>(date.day());
    } else {
        const std::time_t now = std::time(nullptr);
        std::tm local{};
        localtime_r(&now, &local);
        year = local.tm_year + 1900;
        month = static_cast<unsigned>(local.tm_mon + 1);
        day = static_cast<unsigned>(local.tm_mday);
        secondOfDay = local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec;
    }
    char text[48];
    std::snprintf(text, sizeof text, "%04d-%02u-%02u, %02d:%02d:%02d", year, month, day,
                  static_cast<int>(secondOfDay / 3600), static_cast<int>(secondOfDay / 60 % 60),
                  static_cast<int>(secondOfDay % 60));
    return text;
}

class KeyCloser {
  public:
    explicit KeyCloser(platform::HKEY key) : key_(key) {}
    ~KeyCloser() { platform::RegCloseKey(key_); }
    KeyCloser(const KeyCloser&) = delete;
    KeyCloser& operator=(const KeyCloser&) = delete;

  private:
    platform::HKEY key_;
};

}  // namespace

void DebugLog(const std::string& source, const Variant& text, const Variant& moreText) {
    try {
        DebugWrite(source, text.toText() + moreText.toText());
    } catch (...) {
    }
}

void DebugLog(const host::Object& source, const Variant& text, const Variant& moreText) {
    try {
        const auto identity = reinterpret_cast<uintptr_t>(dynamic_cast<const void*>(&source));
        DebugWrite("(" + std::to_string(identity) + ")" + source.className(),
                   text.toText() + moreText.toText());
    } catch (...) {
    }
}

void DebugWrite(const std::string& tag, const std::string& message) {
    if (switches.read && !switches.debugger && !switches.file) return;
    try {
        const int line = platform::lastErrorLine();
        const std::string header =
            std::string(kLibraryTitle) + "::" + tag +
            (line > 0 ? ": in line " + std::to_string(line) + ": " : std::string(": "));
        if (!switches.read) {
            ReadDebugSwitches();
            if (!switches.debugger && !switches.file) return;
        }
        if (switches.file)
            AppendLineToFile(platform::libraryFolder() + "/dtm.log", dateAndTime() + ": " + header + message);
        if (switches.debugger) {
            // One piece per CR LF line; a final CR LF makes no empty last piece.
            size_t start = 0;
            do {
                const size_t cut = message.find("\r\n", start);
                const size_t end = cut == std::string::npos ? message.size() : cut;
                platform::OutputDebugStringA(header + message.substr(start, end - start));
                start = cut == std::string::npos ? message.size() : cut + 2;
            } while (start < message.size());
        }
    } catch (...) {
    }
}

void ReadDebugSwitches() {
    switches = LogSwitches{.read = true};
    switches.debugger = ReadRegistryValue(kControlsKey, "Debug", "").equals(1);
    switches.file = ReadRegistryValue(kControlsKey, "DebugFile", "").equals(1);
}

void AppendLineToFile(const std::string& path, const std::string& line) {
    try {
        // O_NONBLOCK: a FIFO in the file's place must neither make the open wait for a reader nor
        // the write for room; anything but a regular file is left alone, and said so once.
        const int fd =
            ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC | O_NONBLOCK | O_NOCTTY, 0666);
        // ENXIO: a FIFO that nobody reads; EISDIR: a folder.
        bool regular = false, other = fd < 0 && (errno == ENXIO || errno == EISDIR);
        if (struct stat s{}; fd >= 0 && ::fstat(fd, &s) == 0) {
            regular = S_ISREG(s.st_mode);
            other = !regular;
        }
        if (!regular) {
            if (fd >= 0) ::close(fd);
            static std::atomic<bool> told{false};
            if (other && !told.exchange(true))
                platform::OutputDebugStringA(std::string(kLibraryTitle) + "::DebugLog: " + path +
                                             " is not a regular file: nothing is logged to it");
            return;
        }
        const std::string data = line + "\r\n";
        // A line goes out in one write, which keeps the lines of two writers of the file whole;
        // the loop only finishes a short write.
        size_t done = 0;
        while (done < data.size()) {
            const ssize_t n = ::write(fd, data.data() + done, data.size() - done);
            if (n <= 0) break;
            done += static_cast<size_t>(n);
        }
        ::close(fd);
    } catch (...) {
    }
}

Variant ReadRegistryValue(const std::string& keyPath, const std::string& valueName,
                          const std::string& subKey) {
    try {
        const std::string path = subKey.empty() ? keyPath : keyPath + "\\" + subKey;
        platform::HKEY key{};
        if (platform::RegOpenKeyExA(
                platform::HKEY_LOCAL_MACHINE, path, 0,
                platform::KEY_QUERY_VALUE | platform::KEY_ENUMERATE_SUB_KEYS | platform::KEY_NOTIFY,
                &key) != platform::ERROR_SUCCESS)
            return 0;
        KeyCloser closer(key);
        uint8_t buffer[256];
        uint32_t size = sizeof buffer, type = 0;
        if (platform::RegQueryValueExA(key, valueName, nullptr, &type, buffer, &size) !=
            platform::ERROR_SUCCESS)
            return 0;
        if (type == platform::REG_SZ) {
            const auto* text = reinterpret_cast<const char*>(buffer);
            return std::string(text, strnlen(text, size));
        }
        if (type == platform::REG_DWORD) {
            uint32_t number = 0, numberSize = sizeof number;
            if (platform::RegQueryValueExA(key, valueName, nullptr, nullptr,
                                           reinterpret_cast<uint8_t*>(&number),
                                           &numberSize) != platform::ERROR_SUCCESS)
                return {};
            return static_cast<int32_t>(number);
        }
        return {};
    } catch (...) {
        return {};
    }
}

bool IsCombineModels() {
    if (combineModels != 10 && combineModels != 42)
        combineModels = ReadRegistryValue(kControlsKey, "CombineModels", "").equals(42) ? 42 : 10;
    return combineModels == 42;
}

void setLogClock(const platform::Scheduler* scheduler) {
    logClock = scheduler;
}

}  // namespace qx::support
