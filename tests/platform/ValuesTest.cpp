// Values at the boundaries the view relies on: conversions of the variant type, checked 16-bit
// arithmetic, and the run-time error with its number, message and line.
#include <gtest/gtest.h>

#include <cmath>
#include <thread>

#include "platform/Int16.h"
#include "platform/RuntimeError.h"
#include "platform/Variant.h"

namespace qx::platform {
namespace {

// The error number `f` raises, 0 when it raises none.
template <class F>
int32_t errorOf(F&& f) {
    try {
        f();
    } catch (const RuntimeError& e) {
        return e.number();
    }
    return 0;
}

TEST(Variant, ConversionToSixteenBitsRoundsHalvesToEven) {
    // A plain round() would give 3, 4 and -3 for these.
    const std::pair<Variant, int16_t> cases[] = {
        {2.5, 2},       {3.5, 4},     {-2.5, -2},   {0.5, 0},     {1.5, 2},           {2.4999, 2},
        {"2.5", 2},     {" 3.5 ", 4}, {"-2.5", -2}, {"1e2", 100}, {"32767.4", 32767}, {-32768.5, -32768},
        {Variant(), 0}, {true, -1},   {false, 0},   {"True", -1},
    };
    for (const auto& [value, expected] : cases) {
        SCOPED_TRACE(value.toText());
        EXPECT_EQ(value.toInt16(), expected);
    }
}

TEST(Variant, SixteenBitOverflowStartsAt32768) {
    EXPECT_EQ(errorOf([] { Variant(32768).toInt16(); }), kOverflow);
    EXPECT_EQ(errorOf([] { Variant(-32769).toInt16(); }), kOverflow);
    EXPECT_EQ(errorOf([] { Variant(32767.5).toInt16(); }), kOverflow);  // rounds up to 32768
    EXPECT_EQ(errorOf([] { Variant("40000").toInt16(); }), kOverflow);
    EXPECT_EQ(errorOf([] { Variant(1e300).toInt32(); }), kOverflow);
    EXPECT_EQ(Variant(32767).toInt16(), 32767);
    EXPECT_EQ(Variant(-32768).toInt16(), -32768);
    EXPECT_EQ(Variant(32768).toInt32(), 32768);
}

TEST(Variant, TextThatIsNoNumberIsATypeMismatch) {
    for (const char* text : {"", " ", "abc", "1,5", "0x10", "inf", "nan", "1e", "--1", "5 5"}) {
        SCOPED_TRACE(text);
        EXPECT_EQ(errorOf([&] { Variant(text).toDouble(); }), kTypeMismatch);
        EXPECT_EQ(errorOf([&] { Variant(text).toInt16(); }), kTypeMismatch);
    }
}

TEST(Variant, TextForms) {
    EXPECT_EQ(Variant().toText(), "");
    EXPECT_EQ(Variant(-42).toText(), "-42");
    EXPECT_EQ(Variant(2.0).toText(), "2");
    EXPECT_EQ(Variant(0.1).toText(), "0.1");
    EXPECT_EQ(Variant(true).toText(), "True");
    EXPECT_EQ(Variant(false).toText(), "False");
    EXPECT_EQ(Variant(uint32_t{0x80FF80}).toText(), "8454016");
    // The shortest form still reads back as exactly the same number.
    const double third = 1.0 / 3.0;
    double back = 0;
    ASSERT_TRUE(parseNumber(Variant(third).toText(), back));
    EXPECT_EQ(back, third);
}

TEST(Variant, EqualityComparesNumbersByValueAndNeverFails) {
    EXPECT_TRUE(Variant("1").equals(1));
    EXPECT_TRUE(Variant(" 1.0 ").equals(1));
    EXPECT_TRUE(Variant(42).equals(42.0));
    EXPECT_TRUE(Variant("a").equals("a"));
    EXPECT_TRUE(Variant().equals(Variant()));
    EXPECT_FALSE(Variant("1").equals("1.0"));  // two texts compare as texts
    EXPECT_FALSE(Variant("abc").equals(1));
    EXPECT_FALSE(Variant().equals(0));
    EXPECT_FALSE(Variant(0).equals(Variant()));
    EXPECT_FALSE(Variant(1).equals(42));
}

TEST(Int16, CheckedArithmeticRaisesOverflowOutsideSixteenBits) {
    EXPECT_EQ(add16(32766, 1), 32767);
    EXPECT_EQ(errorOf([] { add16(32767, 1); }), kOverflow);
    EXPECT_EQ(sub16(-32767, 1), -32768);
    EXPECT_EQ(errorOf([] { sub16(-32768, 1); }), kOverflow);
    EXPECT_EQ(errorOf([] { mul16(200, 200); }), kOverflow);
    EXPECT_EQ(errorOf([] { mul16(-1, -32768); }), kOverflow);
    EXPECT_EQ(mul16(-1, 32767), -32767);
    EXPECT_EQ(errorOf([] { round16(std::nan("")); }), kOverflow);
}

TEST(RuntimeError, CarriesNumberMessageDescriptionAndLine) {
    const int line = __LINE__ + 2;
    try {
        raise(kSubscriptOutOfRange);
        FAIL() << "raise returned";
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.line(), line);
        EXPECT_EQ(errorSummary(e), "Error 9: Subscript out of range (Subscript out of range)");
    }
    try {
        raise(kObjectError + 17, "Device not connected");
    } catch (const RuntimeError& e) {
        EXPECT_EQ(errorSummary(e),
                  "Error -2147221487: Application-defined or object-defined error (Device not connected)");
    }
    std::shared_ptr<int> none;
    EXPECT_EQ(errorOf([&] { must(none); }), kObjectNotSet);
}

TEST(RuntimeError, TheLineOfTheErrorBeingHandledIsPerThreadAndNests) {
    EXPECT_EQ(lastErrorLine(), 0);
    const RuntimeError outer(5, "", 120), inner(6, "", 340);
    {
        ErrorLineScope handling(outer);
        EXPECT_EQ(lastErrorLine(), 120);
        std::thread([] { EXPECT_EQ(lastErrorLine(), 0); }).join();
        {
            ErrorLineScope nested(inner);
            EXPECT_EQ(lastErrorLine(), 340);
        }
        EXPECT_EQ(lastErrorLine(), 120);
    }
    EXPECT_EQ(lastErrorLine(), 0);
}

}  // namespace
}  // namespace qx::platform
