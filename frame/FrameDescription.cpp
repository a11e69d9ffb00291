#include "frame/FrameDescription.h"

#include "frame/FrameDataModel.h"
#include "platform/RuntimeError.h"

namespace qx::frame {

namespace {

Presence presenceFor(const std::string& option, const DeviceOptions& options) {
    if (option.empty()) return Presence::Valid;
    if (option == "quickmode") return options.quickMode;
    if (option == "swpoint") return options.swPoint;
    if (option == "flowsp") return options.flowSp;
    if (option == "flowspqt") return options.flowSpQt;
    if (option == "teach") return options.teachPresent ? Presence::Valid : Presence::Missing;
    platform::raise(platform::kObjectError, "Device description: unknown option \"" + option + "\"");
}

std::vector<ListEntry> entriesFor(const ParameterDefinition& definition, int32_t firmware) {
    if (definition.kind != ParameterDefinition::Kind::List) return {};
    auto it = definition.entriesByFirmware.find(std::to_string(firmware));
    if (it == definition.entriesByFirmware.end()) it = definition.entriesByFirmware.find("default");
    return it != definition.entriesByFirmware.end() ? it->second : std::vector<ListEntry>{};
}

}  // namespace

void FrameGroup::add(std::shared_ptr<FrameParameter> parameter) {
    valueObjects_->add(parameter->name(), parameter->valueObject());
    parameters_.push_back(std::move(parameter));
}

void FrameModule::add(std::shared_ptr<FrameGroup> group) {
    groupCollection_->add(group->name(), group);
    groups_.push_back(std::move(group));
}

FrameDescription::FrameDescription(std::shared_ptr<const DescriptionFile> file, const DeviceOptions& options,
                                   std::shared_ptr<FrameSettings> settings)
    : file_(std::move(file)), options_(options), settings_(std::move(settings)) {}

std::shared_ptr<FrameDescription> FrameDescription::create(std::shared_ptr<const DescriptionFile> file,
                                                           const DeviceOptions& options,
                                                           std::shared_ptr<FrameSettings> settings) {
    std::shared_ptr<FrameDescription> d(new FrameDescription(std::move(file), options, std::move(settings)));
    d->build();
    d->settings_->attach(d);
    return d;
}

void FrameDescription::build() {
    for (const ModuleSpec& ms : file_->modules) {
        auto module = std::make_shared<FrameModule>(ms.name);
        for (const GroupSpec& gs : ms.groups) {
            auto group = std::make_shared<FrameGroup>(gs.name);
            for (const ParameterDefinition& ps : gs.parameters) {
                const Presence presence = presenceFor(ps.option, options_);
                if (presence == Presence::Missing) continue;
                const auto start = presence == Presence::Valid ? ps.defaultText : std::nullopt;
                group->add(FrameParameter::create(ps, entriesFor(ps, options_.fw), settings_, start));
            }
            module->add(group);
        }
        moduleCollection_->add(module->name(), module);
        modules_.push_back(std::move(module));
    }
}

host::Variant FrameDescription::item(const std::string& name) const {
    if (name == "FWversion") return host::Variant(options_.fw);
    auto it = file_->items.find(name);
    if (it == file_->items.end()) platform::raise(platform::kItemNotFound);
    return it->second;
}

std::shared_ptr<host::IDataModel> FrameDescription::createModel() {
    auto copy = FrameDataModel::build(file_, options_, settings_->frameDatabase(), settings_->language());
    for (const auto& p : copy->frameDescription()->parameters())
        if (auto mine = findParameter(p->name())) p->startFrom(*mine);
    std::erase_if(copySettings_, [](const auto& s) { return s.expired(); });
    copySettings_.push_back(copy->frameDescription()->frameSettings());
    return copy;
}

void FrameDescription::switchLanguage(int32_t language) {
    settings_->setLanguage(language);
    for (const auto& copy : copySettings_)
        if (auto settings = copy.lock()) settings->setLanguage(language);
}

std::vector<std::shared_ptr<FrameParameter>> FrameDescription::parameters() const {
    std::vector<std::shared_ptr<FrameParameter>> all;
    for (const auto& m : modules_)
        for (const auto& g : m->frameGroups())
            all.insert(all.end(), g->parameters().begin(), g->parameters().end());
    return all;
}

std::shared_ptr<FrameParameter> FrameDescription::findParameter(const std::string& name) const {
    for (const auto& m : modules_)
        for (const auto& g : m->frameGroups())
            for (const auto& p : g->parameters())
                if (p->name() == name) return p;
    return nullptr;
}

void FrameDescription::restoreStartValues() {
    for (const auto& p : parameters()) p->restoreStartValue();
}

}  // namespace qx::frame
