#include "frame/FrameDatabase.h"

#include <sqlite3.h>

#include <algorithm>
#include <cctype>

#include "platform/RuntimeError.h"

namespace qx::frame {

namespace {

// The device's bus category index, and an unrelated device and category the queries must not
// pick up by accident.
constexpr int32_t kDeviceBusCategory = 3;
constexpr int32_t kNeighbourBusCategory = 1;
constexpr const char* kNeighbourCategory = "0B5D6E7F-8091-4A2B-B3C4-D5E6F7081920";

[[noreturn]] void fail(sqlite3* db, const std::string& what) {
    platform::raise(platform::kObjectError, what + ": " + sqlite3_errmsg(db));
}

void exec(sqlite3* db, const std::string& sql) {
    if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK)
        fail(db, "Building the database");
}

// Once the tables are filled the connection may only read.
int readOnly(void*, int action, const char*, const char*, const char*, const char*) {
    switch (action) {
        case SQLITE_SELECT:
        case SQLITE_READ:
        case SQLITE_FUNCTION:
        case SQLITE_RECURSIVE:
            return SQLITE_OK;
        default:
            return SQLITE_DENY;
    }
}

bool sameName(const std::string& a, const std::string& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](unsigned char x, unsigned char y) { return std::tolower(x) == std::tolower(y); });
}

// One row into a table whose first column is the module index, the rest texts or numbers.
void insert(sqlite3* db, const std::string& table, int32_t idx, const std::vector<host::Variant>& values) {
    std::string sql = "INSERT INTO " + table + " VALUES (?";
    for (size_t i = 0; i < values.size(); ++i) sql += ", ?";
    sql += ")";
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt, nullptr) != SQLITE_OK)
        fail(db, "Building the database");
    std::unique_ptr<sqlite3_stmt, decltype(&sqlite3_finalize)> guard(stmt, sqlite3_finalize);
    sqlite3_bind_int(stmt, 1, idx);
    for (size_t i = 0; i < values.size(); ++i) {
        const int at = static_cast<int>(i) + 2;
        if (values[i].isText())
            sqlite3_bind_text(stmt, at, values[i].toText().c_str(), -1, SQLITE_TRANSIENT);
        else
            sqlite3_bind_int64(stmt, at, values[i].toInt32());
    }
    if (sqlite3_step(stmt) != SQLITE_DONE) fail(db, "Building the database");
}

const char* scopeText(device::CategoryScope scope) {
    switch (scope) {
        case device::CategoryScope::Saving:
            return "saving";
        case device::CategoryScope::Other:
            return "other";
        case device::CategoryScope::Any:
            break;
    }
    return "";
}

void fillDeviceTable(sqlite3* db, int32_t idx, const device::DeviceTable& table) {
    using V = host::Variant;
    for (const auto& [family, places] : table.places)
        for (const auto& p : places)
            insert(db, "WizardParameters", idx,
                   {V(family), V(p.role), V(std::string(scopeText(p.scope))), V(p.module), V(p.group),
                    V(p.name)});
    for (const auto& [family, list] : table.tolerances)
        for (size_t i = 0; i < list.texts.size(); ++i)
            insert(db, "WizardTolerances", idx,
                   {V(family), V(static_cast<int32_t>(i)), V(list.texts[i]),
                    V(static_cast<int32_t>(i) == list.zero ? 1 : 0)});
    for (const auto& [name, value] : {std::pair{"savingCategory", table.savingCategory},
                                      {"flowUnit", table.flowUnit},
                                      {"temperatureUnit", table.temperatureUnit}})
        if (!value.empty()) insert(db, "WizardSettings", idx, {V(std::string(name)), V(value)});
}

host::Variant column(sqlite3_stmt* stmt, int i) {
    switch (sqlite3_column_type(stmt, i)) {
        case SQLITE_INTEGER:
            return host::Variant(static_cast<int64_t>(sqlite3_column_int64(stmt, i)));
        case SQLITE_FLOAT:
            return host::Variant(sqlite3_column_double(stmt, i));
        case SQLITE_NULL:
            return host::Variant();
        default:
            return host::Variant(std::string(reinterpret_cast<const char*>(sqlite3_column_text(stmt, i))));
    }
}

}  // namespace

host::Variant FrameRecordset::field(const std::string& name) const {
    if (eof()) platform::raise(platform::kNoCurrentRecord);
    for (size_t i = 0; i < columns_.size(); ++i)
        if (sameName(columns_[i], name)) return rows_[current_][i];
    platform::raise(platform::kItemNotFound);
}

void FrameRecordset::moveNext() {
    if (eof()) platform::raise(platform::kNoCurrentRecord);
    ++current_;
}

std::shared_ptr<FrameDatabase> FrameDatabase::create(int32_t idx, DeviceOptions::Category category,
                                                     const device::DeviceTable& table) {
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(":memory:", &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK) {
        sqlite3_close(db);
        platform::raise(platform::kObjectError, "Cannot open the model's database");
    }
    std::shared_ptr<FrameDatabase> database(new FrameDatabase(db));
    exec(db,
         "CREATE TABLE Buscategories (module INTEGER, busCategory INTEGER);"
         "CREATE TABLE BusCategoryTypes (BusCat_idx INTEGER, category TEXT);"
         "CREATE TABLE WizardParameters (module INTEGER, firmware TEXT, role TEXT, category TEXT,"
         " moduleName TEXT, groupName TEXT, parameter TEXT);"
         "CREATE TABLE WizardTolerances (module INTEGER, firmware TEXT, position INTEGER, text TEXT,"
         " zero INTEGER);"
         "CREATE TABLE WizardSettings (module INTEGER, name TEXT, value TEXT);");
    exec(db, "INSERT INTO Buscategories VALUES (" + std::to_string(idx + 1) + ", " +
                 std::to_string(kNeighbourBusCategory) + ");" + "INSERT INTO BusCategoryTypes VALUES (" +
                 std::to_string(kNeighbourBusCategory) + ", '" + kNeighbourCategory + "');");
    if (category != DeviceOptions::Category::None) {
        const std::string saving = table.savingCategory.empty()
                                       ? device::DeviceTable::flowMonitor().savingCategory
                                       : table.savingCategory;
        const std::string id = category == DeviceOptions::Category::Match ? saving : kOtherCategory;
        exec(db, "INSERT INTO Buscategories VALUES (" + std::to_string(idx) + ", " +
                     std::to_string(kDeviceBusCategory) + ");" + "INSERT INTO BusCategoryTypes VALUES (" +
                     std::to_string(kDeviceBusCategory) + ", '" + id + "');");
    }
    fillDeviceTable(db, idx, table);
    sqlite3_set_authorizer(db, readOnly, nullptr);
    return database;
}

FrameDatabase::~FrameDatabase() {
    sqlite3_close(db_);
}

std::shared_ptr<host::IRecordset> FrameDatabase::query(const std::string& sql) {
    sqlite3_stmt* stmt = nullptr;
    const char* tail = nullptr;
    if (sqlite3_prepare_v2(db_, sql.c_str(), static_cast<int>(sql.size()), &stmt, &tail) != SQLITE_OK)
        fail(db_, "Query \"" + sql + "\"");
    std::unique_ptr<sqlite3_stmt, decltype(&sqlite3_finalize)> guard(stmt, sqlite3_finalize);
    if (!stmt) platform::raise(platform::kObjectError, "Query \"" + sql + "\": no statement");
    const std::string rest(tail, sql.c_str() + sql.size());
    if (std::any_of(rest.begin(), rest.end(), [](unsigned char c) { return !std::isspace(c); }))
        platform::raise(platform::kObjectError, "Query \"" + sql + "\": only one statement may run");

    std::vector<std::string> columns;
    for (int i = 0; i < sqlite3_column_count(stmt); ++i) columns.emplace_back(sqlite3_column_name(stmt, i));
    std::vector<std::vector<host::Variant>> rows;
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        std::vector<host::Variant> row;
        for (int i = 0; i < static_cast<int>(columns.size()); ++i) row.push_back(column(stmt, i));
        rows.push_back(std::move(row));
    }
    if (rc != SQLITE_DONE) fail(db_, "Query \"" + sql + "\"");
    return std::make_shared<FrameRecordset>(std::move(columns), std::move(rows));
}

}  // namespace qx::frame
