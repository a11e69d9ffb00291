#include "frame/line/LineKinds.h"

namespace qx::frame {

const LineKind& LineKinds::find(const std::string& name) const {
    std::string names;
    for (const LineKind& kind : kinds_) {
        if (kind.name == name) return kind;
        names += (names.empty() ? "" : ", ") + kind.name;
    }
    throw LineError("unknown line kind \"" + name + "\" (" + names + ")");
}

MakeLine LineKinds::parse(const std::vector<std::string>& words) const {
    if (words.empty()) throw LineError("wrong number of arguments for line");
    const LineKind& kind = find(words.front());
    const std::vector<std::string> arguments(words.begin() + 1, words.end());
    if (arguments.size() < kind.minArguments || arguments.size() > kind.maxArguments)
        throw LineError("wrong number of arguments for line");
    return kind.parse(arguments);
}

}  // namespace qx::frame
