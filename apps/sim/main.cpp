// qxflow-sim --listen HOST:PORT: the simulated flow monitor as a Modbus TCP server on real time;
// --listen-rtu DEVICE [baud=..] [parity=..] [data=..] [stop=..]: the same on a serial device
// (Modbus RTU). Prints "listening HOST:PORT" once it accepts connections (port 0 picks a free
// one), "listening rtu DEVICE" once the serial device is open, then one
// "write NAME="text" ..." line per write that reaches the device and a line when a client
// connects ("client connected") or goes ("client gone"). Operator commands come from
// -c options and standard input (see SimControl.h).
#include <cstring>
#include <iostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "frame/FlowMonitorSim.h"
#include "frame/FrameModelFactory.h"
#include "frame/Installation.h"
#include "frame/modbus/ModbusSettings.h"
#include "frame/modbus/SerialPort.h"
#include "frame/modbus/SimRegisterBank.h"
#include "platform/VirtualScheduler.h"
#include "sim/SimControl.h"
#include "sim/SimServer.h"
#include "support/PrintableText.h"

namespace {

int usage() {
    std::cerr << "usage: qxflow-sim --listen HOST:PORT [--device FILE] [--fw N] [--category match|other]\n"
                 "                  [-c COMMAND]...\n"
                 "       qxflow-sim --listen-rtu DEVICE [baud=19200] [parity=E|O|N] [data=8] [stop=1] ...\n";
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    std::optional<qx::frame::ModbusSettings> endpoint;
    std::optional<qx::frame::SerialSettings> serial;
    std::string descriptionPath = qx::frame::flowMonitorDescriptionPath();
    qx::frame::DeviceOptions options;
    std::vector<std::string> commands;
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        if (i + 1 >= argc) return usage();
        const std::string value = argv[++i];
        if (option == "--listen") {
            endpoint = qx::frame::parseEndpoint(value);
            if (!endpoint && value.ends_with(":0"))
                endpoint = qx::frame::ModbusSettings{value.substr(0, value.size() - 2), 0};
        } else if (option == "--listen-rtu") {
            std::vector<std::string> words{value};
            while (i + 1 < argc && !std::string(argv[i + 1]).starts_with('-') &&
                   std::string(argv[i + 1]).find('=') != std::string::npos)
                words.emplace_back(argv[++i]);
            try {
                serial = qx::frame::parseSerialSettings(words);
            } catch (const std::invalid_argument& e) {
                std::cerr << "error: " << e.what() << "\n";
                return 2;
            }
        } else if (option == "--device") {
            descriptionPath = value;
        } else if (option == "--fw") {
            options.fw = std::atoi(value.c_str());
        } else if (option == "--category") {
            if (value != "match" && value != "other") return usage();
            options.category = value == "match" ? qx::frame::DeviceOptions::Category::Match
                                                : qx::frame::DeviceOptions::Category::Other;
        } else if (option == "-c") {
            commands.push_back(value);
        } else {
            return usage();
        }
    }
    if (!endpoint && !serial) return usage();

    // The data files and the description are checked as the console checks them, before any of
    // them is read: a FIFO or a device in a file's place must not hang the start.
    const auto faults = qx::frame::checkInstallation(descriptionPath);
    for (const auto& fault : faults)
        std::cerr << "error: " << qx::support::printableText(fault.path) << ": " << fault.why << std::endl;
    if (!faults.empty()) return 2;

    try {
        qx::platform::VirtualScheduler clock(0);
        qx::frame::FlowMonitorSim device(clock, options);
        const qx::frame::DescriptionFile description = qx::frame::readDescriptionFile(descriptionPath);
        device.describe(description.deviceTable());
        qx::frame::SimRegisterBank bank(device, qx::frame::readRegisterMap(descriptionPath), description);
        device.link().onWrite = [](const std::vector<qx::frame::WrittenValue>& values) {
            std::string line = "write";
            for (const auto& v : values) line += " " + v.name + "=\"" + v.text.value_or("") + "\"";
            std::cout << line << std::endl;
        };
        qx::sim::SimServer server(bank, clock);
        const int port = endpoint ? server.listen(endpoint->host, endpoint->port) : 0;
        if (port < 0) {
            std::cerr << "error: cannot listen on " << endpoint->host << ":" << endpoint->port << ": "
                      << std::strerror(errno) << "\n";
            return 1;
        }
        if (std::string why; serial && !server.listenRtu(*serial, why)) {
            std::cerr << "error: cannot serve on " << why << "\n";
            return 1;
        }
        qx::sim::SimControl control(device, server, clock, std::cout);
        for (const auto& c : commands)
            if (!control.run(c)) return 0;
        if (endpoint) std::cout << "listening " << endpoint->host << ":" << port << std::endl;
        if (serial) std::cout << "listening rtu " << serial->device << std::endl;
        server.run([&control](const std::string& line) { return control.run(line); });
    } catch (const std::exception& e) {
        std::cerr << "error: " << qx::support::printableText(e.what()) << "\n";
        return 1;
    }
    return 0;
}
