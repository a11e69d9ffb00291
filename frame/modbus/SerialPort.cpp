#include "frame/modbus/SerialPort.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstring>
#include <stdexcept>

namespace qx::frame {

namespace {

constexpr int64_t kMaxTimeoutMs = 600'000;

std::optional<int64_t> wholeNumber(const std::string& text) {
    int64_t v = 0;
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, v);
    if (text.empty() || ec != std::errc() || ptr != end) return std::nullopt;
    return v;
}

std::optional<speed_t> speedOf(uint32_t baud) {
    switch (baud) {
        case 1200:
            return B1200;
        case 2400:
            return B2400;
        case 4800:
            return B4800;
        case 9600:
            return B9600;
        case 19200:
            return B19200;
        case 38400:
            return B38400;
        case 57600:
            return B57600;
        case 115200:
            return B115200;
        default:
            return std::nullopt;
    }
}

// The far end of a pseudo-terminal pair (the Unix 98 slaves' majors).
bool pseudoTerminal(int fd) {
    struct stat st {};
    return fstat(fd, &st) == 0 && S_ISCHR(st.st_mode) && major(st.st_rdev) >= 136 && major(st.st_rdev) <= 143;
}

}  // namespace

SerialSettings parseSerialSettings(const std::vector<std::string>& words) {
    if (words.empty() || words.front().empty()) throw std::invalid_argument("line rtu wants <device>");
    SerialSettings s;
    s.device = words.front();
    for (size_t i = 1; i < words.size(); ++i) {
        const std::string& word = words[i];
        const auto eq = word.find('=');
        const std::string name = word.substr(0, eq);
        const std::string value = eq == std::string::npos ? std::string() : word.substr(eq + 1);
        const auto number = wholeNumber(value);
        auto bad = [&](const std::string& what) { throw std::invalid_argument(what + ", not " + word); };
        if (name == "baud") {
            if (!number || *number < 0 || !speedOf(static_cast<uint32_t>(*number)))
                bad("baud is one of 1200 2400 4800 9600 19200 38400 57600 115200");
            s.baud = static_cast<uint32_t>(*number);
        } else if (name == "parity") {
            if (value != "E" && value != "O" && value != "N") bad("parity is E, O or N");
            s.parity = value[0];
        } else if (name == "data") {
            if (!number || (*number != 7 && *number != 8)) bad("data is 7 or 8");
            s.dataBits = static_cast<int>(*number);
        } else if (name == "stop") {
            if (!number || (*number != 1 && *number != 2)) bad("stop is 1 or 2");
            s.stopBits = static_cast<int>(*number);
        } else if (name == "unit") {
            if (!number || *number < 1 || *number > 247) bad("unit is 1..247");
            s.unit = static_cast<uint8_t>(*number);
        } else if (name == "timeout" || name == "connect-timeout") {
            if (!number || *number < 1 || *number > kMaxTimeoutMs)
                bad("a timeout is <name>=<ms> (1..600000)");
            (name == "timeout" ? s.responseTimeoutMs : s.connectTimeoutMs) = *number;
        } else {
            throw std::invalid_argument("no line option " + name +
                                        " (baud, parity, data, stop, unit, timeout, connect-timeout)");
        }
    }
    return s;
}

int openSerial(const SerialSettings& settings, std::string& why) {
    const int fd = open(settings.device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        why = settings.device + ": " + std::strerror(errno);
        return -1;
    }
    termios t{};
    const auto speed = speedOf(settings.baud);
    if (!isatty(fd) || tcgetattr(fd, &t) != 0 || !speed) {
        why = settings.device + ": not a serial device";
        close(fd);
        return -1;
    }
    cfmakeraw(&t);
    cfsetispeed(&t, *speed);
    cfsetospeed(&t, *speed);
    t.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | PARODD | CSTOPB | CRTSCTS);
    t.c_cflag |= (settings.dataBits == 7 ? CS7 : CS8) | CLOCAL | CREAD;
    if (settings.parity != 'N') t.c_cflag |= PARENB | (settings.parity == 'O' ? PARODD : 0);
    if (settings.stopBits == 2) t.c_cflag |= CSTOPB;
    // One byte at least, no timer: a read then answers "nothing yet" as EAGAIN (non-blocking), and
    // 0 only when the far end has hung up. With VMIN 0 a read finding nothing would return 0 too.
    t.c_cc[VMIN] = 1;
    t.c_cc[VTIME] = 0;
    // A pseudo-terminal has no wire and so no parity: once it holds its settings, Linux refuses
    // to be told parity again (EINVAL). It is set up without.
    int set = tcsetattr(fd, TCSANOW, &t);
    if (set != 0 && errno == EINVAL && pseudoTerminal(fd)) {
        t.c_cflag &= ~static_cast<tcflag_t>(PARENB | PARODD);
        set = tcsetattr(fd, TCSANOW, &t);
    }
    if (set != 0) {
        why = settings.device + ": " + std::strerror(errno);
        close(fd);
        return -1;
    }
    tcflush(fd, TCIOFLUSH);
    return fd;
}

}  // namespace qx::frame
