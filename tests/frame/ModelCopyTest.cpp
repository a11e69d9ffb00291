// The frame's model and the view's applied copy: the copy's own values and their reset, linked
// environment values, registrations that do not own what they register, and the shared database.
#include <gtest/gtest.h>

#include <vector>

#include "FrameTestSupport.h"

namespace qx::frame::test {
namespace {

std::shared_ptr<FrameDataModel> copyOf(const std::shared_ptr<FrameDataModel>& model) {
    auto copy = std::dynamic_pointer_cast<FrameDataModel>(model->description()->createModel());
    EXPECT_TRUE(copy);
    return copy;
}

std::string valueOf(const std::shared_ptr<FrameDataModel>& model, const std::string& name) {
    return findParameter(*model, name)->valueText();
}

TEST(ModelCopy, CopyStartsFromTheFrameModelsValuesKeepsItsOwnAndResetsToThem) {
    auto frame = createFrameModel(DeviceOptions{.swPoint = Presence::NoValue, .language = 1031});
    findParameter(*frame, "SWPOINT")->setValueText("75");
    auto copy = copyOf(frame);
    EXPECT_EQ(copy->settings()->language(), 1031);
    EXPECT_EQ(copy->settings()->database(), frame->settings()->database());
    EXPECT_EQ(valueOf(copy, "SWPOINT"), "75");
    EXPECT_NE(findParameter(*copy, "TEACHDO_SWPOINT")->noValue(), 0);

    findParameter(*copy, "SWPOINT")->setValueText("80");
    findParameter(*copy, "FLOWSP_RAW")->setDeviceValue(std::nullopt);
    EXPECT_EQ(valueOf(frame, "SWPOINT"), "75");
    findParameter(*frame, "TEACH_MAX")->setValueText("900");
    EXPECT_EQ(valueOf(copy, "TEACH_MAX"), "800");

    copy->settings()->reset();
    EXPECT_EQ(valueOf(copy, "SWPOINT"), "75");
    EXPECT_EQ(valueOf(copy, "FLOWSP_RAW"), "450");
}

TEST(ModelCopy, LinkedEnvironmentsShareValuesBothWays) {
    auto frame = createFrameModel(DeviceOptions{.state = 4, .localComm = 3});
    auto copy = copyOf(frame);
    auto frameEnv = frame->description()->environment();
    auto copyEnv = copy->description()->environment();
    EXPECT_TRUE(copyEnv->get("STATE").isEmpty());  // a copy starts with no values of its own
    copyEnv->put("STATE", 1);                      // the frame's value wins when they are linked
    copyEnv->put("SRC", "DEV");

    frameEnv->link(copyEnv);
    EXPECT_TRUE(copyEnv->get("STATE").equals(4));
    EXPECT_TRUE(copyEnv->get("LOCAL_COMM").equals(3));
    EXPECT_EQ(frameEnv->get("SRC").toText(), "DEV");
    copyEnv->put("LOCAL_COMM", 5);
    EXPECT_TRUE(frameEnv->get("LOCAL_COMM").equals(5));
    frameEnv->put("FUNCTION:X", true);
    EXPECT_TRUE(copyEnv->get("FUNCTION:X").toBool());

    // A second copy linked to the first shares with the frame's model as well.
    auto secondEnv = copyOf(frame)->description()->environment();
    secondEnv->link(copyEnv);
    secondEnv->put("CONTEXT_COMM", "MONITOR");
    EXPECT_EQ(frameEnv->get("CONTEXT_COMM").toText(), "MONITOR");
    EXPECT_TRUE(secondEnv->get("STATE").equals(4));
    frameEnv->link(copyEnv);  // again: changes nothing
    EXPECT_TRUE(copyEnv->get("LOCAL_COMM").equals(5));
    EXPECT_EQ(errorOf([&] { frameEnv->link(nullptr); }), platform::kObjectNotSet);
}

struct RecordingCallback : host::IBase_CallbackModule {
    void IBase_CallbackModule_OnLanguageChanged(const host::ObjectPtr&) override {}
    void IBase_CallbackModule_OnUnload(const host::ObjectPtr&) override {}
    void IBase_CallbackModule_OnEnvironmentChanged(const host::ObjectPtr& m, const std::string& key,
                                                   const host::Variant& value) override {
        EXPECT_EQ(key, "GLB_ENV_CHANGED");
        calls.push_back({m, value.toText()});
    }
    std::vector<std::pair<host::ObjectPtr, std::string>> calls;
};

TEST(ModelCopy, RegistrationsDoNotOwnWhatTheyRegister) {
    auto model = createFrameModel({});
    auto view = std::make_shared<FrameDeviceItem>("a view stand-in");
    model->registerView(view);
    EXPECT_EQ(model->registeredView(), view);
    view.reset();
    EXPECT_FALSE(model->registeredView());

    auto callback = std::make_shared<RecordingCallback>();
    EXPECT_EQ(model->exchangeCallback(callback), callback);
    EXPECT_EQ(model->exchangeCallback(callback), callback);  // registered once
    EXPECT_EQ(callback.use_count(), 1);
    model->announceEnvironmentChange("FUNCTION:X");
    ASSERT_EQ(callback->calls.size(), 1u);
    EXPECT_EQ(callback->calls[0], std::make_pair(host::ObjectPtr(model), std::string("FUNCTION:X")));
    callback.reset();
    EXPECT_TRUE(model->callbacks().empty());
    model->announceEnvironmentChange("STATE");  // nobody left to tell
}

std::shared_ptr<host::IDatabase> databaseOf(const host::IDataModel& model) {
    return model.description()->settings()->database();
}

TEST(ModelDatabase, RecordsetReadsFieldsByNameUntilTheEnd) {
    auto rs = databaseOf(*createFrameModel({}))->query("Select * from Buscategories where module=1203");
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
    auto model = createFrameModel({});
    auto db = databaseOf(*model);
    for (const char* sql : {"Select * from Buscategories; Select * from BusCategoryTypes",
                            "Select * from Buscategories where module=1203; Delete from Buscategories",
                            "Delete from Buscategories", "Update BusCategoryTypes set category='x'",
                            "Drop table Buscategories", "Attach ':memory:' as other",
                            "Select * from NoSuchTable", "Select * from Buscategories where module="})
        EXPECT_NE(errorOf([&] { db->query(sql); }), 0) << sql;
    EXPECT_EQ(errorOf([&] { db->query("Select * from Buscategories where module=1203;  "); }), 0);
    EXPECT_FALSE(db->query("Select * from Buscategories where module=1203")->eof());  // nothing was changed
}

}  // namespace
}  // namespace qx::frame::test
