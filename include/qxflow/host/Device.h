#pragma once
// The device object and its communication object. The communication object answers later, on
// the UI thread, through the receiver's IBase_Communication; an answer may even come inside the
// call that queues the job, before its id is returned.
#include <cstdint>
#include <memory>
#include <string>
#include <variant>
#include <vector>

#include "Export.h"
#include "host/DataModel.h"
#include "host/Object.h"

namespace qx::host {

class IBase_Communication;

// What a write job carries: one parameter or a collection of parameters.
using WriteItem = std::variant<ParameterPtr, ParameterList>;

// Members in interface order.
class QX_FLOW_EXPORT ICommunication : public Object {
  public:
    // Queues one read job of all items; returns its id, empty when nothing was queued.
    virtual std::string QueueRead(bool flag, const std::vector<ParameterList>& items) = 0;
    // Queues one write job of the item's present value(s); returns its id. May replace `item`
    // with another reference, which the caller keeps.
    virtual std::string QueueWrite(bool flag, WriteItem& item) = 0;
    // Later callbacks go to the receiver, which is not owned.
    virtual void SetReceiver(const std::weak_ptr<IBase_Communication>& receiver) = 0;
    virtual bool Release(bool flag) = 0;
    // true starts connecting, false disconnecting; returns whether the request was accepted. The
    // outcome comes through OnConnectStatusChanged.
    virtual bool Connecting(bool connect) = 0;
    virtual bool IsConnected() const = 0;
};

using CommunicationPtr = std::shared_ptr<ICommunication>;

class QX_FLOW_EXPORT IDevice : public Object {
  public:
    // A new communication object for this device; may fail with a run-time error.
    virtual CommunicationPtr CreateCommunication() = 0;
    // Drops the control's hold on a device item.
    virtual void ReleaseItem(const ObjectPtr& item, int32_t code) = 0;
    // The "datamodel" property.
    virtual DataModelPtr datamodel() const = 0;
};

using DevicePtr = std::shared_ptr<IDevice>;

}  // namespace qx::host
