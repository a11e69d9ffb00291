#pragma once
// The container's services to a user control: its Controls collection (children by name,
// creation by program id through registered factories), the UI scheduler and text metrics.
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "Export.h"
#include "platform/Control.h"
#include "platform/Scheduler.h"
#include "platform/TextMetrics.h"

namespace qx::platform {

// Makes the object of a control created at run time; the collection wraps it in an extender.
using ControlFactory = std::function<std::shared_ptr<PropertyObject>()>;

class QX_FLOW_EXPORT ControlFactories {
  public:
    void add(const std::string& progId, ControlFactory factory) { factories_[progId] = std::move(factory); }
    // Fails with error 711 (invalid class string) for an id nobody registered.
    std::shared_ptr<PropertyObject> create(const std::string& progId) const;

  private:
    std::map<std::string, ControlFactory> factories_;
};

enum class ControlsChange { Added, Removed };

// What a container gives the controls it hosts.
struct UiContext {
    Scheduler& scheduler;
    const TextMetrics& textMetrics;
    const ControlFactories& factories;
};

class QX_FLOW_EXPORT Controls {
  public:
    explicit Controls(const ControlFactories& factories) : factories_(factories) {}

    // Creates a child by program id inside `container`; error 711 for an unknown id, 727 when
    // the name is taken.
    std::shared_ptr<ControlExtender> add(const std::string& progId, const std::string& name,
                                         Control* container);
    // Adopts a control of the form design.
    void adopt(std::shared_ptr<Control> control, Control* container);
    // Error 730 ("Control array element doesn't exist") when there is no such control.
    std::shared_ptr<Control> item(const std::string& name) const;
    std::shared_ptr<Control> find(const std::string& name) const;  // none when absent
    // The child of that name as the model it is; none when absent or of another kind.
    template <class Model>
    std::shared_ptr<Model> findAs(const std::string& name) const {
        return std::dynamic_pointer_cast<Model>(find(name));
    }
    int32_t count() const { return static_cast<int32_t>(order_.size()); }
    const std::vector<std::shared_ptr<Control>>& all() const { return order_; }
    void remove(const std::string& name);

    // Each control added (also by adopt) or removed is told, as long as the token lives.
    using Observer = std::function<void(const std::shared_ptr<Control>&, ControlsChange)>;
    [[nodiscard]] Subscription observe(Observer observer) { return observers_.add(std::move(observer)); }

  private:
    const ControlFactories& factories_;
    std::map<std::string, std::shared_ptr<Control>> byName_;
    std::vector<std::shared_ptr<Control>> order_;
    ObserverList<const std::shared_ptr<Control>&, ControlsChange> observers_;
};

}  // namespace qx::platform
