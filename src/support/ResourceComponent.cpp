#include "support/ResourceComponent.h"

#include <sqlite3.h>
#include <sys/stat.h>

#include "platform/LibraryFolder.h"

#include <optional>
#include <set>
#include <source_location>
#include <vector>

namespace qx::support {

namespace {

using platform::raise;

struct CloseDatabase {
    void operator()(sqlite3* db) const { sqlite3_close_v2(db); }
};
struct FinalizeStatement {
    void operator()(sqlite3_stmt* s) const { sqlite3_finalize(s); }
};
using Database = std::unique_ptr<sqlite3, CloseDatabase>;
using Statement = std::unique_ptr<sqlite3_stmt, FinalizeStatement>;

// Leaves a prepared statement ready for its next use, however the current one ends.
class StatementUse {
  public:
    explicit StatementUse(sqlite3_stmt* s) : s_(s) {}
    ~StatementUse() {
        sqlite3_reset(s_);
        sqlite3_clear_bindings(s_);
    }
    StatementUse(const StatementUse&) = delete;
    StatementUse& operator=(const StatementUse&) = delete;

  private:
    sqlite3_stmt* s_;
};

int32_t primaryLanguage(int32_t language) {
    return language & 0x3FF;
}

class Resource : public host::IResource {
  public:
    Resource(const std::string& path, int32_t layout) : path_(path) {
        // SQLite opens whatever stands at the path and would wait for a writer of a FIFO.
        if (struct stat s{}; ::stat(path.c_str(), &s) == 0 && !S_ISREG(s.st_mode) && !S_ISDIR(s.st_mode))
            raise(kResourceFileError, "Cannot read the resource file \"" + path_ + "\": not a regular file");
        sqlite3* db = nullptr;
        int rc = sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
        db_.reset(db);  // a failed open still hands out a handle that must be closed
        if (rc != SQLITE_OK) fail();
        // The view looks texts up on every update: holding the shared lock from the first read on
        // spares each look-up the file locking and change checks. Nobody writes the file.
        if (sqlite3_exec(db_.get(), "PRAGMA locking_mode=EXCLUSIVE", nullptr, nullptr, nullptr) != SQLITE_OK)
            fail();

        // Preparing the look-ups first tells a file that is no resource database (no tables)
        // from one of another layout.
        text_ = prepare("SELECT text FROM texts WHERE key = ?1 AND language = ?2");
        picture_ = prepare("SELECT png, width, height FROM pictures WHERE key = ?1");

        Statement version = prepare("PRAGMA user_version");
        if (sqlite3_step(version.get()) != SQLITE_ROW) fail();
        const int32_t fileLayout = sqlite3_column_int(version.get(), 0);
        if (fileLayout != layout) {
            raise(platform::kInvalidProcedureCall, "The resource file \"" + path_ + "\" has layout " +
                                                       std::to_string(fileLayout) + ", not " +
                                                       std::to_string(layout));
        }

        Statement languages = prepare("SELECT DISTINCT language FROM texts");
        int step;
        while ((step = sqlite3_step(languages.get())) == SQLITE_ROW) {
            languages_.insert(sqlite3_column_int(languages.get(), 0));
        }
        if (step != SQLITE_DONE) fail();
    }

    std::string className() const override { return "Resource"; }

    std::string text(const std::string& key, int32_t& option) override {
        if (option != 0)
            raise(platform::kInvalidProcedureCall, "Unknown text option " + std::to_string(option));
        if (language_ == kNeutralLanguage) return key;
        if (auto found = storedText(key, language_)) return *found;
        if (language_ != kEnglish) {
            if (auto english = storedText(key, kEnglish)) return *english;
        }
        return key;
    }

    host::PicturePtr picture(const std::string& key, bool /*flag*/, int32_t kind, int16_t width,
                             int16_t height) override {
        if (kind != kImageListPicture) {
            raise(platform::kInvalidProcedureCall, "Unknown picture kind " + std::to_string(kind));
        }
        StatementUse use(picture_.get());
        sqlite3_bind_text(picture_.get(), 1, key.data(), static_cast<int>(key.size()), SQLITE_STATIC);
        const int rc = sqlite3_step(picture_.get());
        if (rc == SQLITE_DONE)
            raise(platform::kElementNotFound, "No picture \"" + key + "\" in the resource file");
        if (rc != SQLITE_ROW) fail();

        const auto* bytes = static_cast<const uint8_t*>(sqlite3_column_blob(picture_.get(), 0));
        std::vector<uint8_t> png(bytes, bytes + sqlite3_column_bytes(picture_.get(), 0));
        const int32_t storedWidth = sqlite3_column_int(picture_.get(), 1);
        const int32_t storedHeight = sqlite3_column_int(picture_.get(), 2);
        if (storedWidth != width || storedHeight != height) {
            raise(platform::kInvalidProcedureCall,
                  "The picture \"" + key + "\" is " + std::to_string(storedWidth) + " x " +
                      std::to_string(storedHeight) + ", not " + std::to_string(width) + " x " +
                      std::to_string(height));
        }
        return std::make_shared<host::Picture>(key, std::move(png), storedWidth, storedHeight);
    }

    int32_t setLanguage(int32_t language) override {
        language_ = effectiveLanguage(language);
        return language_;
    }

  private:
    int32_t effectiveLanguage(int32_t wanted) const {
        if (wanted == kNeutralLanguage || languages_.contains(wanted)) return wanted;
        // The file's default variant of the primary language first (1031 for any German), then any.
        const int32_t primary = primaryLanguage(wanted);
        if (languages_.contains(primary | 0x400)) return primary | 0x400;
        for (int32_t stored : languages_) {
            if (primaryLanguage(stored) == primary) return stored;
        }
        return kEnglish;
    }

    std::optional<std::string> storedText(const std::string& key, int32_t language) {
        StatementUse use(text_.get());
        sqlite3_bind_text(text_.get(), 1, key.data(), static_cast<int>(key.size()), SQLITE_STATIC);
        sqlite3_bind_int(text_.get(), 2, language);
        const int rc = sqlite3_step(text_.get());
        if (rc == SQLITE_DONE) return std::nullopt;
        if (rc != SQLITE_ROW) fail();
        const auto* chars = reinterpret_cast<const char*>(sqlite3_column_text(text_.get(), 0));
        if (!chars) return std::string();
        return std::string(chars, static_cast<size_t>(sqlite3_column_bytes(text_.get(), 0)));
    }

    Statement prepare(const char* sql) {
        sqlite3_stmt* s = nullptr;
        if (sqlite3_prepare_v2(db_.get(), sql, -1, &s, nullptr) != SQLITE_OK) fail();
        return Statement(s);
    }

    [[noreturn]] void fail(std::source_location where = std::source_location::current()) const {
        raise(kResourceFileError,
              "Cannot read the resource file \"" + path_ + "\": " + sqlite3_errmsg(db_.get()), where);
    }

    std::string path_;
    Database db_;
    Statement text_, picture_;
    std::set<int32_t> languages_;
    int32_t language_ = kEnglish;
};

}  // namespace

std::shared_ptr<host::IResource> ResourceComponent::open(int32_t number, const std::string& path) {
    return std::make_shared<Resource>(path, number);
}

std::shared_ptr<host::IResourceComponent> createResourceComponent() {
    return std::make_shared<ResourceComponent>();
}

std::string resourceFilePath() {
    return platform::libraryFolder() + "/QX_FlowRes.mdb";
}

std::string replacePlaceholder(const std::string& text, const std::string& value) {
    static const std::string placeholder = "%1";
    std::string out;
    size_t from = 0;
    for (size_t at; (at = text.find(placeholder, from)) != std::string::npos;
         from = at + placeholder.size()) {
        out.append(text, from, at - from).append(value);
    }
    return out.append(text, from);
}

}  // namespace qx::support
