#include "platform/RuntimeError.h"

#include <map>

namespace qx::platform {

std::string standardMessage(int32_t number) {
    static const std::map<int32_t, std::string> messages = {
        {kInvalidProcedureCall, "Invalid procedure call or argument"},
        {kOverflow, "Overflow"},
        {kSubscriptOutOfRange, "Subscript out of range"},
        {kDivisionByZero, "Division by zero"},
        {kTypeMismatch, "Type mismatch"},
        {kFileNotFound, "File not found"},
        {kObjectNotSet, "Object variable or With block variable not set"},
        {kInvalidPropertyValue, "Invalid property value"},
        {381, "Invalid property array index"},
        {727, "There is already a control with this name"},
        {730, "Control array element doesn't exist"},
        {kObjectRequired, "Object required"},
        {kCannotCreateObject, "ActiveX component can't create object"},
        {kNotSupported, "Object doesn't support this property or method"},
        {kKeyAlreadyAssociated, "This key is already associated with an element of this collection"},
        {kInvalidClassString, "Invalid class string"},
        {kNoCurrentRecord, "No current record."},
        {kItemNotFound, "Item not found in this collection."},
        {kElementNotFound, "Element not found"},
    };
    auto it = messages.find(number);
    return it != messages.end() ? it->second : "Application-defined or object-defined error";
}

RuntimeError::RuntimeError(int32_t number, std::string description, int line, const char* file)
    : std::runtime_error(description.empty() ? standardMessage(number) : description),
      number_(number),
      description_(description.empty() ? standardMessage(number) : std::move(description)),
      line_(line),
      file_(file) {}

void raise(int32_t number, std::string description, std::source_location where) {
    throw RuntimeError(number, std::move(description), static_cast<int>(where.line()), where.file_name());
}

namespace {
thread_local int currentErrorLine = 0;
}  // namespace

int lastErrorLine() {
    return currentErrorLine;
}

ErrorLineScope::ErrorLineScope(const RuntimeError& e) : previous_(currentErrorLine) {
    currentErrorLine = e.line();
}

ErrorLineScope::~ErrorLineScope() {
    currentErrorLine = previous_;
}

std::string errorSummary(const RuntimeError& e) {
    return "Error " + std::to_string(e.number()) + ": " + e.message() + " (" + e.description() + ")";
}

}  // namespace qx::platform
