#pragma once
// Our text and picture resource component: opened on the resource database QX_FlowRes.mdb (an
// SQLite file built from data/resources), it answers the view's texts by key in the language set
// last and the toolbar pictures as PNG. It runs on the user-interface thread only and reads the
// file through one read-only connection held by the resource object.
//
// Contract of the resource object that open() gives:
// - open(number, path): `number` names the layout of resource file the caller was written for;
//   files built from data/resources have layout 7, the number the view passes. A file of another
//   layout is refused with error 5. A file that is missing, unreadable or not a resource database
//   fails with kResourceFileError, so a look-up without a resource file fails in the caller's
//   statement, and the next look-up tries to open the file again.
// - Texts start in English (1033) until setLanguage() chooses another language.
// - text(key, option): option 0 asks for the text as stored (any other option fails with error
//   5). Keys compare exactly, case included. Language 0 answers every key with the key itself.
//   A key that the current language lacks is answered in English, and a key that the file does not
//   hold at all is answered with the key itself: the view shows the text unchanged, so a missing
//   text appears as its key, which names what is missing instead of leaving a blank caption.
// - picture(key, flag, kind, width, height): kind 4 asks for a picture for an image list, the only
//   kind the file holds; width and height must be the picture's size (16 x 16). The flag asks for a
//   transparent background, which every stored PNG has anyway. Another kind or size fails with
//   error 5, an unknown key with error 35601 (element not found); pictures have no language.
// - setLanguage(language) answers the language that texts now come in: the language itself when
//   the file holds texts in it, else a language of the same primary language (a regional variant
//   such as Swiss German 2055 gets German 1031), else English 1033.
#include <cstdint>
#include <memory>
#include <string>

#include "host/Resource.h"
#include "platform/PackageInternal.h"
#include "platform/RuntimeError.h"

namespace qx::support {

// The layout of the resource files built from data/resources (stored as the file's user_version).
inline constexpr int32_t kResourceLayout = 7;

inline constexpr int32_t kNeutralLanguage = 0;
inline constexpr int32_t kEnglish = 1033;
inline constexpr int32_t kGerman = 1031;

// The kind of picture the toolbar asks for: a small picture for an image list.
inline constexpr int32_t kImageListPicture = 4;

// Raised when the resource file cannot be opened or read.
inline constexpr int32_t kResourceFileError = platform::kObjectError + 1;

// A fresh instance of the component; its open() gives the resource object.
class ResourceComponent : public host::IResourceComponent {
  public:
    std::string className() const override { return "ResourceComponent"; }
    std::shared_ptr<host::IResource> open(int32_t number, const std::string& path) override;
};

// The factory the view calls for each new resource object.
QX_FLOW_INTERNAL std::shared_ptr<host::IResourceComponent> createResourceComponent();

// The resource database beside the library: its folder, a slash and "QX_FlowRes.mdb", formed
// without checking that the file is there (open() tells).
QX_FLOW_INTERNAL std::string resourceFilePath();

// `text` with every "%1" (exact, case-sensitive) replaced by `value`; a "%1" inside `value` is
// not replaced again.
QX_FLOW_INTERNAL std::string replacePlaceholder(const std::string& text, const std::string& value);

}  // namespace qx::support
