#pragma once
// The frame's device data model, as the view sees it. A model gives a device description; the
// description gives modules by name, each module groups by name, each group value objects by
// name; a value object gives its parameter and the parameter its value object. Every call runs
// on the UI thread and may fail with a run-time error, which reaches the calling operation.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "Export.h"
#include "host/Collection.h"
#include "host/Object.h"
#include "platform/Variant.h"

namespace qx::host {

using platform::Variant;

class IBase_CallbackModule;
class IParameter;
class IDataModel;

class QX_FLOW_EXPORT IValueObject : public Object {
  public:
    virtual Variant value() const = 0;  // the value as a number
    virtual void setValue(const Variant& v) = 0;
    virtual int32_t flags() const = 0;
    virtual int32_t state() const = 0;
    virtual std::shared_ptr<IParameter> parameter() const = 0;
};

// Gives the device item that the device object's ReleaseItem takes.
class QX_FLOW_EXPORT IParameterBinding : public Object {
  public:
    virtual ObjectPtr deviceItem() const = 0;
};

class QX_FLOW_EXPORT IParameter : public Object {
  public:
    virtual std::string name() const = 0;
    // The value as a decimal text. Setting a text the model refuses or alters leaves a value that
    // reads back as a different text.
    virtual std::string valueText() const = 0;
    virtual void setValueText(const std::string& text) = 0;
    virtual int32_t noValue() const = 0;  // 0 when the parameter holds a valid value
    virtual void refresh() = 0;
    virtual std::string displayName() const = 0;
    virtual std::string unit() const = 0;
    virtual Variant minimum() const = 0;
    virtual Variant maximum() const = 0;
    virtual std::shared_ptr<IParameterBinding> binding() const = 0;
    virtual std::shared_ptr<IValueObject> valueObject() const = 0;
};

using ParameterPtr = std::shared_ptr<IParameter>;
using ParameterList = std::vector<ParameterPtr>;

class QX_FLOW_EXPORT IGroup : public Object {
  public:
    virtual std::string name() const = 0;
    virtual std::shared_ptr<Collection<IValueObject>> valueObjects() const = 0;
};

class QX_FLOW_EXPORT IModule : public Object {
  public:
    virtual std::string name() const = 0;
    virtual std::shared_ptr<Collection<IGroup>> groups() const = 0;
};

// The view's context within a module; it is told when a view binds and leaves.
class QX_FLOW_EXPORT IContext : public Object {
  public:
    virtual void notify(const ObjectPtr& view) = 0;
};

class QX_FLOW_EXPORT IViewModule : public Object {
  public:
    virtual std::shared_ptr<Collection<IContext>> contexts() const = 0;
};

// Environment values of a device description: named values shared with linked descriptions.
class QX_FLOW_EXPORT IEnvironment : public Object {
  public:
    virtual void put(const std::string& name, const Variant& value) = 0;
    virtual Variant get(const std::string& name) const = 0;  // empty when never put
    // Makes this environment and `other` read and write one shared set of values.
    virtual void link(const std::shared_ptr<IEnvironment>& other) = 0;
};

// One record set of a query on the model's resource database.
class QX_FLOW_EXPORT IRecordset : public Object {
  public:
    virtual bool eof() const = 0;
    // The named field of the current record; error 3021 at the end, 3265 for an unknown field.
    virtual Variant field(const std::string& name) const = 0;
    virtual void moveNext() = 0;
};

class QX_FLOW_EXPORT IDatabase : public Object {
  public:
    virtual std::shared_ptr<IRecordset> query(const std::string& sql) = 0;
};

class QX_FLOW_EXPORT ISettings : public Object {
  public:
    virtual std::shared_ptr<IDatabase> database() const = 0;  // none when the model has none
    virtual int32_t language() const = 0;
    virtual void setLanguage(int32_t language) = 0;
    virtual void reset() = 0;  // discards the applied model's own values
};

class QX_FLOW_EXPORT IDeviceDescription : public Object {
  public:
    virtual std::shared_ptr<Collection<IModule>> modules() const = 0;
    virtual void notifyEnvironmentChanged() = 0;
    virtual Variant item(const std::string& name) const = 0;  // "IDX", "FWversion"
    virtual std::shared_ptr<ISettings> settings() const = 0;
    virtual std::shared_ptr<IEnvironment> environment() const = 0;
    virtual std::shared_ptr<IDataModel> createModel() = 0;
};

class QX_FLOW_EXPORT IDataModel : public Object {
  public:
    virtual std::string displayName() const = 0;
    virtual std::shared_ptr<Collection<IViewModule>> viewModules() const = 0;
    // Keeps the view without owning it.
    virtual void registerView(const std::weak_ptr<Object>& view) = 0;
    // Registers a callback object without owning it; returns the callback to keep from now on.
    virtual std::shared_ptr<IBase_CallbackModule> exchangeCallback(
        const std::shared_ptr<IBase_CallbackModule>& callback) = 0;
    virtual std::shared_ptr<IDeviceDescription> description() const = 0;
    virtual std::shared_ptr<ISettings> settings() const = 0;
};

using DataModelPtr = std::shared_ptr<IDataModel>;

}  // namespace qx::host
