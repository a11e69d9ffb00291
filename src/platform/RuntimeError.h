#pragma once
// The run-time error of the library and of the frame's objects: a number, its standard message,
// a description and the source line where it was raised. Entry points catch it where the view
// logs failures; everything else lets it travel.
#include <cstdint>
#include <memory>
#include <source_location>
#include <stdexcept>
#include <string>

#include "platform/PackageInternal.h"

namespace qx::platform {

// The error numbers the system raises, with the standard messages of standardMessage().
enum ErrorCode : int32_t {
    kInvalidProcedureCall = 5,
    kOverflow = 6,
    kSubscriptOutOfRange = 9,
    kDivisionByZero = 11,
    kTypeMismatch = 13,
    kFileNotFound = 53,
    kObjectNotSet = 91,
    kInvalidPropertyValue = 380,
    kObjectRequired = 424,
    kCannotCreateObject = 429,
    kNotSupported = 438,
    kKeyAlreadyAssociated = 457,
    kInvalidClassString = 711,
    kNoCurrentRecord = 3021,
    kItemNotFound = 3265,
    kElementNotFound = 35601,
    kObjectError = -2147221504,  // base of the numbers a frame object raises for its own failures
};

// The standard message of an error number; "Application-defined or object-defined error" for
// numbers outside the catalogue.
QX_FLOW_INTERNAL std::string standardMessage(int32_t number);

class QX_FLOW_INTERNAL RuntimeError : public std::runtime_error {
  public:
    RuntimeError(int32_t number, std::string description, int line, const char* file = "");

    int32_t number() const { return number_; }
    std::string message() const { return standardMessage(number_); }
    const std::string& description() const { return description_; }
    int line() const { return line_; }
    const char* file() const { return file_; }

  private:
    int32_t number_;
    std::string description_;
    int line_;
    const char* file_;
};

// Raises error `number`; the description defaults to the standard message.
[[noreturn]] QX_FLOW_INTERNAL void raise(int32_t number, std::string description = {},
                                         std::source_location where = std::source_location::current());

// "Error <n>: <message> (<description>)", the tail of every ONERROR log line.
QX_FLOW_INTERNAL std::string errorSummary(const RuntimeError& e);

// A call on "none" fails with error 91.
template <class T>
T& must(const std::shared_ptr<T>& p, std::source_location where = std::source_location::current()) {
    if (!p) raise(kObjectNotSet, {}, where);
    return *p;
}
template <class T>
T& must(T* p, std::source_location where = std::source_location::current()) {
    if (!p) raise(kObjectNotSet, {}, where);
    return *p;
}

// The source line of the run-time error being handled on this thread, 0 when none is: the line a
// log header names. A catch block that logs holds an ErrorLineScope for as long as it logs.
QX_FLOW_INTERNAL int lastErrorLine();

class QX_FLOW_INTERNAL ErrorLineScope {
  public:
    explicit ErrorLineScope(const RuntimeError& e);
    ~ErrorLineScope();
    ErrorLineScope(const ErrorLineScope&) = delete;
    ErrorLineScope& operator=(const ErrorLineScope&) = delete;

  private:
    int previous_;  // a handler that logs inside another handler hands the outer line back
};

// Runs f and swallows a run-time error: the "with failures ignored" statements.
template <class F>
void ignoreErrors(F&& f) {
    try {
        f();
    } catch (const RuntimeError&) {
    }
}

}  // namespace qx::platform
