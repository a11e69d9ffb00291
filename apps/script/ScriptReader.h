#pragma once
// Reads a console script into commands: one command per line, blank lines and lines starting
// with "#" skipped, words separated by blanks, a word in double quotes may hold blanks with \"
// and \\ as escapes, and "" is the empty text. An option's value may be quoted the same way
// (args="a b").
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

// A line the reader cannot split into words; `line` is its number.
struct ScriptError {
    int line;
    std::string why;
};

struct Command {
    int line = 0;
    std::vector<Word> words;  // never empty
    std::string text;         // the line without surrounding blanks
    // Set when the line cannot be split to its end: `words` then holds the words before the
    // faulty one. Only the value `expect` compares may be such raw text.
    std::optional<ScriptError> malformed;

    // The raw text after the first n words, trimmed: the value `expect` compares.
    std::string restAfter(size_t n) const;
};

class ScriptReader {
  public:
    explicit ScriptReader(std::istream& in) : in_(in) {}
    // The next command; none at the end of the script. Throws ScriptError when not even the
    // command word can be read.
    std::optional<Command> next();

  private:
    std::istream& in_;
    int line_ = 0;
};

// Splits one line into words; an unclosed quote or a quote glued to other text ends the split
// with `malformed` set (its line is `lineNumber`).
std::vector<Word> splitWords(const std::string& text, int lineNumber, std::optional<ScriptError>& malformed);

}  // namespace qx::console
