#include "platform/FileContents.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace qx::platform {

namespace {

class Descriptor {
  public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }

  private:
    int fd_;
};

std::string cannotBeRead(int error) {
    return std::string("cannot be read (") + std::strerror(error) + ")";
}

std::string tooLarge(size_t maxBytes) {
    return "is larger than " + std::to_string(maxBytes) + " bytes";
}

// Why an opened file may not be read, empty when it may.
std::string kindFault(const struct stat& s) {
    if (S_ISREG(s.st_mode)) return {};
    if (S_ISDIR(s.st_mode)) return "is a folder, not a file";
    if (S_ISFIFO(s.st_mode)) return "is a FIFO, not a regular file";
    if (S_ISCHR(s.st_mode)) return "is a character device, not a regular file";
    if (S_ISBLK(s.st_mode)) return "is a block device, not a regular file";
    if (S_ISSOCK(s.st_mode)) return "is a socket, not a regular file";
    return "is not a regular file";
}

// O_NONBLOCK: opening a FIFO for reading must not wait for a writer; the descriptor is closed
// again unread unless it turns out to be a regular file.
int openWithoutWaiting(const std::string& path, std::string& why) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) why = errno == ENOENT || errno == ENOTDIR ? "file not found" : cannotBeRead(errno);
    return fd;
}

std::string openedFileFault(int fd, size_t maxBytes) {
    struct stat s {};
    if (::fstat(fd, &s) != 0) return cannotBeRead(errno);
    if (auto why = kindFault(s); !why.empty()) return why;
    if (static_cast<unsigned long long>(s.st_size) > maxBytes) return tooLarge(maxBytes);
    return {};
}

}  // namespace

FileContents readFileContents(const std::string& path, size_t maxBytes) {
    std::string why;
    const Descriptor fd(openWithoutWaiting(path, why));
    if (fd.get() < 0) return {false, {}, why};
    if (why = openedFileFault(fd.get(), maxBytes); !why.empty()) return {false, {}, why};
    // The size may change while it is read: the bound holds for what is read, not for what
    // fstat said.
    std::string bytes;
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return {false, {}, cannotBeRead(errno)};
        if (n == 0) break;
        if (bytes.size() + static_cast<size_t>(n) > maxBytes) return {false, {}, tooLarge(maxBytes)};
        bytes.append(buffer, static_cast<size_t>(n));
    }
    return {true, std::move(bytes), {}};
}

}  // namespace qx::platform
