#pragma once
// Marks what the shared library QX_Flow exports. It is built with hidden symbols, so a type or
// function reached across the library's edge carries QX_FLOW_EXPORT: for a class that also
// means its type information and vtable, without which dynamic_cast and catching its exceptions
// would fail on the other side.
#define QX_FLOW_EXPORT __attribute__((visibility("default")))
