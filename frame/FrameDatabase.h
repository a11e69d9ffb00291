#pragma once
// The data model's resource database: an in-memory SQLite database with the bus-category tables
// "Buscategories" (module, busCategory) and "BusCategoryTypes" (BusCat_idx, category), and the
// view's device table as the description states it, by module index:
//   WizardParameters (module, firmware, role, category, moduleName, groupName, parameter)
//   WizardTolerances (module, firmware, position, text, zero)
//   WizardSettings   (module, name, value): savingCategory, flowUnit, temperatureUnit
// A part the description does not state has no rows. Queries run as their texts stand, one
// statement each, and may only read.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "device/DeviceTable.h"
#include "frame/DeviceOptions.h"
#include "host/DataModel.h"

struct sqlite3;

namespace qx::frame {

// A query's records, read in full when the query runs.
class FrameRecordset : public host::IRecordset {
  public:
    FrameRecordset(std::vector<std::string> columns, std::vector<std::vector<host::Variant>> rows)
        : columns_(std::move(columns)), rows_(std::move(rows)) {}
    std::string className() const override { return "Recordset"; }
    bool eof() const override { return current_ >= rows_.size(); }
    // Field names compare without regard to letter case.
    host::Variant field(const std::string& name) const override;
    void moveNext() override;

  private:
    std::vector<std::string> columns_;
    std::vector<std::vector<host::Variant>> rows_;
    size_t current_ = 0;
};

class FrameDatabase : public host::IDatabase {
  public:
    // The device with module index `idx` is recorded with a bus category whose id follows
    // `category`: the saving id (the table's, else the flow monitor's), another id, or no record
    // at all; `table` is what the device's description states of the view's table.
    static std::shared_ptr<FrameDatabase> create(int32_t idx, DeviceOptions::Category category,
                                                 const device::DeviceTable& table = {});
    ~FrameDatabase() override;
    FrameDatabase(const FrameDatabase&) = delete;
    FrameDatabase& operator=(const FrameDatabase&) = delete;

    std::string className() const override { return "Database"; }
    // A text that is not exactly one statement, a statement that would change anything, or one
    // SQLite cannot run fails with a run-time error carrying SQLite's message.
    std::shared_ptr<host::IRecordset> query(const std::string& sql) override;

  private:
    explicit FrameDatabase(sqlite3* db) : db_(db) {}
    sqlite3* db_;
};

// The category id recorded for a device whose category is "other".
inline constexpr const char* kOtherCategory = "7E3A91C4-5B20-4F8D-A6C3-1D2E4F506B7A";

}  // namespace qx::frame
