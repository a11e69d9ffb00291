#pragma once
// The viewer's texts in the language the frame shows, from the resource database the view takes
// its own texts from; a key the file lacks shows as the key, which names what is missing.
#include <cstdint>
#include <map>
#include <string>

namespace qx::viewer {

class ViewerTexts {
  public:
    ViewerTexts() = default;
    // English when the file holds nothing in `language`; only keys as texts when it cannot be read.
    ViewerTexts(const std::string& resourceFile, int32_t language);

    std::string text(const std::string& key) const;

  private:
    std::map<std::string, std::string> texts_;
};

}  // namespace qx::viewer
