// Parameter sets: `params save|compare|load <file>`. The frame reads and writes the device with
// jobs of its own on the line the view polls, answered to the frame; the view keeps polling and
// never hears of them. Each command prints its outcome when the device has answered (on a later
// `wait`), or at once when it refuses.
#include <filesystem>

#include "frame/FrameDataModel.h"
#include "frame/FrameParameter.h"
#include "frame/params/ParameterSet.h"
#include "script/Console.h"
#include "script/ValueText.h"

namespace qx::console {

namespace {

host::ParameterList asList(const std::vector<std::shared_ptr<frame::FrameParameter>>& parameters) {
    return {parameters.begin(), parameters.end()};
}

}  // namespace

void Console::cmdParams(const Command& c) {
    const std::string& what = c.words[1].text;
    if (what != "save" && what != "compare" && what != "load")
        fail(c, "params save, compare or load, not " + what);
    const std::string name = c.words[2].text;
    std::filesystem::path path = name;
    if (path.is_relative()) path = std::filesystem::path(scriptFolder_) / path;
    auto refuse = [&](const std::string& why) { emit("refused " + name + ": " + why); };

    const auto comm = line_->communication();
    const auto& model = frame_.model();
    if (!comm || !model || !comm->IsConnected()) return refuse("not connected");

    frame::ParameterSet set;
    if (what != "save") {
        try {
            set = frame::readSetFile(path.string());
        } catch (const frame::ParameterSetError& e) {
            return refuse(e.what());
        }
    }
    if (what == "load") {
        const std::string teachState = namedQuery(c, "field", "mTeachState");
        if (teachState != "0" && teachState != kNone) return refuse("a teach-in is under way");
        if (toolbarQuery("Edit.Value") == "1") return refuse("Edit is on");
        const frame::LoadPlan plan = frame::planLoad(set, *model);
        if (plan.refusal) return refuse(*plan.refusal);
        const size_t count = plan.writes.size();
        if (count == 0) return emit("loaded " + name + ": 0 parameters");
        std::vector<std::shared_ptr<frame::FrameParameter>> parameters;
        for (const auto& [parameter, text] : plan.writes) {
            parameter->setValueText(text);
            parameters.push_back(parameter);
        }
        const auto id = comm->QueueFrameWrite(asList(parameters), [this, name, count](bool ok) {
            emit(ok ? "loaded " + name + ": " + std::to_string(count) + " parameters"
                    : "failed " + name + ": the device did not take the parameters");
        });
        if (id.empty()) refuse("not connected");
        return;
    }

    // Save and compare read every parameter first; the outcome follows the read's answer.
    const auto id = comm->QueueFrameRead(
        asList(frame::describedParameters(*model)), [this, what, name, path, set, model](bool ok) {
            if (!ok) return emit("failed " + name + ": the device did not answer the read");
            if (what == "save") {
                const frame::ParameterSet taken = frame::takeSet(*model);
                try {
                    frame::writeSetFile(path.string(), taken);
                } catch (const frame::ParameterSetError& e) {
                    return emit("failed " + name + ": " + e.what());
                }
                return emit("saved " + name + " " + std::to_string(taken.values.size()) + " parameters");
            }
            const auto differences = frame::compareSet(set, *model);
            for (const auto& d : differences)
                emit("differs " + d.name + " file=" + quoteText(d.fileText) +
                     " device=" + quoteText(d.deviceText));
            emit("compared " + name + ": " + std::to_string(differences.size()) + " differences");
        });
    if (id.empty()) refuse("not connected");
}

}  // namespace qx::console
