#include "frame/modbus/TransportLine.h"

#include "frame/FrameModelFactory.h"

namespace qx::frame {

namespace {

RegisterMap flowMonitorMap() {
    try {
        return readRegisterMap(flowMonitorDescriptionPath());
    } catch (const RegisterMapError& e) {
        throw LineError(e.what());
    }
}

}  // namespace

TransportLine::TransportLine(const LineContext& context, std::string kind, std::string address,
                             MakeTransport makeTransport)
    : inbox_(std::make_shared<UiInbox>(context.scheduler)),
      observers_(context.observers),
      map_(flowMonitorMap()),
      kind_(std::move(kind)),
      address_(std::move(address)),
      makeTransport_(std::move(makeTransport)) {}

host::DevicePtr TransportLine::makeDevice(const host::DataModelPtr& model) {
    device_ = std::make_shared<ModbusDevice>(
        inbox_, map_, [make = makeTransport_, unit = map_.unitId] { return make(unit); }, observers_, model);
    return device_;
}

std::shared_ptr<LineCommunication> TransportLine::communication() const {
    return device_ ? device_->communication() : nullptr;
}

}  // namespace qx::frame
