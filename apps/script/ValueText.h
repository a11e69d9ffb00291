#pragma once
// How the console prints values: texts in double quotes with the script's escapes plus \r and
// \n, whole numbers in decimal, other numbers in the shortest form that reads back exactly,
// booleans true/false, colours as six upper-case hex digits of 0x00BBGGRR, `empty` for the
// empty value and `none` where there is no object.
#include <cstdint>
#include <string>

#include "platform/Variant.h"

namespace qx::console {

inline constexpr const char* kNone = "none";
inline constexpr const char* kEmpty = "empty";

std::string quoteText(const std::string& text);
std::string numberText(double v);
std::string colourText(uint32_t colour);
std::string booleanText(bool v);
// Seconds with three decimals (chart X values and axis limits).
std::string secondsText(double seconds);
// A value; `asColour` prints numbers as colours.
std::string variantText(const platform::Variant& v, bool asColour = false);
// Whether a property's value prints as a colour: its name ends in "Color".
bool isColourProperty(const std::string& property);

}  // namespace qx::console
