#include "support/ParameterWalk.h"

#include "platform/RuntimeError.h"

namespace qx::support {

using platform::must;

namespace {

void walkModule(const host::IModule& module, int32_t mask) {
    auto& groups = must(module.groups());
    for (int32_t g = 1; g <= groups.count(); ++g) {
        auto& values = must(must(groups.item(g)).valueObjects());
        for (int32_t v = 1; v <= values.count(); ++v) {
            auto& value = must(values.item(v));
            if ((mask & value.flags()) <= 0) continue;
            const int32_t state = value.state();
            if (state != 2 && state != 3) continue;
            must(value.parameter()).refresh();
        }
    }
}

}  // namespace

void WalkModelParameters(const host::DataModelPtr& model, const std::string& moduleName, int32_t mask) {
    auto& modules = must(must(must(model).description()).modules());
    if (moduleName == "$$MODULE") {
        for (int32_t m = 1; m <= modules.count(); ++m) walkModule(must(modules.item(m)), mask);
    } else {
        walkModule(must(modules.item(moduleName)), mask);
    }
}

}  // namespace qx::support
