#pragma once
// The smaller and the larger of two numbers, as the layout and the chart ranges widen and clip
// their values. Both return the first argument when the two are equal.
#include <type_traits>

namespace qx::support {

template <class A, class B>
requires std::is_arithmetic_v<A> && std::is_arithmetic_v<B>
constexpr std::common_type_t<A, B> MinOf(A a, B b) {
    using R = std::common_type_t<A, B>;
    return static_cast<R>(a) > static_cast<R>(b) ? static_cast<R>(b) : static_cast<R>(a);
}

template <class A, class B>
requires std::is_arithmetic_v<A> && std::is_arithmetic_v<B>
constexpr std::common_type_t<A, B> MaxOf(A a, B b) {
    using R = std::common_type_t<A, B>;
    return static_cast<R>(a) < static_cast<R>(b) ? static_cast<R>(b) : static_cast<R>(a);
}

}  // namespace qx::support
