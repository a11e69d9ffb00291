#pragma once
// One view hosted by the stand-in frame on virtual time, driven the way the frame and a person
// drive it, with what the frame must be able to rely on once it has released the view: it hears
// the end of the release exactly once (the answer false, or one notice after the answer true), no
// job id is left, the shared job counter is back where it was, the wizard is idle or can be left
// by cancel, and none of the view's timers runs.
#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>

#include "frame/StandFrame.h"
#include "platform/RuntimeError.h"
#include "platform/StandardControls.h"
#include "reliability/ViewProbe.h"

namespace qx::reliability::test {

// LOCAL_COMM starts away from 0, so that a counter reset to 0 would show.
inline constexpr int32_t kLocalComm = 5;

class Session {
  public:
    // A firmware-1 device with the matching category, in the neutral language; "Poll" is pressed
    // as the toolbar arrives, so the view connects and polls from the start.
    explicit Session(frame::DeviceOptions options = {}) {
        options.language = 0;
        options.localComm = kLocalComm;
        f.setOptions(options);
        view = &f.create();
        f.init(frame::InitTarget::Device);
        f.registerCallback();
        f.setToolbar();
    }

    ViewProbe probe() { return {*view}; }

    // ---- a person at the view ----
    // Clicks a button of the view by name when a person can reach it; a handler that fails ends
    // there, as the frame contains it.
    bool click(const std::string& name) {
        auto* button = dynamic_cast<platform::CommandButton*>(view->Controls().find(name).get());
        if (!button || !button->usable()) return false;
        platform::ignoreErrors([&] { button->click(); });
        return true;
    }
    bool type(const std::string& name, const std::string& text) {
        auto* box = dynamic_cast<platform::TextBox*>(view->Controls().find(name).get());
        if (!box || !box->usable()) return false;
        box->setText(text);
        return true;
    }
    bool press(const std::string& key) { return f.press(key); }

    // ---- the frame ----
    // The frame asks once; a second request would be the frame's own fault.
    void release() {
        if (!answer) answer = f.release();
    }
    bool released() const { return answer.has_value(); }

    int32_t localComm() { return f.model()->description()->environment()->get("LOCAL_COMM").toInt32(); }

    // What every release must leave behind.
    void expectReleasedCleanly() {
        ASSERT_TRUE(answer.has_value()) << "the frame never asked";
        EXPECT_EQ(f.receiver()->releasedCount(), *answer ? 1 : 0) << "release answered " << *answer;
        auto p = probe();
        EXPECT_EQ(p.jobs(), 0);
        EXPECT_EQ(p.early(), 0);
        EXPECT_EQ(localComm(), kLocalComm);
        EXPECT_FALSE(p.anyTimerRunning());
        if (p.teachState() != 0) {
            EXPECT_TRUE(click("ComTeachCancel")) << "stuck in state " << p.teachState();
            EXPECT_EQ(p.teachState(), 0);
        }
    }

    frame::StandFrame f;
    view::QX_FlowWiz* view = nullptr;
    std::optional<bool> answer;  // the view's answer to the release
};

}  // namespace qx::reliability::test
