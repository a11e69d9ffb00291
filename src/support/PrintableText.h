#pragma once
// Texts that came out of a file, made fit to print: a message that quotes a corrupt file must not
// hand its control characters or broken UTF-8 to the terminal.
#include <string>

#include "platform/PackageInternal.h"

namespace qx::support {

// Control characters are those of C0 (U+0000..U+001F), DEL and those of C1 (U+0080..U+009F).

// Whether `text` is UTF-8 without control characters other than tab, CR and LF.
QX_FLOW_INTERNAL bool isPrintable(const std::string& text);
// Whether `text` holds any control character, tab, CR and LF included.
QX_FLOW_INTERNAL bool hasControlCharacter(const std::string& text);
// `text` with every control character (tab, CR and LF included) and every byte that is not part
// of valid UTF-8 written as \xNN (a C1 character as its two bytes); everything else unchanged.
QX_FLOW_INTERNAL std::string printableText(const std::string& text);

}  // namespace qx::support
