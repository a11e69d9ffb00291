// Device descriptions are checked whole when they are read: each fault is refused with the JSON
// path of the item at fault and the reason, and what other readers add is left alone.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <nlohmann/json.hpp>

#include "frame/DeviceDescriptionFile.h"
#include "frame/FrameModelFactory.h"
#include "platform/RuntimeError.h"
#include "support/PrintableText.h"

namespace qx::frame::test {
namespace {

using nlohmann::json;

// A small description that passes: one module, one group, an integer and a list parameter.
json validDescription() {
    return json::parse(R"({
      "displayName": "D", "items": {"IDX": 7, "Vendor": "V"}, "viewContexts": ["MONITOR"],
      "modules": [{"name": "M", "groups": [{"name": "G", "parameters": [
        {"name": "P", "displayName": {"1033": "P"}, "unit": "Bit", "kind": "integer",
         "minimum": 0, "maximum": 1000, "default": 450, "flags": 2, "state": 3},
        {"name": "L", "displayName": {}, "unit": "", "kind": "list", "default": "b",
         "entries": {"default": [{"value": 1, "text": "a"}, {"value": 2, "text": "b"}],
                     "1": [{"value": 2, "text": "b"}]},
         "flags": 0, "state": 2}]}]}]})");
}

json& integerParameter(json& d) {
    return d["modules"][0]["groups"][0]["parameters"][0];
}
json& listParameter(json& d) {
    return d["modules"][0]["groups"][0]["parameters"][1];
}

// The description of the error the text fails with; empty when it passes.
std::string refusal(const std::string& text) {
    try {
        parseDescriptionFile(text);
        return {};
    } catch (const platform::RuntimeError& e) {
        return e.description();
    }
}

TEST(DeviceDescriptionFile, EachFaultIsRefusedWithItsPathAndReason) {
    const std::string p = "$.modules[0].groups[0].parameters[0]";
    const std::string l = "$.modules[0].groups[0].parameters[1]";
    const struct {
        std::function<void(json&)> spoil;
        std::string expected;  // the start of the refusal
    } cases[] = {
        {[](json& d) { integerParameter(d)["flags"] = 4294967296; }, p + ".flags: 4294967296 is outside"},
        {[](json& d) { integerParameter(d)["flags"] = -2147483649LL; }, p + ".flags: -2147483649 is outside"},
        {[](json& d) { integerParameter(d)["flags"] = 1.5; }, p + ".flags: 1.5 is not a whole number"},
        {[](json& d) { integerParameter(d)["default"] = UINT64_MAX; },
         p + ".default: 18446744073709551615 is outside the parameter's range 0..1000"},
        {[](json& d) { integerParameter(d)["default"] = 1001; }, p + ".default: 1001 is outside"},
        {[](json& d) { integerParameter(d)["default"] = 2.5; }, p + ".default: 2.5 is not a whole number"},
        {[](json& d) { integerParameter(d)["default"] = "many"; }, p + ".default: \"many\" is not a number"},
        {[](json& d) { integerParameter(d)["default"] = true; }, p + ".default: is neither"},
        {[](json& d) { integerParameter(d)["minimum"] = 1001; }, p + ".minimum: the minimum 1001 is above"},
        {[](json& d) { integerParameter(d)["maximum"] = 1e10; },
         p + ".maximum: 10000000000.0 is outside the 32-bit"},
        {[](json& d) { integerParameter(d)["minimum"] = "low"; }, p + ".minimum: is a text, not a number"},
        {[](json& d) { integerParameter(d)["name"] = ""; }, p + ".name: is empty"},
        {[](json& d) { integerParameter(d).erase("unit"); }, p + ": \"unit\" is missing"},
        {[](json& d) { integerParameter(d)["kind"] = "text"; }, p + ".kind: unknown kind \"text\""},
        {[](json& d) { integerParameter(d)["option"] = "always"; }, p + ".option: unknown option \"always\""},
        {[](json& d) { integerParameter(d)["state"] = 2147483648; }, p + ".state: 2147483648 is outside"},
        {[](json& d) {
             integerParameter(d)["displayName"] = {{"en", "P"}};
         },
         p + ".displayName.en: \"en\" is not a language number"},
        {[](json& d) {
             integerParameter(d)["displayName"] = {{"1033", 5}};
         },
         p + ".displayName.1033: is a number, not a text"},
        {[](json& d) { listParameter(d)["default"] = "c"; }, l + ".default: \"c\" is not an entry"},
        {[](json& d) { listParameter(d)["entries"].erase("default"); },
         l + ".entries: \"default\" is missing"},
        {[](json& d) { listParameter(d)["entries"]["v2"] = listParameter(d)["entries"]["1"]; },
         l + ".entries.v2: a firmware version is"},
        {[](json& d) { listParameter(d)["entries"]["1"] = json::array(); },
         l + ".entries.1: is an empty list"},
        {[](json& d) { listParameter(d)["entries"]["default"][1]["text"] = "a"; },
         l + ".entries.default[1]: duplicate entry text \"a\""},
        {[](json& d) { listParameter(d)["entries"]["default"][1]["value"] = 1; },
         l + ".entries.default[1].value: duplicate entry value 1"},
        {[](json& d) { listParameter(d)["name"] = "P"; },
         l + ": duplicate parameter \"P\" (first at " + p + ")"},
        {[](json& d) { d["modules"][1] = d["modules"][0]; }, "$.modules[1]: duplicate module \"M\""},
        {[](json& d) {
             d["modules"][0]["groups"][1] = {{"name", "G"}, {"parameters", json::array()}};
         },
         "$.modules[0].groups[1]: duplicate group \"G\""},
        {[](json& d) { d["modules"] = json::array(); }, "$.modules: no modules"},
        {[](json& d) { d.erase("modules"); }, "$: \"modules\" is missing"},
        {[](json& d) {
             d["viewContexts"] = {"A", "A"};
         },
         "$.viewContexts[1]: duplicate view context \"A\""},
        {[](json& d) { d["items"]["IDX"] = 1LL << 40; }, "$.items.IDX: 1099511627776 is outside"},
        {[](json& d) { d["items"]["X"] = json::array(); }, "$.items.X: is neither"},
        {[](json& d) { d = json::array(); }, "$: is a list, not an object"},
    };
    ASSERT_EQ(refusal(validDescription().dump()), "");
    for (const auto& c : cases) {
        json d = validDescription();
        c.spoil(d);
        const std::string why = refusal(d.dump());
        EXPECT_EQ(why.substr(0, c.expected.size()), c.expected) << d.dump();
    }
    EXPECT_EQ(refusal("{\"displayName\": "),
              "$: parse error at line 1, column 17: syntax error while parsing value - "
              "unexpected end of input; expected '[', '{', or a literal");
    // A number beyond every type is refused like a syntax error, not thrown past the reader.
    EXPECT_EQ(refusal("{\"displayName\": 1e400}").substr(0, 28), "$: number overflow parsing '");
}

// What the frame shows, prints or exports from a description holds no control character, and a
// refusal quotes the file's texts only in printable form.
TEST(DeviceDescriptionFile, ControlCharactersInShownTextsAreRefusedAndRefusalsPrintNothingRaw) {
    const std::string p = "$.modules[0].groups[0].parameters[0]";
    const std::string l = "$.modules[0].groups[0].parameters[1]";
    const struct {
        std::function<void(json&)> spoil;
        std::string expected;
    } cases[] = {
        {[](json& d) { d["displayName"] = "Flow\x1B]0;owned\x07"; },
         "$.displayName: \"Flow\\x1B]0;owned\\x07\" holds a control character"},
        {[](json& d) {
             d["displayName"] =
                 "Flow \xC2\x9B"
                 "2J";
         },
         "$.displayName: \"Flow \\xC2\\x9B2J\" holds a control character"},
        {[](json& d) { integerParameter(d)["displayName"]["1031"] = "Fluss\r\nX"; },
         p + ".displayName.1031: \"Fluss\\x0D\\x0AX\" holds a control character"},
        {[](json& d) { integerParameter(d)["unit"] = "%\t"; }, p + ".unit: \"%\\x09\" holds"},
        {[](json& d) { integerParameter(d)["name"] = "P\x7F"; }, p + ".name: \"P\\x7F\" holds"},
        {[](json& d) { listParameter(d)["entries"]["default"][0]["text"] = "\x1B[31ma"; },
         l + ".entries.default[0].text: \"\\x1B[31ma\" holds"},
        {[](json& d) { d["modules"][0]["groups"][0]["name"] = "G\xC2\x85"; },
         "$.modules[0].groups[0].name: \"G\\xC2\\x85\" holds"},
        {[](json& d) { d["viewContexts"][0] = "\x07"; }, "$.viewContexts[0]: \"\\x07\" holds"},
        // Member keys and names quoted by other refusals.
        {[](json& d) {
             integerParameter(d)["displayName"] = {{"\x1B[2J", "P"}};
         },
         p + ".displayName.\\x1B[2J: \"\\x1B[2J\" is not a language number"},
        {[](json& d) { integerParameter(d)["kind"] = "\x1B[2J"; }, p + ".kind: unknown kind \"\\x1B[2J\""},
    };
    for (const auto& c : cases) {
        json d = validDescription();
        c.spoil(d);
        const std::string why = refusal(d.dump());
        EXPECT_EQ(why.substr(0, c.expected.size()), c.expected) << why;
        EXPECT_FALSE(support::hasControlCharacter(why)) << support::printableText(why);
    }
    // A file that is no UTF-8: the parser's own message quotes the byte.
    const std::string why = refusal("{\"displayName\": \"\xFF\"}");
    EXPECT_NE(why.find("\\xFF"), std::string::npos) << why;
    EXPECT_TRUE(support::isPrintable(why)) << support::printableText(why);
}

// A register map beside the parameters (and at the top level) belongs to another reader; flags
// written unsigned keep their bit pattern.
TEST(DeviceDescriptionFile, KeysOfOtherReadersPassAndFlagsKeepTheirBits) {
    json d = validDescription();
    d["registers"] = {{"base", 40001}};
    integerParameter(d)["register"] = {{"address", 3}, {"type", "holding"}};
    integerParameter(d)["flags"] = 4294967295u;
    const DescriptionFile file = parseDescriptionFile(d.dump());
    EXPECT_EQ(file.modules[0].groups[0].parameters[0].flags, -1);
    EXPECT_EQ(file.modules[0].groups[0].parameters[1].entriesByFirmware.size(), 2u);
}

TEST(DeviceDescriptionFile, AFileIsNamedInItsRefusal) {
    const auto folder = std::filesystem::temp_directory_path() / "qx-description-test";
    std::filesystem::create_directories(folder);
    const std::string broken = (folder / "broken.json").string();
    json d = validDescription();
    d["modules"][0]["name"] = "";
    std::ofstream(broken) << d.dump();
    const std::pair<std::string, std::string> cases[] = {
        {broken, broken + ": $.modules[0].name: is empty"},
        {(folder / "absent.json").string(), (folder / "absent.json").string() + ": file not found"},
        {folder.string(), folder.string() + ": is a folder, not a file"},
    };
    for (const auto& [path, expected] : cases) {
        try {
            createFrameModel({}, path);
            ADD_FAILURE() << path;
        } catch (const platform::RuntimeError& e) {
            EXPECT_EQ(e.description(), expected);
        }
    }
    std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace qx::frame::test
