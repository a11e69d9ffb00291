#include "support/InstallationCheck.h"

#include <sqlite3.h>

#include <filesystem>
#include <memory>

#include "platform/ChartDefinition.h"
#include "platform/FileContents.h"
#include "platform/RuntimeError.h"
#include "support/PrintableText.h"
#include "support/ResourceComponent.h"

namespace qx::support {

namespace {

std::vector<InstallationFault> fault(const std::string& path, const std::string& why) {
    return {{path, printableText(why)}};
}

struct CloseDatabase {
    void operator()(sqlite3* db) const { sqlite3_close_v2(db); }
};
struct FinalizeStatement {
    void operator()(sqlite3_stmt* s) const { sqlite3_finalize(s); }
};

// One read-only look at the database; each query answers the first fault it meets.
class ResourceFile {
  public:
    explicit ResourceFile(const std::string& path) {
        sqlite3* db = nullptr;
        const int rc = sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
        db_.reset(db);
        if (rc != SQLITE_OK) why_ = sqlite3_errmsg(db_.get());
    }

    // The first fault, empty when none.
    std::string check() {
        if (!why_.empty()) return "not a resource database: " + why_;
        auto layout = query("PRAGMA user_version");
        if (!layout) return "not a resource database: " + why_;
        if (sqlite3_step(layout.get()) != SQLITE_ROW) return "not a resource database: " + error();
        if (const int n = sqlite3_column_int(layout.get(), 0); n != kResourceLayout)
            return "has layout " + std::to_string(n) + ", not " + std::to_string(kResourceLayout);
        if (auto why = checkTexts(); !why.empty()) return why;
        return checkPictures();
    }

    // A key of a text the file holds, empty when it holds none.
    std::string anyTextKey() {
        auto texts = query("SELECT key FROM texts WHERE language = 1033 LIMIT 1");
        if (!texts || sqlite3_step(texts.get()) != SQLITE_ROW) return {};
        return column(texts.get(), 0);
    }

  private:
    using Statement = std::unique_ptr<sqlite3_stmt, FinalizeStatement>;

    Statement query(const char* sql) {
        sqlite3_stmt* s = nullptr;
        if (sqlite3_prepare_v2(db_.get(), sql, -1, &s, nullptr) != SQLITE_OK) why_ = error();
        return Statement(s);
    }
    std::string error() const { return sqlite3_errmsg(db_.get()); }
    static std::string column(sqlite3_stmt* s, int i) {
        const auto* bytes = static_cast<const char*>(sqlite3_column_blob(s, i));
        return bytes ? std::string(bytes, static_cast<size_t>(sqlite3_column_bytes(s, i))) : std::string();
    }

    std::string checkTexts() {
        auto texts = query("SELECT key, language, typeof(text), text FROM texts");
        if (!texts) return "not a resource database: " + why_;
        int rc;
        while ((rc = sqlite3_step(texts.get())) == SQLITE_ROW) {
            const std::string what = "the text of " + column(texts.get(), 0) + " in language " +
                                     std::to_string(sqlite3_column_int(texts.get(), 1));
            if (column(texts.get(), 2) != "text")
                return what + " is " + column(texts.get(), 2) + " data, not text";
            if (!isPrintable(column(texts.get(), 3))) return what + " is not printable UTF-8 text";
        }
        return rc == SQLITE_DONE ? std::string() : "cannot be read: " + error();
    }

    std::string checkPictures() {
        static const std::string pngSignature = "\x89PNG\r\n\x1A\n";
        auto pictures = query("SELECT key, png FROM pictures");
        if (!pictures) return "not a resource database: " + why_;
        int rc;
        while ((rc = sqlite3_step(pictures.get())) == SQLITE_ROW) {
            if (column(pictures.get(), 1).rfind(pngSignature, 0) != 0)
                return "the picture " + column(pictures.get(), 0) + " is not a PNG image";
        }
        return rc == SQLITE_DONE ? std::string() : "cannot be read: " + error();
    }

    std::unique_ptr<sqlite3, CloseDatabase> db_;
    std::string why_;
};

// The view opens the file read-only with an exclusive lock; SQLite then cannot read a database
// in WAL mode ("disk I/O error" on every look-up, and every text shows its key).
std::string journalFault(const std::string& header) {
    // Bytes 18 and 19 of the header are the read and write versions: 2 means WAL.
    static const std::string signature("SQLite format 3\0", 16);
    if (header.size() >= 20 && header.rfind(signature, 0) == 0 && (header[18] == 2 || header[19] == 2))
        return "is in WAL mode, which the view cannot read (PRAGMA journal_mode=DELETE turns it back)";
    return {};
}

// SQLite opens the files it keeps beside a database as they are; a FIFO there would hang it.
std::string companionFault(const std::string& path) {
    for (const char* suffix : {"-wal", "-journal", "-shm"}) {
        const std::string companion = path + suffix;
        std::error_code ec;
        const auto status = std::filesystem::status(companion, ec);
        if (std::filesystem::exists(status) && !std::filesystem::is_regular_file(status))
            return "has " + std::filesystem::path(companion).filename().string() +
                   " beside it, which is not a regular file";
    }
    return {};
}

// Opens the file through the view's own component and reads a text, so that whatever keeps the
// view from reading it (a stray write-ahead log beside it, for one) is found here, not on the page.
std::string readAsTheViewDoes(const std::string& path, const std::string& key) {
    try {
        const auto resource = createResourceComponent()->open(kResourceLayout, path);
        resource->setLanguage(kEnglish);
        int32_t option = 0;
        resource->text(key, option);
        return {};
    } catch (const platform::RuntimeError& e) {
        // "Cannot read the resource file "<path>": <why>"; the fault names the path on its own.
        std::string why = e.description();
        if (const auto cut = why.find("\": "); cut != std::string::npos) why.erase(0, cut + 3);
        const std::string wal = path + "-wal";
        std::error_code ec;
        if (std::filesystem::exists(std::filesystem::symlink_status(wal, ec)))
            return "cannot be read as the view opens it, with " +
                   std::filesystem::path(wal).filename().string() + " beside it: " + why;
        return "cannot be read as the view opens it: " + why;
    }
}

}  // namespace

std::vector<InstallationFault> checkChartDefinition(const std::string& path) {
    const platform::FileContents file = platform::readFileContents(path);
    if (!file.ok) return fault(path, file.why);
    const std::string source = "PC1.dat";
    try {
        platform::ChartDefinition::parseWhole(file.bytes, source);
    } catch (const platform::RuntimeError& e) {
        // The reader names the file as "PC1.dat, line 3: ..." or "PC1.dat: ..."; the path says it.
        std::string why = e.description();
        if (why.rfind(source + ", ", 0) == 0 || why.rfind(source + ": ", 0) == 0)
            why.erase(0, source.size() + 2);
        return fault(path, why);
    }
    return {};
}

std::vector<InstallationFault> checkResourceFile(const std::string& path) {
    const platform::FileContents file = platform::readFileContents(path);
    if (!file.ok) return fault(path, file.why);
    if (std::string why = journalFault(file.bytes.substr(0, 100)); !why.empty()) return fault(path, why);
    if (std::string why = companionFault(path); !why.empty()) return fault(path, why);
    ResourceFile resources(path);
    if (const std::string why = resources.check(); !why.empty()) return fault(path, why);
    if (const std::string why = readAsTheViewDoes(path, resources.anyTextKey()); !why.empty())
        return fault(path, why);
    return {};
}

std::vector<InstallationFault> checkLibraryFiles(const std::string& folder) {
    std::vector<InstallationFault> faults = checkChartDefinition(folder + "/PC1.dat");
    for (auto& f : checkResourceFile(folder + "/QX_FlowRes.mdb")) faults.push_back(std::move(f));
    return faults;
}

}  // namespace qx::support
