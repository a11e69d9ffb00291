#pragma once
// Control models: plain objects with the properties the view sets, under the names the view
// uses. Sizes are twips (15 per pixel). Every change of a property notifies the observers, so a
// window can mirror the model; the library never asks how anything is drawn. Each control also
// exposes its properties by name through Variant, for the console and a window's binding.
//
// A person's input enters through the `user...` entry points, which take it only while the
// control and every container up to the top are visible and enabled, and say whether they did:
// no front end repeats that rule.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Export.h"
#include "platform/Observers.h"
#include "platform/Variant.h"

namespace qx::platform {

// Something whose properties can be read and written by name: a control, or the object inside
// a control created by program id (a chart, a slider).
class QX_FLOW_EXPORT PropertyObject {
  public:
    using PropertyObserver = std::function<void(const std::string& property)>;

    virtual ~PropertyObject() = default;
    // Unknown names fail with error 438.
    virtual Variant getProperty(const std::string& name) const = 0;
    virtual void setProperty(const std::string& name, const Variant& value) = 0;

    // Every change of a property is told with the property's name, as long as the token lives.
    [[nodiscard]] Subscription observeProperties(PropertyObserver observer) {
        return observers_.add(std::move(observer));
    }

  protected:
    void changed(const std::string& property) const { observers_.notify(property); }

  private:
    ObserverList<const std::string&> observers_;
};

class QX_FLOW_EXPORT Control : public PropertyObject, public std::enable_shared_from_this<Control> {
  public:
    using Observer = std::function<void(const Control&, const std::string& property)>;
    using Event = std::function<void()>;

    Control(std::string name, std::string typeName);
    ~Control() override = default;
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    const std::string& name() const { return name_; }
    const std::string& typeName() const { return typeName_; }

    // The control that contains this one (none for the view itself).
    Control* container() const { return container_; }
    void setContainer(Control* c) { container_ = c; }

    bool visible() const { return visible_; }
    void setVisible(bool v) { assign(visible_, v, "Visible"); }
    bool enabled() const { return enabled_; }
    virtual void setEnabled(bool v) { assign(enabled_, v, "Enabled"); }
    int32_t left() const { return left_; }
    int32_t top() const { return top_; }
    int32_t width() const { return width_; }
    int32_t height() const { return height_; }
    void setLeft(int32_t v) { assign(left_, v, "Left"); }
    void setTop(int32_t v) { assign(top_, v, "Top"); }
    // A negative size cannot be set (error 380).
    virtual void setWidth(int32_t v) { assign(width_, nonNegative(v), "Width"); }
    virtual void setHeight(int32_t v) { assign(height_, nonNegative(v), "Height"); }
    void move(int32_t left, int32_t top, int32_t width, int32_t height);
    const std::string& tag() const { return tag_; }
    void setTag(std::string v) { assign(tag_, std::move(v), "Tag"); }

    // A person can use the control: it and every container up to the top are visible and enabled.
    bool usable() const;

    Variant getProperty(const std::string& name) const override;
    void setProperty(const std::string& name, const Variant& value) override;

    [[nodiscard]] Subscription observe(Observer observer);

  protected:
    template <class T>
    void assign(T& field, T value, const char* property) {
        if (field == value) return;
        field = std::move(value);
        changed(property);
    }
    static int32_t nonNegative(int32_t size);
    // Runs an event handler; a run-time error that escapes it ends the handler and goes no further.
    static void fire(const Event& handler);

  private:
    std::string name_;
    std::string typeName_;
    Control* container_ = nullptr;
    bool visible_ = true;
    bool enabled_ = true;
    int32_t left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    std::string tag_;
};

// The container-side wrapper of a control created by program id: position, size and visibility
// are its own; every other property goes to the object inside.
class QX_FLOW_EXPORT ControlExtender : public Control {
  public:
    ControlExtender(std::string name, std::string progId, std::shared_ptr<PropertyObject> object)
        : Control(std::move(name), std::move(progId)), object_(std::move(object)) {}

    const std::shared_ptr<PropertyObject>& object() const { return object_; }

    // A person's input on the object: `input` runs only while the control is usable, and says
    // whether the object took it. True when the input was taken.
    bool userInput(const std::function<bool()>& input);

    Variant getProperty(const std::string& name) const override;
    void setProperty(const std::string& name, const Variant& value) override;

  private:
    std::shared_ptr<PropertyObject> object_;
};

}  // namespace qx::platform
