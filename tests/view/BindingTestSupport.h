#pragma once
// Shared by the binding and polling tests. The log switches and the model-combining switch are
// read once per thread, so every case runs the view in a thread of its own, against a registry
// it set up itself, and collects what the view logs through the debugger output channel.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "frame/DataModel.h"
#include "frame/StandFrame.h"
#include "platform/DebugOutput.h"
#include "platform/Registry.h"
#include "view/QX_FlowWiz.h"

namespace qx::view::test {

inline constexpr const char* kControlsKey = "SOFTWARE\\QXX\\Controls";
inline constexpr const char* kDtmKey = "SOFTWARE\\Orvex\\DTM";

class StandTest : public testing::Test {
  protected:
    void SetUp() override {
        platform::registryStore().clear();
        platform::registryStore().setDword(kControlsKey, "Debug", 1);
        platform::setDebugOutputSink([this](const std::string& text) {
            std::lock_guard lock(mutex_);
            log_.push_back(text);
        });
    }
    void TearDown() override {
        platform::setDebugOutputSink({});
        platform::registryStore().clear();
    }

    // Runs f in a thread that has not logged or read the model-combining switch yet.
    static void inFreshThread(const std::function<void()>& f) { std::thread(f).join(); }

    // The log lines, each without its "QX_Flow::<tag>: " header, that end in `text`.
    int logged(const std::string& text) {
        std::lock_guard lock(mutex_);
        int n = 0;
        for (const auto& line : log_)
            if (line.size() >= text.size() && line.compare(line.size() - text.size(), text.size(), text) == 0)
                ++n;
        return n;
    }
    // Lines that contain `part` anywhere.
    int loggedContaining(const std::string& part) {
        std::lock_guard lock(mutex_);
        int n = 0;
        for (const auto& line : log_)
            if (line.find(part) != std::string::npos) ++n;
        return n;
    }

  private:
    std::mutex mutex_;
    std::vector<std::string> log_;
};

inline std::vector<std::string> names(const host::ParameterList& list) {
    std::vector<std::string> out;
    for (const auto& p : list) out.push_back(p ? p->name() : "<none>");
    return out;
}

inline std::string nameOf(const host::ParameterPtr& p) {
    return p ? p->name() : "<none>";
}

// The applied model of the view as the stand-in frame built it.
inline std::shared_ptr<frame::FrameDataModel> applied(const QX_FlowWiz& view) {
    return std::dynamic_pointer_cast<frame::FrameDataModel>(view.mModel);
}

inline std::string environmentText(const host::IDataModel& model, const std::string& name) {
    return model.description()->environment()->get(name).toText();
}

// A resource object whose texts a test chooses; a key without a text answers with itself, as
// the neutral language does. Setting the language can be made to fail.
class ScriptedResource : public host::IResource {
  public:
    std::string className() const override { return "ScriptedResource"; }
    std::string text(const std::string& key, int32_t&) override {
        auto it = texts.find(key);
        return it == texts.end() ? key : it->second;
    }
    host::PicturePtr picture(const std::string&, bool, int32_t, int16_t, int16_t) override {
        platform::raise(platform::kElementNotFound);
    }
    int32_t setLanguage(int32_t language) override {
        if (failLanguage) platform::raise(platform::kInvalidProcedureCall);
        languages.push_back(language);
        return language;
    }

    std::map<std::string, std::string> texts;
    bool failLanguage = false;
    std::vector<int32_t> languages;
};

}  // namespace qx::view::test
