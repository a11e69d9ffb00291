#pragma once
// Helpers for the data-model tests: a frame model per device options, and the view's way of
// reaching a parameter (description → module → group → value object → parameter).
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "frame/DataModel.h"
#include "platform/RuntimeError.h"

namespace qx::frame::test {

inline std::shared_ptr<FrameDataModel> modelWith(const DeviceOptions& options = {}) {
    return createFrameModel(options);
}

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

// The error number a call fails with; 0 when it does not fail.
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
