// Texts from corrupt files are printed with their control characters and broken UTF-8 escaped,
// and valid UTF-8 passes unchanged.
#include <gtest/gtest.h>

#include "support/PrintableText.h"

namespace qx::support {
namespace {

TEST(PrintableText, EscapesWhatATerminalWouldActOnAndKeepsUtf8) {
    const struct {
        std::string text, printed;
        bool printable;
    } cases[] = {
        {"Durchfluss \xC3\xA4 \xE2\x82\xAC \xF0\x9F\x8C\x8A",
         "Durchfluss \xC3\xA4 \xE2\x82\xAC \xF0\x9F\x8C\x8A", true},
        {"a\tb\r\n", "a\\x09b\\x0D\\x0A", true},  // fine in a text, but not inside one message line
        {"\x1B[2J\x07\x7F", "\\x1B[2J\\x07\\x7F", false},
        {"\xFF\xFE", "\\xFF\\xFE", false},
        {"\xC0\xAF", "\\xC0\\xAF", false},                    // an overlong '/'
        {"\xED\xA0\x80", "\\xED\\xA0\\x80", false},           // a surrogate
        {"\xE2\x82", "\\xE2\\x82", false},                    // cut short at the end
        {"\xF4\x90\x80\x80", "\\xF4\\x90\\x80\\x80", false},  // beyond U+10FFFF
        {std::string("a\0b", 3), "a\\x00b", false},
        {"\xC2\x9B"
         "2J\xC2\x85",
         "\\xC2\\x9B2J\\xC2\\x85", false},                  // C1: CSI and NEL
        {"\xC2\xA0\xC2\x7F", "\xC2\xA0\\xC2\\x7F", false},  // after C1: no-break space
    };
    // Where a text is shown on one line, tab, CR and LF count as control characters too.
    EXPECT_FALSE(hasControlCharacter("Durchfluss \xC3\xA4 \xC2\xA0 \xFF"));
    for (const char* text : {"a\tb", "\n", "\x7F", "x\xC2\x9F", "\xC2\x80"})
        EXPECT_TRUE(hasControlCharacter(text)) << printableText(text);
    for (const auto& c : cases) {
        EXPECT_EQ(printableText(c.text), c.printed);
        EXPECT_EQ(isPrintable(c.text), c.printable) << c.printed;
    }
}

}  // namespace
}  // namespace qx::support
