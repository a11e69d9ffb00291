// The model's database as the view queries it: the bus-category look-up for each category
// variant, the recordset's errors, and the refusal of anything but one reading statement.
#include <gtest/gtest.h>

#include "ModelTestSupport.h"

namespace qx::frame::test {
namespace {

// The look-up exactly as the view runs it: the query texts with the item "IDX" appended, each
// step skipped when it fails.
std::string categoryOf(const host::IDataModel& model) {
    auto description = model.description();
    auto db = platform::must(description->settings()).database();
    int32_t index = 0;
    std::string category;
    platform::ignoreErrors([&] {
        index = platform::must(db)
                    .query("Select * from Buscategories where module=" + description->item("IDX").toText())
                    ->field("busCategory")
                    .toInt32();
    });
    platform::ignoreErrors([&] {
        category = platform::must(db)
                       .query("Select * from BusCategoryTypes where BusCat_idx=" + std::to_string(index))
                       ->field("category")
                       .toText();
    });
    return category;
}

std::shared_ptr<host::IDatabase> databaseOf(const host::IDataModel& model) {
    return model.description()->settings()->database();
}

TEST(ModelDatabase, CategoryFollowsTheOption) {
    DeviceOptions options;
    EXPECT_EQ(categoryOf(*modelWith(options)), kMatchingCategory);
    options.category = DeviceOptions::Category::Other;
    EXPECT_EQ(categoryOf(*modelWith(options)), kOtherCategory);
    EXPECT_NE(std::string(kOtherCategory), kMatchingCategory);
    options.category = DeviceOptions::Category::None;
    auto model = modelWith(options);
    EXPECT_EQ(categoryOf(*model), "");
    // No record for the device, so the view's second query runs with index 0 and finds none.
    auto db = databaseOf(*model);
    EXPECT_TRUE(db->query("Select * from Buscategories where module=1203")->eof());
    EXPECT_TRUE(db->query("Select * from BusCategoryTypes where BusCat_idx=0")->eof());
}

TEST(ModelDatabase, ModelAndItsCopyShareTheDatabase) {
    auto model = modelWith();
    auto copy = model->description()->createModel();
    EXPECT_EQ(databaseOf(*copy), databaseOf(*model));
    EXPECT_EQ(categoryOf(*copy), kMatchingCategory);
}

TEST(ModelDatabase, RecordsetReadsFieldsByNameUntilTheEnd) {
    auto rs = databaseOf(*modelWith())->query("Select * from Buscategories where module=1203");
    ASSERT_FALSE(rs->eof());
    EXPECT_TRUE(rs->field("BUSCATEGORY").equals(rs->field("busCategory")));  // names ignore letter case
    EXPECT_EQ(errorOf([&] { rs->field("bus"); }), platform::kItemNotFound);
    rs->moveNext();
    EXPECT_TRUE(rs->eof());
    EXPECT_EQ(errorOf([&] { rs->field("busCategory"); }), platform::kNoCurrentRecord);
    EXPECT_EQ(errorOf([&] { rs->moveNext(); }), platform::kNoCurrentRecord);
}

// A connection that ran a second statement or wrote would let a query text change the tables
// every later look-up depends on.
TEST(ModelDatabase, RunsOneReadingStatementOnly) {
    auto db = databaseOf(*modelWith());
    const char* refused[] = {
        "Select * from Buscategories; Select * from BusCategoryTypes",
        "Select * from Buscategories where module=1203; Delete from Buscategories",
        "Delete from Buscategories",
        "Update BusCategoryTypes set category='x'",
        "Drop table Buscategories",
        "Attach ':memory:' as other",
        "Select * from NoSuchTable",
        "Select * from Buscategories where module=",
    };
    for (const char* sql : refused) EXPECT_NE(errorOf([&] { db->query(sql); }), 0) << sql;
    EXPECT_EQ(errorOf([&] { db->query("Select * from Buscategories where module=1203;  "); }), 0);
    const auto index = db->query("Select * from Buscategories where module=1203")->field("busCategory");
    EXPECT_EQ(db->query("Select * from BusCategoryTypes where BusCat_idx=" + index.toText())
                  ->field("category")
                  .toText(),
              kMatchingCategory);
}

TEST(ModelDatabase, MissingDatabaseMakesTheQueriesFail) {
    DeviceOptions options;
    options.databasePresent = false;
    auto model = modelWith(options);
    EXPECT_FALSE(databaseOf(*model));
    EXPECT_FALSE(databaseOf(*model->description()->createModel()));
    EXPECT_EQ(errorOf([&] { platform::must(databaseOf(*model)).query("Select * from Buscategories"); }),
              platform::kObjectNotSet);
    EXPECT_EQ(categoryOf(*model), "");
}

}  // namespace
}  // namespace qx::frame::test
