#pragma once
// Marks a type or function of the library's inside that the package's own frame, programs and
// tests reach across the library's edge. The library hides every other symbol; these are
// exported like the public API, but their headers are not installed, so an integrator neither
// sees them nor can come to rely on them.
#define QX_FLOW_INTERNAL __attribute__((visibility("default")))
