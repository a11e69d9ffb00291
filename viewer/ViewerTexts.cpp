#include "viewer/ViewerTexts.h"

#include <sqlite3.h>

namespace qx::viewer {

ViewerTexts::ViewerTexts(const std::string& resourceFile, int32_t language) {
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(resourceFile.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
        sqlite3_stmt* s = nullptr;
        // English first, then the language asked for over it.
        if (sqlite3_prepare_v2(
                db,
                "SELECT key, text FROM texts WHERE key LIKE 'IDS\\_39%' ESCAPE '\\' AND language IN "
                "(1033, ?) ORDER BY language = ?",
                -1, &s, nullptr) == SQLITE_OK) {
            sqlite3_bind_int(s, 1, language);
            sqlite3_bind_int(s, 2, language);
            while (sqlite3_step(s) == SQLITE_ROW)
                texts_[reinterpret_cast<const char*>(sqlite3_column_text(s, 0))] =
                    reinterpret_cast<const char*>(sqlite3_column_text(s, 1));
        }
        sqlite3_finalize(s);
    }
    sqlite3_close(db);
}

std::string ViewerTexts::text(const std::string& key) const {
    const auto it = texts_.find(key);
    return it == texts_.end() ? key : it->second;
}

}  // namespace qx::viewer
