#pragma once
// A Modbus RTU device on a pseudo-terminal the test makes itself, serving a simulated flow
// monitor's registers. The line under test opens `path()`, a link to the terminal's far end, so
// that a device that went away can come back under the same name. The test may have the device
// answer the next request with an exception, with a broken CRC, too late or not at all, go away
// (its end closes, as a pulled adapter), or be missing.
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "frame/FlowMonitorSim.h"
#include "frame/FrameModelFactory.h"
#include "frame/modbus/ModbusFrame.h"
#include "frame/modbus/RtuFrame.h"
#include "frame/modbus/SimRegisterBank.h"
#include "modbus/BankReply.h"
#include "platform/VirtualScheduler.h"

namespace qx::frame::test {

class PtyServer {
  public:
    enum class Fault { None, Exception, BadCrc, Silent, Late, Drop };

    explicit PtyServer(double temperature = 35)
        : device_(clock_),
          bank_(device_, readRegisterMap(flowMonitorDescriptionPath()),
                readDescriptionFile(flowMonitorDescriptionPath())) {
        device_.setTemperature(temperature);
        char dir[] = "/tmp/qx-pty-XXXXXX";
        if (!mkdtemp(dir)) throw std::runtime_error("no folder for the device link");
        dir_ = dir;
        if (pipe(stop_) != 0) throw std::runtime_error("no pipe");
        plug();
        thread_ = std::thread([this] { serve(); });
    }
    ~PtyServer() {
        [[maybe_unused]] const auto written = write(stop_[1], "x", 1);
        thread_.join();
        unplug();
        for (int fd : {stop_[0], stop_[1]}) close(fd);
        std::filesystem::remove_all(dir_);
    }

    std::string path() const { return dir_ + "/ttyQX"; }
    void next(Fault fault) { fault_ = fault; }
    // At the next request the device goes (its end of the line closes) and a new one comes under
    // the same name.
    void dropNext() { fault_ = Fault::Drop; }
    void remove() { std::filesystem::remove(path()); }
    // Requests that reached the device so far.
    size_t requests() const { return requests_; }
    // The device's own value; only while no request is under way.
    std::optional<std::string> value(const std::string& name) const { return device_.value(name); }

  private:
    void plug() {
        std::lock_guard lock(mutex_);
        openPair();
    }
    // The new device takes the name before the old one's end closes: whoever sees the old one go
    // and opens the name again finds the new one, however late this thread runs.
    void replug() {
        std::lock_guard lock(mutex_);
        const int oldMaster = master_, oldSlave = slave_;
        openPair();
        close(oldMaster);
        close(oldSlave);
    }
    void openPair() {
        if (openpty(&master_, &slave_, nullptr, nullptr, nullptr) != 0) throw std::runtime_error("no pty");
        // Raw from the start: an echo would send the device's own replies back to it.
        termios raw{};
        tcgetattr(slave_, &raw);
        cfmakeraw(&raw);
        tcsetattr(slave_, TCSANOW, &raw);
        const std::string fresh = path() + ".new";
        std::filesystem::remove(fresh);
        std::filesystem::create_symlink(ttyname(slave_), fresh);
        std::filesystem::rename(fresh, path());
    }
    void unplug() {
        std::lock_guard lock(mutex_);
        for (int* fd : {&master_, &slave_})
            if (*fd >= 0) {
                close(*fd);
                *fd = -1;
            }
    }
    void serve() {
        std::vector<uint8_t> in;
        for (;;) {
            pollfd fds[2] = {{stop_[0], POLLIN, 0}, {master_, POLLIN, 0}};
            poll(fds, 2, 20);
            if (fds[0].revents) return;
            if (!(fds[1].revents & POLLIN)) continue;
            uint8_t buffer[512];
            const ssize_t got = read(master_, buffer, sizeof buffer);
            if (got <= 0) continue;
            in.insert(in.end(), buffer, buffer + got);
            while (const auto size = rtuRequestSize(in)) {
                if (in.size() < *size) break;
                const std::vector<uint8_t> request(in.begin(), in.begin() + static_cast<ptrdiff_t>(*size));
                in.erase(in.begin(), in.begin() + static_cast<ptrdiff_t>(*size));
                ++requests_;
                if (!answer(request)) return;
            }
        }
    }
    // False once the device has gone.
    bool answer(const std::vector<uint8_t>& request) {
        const Fault fault = fault_.exchange(Fault::None);
        if (fault == Fault::Drop) {
            replug();
            return true;
        }
        if (fault == Fault::Silent) return true;
        const auto reply =
            bankReply(bank_, std::span(request).subspan(1, request.size() - 3), fault == Fault::Exception);
        auto bytes = buildRtuFrame(request[0], reply);
        if (fault == Fault::BadCrc) bytes.back() ^= 0x5A;
        if (fault == Fault::Late) std::this_thread::sleep_for(std::chrono::milliseconds(kLateMs));
        return write(master_, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
    }

  public:
    // How late a late answer comes: past a line timeout of 200 ms, and well before that line has
    // waited 200 ms more for quiet.
    static constexpr int kLateMs = 300;

  private:
    platform::VirtualScheduler clock_{0};
    FlowMonitorSim device_;
    SimRegisterBank bank_;
    std::string dir_;
    std::mutex mutex_;
    int master_ = -1, slave_ = -1;
    int stop_[2] = {-1, -1};
    std::atomic<Fault> fault_ = Fault::None;
    std::atomic<size_t> requests_ = 0;
    std::thread thread_;
};

}  // namespace qx::frame::test
