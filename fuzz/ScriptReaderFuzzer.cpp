// The console's script reader on arbitrary text. Every command it hands out has words that lie
// inside its line, and a line it split to its end splits into the same words again when each
// word is written back in double quotes with the script's escapes.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "FuzzCheck.h"
#include "script/ScriptReader.h"

namespace {

using namespace qx::console;
using qx::fuzz::require;

std::string quoted(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') out += '\\';
        out += c;
    }
    return out + '"';
}

void checkCommand(const Command& c, int previousLine) {
    require(c.line > previousLine, "commands come in line order");
    require(!c.words.empty(), "a command has its command word");
    size_t end = 0;
    for (const Word& w : c.words) {
        require(w.end > end && w.end <= c.text.size(), "words end inside their line, in order");
        end = w.end;
    }
    for (size_t n = 0; n <= c.words.size() + 1; ++n) c.restAfter(n);
    if (c.malformed) {
        require(c.malformed->line == c.line, "a malformed line names its own number");
        return;
    }
    require(c.words.back().end == c.text.size(), "a well-formed line is split to its end");

    std::string again;
    for (const Word& w : c.words) again += quoted(w.text) + ' ';
    std::optional<ScriptError> malformed;
    const std::vector<Word> words = splitWords(again, c.line, malformed);
    require(!malformed && words.size() == c.words.size(), "quoted words split again");
    for (size_t i = 0; i < words.size(); ++i)
        require(words[i].quoted && words[i].text == c.words[i].text, "a quoted word reads back unchanged");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    ScriptReader reader(in);
    int line = 0;
    try {
        while (auto c = reader.next()) {
            checkCommand(*c, line);
            line = c->line;
        }
    } catch (const ScriptError& e) {
        require(e.line > line && !e.why.empty(), "a line that cannot be read is named with the reason");
    }
    return 0;
}
