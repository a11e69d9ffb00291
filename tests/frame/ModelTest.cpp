// The frame's model of the flow monitor as the view binds it: its tree, the device variants, and
// what its parameters accept, refuse and show; the view's applied copy with its own values and
// their reset, linked environment values, registrations that do not own what they register, and
// the model's database.
#include <gtest/gtest.h>

#include "FrameTestSupport.h"

namespace qx::frame::test {
namespace {

using ModelTest = FrameTest;

const std::vector<std::string> kTree = {
    "SYSTEM_FMX/DUMMY: QUICK_2 RESET_COUNT",
    "SYSTEM_FMX/IDENT: HW_VERSION SERIAL_NO OPERATING_HOURS",
    "PROIN_FMX/PROIN: PROINFLOW_RAW DELTAFLOW_NEW PROINTEMP DELTAFLOW_RAW FLOWSP_RAW",
    "MEDIA_FMX/MEDIA: SWPOINT MEDIUM",
    "TEACH_FMX/FLOW2_FMX: TEACHDO_SWPOINT TEACH_MAX_SAVE TEACH_MIN_SAVE TEACHDO_QUICK_MODE FLOWSPQT_RAW",
    "TEACH_FMX/FLOW_FMX: TEACH_MAX TEACH_MIN",
    "TEACH_FMX/TEACH: TEACHDO_QUICK"};

// The tree walked by index, one "MODULE/GROUP: NAME ..." per group; the view's look-up by names
// must find each parameter at the same place.
std::vector<std::string> treeOf(const host::IDataModel& model) {
    std::vector<std::string> tree;
    auto modules = model.description()->modules();
    for (int32_t m = 1; m <= modules->count(); ++m) {
        auto module = modules->item(m);
        for (int32_t g = 1; g <= module->groups()->count(); ++g) {
            auto group = module->groups()->item(g);
            std::string line = module->name() + "/" + group->name() + ":";
            for (int32_t v = 1; v <= group->valueObjects()->count(); ++v) {
                auto p = group->valueObjects()->item(v)->parameter();
                EXPECT_EQ(lookup(model, module->name(), group->name(), p->name()), p);
                line += " " + p->name();
            }
            tree.push_back(line);
        }
    }
    return tree;
}

// The tree with these parameters taken out.
std::vector<std::string> without(std::vector<std::string> tree, std::initializer_list<std::string> names) {
    for (auto& line : tree)
        for (const auto& name : names)
            if (auto at = (line + " ").find(" " + name + " "); at != std::string::npos)
                line.erase(at, name.size() + 1);
    return tree;
}

// A walk that refreshes only flag & mask > 0 with state 2 or 3 is only tested by a model that
// holds value objects failing each condition.
TEST(Model, TreeKeepsTheFilesOrderAndCoversEveryReasonToSkipARefresh) {
    auto model = createFrameModel({});
    EXPECT_EQ(treeOf(*model), kTree);
    std::string walked, listed;
    for (const auto& line : kTree) walked += line.substr(line.find(':') + 1);
    bool zeroFlags = false, negativeFlags = false, otherState = false, refreshable = false;
    for (const auto& p : listParameters(*model)) {
        listed += " " + p->name();
        EXPECT_EQ(p->noValue(), 0) << p->name();
        auto vo = p->valueObject();
        const bool stateOk = vo->state() == 2 || vo->state() == 3;
        zeroFlags |= vo->flags() == 0 && stateOk;
        negativeFlags |= vo->flags() < 0 && stateOk;
        otherState |= vo->flags() > 0 && !stateOk;
        refreshable |= vo->flags() > 0 && stateOk;
    }
    EXPECT_EQ(listed, walked);
    EXPECT_TRUE(zeroFlags && negativeFlags && otherState && refreshable);
}

TEST(Model, UnknownNamesAndIndexesFail) {
    auto model = createFrameModel(DeviceOptions{.fw = 7});
    auto description = model->description();
    auto modules = description->modules();
    EXPECT_TRUE(description->item("IDX").equals(1203));
    EXPECT_TRUE(description->item("FWversion").equals(7));
    EXPECT_EQ(errorOf([&] { description->item("fwversion"); }), platform::kItemNotFound);
    EXPECT_EQ(errorOf([&] { modules->item("proin_fmx"); }), platform::kItemNotFound);  // names are exact
    EXPECT_EQ(errorOf([&] { modules->item("PROIN_FMX")->groups()->item("MEDIA"); }), platform::kItemNotFound);
    EXPECT_EQ(errorOf([&] { lookup(*model, "PROIN_FMX", "PROIN", "SWPOINT"); }), platform::kItemNotFound);
    EXPECT_EQ(errorOf([&] { modules->item(0); }), platform::kSubscriptOutOfRange);
    EXPECT_EQ(errorOf([&] { modules->item(modules->count() + 1); }), platform::kSubscriptOutOfRange);
    EXPECT_EQ(errorOf([&] { model->viewModules()->item("NO_MODULE"); }), platform::kItemNotFound);
    EXPECT_EQ(errorOf([&] { model->viewModules()->item("PROIN_FMX")->contexts()->item("NONE"); }),
              platform::kItemNotFound);
}

// Each option must touch its own parameter and no other: a mix-up would make the view drop the
// wrong reference.
TEST(Model, OptionalParametersHoldNoValueOrAreMissing) {
    const std::pair<Presence DeviceOptions::*, const char*> optional[] = {
        {&DeviceOptions::quickMode, "TEACHDO_QUICK_MODE"},
        {&DeviceOptions::swPoint, "TEACHDO_SWPOINT"},
        {&DeviceOptions::flowSp, "FLOWSP_RAW"},
        {&DeviceOptions::flowSpQt, "FLOWSPQT_RAW"}};
    for (const auto& [option, name] : optional) {
        SCOPED_TRACE(name);
        DeviceOptions options;
        options.*option = Presence::NoValue;
        auto model = createFrameModel(options);
        EXPECT_EQ(treeOf(*model), kTree);
        EXPECT_EQ(findParameter(*model, name)->valueText(), "");
        EXPECT_TRUE(findParameter(*model, name)->valueObject()->value().isEmpty());
        for (const auto& p : listParameters(*model))
            EXPECT_EQ(p->noValue() != 0, p->name() == name) << p->name();
        options.*option = Presence::Missing;
        EXPECT_EQ(treeOf(*createFrameModel(options)), without(kTree, {name}));
    }
    // Without the teach limits their groups stay, so only the parameter look-up fails.
    auto model = createFrameModel(DeviceOptions{.teachPresent = false});
    EXPECT_EQ(treeOf(*model), without(kTree, {"TEACH_MAX", "TEACH_MIN", "TEACH_MAX_SAVE", "TEACH_MIN_SAVE"}));
    EXPECT_EQ(errorOf([&] { lookup(*model, "TEACH_FMX", "FLOW_FMX", "TEACH_MAX"); }),
              platform::kItemNotFound);
}

// A refused text must leave the parameter exactly as it was: a model that clamps, rounds or
// stores the text as it came would let the view send a value the device cannot take.
// Blanks around a number are allowed, but the text reads back plain, which the view's read-back
// comparison then reports as altered.
TEST_F(ModelTest, TextsInsideTheLimitsAreTakenOthersLeaveTheValueAlone) {
    run(R"(
        set SWPOINT=121, set SWPOINT=-21, set SWPOINT=abc, set SWPOINT=, set SWPOINT=60,5, param SWPOINT=60
        set TEACH_MAX=1000.5, set TEACH_MAX=1001, param TEACH_MAX=800, set TEACH_MIN=-1, param TEACH_MIN=100
        set TEACHDO_SWPOINT=100.1, param TEACHDO_SWPOINT=50, set QUICK_2=6, param QUICK_2=0
        set TEACHDO_QUICK_MODE=0, set TEACHDO_QUICK_MODE=3, param TEACHDO_QUICK_MODE=2
        set TEACHDO_QUICK=0 %, set TEACHDO_QUICK= 6,0 %, set TEACHDO_QUICK=1, param TEACHDO_QUICK= 0 %
        set FLOWSPQT_RAW=1e9, param FLOWSPQT_RAW=450, set PROINTEMP=nan, param PROINTEMP=22
        set SWPOINT=-20, param SWPOINT=-20, set SWPOINT=120, param SWPOINT=120, set PROINTEMP=22.5
        param PROINTEMP=22.5, set TEACHDO_QUICK=-4,0 %, param TEACHDO_QUICK=-4,0 %
        set SWPOINT= 70 , param SWPOINT=70
    )");
    for (const auto& [name, unit] :
         {std::pair{"SWPOINT", "°C"}, {"TEACHDO_SWPOINT", "%"}, {"PROINFLOW_RAW", "Bit"}})
        EXPECT_EQ(findParameter(*model, name)->unit(), unit);
}

TEST_F(ModelTest, ValueObjectIsTheNumericFaceOfTheSameValueAndKeepsNoValue) {
    auto mode = lookup(*model, "TEACH_FMX", "FLOW2_FMX", "TEACHDO_QUICK_MODE");
    auto vo = mode->valueObject();
    vo->setValue(1);
    EXPECT_EQ(mode->valueText(), "1");
    vo->setValue(3);  // outside 1..2
    EXPECT_EQ(mode->valueText(), "1");
    vo->setValue("2");  // a numeric text is a number
    EXPECT_EQ(mode->valueText(), "2");
    EXPECT_EQ(errorOf([&] { vo->setValue("two"); }), platform::kTypeMismatch);
    EXPECT_EQ(mode->valueText(), "2");
    auto temp = findParameter(*model, "PROINTEMP");
    temp->setValueText("21.5");
    EXPECT_TRUE(temp->valueObject()->value().equals(21.5));

    run("novalue FLOWSP_RAW, param FLOWSP_RAW=<none>");
    EXPECT_FALSE(findParameter(*model, "FLOWSP_RAW")->setDeviceValue("2000"));  // refused: still no value
    run("param FLOWSP_RAW=<none>");
    EXPECT_TRUE(findParameter(*model, "FLOWSP_RAW")->setDeviceValue("512"));
    run("param FLOWSP_RAW=512");
}

TEST(Model, FirmwareChoosesTheToleranceTextsAndTheirCodes) {
    auto entriesOf = [](const FrameParameter& p) {
        std::string list;
        for (const auto& e : p.entries()) list += e.text + "=" + std::to_string(e.value) + ";";
        return list;
    };
    auto fw1 = findParameter(*createFrameModel({}), "TEACHDO_QUICK");
    EXPECT_EQ(entriesOf(*fw1),
              " 4,0 %=8; 3,5 %=7; 3,0 %=6; 2,5 %=5; 2,0 %=4; 1,5 %=3; 1,0 %=2; 0,5 %=1; 0 %=0;"
              "-0,5 %=-1;-1,0 %=-2;-1,5 %=-3;-2,0 %=-4;-2,5 %=-5;-3,0 %=-6;-3,5 %=-7;-4,0 %=-8;");
    EXPECT_TRUE(fw1->valueObject()->value().equals(0));
    for (int32_t fw : {0, 2}) {
        SCOPED_TRACE(fw);
        auto other = findParameter(*createFrameModel(DeviceOptions{.fw = fw}), "TEACHDO_QUICK");
        EXPECT_EQ(entriesOf(*other),
                  " 6,0 %=1; 4,5 %=2; 3,0 %=3; 1,5 %=4; 0 %=5;-1,5 %=6;-3,0 %=7;-4,5 %=8;");
        EXPECT_TRUE(other->valueObject()->value().equals(5));
        other->setValueText("-4,0 %");  // a firmware-1 text
        EXPECT_EQ(other->valueText(), " 0 %");
        other->valueObject()->setValue(1);
        EXPECT_EQ(other->valueText(), " 6,0 %");
        other->valueObject()->setValue(9);  // no such code
        EXPECT_EQ(other->valueText(), " 6,0 %");
        EXPECT_TRUE(other->minimum().equals(1) && other->maximum().equals(8));
    }
}

// Language 0 shows the names themselves; a language without names (French) shows English. The
// device's name is the same in every language.
TEST(Model, DisplayNamesFollowTheModelsLanguage) {
    auto model = createFrameModel(DeviceOptions{.language = 0});
    EXPECT_EQ(findParameter(*model, "PROINTEMP")->displayName(), "PROINTEMP");
    EXPECT_EQ(model->displayName(), "FM1");
    model->settings()->setLanguage(1036);
    EXPECT_EQ(findParameter(*model, "PROINTEMP")->displayName(), "Medium temperature");
    EXPECT_EQ(model->displayName(), "FM1");
}

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
    void IBase_CallbackModule_OnLanguageChanged(const host::ObjectPtr& m) override {
        calls.push_back({m, "language"});
    }
    void IBase_CallbackModule_OnUnload(const host::ObjectPtr& m) override { calls.push_back({m, "unload"}); }
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
    model->announceLanguageChange();
    model->announceUnload();
    const host::ObjectPtr m = model;
    EXPECT_EQ(callback->calls, (std::vector<std::pair<host::ObjectPtr, std::string>>{
                                   {m, "FUNCTION:X"}, {m, "language"}, {m, "unload"}}));
    callback.reset();
    EXPECT_TRUE(model->callbacks().empty());
    model->announceEnvironmentChange("STATE");  // nobody left to tell
}

// A copy left on its old language would answer display names the frame no longer shows; a copy
// already gone must not be touched.
TEST(ModelCopy, LanguageSwitchReachesEveryLiveCopy) {
    auto frame = createFrameModel({});
    auto copy = copyOf(frame);
    copyOf(frame).reset();
    frame->frameDescription()->switchLanguage(1031);
    EXPECT_EQ(frame->settings()->language(), 1031);
    EXPECT_EQ(copy->settings()->language(), 1031);
    EXPECT_EQ(copy->frameDescription()->findParameter("PROINFLOW_RAW")->displayName(), "Strömung");
}

TEST(ModelDatabase, RecordsetReadsFieldsByNameUntilTheEnd) {
    auto rs =
        createFrameModel({})->settings()->database()->query("Select * from Buscategories where module=1203");
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
    auto db = model->settings()->database();
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
