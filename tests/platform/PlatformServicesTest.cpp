// What the platform gives the library: values at the boundaries the view relies on (conversions
// of the variant type, checked 16-bit arithmetic, the run-time error with its number, message and
// line), and where diagnostic text and data files go (the debugger output channel, the library
// folder).
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <thread>
#include <tuple>

#include "platform/DebugOutput.h"
#include "platform/Int16.h"
#include "platform/LibraryFolder.h"
#include "platform/TestSupport.h"
#include "platform/Variant.h"

namespace qx::platform {
namespace {

using test::errorOf;

TEST(Variant, SixteenBitsRoundHalvesToEvenAndOverflowOutsideTheRangeAlsoInArithmetic) {
    // A plain round() would give 3, 4 and -3 for the first three.
    const std::pair<Variant, int16_t> cases[] = {
        {2.5, 2},       {3.5, 4},       {-2.5, -2},   {0.5, 0},           {2.4999, 2},
        {"2.5", 2},     {" 3.5 ", 4},   {"1e2", 100}, {"32767.4", 32767}, {-32768.5, -32768},
        {32767, 32767}, {Variant(), 0}, {true, -1},   {false, 0},         {"True", -1},
    };
    for (const auto& [value, expected] : cases) EXPECT_EQ(value.toInt16(), expected) << value.toText();
    for (const Variant& value : {Variant(32768), Variant(-32769), Variant(32767.5), Variant("40000")})
        EXPECT_EQ(errorOf([&] { value.toInt16(); }), kOverflow) << value.toText();  // 32767.5 rounds up
    EXPECT_EQ(Variant(32768).toInt32(), 32768);
    EXPECT_EQ(errorOf([] { Variant(1e300).toInt32(); }), kOverflow);
    for (const char* text : {"", " ", "abc", "1,5", "0x10", "inf", "nan", "1e", "--1", "5 5"}) {
        EXPECT_EQ(errorOf([&] { Variant(text).toDouble(); }), kTypeMismatch) << text;
        EXPECT_EQ(errorOf([&] { Variant(text).toInt16(); }), kTypeMismatch) << text;
    }
}

TEST(Variant, TextFormsAndEquality) {
    const std::pair<Variant, const char*> texts[] = {
        {-42, "-42"},           {2.0, "2"}, {0.1, "0.1"}, {true, "True"}, {false, "False"},
        {0x80FF80u, "8454016"}, {{}, ""},
    };
    for (const auto& [value, text] : texts) EXPECT_EQ(value.toText(), text);
    // The shortest form still reads back as exactly the same number.
    double back = 0;
    ASSERT_TRUE(parseNumber(Variant(1.0 / 3.0).toText(), back));
    EXPECT_EQ(back, 1.0 / 3.0);

    // Numbers compare by value, a numeric text as its number; two texts compare as texts.
    const std::tuple<Variant, Variant, bool> pairs[] = {
        {"1", 1, true},    {" 1.0 ", 1, true},           {42, 42.0, true},
        {"a", "a", true},  {Variant(), Variant(), true}, {"1", "1.0", false},
        {"abc", 1, false}, {Variant(), 0, false},        {0, Variant(), false},
        {1, 42, false},
    };
    for (const auto& [a, b, equal] : pairs)
        EXPECT_EQ(a.equals(b), equal) << a.toText() << " = " << b.toText();

    // Checked 16-bit arithmetic.
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
    const int line = __LINE__ + 1;
    const auto raised = [] { raise(kSubscriptOutOfRange); };
    EXPECT_EQ(test::summaryOf(raised), "Error 9: Subscript out of range (Subscript out of range)");
    try {
        raised();
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.line(), line);
    }
    EXPECT_EQ(errorSummary(RuntimeError(kObjectError + 17, "Device not connected", 0)),
              "Error -2147221487: Application-defined or object-defined error (Device not connected)");
    EXPECT_EQ(errorOf([] { must(std::shared_ptr<int>()); }), kObjectNotSet);
}

TEST(RuntimeError, TheLineOfTheErrorBeingHandledIsPerThreadAndNests) {
    const RuntimeError outer(5, "", 120), inner(6, "", 340);
    ErrorLineScope handling(outer);
    {
        ErrorLineScope nested(inner);
        EXPECT_EQ(lastErrorLine(), 340);
        std::thread([] { EXPECT_EQ(lastErrorLine(), 0); }).join();
    }
    EXPECT_EQ(lastErrorLine(), 120);
}

TEST(DebugOutput, PiecesGoToTheSinkOrAsLinesToStandardError) {
    std::vector<std::string> pieces;
    setDebugOutputSink([&](const std::string& text) { pieces.push_back(text); });
    testing::internal::CaptureStderr();
    OutputDebugStringA("");
    setDebugOutputSink({});
    OutputDebugStringA("back on standard error");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "back on standard error\n");
    EXPECT_EQ(pieces, std::vector<std::string>{""});
}

TEST(LibraryFolder, IsTheAbsoluteFolderOfTheLibraryFileNotTheWorkingDirectory) {
    const std::string before = libraryFolder();
    EXPECT_TRUE(std::filesystem::exists(before + "/libQX_Flow.so")) << before;
    const auto cwd = std::filesystem::current_path();
    std::filesystem::current_path(testing::TempDir());
    EXPECT_EQ(libraryFolder(), before);
    std::filesystem::current_path(cwd);
    EXPECT_TRUE(std::filesystem::path(before).is_absolute());
}

}  // namespace
}  // namespace qx::platform
