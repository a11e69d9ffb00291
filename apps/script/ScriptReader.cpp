#include "script/ScriptReader.h"

namespace qx::console {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

std::string trim(const std::string& s) {
    size_t b = 0, e = s.size();
    while (b < e && isBlank(s[b])) ++b;
    while (e > b && isBlank(s[e - 1])) --e;
    return s.substr(b, e - b);
}

// Reads a quoted text whose opening quote is at text[i]; false when it is not closed. Leaves i
// after the closing quote.
bool readQuoted(const std::string& text, size_t& i, std::string& out) {
    ++i;
    while (i < text.size()) {
        char c = text[i++];
        if (c == '"') return true;
        if (c == '\\' && i < text.size() && (text[i] == '"' || text[i] == '\\')) c = text[i++];
        out += c;
    }
    return false;
}

}  // namespace

std::vector<Word> splitWords(const std::string& text, int lineNumber, std::optional<ScriptError>& malformed) {
    std::vector<Word> words;
    size_t i = 0;
    auto bad = [&](const char* why) {
        malformed = ScriptError{lineNumber, why};
        return words;
    };
    while (true) {
        while (i < text.size() && isBlank(text[i])) ++i;
        if (i == text.size()) break;
        Word w;
        if (text[i] == '"') {
            w.quoted = true;
            if (!readQuoted(text, i, w.text)) return bad("unclosed quote");
            if (i < text.size() && !isBlank(text[i])) return bad("a quoted word must end at a blank");
        } else {
            while (i < text.size() && !isBlank(text[i])) {
                if (text[i] != '"') {
                    w.text += text[i++];
                    continue;
                }
                // An option's value in quotes: name="a b".
                if (w.text.empty() || w.text.back() != '=') return bad("a quote inside a word");
                if (!readQuoted(text, i, w.text)) return bad("unclosed quote");
                if (i < text.size() && !isBlank(text[i])) return bad("a quoted word must end at a blank");
            }
        }
        w.end = i;
        words.push_back(std::move(w));
    }
    return words;
}

std::string Command::restAfter(size_t n) const {
    if (n == 0) return text;
    if (n > words.size()) return {};
    return trim(text.substr(words[n - 1].end));
}

std::optional<Command> ScriptReader::next() {
    std::string text;
    while (std::getline(in_, text)) {
        ++line_;
        const std::string t = trim(text);
        if (t.empty() || t[0] == '#') continue;
        Command c;
        c.line = line_;
        c.words = splitWords(t, line_, c.malformed);
        if (c.words.empty()) throw *c.malformed;
        c.text = t;
        return c;
    }
    return std::nullopt;
}

}  // namespace qx::console
