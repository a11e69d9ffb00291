// The diagnostic log on the debugger output channel: when it is on, the header it writes, how a
// message of several lines is cut, the tags of texts and objects, and that it never fails its
// caller.
#include <gtest/gtest.h>

#include <stdexcept>

#include "platform/RuntimeError.h"
#include "support/DebugLog.h"
#include "support/LogTestSupport.h"

namespace qx::support {
namespace {

using platform::registryStore;
using test::kControlsKey;
using Pieces = std::vector<std::string>;

class DebugChannel : public test::LogTest {};

TEST_F(DebugChannel, OffWithoutTheKeyAndTheRegistryIsReadOnlyAtTheFirstCall) {
    inFreshThread([&] {
        DebugWrite("T", "before");
        registryStore().setDword(kControlsKey, "Debug", 1);  // too late for this thread
        DebugWrite("T", "after");
    });
    EXPECT_TRUE(channel.empty());
    inFreshThread([&] { DebugWrite("T", "new thread"); });
    EXPECT_EQ(channel, (Pieces{"QX_Flow::T: new thread"}));
}

TEST_F(DebugChannel, WhichRegistryValuesSwitchItOn) {
    struct Case {
        const char* what;
        platform::Variant value;  // a number is stored as a DWORD, a text as a text
        bool on;
    };
    const Case cases[] = {
        {"dword 1", 1, true},       {"text 1", "1", true},     {"text 1.0", " 1.0 ", true},
        {"dword 0", 0, false},      {"dword 2", 2, false},     {"dword -1", -1, false},
        {"text yes", "yes", false}, {"empty text", "", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        registryStore().clear();
        if (c.value.isText())
            registryStore().setText(kControlsKey, "Debug", c.value.toText());
        else
            registryStore().setDword(kControlsKey, "Debug", static_cast<uint32_t>(c.value.toInt32()));
        channel.clear();
        inFreshThread([] { DebugWrite("T", "m"); });
        EXPECT_EQ(channel.size(), c.on ? 1u : 0u);
    }
}

TEST_F(DebugChannel, HeaderNamesTheLineOfTheErrorBeingHandled) {
    registryStore().setDword(kControlsKey, "Debug", 1);
    int line = 0;
    inFreshThread([&] {
        DebugWrite("Tag", "plain");
        try {
            line = __LINE__ + 1;
            platform::raise(platform::kOverflow);
        } catch (const platform::RuntimeError& e) {
            platform::ErrorLineScope handling(e);
            DebugWrite("Tag", "handled");
        }
        DebugWrite("Tag", "afterwards");
    });
    EXPECT_EQ(channel,
              (Pieces{"QX_Flow::Tag: plain", "QX_Flow::Tag: in line " + std::to_string(line) + ": handled",
                      "QX_Flow::Tag: afterwards"}));
}

TEST_F(DebugChannel, MessagesAreCutIntoOnePiecePerCrLfLine) {
    registryStore().setDword(kControlsKey, "Debug", 1);
    const std::string h = "QX_Flow::T: ";
    const std::pair<std::string, Pieces> cases[] = {
        {"", {h}},
        {"one", {h + "one"}},
        {"one\r\n", {h + "one"}},
        {"\r\n", {h}},
        {"one\r\ntwo", {h + "one", h + "two"}},
        {"one\r\ntwo\r\n", {h + "one", h + "two"}},
        {"one\r\n\r\ntwo", {h + "one", h, h + "two"}},
        {"one\r\n\r\n", {h + "one", h}},
        {"a\nb\rc", {h + "a\nb\rc"}},  // only the pair cuts
    };
    for (const auto& [message, expected] : cases) {
        SCOPED_TRACE(testing::PrintToString(message));
        channel.clear();
        inFreshThread([&] { DebugWrite("T", message); });
        EXPECT_EQ(channel, expected);
    }
}

// A view that is more than the frame's object: its identity is the whole object's address.
struct Extra {
    virtual ~Extra() = default;
    int padding = 0;
};
struct FakeView : Extra, test::NamedObject {
    FakeView() : NamedObject("QX_FlowWiz") {}
};

TEST_F(DebugChannel, TagsOfTextsAndObjectsAndTheTwoTextsJoined) {
    registryStore().setDword(kControlsKey, "Debug", 1);
    FakeView view;
    inFreshThread([&] {
        DebugLog("CCommandFiFo", "Add(): ", "ReadOnce");
        DebugLog(view, "UserControl_Initialize():", "");
        DebugLog(static_cast<const host::Object&>(view), "PollCycle=", 250);
        DebugLog("T", 1.5, true);
    });
    const std::string id = std::to_string(reinterpret_cast<uintptr_t>(&view));
    EXPECT_EQ(channel, (Pieces{"QX_Flow::CCommandFiFo: Add(): ReadOnce",
                               "QX_Flow::(" + id + ")QX_FlowWiz: UserControl_Initialize():",
                               "QX_Flow::(" + id + ")QX_FlowWiz: PollCycle=250", "QX_Flow::T: 1.5True"}));
}

class FailingObject : public host::Object {
  public:
    std::string className() const override { platform::raise(platform::kObjectNotSet); }
};

TEST_F(DebugChannel, NothingThatFailsInsideReachesTheCaller) {
    registryStore().setDword(kControlsKey, "Debug", 1);
    inFreshThread([&] {
        FailingObject failing;
        EXPECT_NO_THROW(DebugLog(failing, "x", ""));
        onPiece = [](const std::string&) { throw std::runtime_error("sink broke"); };
        EXPECT_NO_THROW(DebugWrite("T", "one\r\ntwo"));
        EXPECT_NO_THROW(DebugLog("T", "x", ""));
    });
}

}  // namespace
}  // namespace qx::support
