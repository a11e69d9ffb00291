// The register map of a device description: what the loader refuses and how it says so, values
// through their registers and back, and how jobs become requests.
#include <gtest/gtest.h>

#include <fstream>
#include <nlohmann/json.hpp>

#include "frame/FrameModelFactory.h"
#include "frame/modbus/RegisterCodec.h"
#include "frame/modbus/RegisterMap.h"
#include "frame/modbus/RequestPlan.h"

namespace qx::frame::test {
namespace {

using nlohmann::json;

json flowMonitor() {
    std::ifstream in(flowMonitorDescriptionPath());
    return json::parse(in);
}

// The loader's verdict on the shipped description with one change: empty when it loads, else the
// message.
std::string verdict(const std::function<void(json&)>& change) {
    json description = flowMonitor();
    change(description);
    try {
        parseRegisterMap(description, parseDescriptionFile(description.dump()), "fm.json");
        return {};
    } catch (const RegisterMapError& e) {
        return e.what();
    }
}

json& entryOf(json& d, const std::string& parameter) {
    for (auto& e : d["modbus"]["registers"])
        if (e["parameter"] == parameter) return e;
    throw std::logic_error("no entry " + parameter);
}

TEST(RegisterMapTest, RefusesWhatCannotWorkNamingFilePathAndReason) {
    struct Row {
        const char* why;
        std::function<void(json&)> change;
        const char* message;  // empty: loads
    };
    const Row rows[] = {
        {"the shipped map", [](json&) {}, ""},
        {"two parameters on one register", [](json& d) { entryOf(d, "FLOWSP_RAW")["address"] = 8; },
         "fm.json: /modbus/registers/9/address: register 8 is TEACH_MIN_SAVE's already"},
        {"a shared register of a parameter given later",
         [](json& d) {
             entryOf(d, "TEACH_MAX_SAVE") = {{"parameter", "TEACH_MAX_SAVE"}, {"sameAs", "TEACH_MAX"}};
         },
         "fm.json: /modbus/registers/6/sameAs: no register is given before for TEACH_MAX"},
        {"a shared register shared on",
         [](json& d) {
             entryOf(d, "TEACH_MIN") = {{"parameter", "TEACH_MIN"}, {"sameAs", "TEACH_MAX"}};
         },
         "fm.json: /modbus/registers/14/sameAs: TEACH_MAX shares TEACH_MAX_SAVE's register itself"},
        {"a shared register given a place of its own",
         [](json& d) { entryOf(d, "TEACH_MAX")["address"] = 20; },
         "fm.json: /modbus/registers/13/address: comes from TEACH_MAX_SAVE, whose register this is"},
        {"a 32-bit value reaching into the next one", [](json& d) { entryOf(d, "SERIAL_NO")["address"] = 1; },
         "fm.json: /modbus/registers/16/address: register 2 is SERIAL_NO's already"},
        {"the same address in the other table is no overlap",
         [](json& d) { entryOf(d, "SERIAL_NO")["address"] = 4; }, ""},
        {"a parameter the view writes made read-only",
         [](json& d) { entryOf(d, "SWPOINT")["writable"] = false; },
         "fm.json: /modbus/registers/4/writable: the view writes SWPOINT, so its register must be writable"},
        {"an input register that would be written",
         [](json& d) { entryOf(d, "SERIAL_NO")["writable"] = true; },
         "fm.json: /modbus/registers/15/writable: an input register cannot be written"},
        {"the command parameter without a register", [](json& d) { d["modbus"]["registers"].erase(5); },
         "fm.json: /modbus/registers: the command parameter QUICK_2 needs a writable holding register"},
        {"a range beyond the type", [](json& d) { entryOf(d, "OPERATING_HOURS")["type"] = "uint16"; },
         "fm.json: /modbus/registers/16/type: OPERATING_HOURS takes 0..1000000, raw 0..1000000, beyond "
         "uint16"},
        {"a negative range in an unsigned type",
         [](json& d) { entryOf(d, "DELTAFLOW_RAW")["type"] = "uint16"; },
         "fm.json: /modbus/registers/2/type: DELTAFLOW_RAW takes -1000..1000, raw -1000..1000, beyond "
         "uint16"},
        {"a scale that makes the range too wide", [](json& d) { entryOf(d, "PROINTEMP")["scale"] = 0.001; },
         "fm.json: /modbus/registers/3/type: PROINTEMP takes -40..150, raw -40000..150000, beyond int16"},
        {"an offset that brings it back",
         [](json& d) {
             entryOf(d, "DELTAFLOW_RAW")["type"] = "uint16", entryOf(d, "DELTAFLOW_RAW")["offset"] = -1000;
         },
         ""},
        {"a list's codes of every firmware", [](json& d) { entryOf(d, "TEACHDO_QUICK")["type"] = "uint16"; },
         "fm.json: /modbus/registers/12/type: TEACHDO_QUICK takes -8..8, raw -8..8, beyond uint16"},
        {"a parameter the description lacks",
         [](json& d) { entryOf(d, "SWPOINT")["parameter"] = "SWPOINT2"; },
         "fm.json: /modbus/registers/4/parameter: the description has no parameter SWPOINT2"},
        {"a parameter mapped twice",
         [](json& d) {
             d["modbus"]["registers"].push_back(entryOf(d, "SWPOINT")),
                 d["modbus"]["registers"].back()["address"] = 99;
         },
         "fm.json: /modbus/registers/17/parameter: SWPOINT has a register already"},
        {"an unknown type", [](json& d) { entryOf(d, "SWPOINT")["type"] = "float32"; },
         "fm.json: /modbus/registers/4/type: \"float32\" is not one of int16, uint16, int32, uint32"},
        {"a 32-bit value past the last register", [](json& d) { entryOf(d, "SERIAL_NO")["address"] = 65535; },
         "fm.json: /modbus/registers/15/address: 65535 is outside 0..65534"},
        {"a unit id beyond a byte", [](json& d) { d["modbus"]["unitId"] = 256; },
         "fm.json: /modbus/unitId: 256 is outside 0..255"},
        {"no map at all", [](json& d) { d.erase("modbus"); }, "fm.json: /modbus: is missing"},
        {"a word order nobody knows", [](json& d) { d["modbus"]["wordOrder"] = "middle"; },
         "fm.json: /modbus/wordOrder: \"middle\" is not one of high-word-first, low-word-first"},
        {"a zero scale", [](json& d) { entryOf(d, "SWPOINT")["scale"] = 0; },
         "fm.json: /modbus/registers/4/scale: must be a positive number"},
    };
    for (const auto& row : rows) EXPECT_EQ(verdict(row.change), row.message) << row.why;
}

TEST(RegisterMapTest, ValuesGoThroughTheirRegistersAndBack) {
    struct Row {
        RegisterType type;
        WordOrder words;
        ByteOrder bytes;
        double scale, offset, value;
        std::vector<uint16_t> registers;
    };
    const Row rows[] = {
        {RegisterType::UInt16, WordOrder::HighFirst, ByteOrder::BigEndian, 1, 0, 780, {780}},
        {RegisterType::Int16, WordOrder::HighFirst, ByteOrder::BigEndian, 1, 0, -1000, {0xFC18}},
        {RegisterType::Int16, WordOrder::HighFirst, ByteOrder::BigEndian, 0.1, 0, 22.5, {225}},
        {RegisterType::Int16, WordOrder::HighFirst, ByteOrder::BigEndian, 0.1, 0, -40, {0xFE70}},
        {RegisterType::UInt16, WordOrder::HighFirst, ByteOrder::BigEndian, 1, -1000, -1000, {0}},
        {RegisterType::UInt16, WordOrder::HighFirst, ByteOrder::LittleEndian, 1, 0, 0x0102, {0x0201}},
        {RegisterType::UInt32, WordOrder::HighFirst, ByteOrder::BigEndian, 1, 0, 1000000, {0x000F, 0x4240}},
        {RegisterType::UInt32, WordOrder::LowFirst, ByteOrder::BigEndian, 1, 0, 1000000, {0x4240, 0x000F}},
        {RegisterType::Int32, WordOrder::HighFirst, ByteOrder::BigEndian, 1, 0, -2, {0xFFFF, 0xFFFE}},
        {RegisterType::Int32, WordOrder::LowFirst, ByteOrder::LittleEndian, 1, 0, 65536, {0x0000, 0x0100}},
    };
    for (const auto& row : rows) {
        RegisterMap map;
        map.byteOrder = row.bytes;
        RegisterEntry e{"P", RegisterTable::Holding, 0, row.type, row.words, row.scale, row.offset, true, {}};
        EXPECT_EQ(encodeRegisters(map, e, row.value), row.registers) << row.value;
        EXPECT_EQ(decodeRegisters(map, e, row.registers), row.value) << row.value;
    }
    RegisterMap map;
    RegisterEntry small{"P", RegisterTable::Holding, 0, RegisterType::Int16, WordOrder::HighFirst, 1, 0, true,
                        {}};
    EXPECT_FALSE(encodeRegisters(map, small, 32768)) << "a value beyond the type is not written";
    EXPECT_EQ(encodeRegisters(map, small, 2.5), std::vector<uint16_t>{2}) << "halves round to even";
}

TEST(RegisterMapTest, ReadsGatherIntoFewRequestsAndWritesKeepTheJobsOrder) {
    const RegisterMap map = readRegisterMap(flowMonitorDescriptionPath());
    auto entries = [&](std::initializer_list<const char*> names) {
        std::vector<const RegisterEntry*> list;
        for (const char* n : names) list.push_back(map.find(n));
        return list;
    };
    auto reads = [&](std::initializer_list<const char*> names) {
        std::string out;
        for (const auto& r : planReads(map, entries(names)))
            out += std::string(r.table == RegisterTable::Holding ? " h" : " i") + std::to_string(r.start) +
                   "+" + std::to_string(r.count);
        return out;
    };
    // The default device's poll, with and without the switch inputs: one request each, across the
    // command register the poll does not ask for.
    EXPECT_EQ(reads({"DELTAFLOW_RAW", "DELTAFLOW_NEW", "PROINFLOW_RAW", "TEACH_MAX_SAVE", "TEACH_MIN_SAVE",
                     "PROINTEMP", "SWPOINT", "TEACHDO_QUICK_MODE", "FLOWSP_RAW", "FLOWSPQT_RAW"}),
              " h0+11");
    EXPECT_EQ(reads({"PROINFLOW_RAW", "SWPOINT", "TEACHDO_SWPOINT", "TEACHDO_QUICK", "FLOWSPQT_RAW"}),
              " h0+13");
    EXPECT_EQ(reads({"TEACH_MIN", "PROINFLOW_RAW"}), " h0+9");
    // Two names of one value read the one register.
    EXPECT_EQ(reads({"TEACH_MAX", "TEACH_MAX_SAVE"}), " h7+1");
    EXPECT_EQ(reads({"OPERATING_HOURS", "PROINFLOW_RAW", "SERIAL_NO"}), " h0+1 i0+4");

    // A gap of unmapped registers splits the read; 125 registers is the most one request holds.
    RegisterMap sparse;
    for (uint16_t a : std::initializer_list<uint16_t>{0, 1, 3, 124, 125})
        sparse.entries.push_back({"R" + std::to_string(a),
                                  RegisterTable::Holding,
                                  a,
                                  RegisterType::UInt16,
                                  WordOrder::HighFirst,
                                  1,
                                  0,
                                  false,
                                  {}});
    std::vector<const RegisterEntry*> all;
    for (const auto& e : sparse.entries) all.push_back(&e);
    std::string split;
    for (const auto& r : planReads(sparse, all))
        split += " " + std::to_string(r.start) + "+" + std::to_string(r.count);
    EXPECT_EQ(split, " 0+2 3+1 124+2");

    // Writes: a job whose registers form one run goes as one request in register order, whatever
    // the job's order; otherwise parts that follow each other in the job and on the device go
    // together.
    auto writes = [&](std::initializer_list<const char*> names) {
        std::string out;
        for (const auto& part : planWrites(entries(names))) {
            out += " [";
            for (const auto* e : part) out += e->parameter + (e == part.back() ? "" : " ");
            out += "]";
        }
        return out;
    };
    EXPECT_EQ(writes({"TEACH_MIN_SAVE", "TEACH_MAX_SAVE"}), " [TEACH_MAX_SAVE TEACH_MIN_SAVE]");
    EXPECT_EQ(writes({"SWPOINT", "TEACHDO_QUICK"}), " [SWPOINT] [TEACHDO_QUICK]");
    EXPECT_EQ(writes({"SWPOINT", "FLOWSPQT_RAW", "TEACHDO_QUICK", "TEACH_MIN"}),
              " [SWPOINT FLOWSPQT_RAW] [TEACHDO_QUICK] [TEACH_MIN]");

    // Every job the view writes with a command carrier (the teach code, or the teach mode on
    // newer firmware) goes as one request on the default device: the device never acts on the
    // carrier before the values it carries arrive, whichever names the device's category gives the
    // taught limits and whichever firmware's quick-teach switch point it is.
    const std::vector<std::vector<const char*>> jobs = {
        {"QUICK_2", "TEACH_MAX", "TEACH_MIN"},
        {"QUICK_2", "TEACH_MAX_SAVE", "TEACH_MIN_SAVE"},
        {"TEACHDO_QUICK_MODE", "TEACH_MAX", "TEACH_MIN"},
        {"TEACHDO_QUICK_MODE", "TEACH_MAX_SAVE", "TEACH_MIN_SAVE"},
        {"TEACHDO_QUICK_MODE", "FLOWSPQT_RAW"},
        {"QUICK_2", "FLOWSP_RAW"}};
    for (const auto& job : jobs) {
        std::vector<const RegisterEntry*> list;
        for (const char* name : job) list.push_back(map.find(name));
        EXPECT_EQ(planWrites(list).size(), 1u) << job.front() << " with " << job.size() - 1 << " companions";
    }
}

}  // namespace
}  // namespace qx::frame::test
