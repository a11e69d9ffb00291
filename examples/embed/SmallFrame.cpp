#include "SmallFrame.h"

#include "host/Resource.h"
#include "host/Slider.h"

#include <QDateTime>
#include <cmath>
#include <optional>
#include <vector>

namespace embed {

using qx::host::Variant;

// ---- the clock ----

QtClock::QtClock() {
    const QDateTime now = QDateTime::currentDateTime();
    startDay_ = static_cast<int32_t>(now.date().toJulianDay() - QDate(1970, 1, 1).toJulianDay());
    startMs_ = now.toMSecsSinceEpoch() - now.time().msecsSinceStartOfDay();
    timer_.setSingleShot(true);
    QObject::connect(&timer_, &QTimer::timeout, this, [this] { processPending(); });
}

int64_t QtClock::nowMs() const {
    return QDateTime::currentMSecsSinceEpoch() - startMs_;
}

QtClock::Handle QtClock::postAfter(int64_t ms, Task task) {
    const Handle handle = next_++;
    due_.emplace(nowMs() + std::max<int64_t>(ms, 0), Entry{handle, std::move(task)});
    arm();
    return handle;
}

void QtClock::cancel(Handle handle) {
    for (auto it = due_.begin(); it != due_.end(); ++it)
        if (it->second.handle == handle) {
            due_.erase(it);
            break;
        }
    arm();
}

void QtClock::processPending() {
    // One task at a time: a task may post or cancel others.
    while (!due_.empty() && due_.begin()->first <= nowMs()) {
        Task task = std::move(due_.begin()->second.task);
        due_.erase(due_.begin());
        task();
    }
    arm();
}

void QtClock::arm() {
    if (due_.empty()) {
        timer_.stop();
        return;
    }
    timer_.start(static_cast<int>(std::clamp<int64_t>(due_.begin()->first - nowMs(), 0, 60'000)));
}

// ---- the data model ----

namespace {

template <class T>
class NamedList : public qx::host::Collection<T> {
  public:
    void add(const std::string& name, std::shared_ptr<T> item) { items_.emplace_back(name, std::move(item)); }
    int32_t count() const override { return static_cast<int32_t>(items_.size()); }
    std::shared_ptr<T> item(int32_t index) const override {
        if (index < 1 || index > count()) throw std::out_of_range("no item " + std::to_string(index));
        return items_[static_cast<size_t>(index - 1)].second;
    }
    std::shared_ptr<T> item(const std::string& name) const override {
        for (const auto& [n, i] : items_)
            if (n == name) return i;
        throw std::out_of_range("no item " + name);
    }

  private:
    std::vector<std::pair<std::string, std::shared_ptr<T>>> items_;
};

struct Definition {
    const char* module;
    const char* group;
    const char* name;
    const char* display;
    const char* unit;
    double minimum, maximum, start;
};

// The flow monitor's parameters the view binds, where the view looks for them.
constexpr Definition kParameters[] = {
    {"SYSTEM_FMX", "DUMMY", "QUICK_2", "Teach command", "", 0, 5, 0},
    {"PROIN_FMX", "PROIN", "PROINFLOW_RAW", "Flow", "Bit", 0, 1000, 0},
    {"PROIN_FMX", "PROIN", "DELTAFLOW_NEW", "Flow settled", "", 0, 1, 1},
    {"PROIN_FMX", "PROIN", "PROINTEMP", "Temperature", "°C", -40, 150, 22},
    {"PROIN_FMX", "PROIN", "DELTAFLOW_RAW", "Flow change", "Bit", -1000, 1000, 0},
    {"PROIN_FMX", "PROIN", "FLOWSP_RAW", "Switch point", "Bit", 0, 1000, 450},
    {"MEDIA_FMX", "MEDIA", "SWPOINT", "Temp. switch point", "°C", -20, 120, 60},
    {"TEACH_FMX", "FLOW2_FMX", "TEACHDO_SWPOINT", "Switch point position", "%", 0, 100, 50},
    {"TEACH_FMX", "FLOW2_FMX", "TEACH_MAX_SAVE", "Maximum", "Bit", 0, 1000, 800},
    {"TEACH_FMX", "FLOW2_FMX", "TEACH_MIN_SAVE", "Minimum", "Bit", 0, 1000, 100},
    {"TEACH_FMX", "FLOW2_FMX", "TEACHDO_QUICK_MODE", "Teach mode", "", 1, 2, 2},
    {"TEACH_FMX", "FLOW2_FMX", "FLOWSPQT_RAW", "Quick switch point", "Bit", 0, 1000, 450},
    {"TEACH_FMX", "FLOW_FMX", "TEACH_MAX", "Maximum", "Bit", 0, 1000, 800},
    {"TEACH_FMX", "FLOW_FMX", "TEACH_MIN", "Minimum", "Bit", 0, 1000, 100},
    {"TEACH_FMX", "TEACH", "TEACHDO_QUICK", "Tolerance", "%", 0, 16, 8},
};

class DeviceItem : public qx::host::Object {
  public:
    std::string className() const override { return "DeviceItem"; }
};

class ParameterBinding : public qx::host::IParameterBinding {
  public:
    std::string className() const override { return "ParameterBinding"; }
    qx::host::ObjectPtr deviceItem() const override { return item_; }

  private:
    std::shared_ptr<DeviceItem> item_ = std::make_shared<DeviceItem>();
};

class Parameter;

class ValueObject : public qx::host::IValueObject {
  public:
    explicit ValueObject(Parameter& owner) : owner_(owner) {}
    std::string className() const override { return "ValueObject"; }
    Variant value() const override;
    void setValue(const Variant& v) override;
    int32_t flags() const override { return 0; }
    int32_t state() const override { return 0; }
    std::shared_ptr<qx::host::IParameter> parameter() const override;

  private:
    Parameter& owner_;
};

class Parameter : public qx::host::IParameter, public std::enable_shared_from_this<Parameter> {
  public:
    explicit Parameter(const Definition& d) : d_(d), value_(d.start) {}
    std::string className() const override { return "Parameter"; }
    std::string name() const override { return d_.name; }
    std::string valueText() const override { return value_ ? Variant(*value_).toText() : std::string(); }
    void setValueText(const std::string& text) override {
        double v = 0;
        if (qx::platform::parseNumber(text, v)) set(v);
    }
    int32_t noValue() const override { return value_ ? 0 : 1; }
    void refresh() override {}
    std::string displayName() const override { return d_.display; }
    std::string unit() const override { return d_.unit; }
    Variant minimum() const override { return Variant(d_.minimum); }
    Variant maximum() const override { return Variant(d_.maximum); }
    std::shared_ptr<qx::host::IParameterBinding> binding() const override { return binding_; }
    std::shared_ptr<qx::host::IValueObject> valueObject() const override { return valueObject_; }

    // A value outside the limits is refused: the parameter keeps what it had.
    void set(double v) {
        if (v >= d_.minimum && v <= d_.maximum) value_ = v;
    }
    std::optional<double> number() const { return value_; }

  private:
    Definition d_;
    std::optional<double> value_;
    std::shared_ptr<ParameterBinding> binding_ = std::make_shared<ParameterBinding>();
    std::shared_ptr<ValueObject> valueObject_ = std::make_shared<ValueObject>(*this);
};

Variant ValueObject::value() const {
    return owner_.number() ? Variant(*owner_.number()) : Variant();
}
void ValueObject::setValue(const Variant& v) {
    owner_.set(v.toDouble());
}
std::shared_ptr<qx::host::IParameter> ValueObject::parameter() const {
    return owner_.shared_from_this();
}

class Group : public qx::host::IGroup {
  public:
    explicit Group(std::string name) : name_(std::move(name)) {}
    std::string className() const override { return "Group"; }
    std::string name() const override { return name_; }
    std::shared_ptr<qx::host::Collection<qx::host::IValueObject>> valueObjects() const override {
        return values_;
    }
    void add(const std::shared_ptr<Parameter>& p) { values_->add(p->name(), p->valueObject()); }

  private:
    std::string name_;
    std::shared_ptr<NamedList<qx::host::IValueObject>> values_ =
        std::make_shared<NamedList<qx::host::IValueObject>>();
};

class Module : public qx::host::IModule {
  public:
    explicit Module(std::string name) : name_(std::move(name)) {}
    std::string className() const override { return "Module"; }
    std::string name() const override { return name_; }
    std::shared_ptr<qx::host::Collection<qx::host::IGroup>> groups() const override { return groups_; }
    std::shared_ptr<Group> group(const std::string& name) {
        for (const auto& g : owned_)
            if (g->name() == name) return g;
        owned_.push_back(std::make_shared<Group>(name));
        groups_->add(name, owned_.back());
        return owned_.back();
    }

  private:
    std::string name_;
    std::vector<std::shared_ptr<Group>> owned_;
    std::shared_ptr<NamedList<qx::host::IGroup>> groups_ = std::make_shared<NamedList<qx::host::IGroup>>();
};

class Environment : public qx::host::IEnvironment {
  public:
    std::string className() const override { return "Environment"; }
    void put(const std::string& name, const Variant& value) override { (*values_)[name] = value; }
    Variant get(const std::string& name) const override {
        auto it = values_->find(name);
        return it == values_->end() ? Variant() : it->second;
    }
    void link(const std::shared_ptr<qx::host::IEnvironment>& other) override {
        if (auto mine = std::dynamic_pointer_cast<Environment>(other)) mine->values_ = values_;
    }

  private:
    std::shared_ptr<std::map<std::string, Variant>> values_ =
        std::make_shared<std::map<std::string, Variant>>();
};

// No resource database: the view takes the flow monitor's own tables.
class Settings : public qx::host::ISettings {
  public:
    std::string className() const override { return "Settings"; }
    std::shared_ptr<qx::host::IDatabase> database() const override { return nullptr; }
    int32_t language() const override { return language_; }
    void setLanguage(int32_t language) override { language_ = language; }
    void reset() override {}

  private:
    int32_t language_ = 1033;
};

class Description : public qx::host::IDeviceDescription, public std::enable_shared_from_this<Description> {
  public:
    Description() {
        for (const Definition& d : kParameters) {
            auto p = std::make_shared<Parameter>(d);
            module(d.module)->group(d.group)->add(p);
            parameters_[d.name] = p;
        }
        // The device can be reached: the view's Poll button starts pressed.
        environment_->put("STATE", Variant(6));
    }
    std::string className() const override { return "DeviceDescription"; }
    std::shared_ptr<qx::host::Collection<qx::host::IModule>> modules() const override { return modules_; }
    void notifyEnvironmentChanged() override {}
    Variant item(const std::string& name) const override {
        if (name == "FWversion") return Variant(1);
        if (name == "IDX") return Variant(1203);
        throw std::out_of_range("no item " + name);
    }
    std::shared_ptr<qx::host::ISettings> settings() const override { return settings_; }
    std::shared_ptr<qx::host::IEnvironment> environment() const override { return environment_; }
    std::shared_ptr<qx::host::IDataModel> createModel() override;

    Parameter* parameter(const std::string& name) const {
        auto it = parameters_.find(name);
        return it == parameters_.end() ? nullptr : it->second.get();
    }

  private:
    std::shared_ptr<Module> module(const std::string& name) {
        for (const auto& m : owned_)
            if (m->name() == name) return m;
        owned_.push_back(std::make_shared<Module>(name));
        modules_->add(name, owned_.back());
        return owned_.back();
    }

    std::vector<std::shared_ptr<Module>> owned_;
    std::shared_ptr<NamedList<qx::host::IModule>> modules_ = std::make_shared<NamedList<qx::host::IModule>>();
    std::map<std::string, std::shared_ptr<Parameter>> parameters_;
    std::shared_ptr<Settings> settings_ = std::make_shared<Settings>();
    std::shared_ptr<Environment> environment_ = std::make_shared<Environment>();
};

}  // namespace

// The frame's model. The view's applied copy shares the parameters: this small frame has one
// set of values, which the line fills and the view writes.
class FlowModel : public qx::host::IDataModel {
  public:
    explicit FlowModel(std::shared_ptr<Description> description) : description_(std::move(description)) {}
    std::string className() const override { return "DataModel"; }
    std::string displayName() const override { return "Flow monitor (example)"; }
    std::shared_ptr<qx::host::Collection<qx::host::IViewModule>> viewModules() const override {
        return views_;
    }
    void registerView(const std::weak_ptr<qx::host::Object>&) override {}
    std::shared_ptr<qx::host::IBase_CallbackModule> exchangeCallback(
        const std::shared_ptr<qx::host::IBase_CallbackModule>& callback) override {
        return callback;
    }
    std::shared_ptr<qx::host::IDeviceDescription> description() const override { return description_; }
    std::shared_ptr<qx::host::ISettings> settings() const override { return description_->settings(); }
    Description& frameDescription() const { return *description_; }

  private:
    std::shared_ptr<Description> description_;
    std::shared_ptr<NamedList<qx::host::IViewModule>> views_ =
        std::make_shared<NamedList<qx::host::IViewModule>>();
};

namespace {

std::shared_ptr<qx::host::IDataModel> Description::createModel() {
    return std::make_shared<FlowModel>(shared_from_this());
}

// ---- the device and its simulated line ----

// Answers reads after a short latency with a flow that swings slowly around 600 and a
// temperature near 24 °C; takes writes as they come.
class SimulatedLine : public qx::host::ICommunication, public std::enable_shared_from_this<SimulatedLine> {
  public:
    SimulatedLine(qx::platform::Scheduler& clock, const Description& description)
        : clock_(clock), description_(description) {}
    std::string className() const override { return "Communication"; }
    std::string QueueRead(bool, const std::vector<qx::host::ParameterList>&) override {
        if (!connected_) return {};
        const std::string id = "READ-" + std::to_string(++jobs_);
        later([this, id] {
            const double t = static_cast<double>(clock_.nowMs()) / 1000.0;
            set("PROINFLOW_RAW", std::round(600 + 150 * std::sin(t / 5)));
            set("PROINTEMP", std::round(240 + 10 * std::sin(t / 17)) / 10);
            set("DELTAFLOW_NEW", 1);
            answer(id);
        });
        return id;
    }
    std::string QueueWrite(bool, qx::host::WriteItem&) override {
        if (!connected_) return {};
        const std::string id = "WRITE-" + std::to_string(++jobs_);
        later([this, id] { answer(id); });
        return id;
    }
    void SetReceiver(const std::weak_ptr<qx::host::IBase_Communication>& receiver) override {
        receiver_ = receiver;
    }
    bool Release(bool) override {
        released_ = true;
        receiver_.reset();
        return true;
    }
    bool Connecting(bool connect) override {
        if (released_) return false;
        later([this, connect] {
            connected_ = connect;
            if (auto r = receiver_.lock())
                r->IBase_Communication_OnConnectStatusChanged(connect ? "CONNECTED" : "DISCONNECTED");
        });
        return true;
    }
    bool IsConnected() const override { return connected_; }

  private:
    void later(std::function<void()> task) {
        std::weak_ptr<SimulatedLine> self = weak_from_this();
        clock_.postAfter(50, [self, task = std::move(task)] {
            if (auto line = self.lock(); line && !line->released_) task();
        });
    }
    void set(const char* name, double v) const {
        if (Parameter* p = description_.parameter(name)) p->set(v);
    }
    void answer(const std::string& id) const {
        if (auto r = receiver_.lock()) r->IBase_Communication_OnJobResponse(id, "SUCCESS", 0);
    }

    qx::platform::Scheduler& clock_;
    const Description& description_;
    std::weak_ptr<qx::host::IBase_Communication> receiver_;
    bool connected_ = false;
    bool released_ = false;
    int jobs_ = 0;
};

class Device : public qx::host::IDevice {
  public:
    Device(qx::platform::Scheduler& clock, std::shared_ptr<FlowModel> model)
        : clock_(clock), model_(std::move(model)) {}
    std::string className() const override { return "Device"; }
    qx::host::CommunicationPtr CreateCommunication() override {
        return std::make_shared<SimulatedLine>(clock_, model_->frameDescription());
    }
    void ReleaseItem(const qx::host::ObjectPtr&, int32_t) override {}
    qx::host::DataModelPtr datamodel() const override { return model_; }

  private:
    qx::platform::Scheduler& clock_;
    std::shared_ptr<FlowModel> model_;
};

// ---- the frame's services ----

class Messages : public qx::host::IMessageHandler {
  public:
    explicit Messages(const std::function<void(const std::string&)>& sink) : sink_(sink) {}
    std::string className() const override { return "MessageHandler"; }
    void ShowMessage(const std::string& text, const std::string& caption) override {
        tell(caption + ": " + text);
    }
    void ShowDetailedMessage(const std::string& text, const std::string& caption) override {
        tell(caption + ": " + text);
    }

  private:
    void tell(const std::string& line) const {
        if (sink_) sink_(line);
    }
    const std::function<void(const std::string&)>& sink_;
};

class Receiver : public qx::host::ICallbackReceiver {
  public:
    std::string className() const override { return "CallbackReceiver"; }
    void NotifyReleased() override {}
};

class Button : public qx::host::IButton {
  public:
    Button(std::string key, int32_t style, std::string image)
        : key_(std::move(key)), style_(style), image_(std::move(image)) {}
    std::string className() const override { return "Button"; }
    std::string key() const override { return key_; }
    int32_t value() const override { return value_; }
    void setValue(int32_t v) override { value_ = v; }
    bool enabled() const override { return enabled_; }
    void setEnabled(bool v) override { enabled_ = v; }
    std::string ToolTipText() const override { return tip_; }
    void setToolTipText(const std::string& v) override { tip_ = v; }
    int32_t Style() const override { return style_; }
    void setStyle(int32_t v) override { style_ = v; }
    std::string image() const override { return image_; }

  private:
    std::string key_;
    int32_t style_;
    std::string image_;
    std::string tip_;
    int32_t value_ = 0;
    bool enabled_ = true;
};

class Buttons : public qx::host::IButtons {
  public:
    std::string className() const override { return "Buttons"; }
    qx::host::ButtonPtr Add(const Variant&, const std::string& key, const std::string&, int32_t style,
                            const std::string& image) override {
        buttons_.push_back(std::make_shared<Button>(key, style, image));
        return buttons_.back();
    }
    qx::host::ButtonPtr item(const std::string& key) const override {
        for (const auto& b : buttons_)
            if (b->key() == key) return b;
        throw std::out_of_range("no button " + key);
    }
    int32_t count() const override { return static_cast<int32_t>(buttons_.size()); }

  private:
    std::vector<qx::host::ButtonPtr> buttons_;
};

class ListImages : public qx::host::IListImages {
  public:
    std::string className() const override { return "ListImages"; }
    void Add(const Variant&, const std::string& key, const qx::host::PicturePtr& picture) override {
        images_[key] = picture;
    }
    qx::host::PicturePtr item(const std::string& key) const override { return images_.at(key); }
    int32_t count() const override { return static_cast<int32_t>(images_.size()); }
    std::vector<std::string> keys() const override {
        std::vector<std::string> all;
        for (const auto& [key, picture] : images_) all.push_back(key);
        return all;
    }

  private:
    std::map<std::string, qx::host::PicturePtr> images_;
};

class ImageList : public qx::host::IImageList {
  public:
    std::string className() const override { return "ImageList"; }
    std::shared_ptr<qx::host::IListImages> ListImages() const override { return images_; }

  private:
    std::shared_ptr<embed::ListImages> images_ = std::make_shared<embed::ListImages>();
};

class Toolbar : public qx::host::IToolbar {
  public:
    std::string className() const override { return "Toolbar"; }
    std::shared_ptr<qx::host::IImageList> ImageList() const override { return images_; }
    std::shared_ptr<qx::host::IButtons> Buttons() const override { return buttons_; }

  private:
    std::shared_ptr<embed::ImageList> images_ = std::make_shared<embed::ImageList>();
    std::shared_ptr<embed::Buttons> buttons_ = std::make_shared<embed::Buttons>();
};

// The frame's parameter slider, kept without a widget: the view sets its properties by name.
class Slider : public qx::host::ISlider {
  public:
    Variant getProperty(const std::string& name) const override {
        auto it = properties_.find(name);
        return it == properties_.end() ? Variant() : it->second;
    }
    void setProperty(const std::string& name, const Variant& value) override {
        properties_[name] = value;
        changed(name);
    }
    void setDisplayStyle(const std::string&) override {}
    void setLock(bool locked) override { setProperty("Locked", Variant(locked)); }
    void UpdateLimits() override {}

  private:
    std::map<std::string, Variant> properties_;
};

}  // namespace

SmallFrame::SmallFrame()
    : model_(std::make_shared<FlowModel>(std::make_shared<Description>())),
      device_(std::make_shared<Device>(clock_, model_)),
      messages_(std::make_shared<Messages>(onMessage)),
      receiver_(std::make_shared<Receiver>()),
      toolbar_(std::make_shared<Toolbar>()) {
    qx::registerViewComponents(factories_);
    factories_.add(qx::host::kSliderProgId, [] { return std::make_shared<Slider>(); });
}

SmallFrame::~SmallFrame() = default;

void SmallFrame::start(const qx::FlowWizView& view) {
    view.config->IQX_ActiveXConfig2_init(device_, std::nullopt, std::nullopt, messages_);
    view.app->IQX_ActiveXApp_RegisterCallback(receiver_);
    view.app->IQX_ActiveXApp_SetToolbar(toolbar_);
}

}  // namespace embed
