// The serial backend on POSIX systems: termios on a non-blocking descriptor. Pseudo-terminals
// are accepted too (the radio emulator runs on one): they refuse the modem-line and some queue
// requests with ENOTTY or EINVAL, which is tolerated where the request is only a refinement.
#include <errno.h>
#include <fcntl.h>
#include <grp.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <cstring>

#include "platform/cmcSerialBackend.h"

namespace {

bool Tolerable(int e) {
    return e == ENOTTY || e == EINVAL || e == ENOSYS || e == EOPNOTSUPP;
}

bool SpeedOf(int baud, speed_t& out) {
    struct Entry {
        int baud;
        speed_t speed;
    };
    static const Entry kTable[] = {
        {300, B300},     {600, B600},       {1200, B1200},     {2400, B2400},
        {4800, B4800},   {9600, B9600},     {19200, B19200},   {38400, B38400},
        {57600, B57600}, {115200, B115200}, {230400, B230400},
    };
    for (const Entry& e : kTable) {
        if (e.baud == baud) {
            out = e.speed;
            return true;
        }
    }
    return false;
}

// The group whose members may use the device (dialout for a serial port on Debian): "" when the
// device gives its group no reading and writing, or its group is root's, since joining would not
// help then or must not be advised.
std::string GroupOf(const std::string& device) {
    struct stat st {};
    if (::stat(device.c_str(), &st) != 0)
        return std::string();
    if ((st.st_mode & (S_IRGRP | S_IWGRP)) != (S_IRGRP | S_IWGRP) || st.st_gid == 0)
        return std::string();
    if (const struct group* g = ::getgrgid(st.st_gid))
        return g->gr_name;
    return std::to_string(st.st_gid);
}

class cmcPosixSerial : public cmcSerialBackend {
public:
    ~cmcPosixSerial() override { Close(); }

    bool Open(const std::string& device, const cmcLineSettings& settings, int, int) override {
        Close();
        SetError(cmcSerialError::None, std::string());
        const int fd = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) {
            const int e = errno;
            Fail(device, e);
            return false;
        }
        fd_ = fd;
        // Exclusive use: an advisory lock against other programs that honour it, and the
        // terminal's exclusive mode against any later open.
        if (::flock(fd_, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK) {
            SetError(cmcSerialError::Busy, device + ": the port is in use by another program.");
            CloseFd();
            return false;
        }
        if (::ioctl(fd_, TIOCEXCL) != 0 && !Tolerable(errno))
            return FailSettings(device);

        struct termios tio {};
        if (::tcgetattr(fd_, &tio) != 0)
            return FailSettings(device);
        ::cfmakeraw(&tio);
        speed_t speed;
        if (!SpeedOf(settings.baudRate, speed)) {
            SetError(cmcSerialError::Settings, device + ": the speed " +
                                                   std::to_string(settings.baudRate) +
                                                   " baud is not supported.");
            CloseFd();
            return false;
        }
        ::cfsetispeed(&tio, speed);
        ::cfsetospeed(&tio, speed);
        tio.c_cflag &= ~(CSIZE | PARENB | PARODD | CSTOPB | HUPCL);
#ifdef CRTSCTS
        tio.c_cflag &= ~CRTSCTS;
#endif
        tio.c_cflag |= CLOCAL | CREAD;
        // termios knows 5 to 8 data bits; 4 (which the settings allow) becomes 5.
        switch (settings.dataBits) {
            case 4:
            case 5:
                tio.c_cflag |= CS5;
                break;
            case 6:
                tio.c_cflag |= CS6;
                break;
            case 7:
                tio.c_cflag |= CS7;
                break;
            default:
                tio.c_cflag |= CS8;
                break;
        }
        if (settings.parity == 'E' || settings.parity == 'e')
            tio.c_cflag |= PARENB;
        if (settings.parity == 'O' || settings.parity == 'o')
            tio.c_cflag |= PARENB | PARODD;
        // One and a half stop bits exist only with 5 data bits, where CSTOPB means exactly that.
        if (settings.stopBits != 0)
            tio.c_cflag |= CSTOPB;
        tio.c_iflag &= ~(IXON | IXOFF | IXANY | INPCK | IGNPAR | PARMRK);
        tio.c_cc[VMIN] = 0;
        tio.c_cc[VTIME] = 0;
        if (::tcsetattr(fd_, TCSANOW, &tio) != 0)
            return FailSettings(device);

        // RTS on, DTR off: the cable's interface is powered from RTS.
        int rts = TIOCM_RTS;
        if (::ioctl(fd_, TIOCMBIS, &rts) != 0 && !Tolerable(errno))
            return FailSettings(device);
        int dtr = TIOCM_DTR;
        if (::ioctl(fd_, TIOCMBIC, &dtr) != 0 && !Tolerable(errno))
            return FailSettings(device);

        if (::tcflush(fd_, TCIOFLUSH) != 0 && !Tolerable(errno))
            return FailSettings(device);
        baudRate_ = settings.baudRate;
        return true;
    }

    void Close() override {
        CloseFd();
    }

    bool IsOpen() const override {
        return fd_ >= 0;
    }

    int Read(std::uint8_t* destination, int max) override {
        if (fd_ < 0 || max <= 0)
            return 0;
        const int waiting = InputCount();
        const int n = waiting < max ? waiting : max;
        if (n <= 0)
            return 0;
        const ssize_t got = ::read(fd_, destination, static_cast<size_t>(n));
        return got > 0 ? static_cast<int>(got) : 0;
    }

    int Write(const std::uint8_t* source, int n) override {
        if (fd_ < 0 || n <= 0)
            return 0;
        using Clock = std::chrono::steady_clock;
        const auto deadline =
            Clock::now() + std::chrono::milliseconds(cmcWriteTimeoutMs(baudRate_, n));
        int done = 0;
        while (done < n) {
            const ssize_t put = ::write(fd_, source + done, static_cast<size_t>(n - done));
            if (put > 0) {
                done += static_cast<int>(put);
                continue;
            }
            if (put < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR)
                break;
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now())
                    .count();
            if (left <= 0)
                break;
            struct pollfd p {
                fd_, POLLOUT, 0
            };
            ::poll(&p, 1, static_cast<int>(left));
        }
        return done;
    }

    int InputCount() override {
        int n = 0;
        if (fd_ < 0 || ::ioctl(fd_, FIONREAD, &n) != 0 || n < 0)
            return 0;
        return n;
    }

    int OutputCount() override {
        int n = 0;
        if (fd_ < 0 || ::ioctl(fd_, TIOCOUTQ, &n) != 0 || n < 0)
            return 0;
        return n;
    }

private:
    void Fail(const std::string& device, int e) {
        switch (e) {
            case ENOENT:
            case ENODEV:
            case ENXIO:
            case ENOTDIR:
                SetError(cmcSerialError::NoDevice, device + ": no such device.");
                break;
            case EBUSY:
            case EWOULDBLOCK:
                SetError(cmcSerialError::Busy, device + ": the port is in use by another program.");
                break;
            case EACCES:
            case EPERM:
                // What to do about it is the clone messages' to say, with the group.
                SetError(cmcSerialError::Permission, device + ": permission denied.",
                         GroupOf(device));
                break;
            default:
                SetError(cmcSerialError::Other, device + ": " + std::strerror(e) + ".");
                break;
        }
    }

    bool FailSettings(const std::string& device) {
        const int e = errno;
        SetError(cmcSerialError::Settings,
                 device + ": the port cannot be configured (" + std::strerror(e) + ").");
        CloseFd();
        return false;
    }

    void CloseFd() {
        if (fd_ >= 0) {
            // Output still queued is dropped: closing must not wait for a peer that stopped
            // reading (the clone driver drains what matters before it closes).
            ::tcflush(fd_, TCOFLUSH);
            ::ioctl(fd_, TIOCNXCL);
            ::close(fd_);
        }
        fd_ = -1;
    }

    int fd_ = -1;
    int baudRate_ = 9600;
};

}  // namespace

std::unique_ptr<cmcSerialBackend> cmcCreateSerialBackend() {
    return std::make_unique<cmcPosixSerial>();
}
