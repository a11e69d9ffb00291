#pragma once
// Reads a console script into commands: one command per line, blank lines and lines starting
// with "#" skipped, words separated by blanks, a word in double quotes may hold blanks with \"
// and \\ as escapes, and "" is the empty text.
#include <istream>
#include <optional>
#include <string>
#include <vector>

namespace qx::console {

struct Word {
    std::string text;
    bool quoted = false;  // written in double quotes (so never a keyword)
    size_t end = 0;       // where the word ends in its line
};

struct Command {
    int line = 0;
    std::vector<Word> words;  // never empty
    std::string text;         // the line without surrounding blanks

    // The raw text after the first n words, trimmed: the value `expect` compares.
    std::string restAfter(size_t n) const;
};

// A line the reader cannot split into words; `line` is its number.
struct ScriptError {
    int line;
    std::string why;
};

class ScriptReader {
  public:
    explicit ScriptReader(std::istream& in) : in_(in) {}
    // The next command; none at the end of the script. Throws ScriptError for an unclosed quote
    // or a quote glued to other text.
    std::optional<Command> next();

  private:
    std::istream& in_;
    int line_ = 0;
};

// Splits one line into words (throws ScriptError with line `lineNumber`).
std::vector<Word> splitWords(const std::string& text, int lineNumber);

}  // namespace qx::console
