#pragma once
// A parameter of the stand-in data model with its value object. The parameter holds the value;
// the value object is the numeric face of the same value (a list parameter's number is the
// device's code for the chosen text). A value the parameter cannot take is refused without an
// error: the old value stays, so the caller sees the refusal when it reads the text back.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "frame/ParameterDefinition.h"
#include "host/DataModel.h"

namespace qx::frame {

class FrameSettings;
class FrameValueObject;

// The device item a parameter's binding hands to the device object's ReleaseItem.
class FrameDeviceItem : public host::Object {
  public:
    explicit FrameDeviceItem(std::string parameterName) : parameterName_(std::move(parameterName)) {}
    std::string className() const override { return "DeviceItem"; }
    const std::string& parameterName() const { return parameterName_; }

  private:
    std::string parameterName_;
};

class FrameParameterBinding : public host::IParameterBinding {
  public:
    explicit FrameParameterBinding(std::shared_ptr<FrameDeviceItem> item) : item_(std::move(item)) {}
    std::string className() const override { return "ParameterBinding"; }
    host::ObjectPtr deviceItem() const override { return item_; }

  private:
    std::shared_ptr<FrameDeviceItem> item_;
};

class FrameParameter : public host::IParameter, public std::enable_shared_from_this<FrameParameter> {
  public:
    // `entries` are the list texts for the model's firmware (empty unless the kind is List); the
    // display name follows the language of `settings`. The parameter starts with `startText`
    // (none: no value); a start text the parameter would refuse leaves it without a value.
    static std::shared_ptr<FrameParameter> create(const ParameterDefinition& definition,
                                                  std::vector<ListEntry> entries,
                                                  std::shared_ptr<const FrameSettings> settings,
                                                  const std::optional<std::string>& startText);

    std::string className() const override { return "Parameter"; }
    std::string name() const override { return definition_.name; }
    std::string valueText() const override;  // empty without a value
    void setValueText(const std::string& text) override;
    int32_t noValue() const override { return value_ ? 0 : 1; }
    void refresh() override { ++refreshCount_; }
    std::string displayName() const override;
    std::string unit() const override { return definition_.unit; }
    host::Variant minimum() const override;
    host::Variant maximum() const override;
    std::shared_ptr<host::IParameterBinding> binding() const override { return binding_; }
    std::shared_ptr<host::IValueObject> valueObject() const override;

    // Frame side.
    // The device's value arriving in the model: none makes the parameter hold no value; a text
    // goes through the same checks as setValueText. Returns false when the text was refused.
    bool setDeviceValue(const std::optional<std::string>& text);
    // The value as the value object gives it: none without a value.
    std::optional<double> number() const { return value_; }
    // Sets the value as a number (a list's device code); false when refused.
    bool setNumber(double v);
    ParameterDefinition::Kind kind() const { return definition_.kind; }
    const std::vector<ListEntry>& entries() const { return entries_; }
    int32_t flags() const { return definition_.flags; }
    int32_t state() const { return definition_.state; }
    int refreshCount() const { return refreshCount_; }
    // Makes `other`'s value this parameter's value and the one reset returns to (a new applied
    // model starts from the model it was made from).
    void startFrom(const FrameParameter& other);
    // Back to the value the parameter started with, dropping what was set since.
    void restoreStartValue() { value_ = startValue_; }

  private:
    FrameParameter(ParameterDefinition definition, std::vector<ListEntry> entries,
                   std::shared_ptr<const FrameSettings> settings);
    bool acceptText(const std::string& text);
    bool accepts(double v) const;

    ParameterDefinition definition_;
    std::vector<ListEntry> entries_;
    std::shared_ptr<const FrameSettings> settings_;
    std::optional<double> value_;
    std::optional<double> startValue_;
    int refreshCount_ = 0;
    std::shared_ptr<FrameParameterBinding> binding_;
    std::shared_ptr<FrameValueObject> valueObject_;
};

// The value object of a parameter. It does not keep its parameter alive: the group that holds
// the parameter does, and the parameter keeps its value object.
class FrameValueObject : public host::IValueObject {
  public:
    explicit FrameValueObject(std::weak_ptr<FrameParameter> parameter) : parameter_(std::move(parameter)) {}
    std::string className() const override { return "ValueObject"; }
    host::Variant value() const override;  // empty without a value
    // A number the parameter cannot take is refused like a refused text; a text that is no
    // number is a type mismatch.
    void setValue(const host::Variant& v) override;
    int32_t flags() const override;
    int32_t state() const override;
    std::shared_ptr<host::IParameter> parameter() const override;

  private:
    std::shared_ptr<FrameParameter> owner() const;
    std::weak_ptr<FrameParameter> parameter_;
};

}  // namespace qx::frame
