#include "SimLink.h"

#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstring>

double SimNow() {
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

namespace {
speed_t Speed(int baud) {
    switch (baud) {
        case 1200:
            return B1200;
        case 2400:
            return B2400;
        case 4800:
            return B4800;
        case 19200:
            return B19200;
        case 38400:
            return B38400;
        case 57600:
            return B57600;
        case 115200:
            return B115200;
        default:
            return B9600;
    }
}
}  // namespace

SimLink::~SimLink() {
    Close();
}

bool SimLink::OpenPty(std::string& error) {
    fd_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (fd_ < 0 || ::grantpt(fd_) != 0 || ::unlockpt(fd_) != 0) {
        error = std::string("cannot create a pseudo-terminal: ") + std::strerror(errno);
        return false;
    }
    path_ = ::ptsname(fd_);
    pty_ = true;
    Hold();
    return true;
}

void SimLink::Hold() {
    if (!pty_ || slaveFd_ >= 0)
        return;
    // Raw from the start, so nothing the line discipline does (echo, CR/LF) reaches the program.
    slaveFd_ = ::open(path_.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (slaveFd_ >= 0) {
        struct termios t {};
        if (::tcgetattr(slaveFd_, &t) == 0) {
            ::cfmakeraw(&t);
            ::tcsetattr(slaveFd_, TCSANOW, &t);
        }
    }
}

void SimLink::ReleaseHold() {
    if (slaveFd_ >= 0)
        ::close(slaveFd_);
    slaveFd_ = -1;
}

bool SimLink::PortClosed() const {
    if (!pty_ || slaveFd_ >= 0 || fd_ < 0)
        return false;
    // The master reports a hang-up while no descriptor of its slave is open.
    struct pollfd p {
        fd_, 0, 0
    };
    return ::poll(&p, 1, 0) > 0 && (p.revents & POLLHUP) != 0;
}

bool SimLink::OpenDevice(const std::string& device, int baud, std::string& error) {
    fd_ = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (fd_ < 0) {
        error = device + ": " + std::strerror(errno);
        return false;
    }
    struct termios t {};
    if (::tcgetattr(fd_, &t) == 0) {
        ::cfmakeraw(&t);
        ::cfsetispeed(&t, Speed(baud ? baud : 9600));
        ::cfsetospeed(&t, Speed(baud ? baud : 9600));
        t.c_cflag |= CLOCAL | CREAD;
        ::tcsetattr(fd_, TCSANOW, &t);
    }
    path_ = device;
    return true;
}

void SimLink::Close() {
    if (fd_ >= 0)
        ::close(fd_);
    if (slaveFd_ >= 0)
        ::close(slaveFd_);
    fd_ = slaveFd_ = -1;
}

bool SimLink::Read(std::vector<std::uint8_t>& into) {
    std::uint8_t buf[4096];
    for (;;) {
        const ssize_t n = ::read(fd_, buf, sizeof buf);
        if (n > 0) {
            into.insert(into.end(), buf, buf + n);
            continue;
        }
        if (n < 0 && (errno == EAGAIN || errno == EINTR))
            return true;
        // EIO on a master whose slave is closed is not the end: the program may reopen it.
        if (n < 0 && errno == EIO && (slaveFd_ >= 0 || pty_))
            return true;
        return n != 0 || slaveFd_ >= 0;
    }
}

void SimLink::Queue(const std::vector<std::uint8_t>& bytes) {
    if (out_.empty())
        wireFree_ = std::max(wireFree_, SimNow());
    out_.insert(out_.end(), bytes.begin(), bytes.end());
}

int SimLink::Flush() {
    if (out_.empty())
        return -1;
    std::vector<std::uint8_t> chunk;
    if (baud_ <= 0) {
        chunk.assign(out_.begin(), out_.end());
    } else {
        const double byteTime = 10.0 / baud_;
        const double now = SimNow();
        double t = wireFree_;
        while (chunk.size() < out_.size() && t <= now) {
            chunk.push_back(out_[chunk.size()]);
            t += byteTime;
        }
    }
    bool full = false;
    if (!chunk.empty()) {
        const ssize_t n = ::write(fd_, chunk.data(), chunk.size());
        if (n > 0) {
            out_.erase(out_.begin(), out_.begin() + n);
            if (baud_ > 0)
                wireFree_ += n * (10.0 / baud_);
        }
        full = n < static_cast<ssize_t>(chunk.size());
    }
    if (!full)
        fullRetryMs_ = 1;
    if (out_.empty())
        return -1;
    // A terminal nobody reads stays full. Trying again at once, over and over, keeps the kernel's
    // terminal work busy, and on a loaded machine that holds up every other pseudo-terminal for
    // seconds: the longer it stays full, the longer the wait before the next try.
    if (full) {
        fullRetryMs_ = std::min(fullRetryMs_ * 2, kFullRetryMaxMs);
        return fullRetryMs_;
    }
    // Only paced output is left waiting here: unpaced, whatever the terminal took whole is gone.
    const double wait = wireFree_ - SimNow();
    return wait <= 0 ? 0 : static_cast<int>(std::ceil(wait * 1000.0));
}

int SimLink::UnreadByProgram() const {
    int n = 0;
    if (slaveFd_ < 0 || ::ioctl(slaveFd_, FIONREAD, &n) != 0)
        return 0;
    return n;
}
