#pragma once
// The view's way of reaching a parameter, and the error number a call fails with.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "frame/DataModel.h"
#include "platform/RuntimeError.h"

namespace qx::frame::test {

// description → module → group → value object → parameter, as the view binds.
inline host::ParameterPtr lookup(const host::IDataModel& model, const std::string& module,
                                 const std::string& group, const std::string& name) {
    return model.description()
        ->modules()
        ->item(module)
        ->groups()
        ->item(group)
        ->valueObjects()
        ->item(name)
        ->parameter();
}

// The pieces of a text between separators, without leading blanks, none empty.
inline std::vector<std::string> split(const std::string& text, const std::string& separator) {
    std::vector<std::string> pieces;
    for (size_t at = 0; at < text.size();) {
        const auto end = std::min(text.find(separator, at), text.size());
        const auto start = std::min(text.find_first_not_of(' ', at), end);
        if (start < end) pieces.push_back(text.substr(start, end - start));
        at = end + separator.size();
    }
    return pieces;
}

// The steps of a test script: separated by ", " or line ends.
inline std::vector<std::string> stepsOf(std::string script) {
    for (auto at = script.find('\n'); at != std::string::npos; at = script.find('\n', at))
        script.replace(at, 1, ", ");
    return split(script, ", ");
}

// 0 when the call does not fail.
template <class F>
int32_t errorOf(F&& f) {
    try {
        f();
    } catch (const platform::RuntimeError& e) {
        return e.number();
    }
    return 0;
}

}  // namespace qx::frame::test
