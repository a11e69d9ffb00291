#pragma once
// A line to a device, chosen by its kind (LineKinds): the device object that the frame hands to
// the view talks over it, and a front end learns from it how to run (on real time or not) and how
// to name it.
#include <memory>
#include <string>

#include "frame/line/LineCommunication.h"
#include "frame/line/UiInbox.h"
#include "host/DataModel.h"
#include "host/Device.h"

namespace qx::frame {

class Line {
  public:
    virtual ~Line() = default;

    // The device object, made with the frame's model once the frame has it.
    virtual host::DevicePtr makeDevice(const host::DataModelPtr& model) = 0;
    // The communication object the device object made last; none before the first.
    virtual std::shared_ptr<LineCommunication> communication() const = 0;
    // A line to a real device answers from another thread through this inbox, and the frame then
    // runs on real time; none for a line that answers on the UI thread's scheduler.
    virtual std::shared_ptr<UiInbox> inbox() const { return nullptr; }
    // What a person calls the line: "simulator", "127.0.0.1:1502".
    virtual std::string name() const = 0;
    // The kind's word and where the line goes, as `show line` prints them ("modbus",
    // "127.0.0.1:1502"); "-" for a line that goes nowhere outside the frame.
    virtual std::string kind() const = 0;
    virtual std::string address() const { return "-"; }
};

}  // namespace qx::frame
