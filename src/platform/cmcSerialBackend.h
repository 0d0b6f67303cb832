#pragma once

#include <cstdint>
#include <memory>
#include <string>

// Line settings of a serial port, parsed from a settings text such as "9600,N,8,1".
struct cmcLineSettings {
    int baudRate = 9600;
    char parity = 'N';  // 'N' none, 'E' even, 'O' odd
    int dataBits = 8;   // 4..8
    int stopBits = 0;   // 0 one, 1 one and a half, 2 two
};

// Why a port could not be opened, so the user can be told what to do about it.
enum class cmcSerialError { None, NoDevice, Busy, Permission, Settings, Other };

// The operating system's side of the serial link. cmcComm drives one of these; the platform
// backends talk to real ports (and pseudo-terminals), tests install an in-memory fake.
class cmcSerialBackend {
public:
    virtual ~cmcSerialBackend() = default;

    // Opens the device for exclusive use without blocking, with the line settings, the queue
    // sizes asked of the driver, RTS on and DTR off, and both queues purged.
    virtual bool Open(const std::string& device, const cmcLineSettings& settings, int inputQueue,
                      int outputQueue) = 0;
    virtual void Close() = 0;
    virtual bool IsOpen() const = 0;

    // Reads what is waiting, up to max bytes, without waiting; 0 on failure.
    virtual int Read(std::uint8_t* destination, int max) = 0;
    // Writes n bytes, waiting at most the write time-out of the line settings (per byte time
    // plus 3 s); returns the bytes written.
    virtual int Write(const std::uint8_t* source, int n) = 0;
    // Bytes waiting in the driver's input queue, and still queued for output; 0 on failure.
    virtual int InputCount() = 0;
    virtual int OutputCount() = 0;

    // After a failed Open: the kind of failure and the system's explanation; with Permission,
    // the group that owns the device when the system names one (the user must join it).
    cmcSerialError LastError() const { return lastError_; }
    const std::string& LastErrorText() const { return lastErrorText_; }
    const std::string& LastErrorGroup() const { return lastErrorGroup_; }

protected:
    void SetError(cmcSerialError e, const std::string& text,
                  const std::string& group = std::string()) {
        lastError_ = e;
        lastErrorText_ = text;
        lastErrorGroup_ = group;
    }

private:
    cmcSerialError lastError_ = cmcSerialError::None;
    std::string lastErrorText_;
    std::string lastErrorGroup_;
};

// The backend of this platform (termios on POSIX, the communications functions on Windows).
std::unique_ptr<cmcSerialBackend> cmcCreateSerialBackend();

// Write time-out of the line settings: 100000 / baud ms per byte plus 3000 ms.
int cmcWriteTimeoutMs(int baudRate, int bytes);
