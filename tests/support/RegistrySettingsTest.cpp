// The library's configuration: what ReadRegistryValue makes of each kind of value, and the
// model-combining switch that a thread reads once.
#include <gtest/gtest.h>

#include <thread>

#include "platform/Registry.h"
#include "platform/RegistryTestFiles.h"
#include "support/DebugLog.h"

namespace qx::support {
namespace {

using platform::registryStore;
using platform::Variant;

constexpr const char* kControls = "SOFTWARE\\QXX\\Controls";
constexpr const char* kDtm = "SOFTWARE\\Orvex\\DTM";

class RegistrySettings : public testing::Test {
  protected:
    void SetUp() override { registryStore().clear(); }
    void TearDown() override { registryStore().clear(); }

    // Values of the types the store's own calls cannot make come from a file.
    static void loadDtmLine(const std::string& line) {
        test::ScratchFile file("REGEDIT4\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Orvex\\DTM]\n" + line + "\n");
        ASSERT_EQ(registryStore().loadFile(file.path()), platform::RegistryStore::LoadResult::Loaded);
    }
};

bool isNumber(const Variant& v, int32_t n) {
    return v.kind() == Variant::Kind::Integer && v.toInt32() == n;
}
bool isText(const Variant& v, const std::string& t) {
    return v.isText() && v.toText() == t;
}

TEST_F(RegistrySettings, MissingKeysAndValuesReadAsZero) {
    EXPECT_TRUE(isNumber(ReadRegistryValue(kDtm, "PollCycle", ""), 0));
    registryStore().setText(kDtm, "Other", "x");
    EXPECT_TRUE(isNumber(ReadRegistryValue(kDtm, "PollCycle", ""), 0));
    EXPECT_TRUE(isNumber(ReadRegistryValue(kDtm, "Other", "Missing"), 0));
}

TEST_F(RegistrySettings, TextsAndNumbers) {
    registryStore().setText(kDtm, "Empty", "");
    registryStore().setText(kDtm, "Text", "2500");
    registryStore().setDword(kDtm, "PollCycle", 250);
    registryStore().setDword(kDtm, "AllBits", 0xFFFFFFFF);
    registryStore().setDword("SOFTWARE\\Orvex\\DTM\\Sub", "Deep", 7);

    EXPECT_TRUE(isText(ReadRegistryValue(kDtm, "Empty", ""), ""));  // not 0: the value is there
    EXPECT_TRUE(isText(ReadRegistryValue(kDtm, "Text", ""), "2500"));
    EXPECT_TRUE(isNumber(ReadRegistryValue(kDtm, "PollCycle", ""), 250));
    EXPECT_TRUE(isNumber(ReadRegistryValue(kDtm, "AllBits", ""), -1));  // a signed 32-bit number
    EXPECT_TRUE(isNumber(ReadRegistryValue(kDtm, "Deep", "Sub"), 7));
    EXPECT_TRUE(isNumber(ReadRegistryValue("software\\orvex\\dtm", "POLLCYCLE", ""), 250));
}

TEST_F(RegistrySettings, ATextNeedsRoomForItsZeroInTheReadBuffer) {
    registryStore().setText(kDtm, "Longest", std::string(255, 'x'));
    registryStore().setText(kDtm, "TooLong", std::string(256, 'x'));
    EXPECT_TRUE(isText(ReadRegistryValue(kDtm, "Longest", ""), std::string(255, 'x')));
    EXPECT_TRUE(isNumber(ReadRegistryValue(kDtm, "TooLong", ""), 0));
}

TEST_F(RegistrySettings, OtherTypesReadAsEmpty) {
    loadDtmLine("\"Binary\"=hex:01,00,00,00");
    loadDtmLine("\"Expand\"=hex(2):25,54,25,00");
    // Declared a DWORD but eight bytes long: the first read fits, the four-byte read does not.
    loadDtmLine("\"WideDword\"=hex(4):01,00,00,00,00,00,00,00");
    // A text without its terminating zero still reads whole.
    loadDtmLine("\"Bare\"=hex(1):61,62");
    EXPECT_TRUE(ReadRegistryValue(kDtm, "Binary", "").isEmpty());
    EXPECT_TRUE(ReadRegistryValue(kDtm, "Expand", "").isEmpty());
    EXPECT_TRUE(ReadRegistryValue(kDtm, "WideDword", "").isEmpty());
    EXPECT_TRUE(isText(ReadRegistryValue(kDtm, "Bare", ""), "ab"));
}

TEST_F(RegistrySettings, CombineModelsOnlyFor42AndReadOncePerThread) {
    const std::pair<Variant, bool> cases[] = {
        {42, true}, {"42", true}, {1, false}, {"on", false}, {0, false}};
    for (const auto& [value, on] : cases) {
        SCOPED_TRACE(value.toText());
        registryStore().clear();
        if (value.isText())
            registryStore().setText(kControls, "CombineModels", value.toText());
        else
            registryStore().setDword(kControls, "CombineModels", static_cast<uint32_t>(value.toInt32()));
        std::thread([on = on] {
            EXPECT_EQ(IsCombineModels(), on);
            registryStore().setDword(kControls, "CombineModels", on ? 0 : 42);
            EXPECT_EQ(IsCombineModels(), on);  // the cached answer, whatever the registry says now
        }).join();
    }
}

TEST_F(RegistrySettings, AMissingKeyIsRememberedAsOff) {
    std::thread([] {
        EXPECT_FALSE(IsCombineModels());
        registryStore().setDword(kControls, "CombineModels", 42);
        EXPECT_FALSE(IsCombineModels());
    }).join();
    std::thread([] { EXPECT_TRUE(IsCombineModels()); }).join();
}

}  // namespace
}  // namespace qx::support
