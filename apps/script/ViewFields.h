#pragma once
// The console's table of the view's fields by name: each entry reads one field through the view's
// read-only surface and prints it by the console's rules (booleans true/false, numbers, texts
// quoted, a time of day that was never set as `empty`, an object as its class name or `none`).
#include <functional>
#include <string>

namespace qx::view {
class QX_FlowWiz;
}

namespace qx::console {

using FieldReader = std::function<std::string(const view::QX_FlowWiz&)>;

// The reader of the field with that name; none for a name the view has no field for.
const FieldReader* findViewField(const std::string& name);

}  // namespace qx::console
