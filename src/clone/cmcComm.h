#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "clone/cmcBuff.h"
#include "platform/cmcSerialBackend.h"

class cmcTask;

// The serial link: one port, configured from a settings text such as "9600,N,8,1", read without
// blocking and written through an output buffer that a timer task pumps into the port, at most
// one output queue's worth at a time and only into an empty driver queue. Nothing here blocks.
class cmcComm {
public:
    cmcComm();
    ~cmcComm();
    cmcComm(const cmcComm&) = delete;
    cmcComm& operator=(const cmcComm&) = delete;

    // Opens COM port n (resolved to a device by cmcPortDevice) or a device path. False when the
    // link is already open, the settings text is incomplete, or the port cannot be opened;
    // LastErrorText then says why.
    bool Open(int portNumber, const std::string& settings);
    bool OpenDevice(const std::string& device, const std::string& settings);
    void Close();
    bool IsOpen() const;
    // Set when a write moved fewer bytes than asked.
    bool HasError() const { return error_; }

    // Queues bytes for the pump; ignored when closed.
    void Send(const std::uint8_t* bytes, int n);
    void Send(const cmcBuff& bytes) { Send(bytes.Data(), bytes.GetLength()); }
    // Reads what is waiting, up to max bytes; 0 when closed or on failure.
    int Read(std::uint8_t* destination, int max);
    int InputCount();
    int DriverOutputCount();
    // Everything sent but not yet on the wire: the driver's queue plus the output buffer.
    int PendingOutput();
    int BufferedOutput() const { return output_.GetLength(); }

    int PortNumber() const { return portNumber_; }
    const std::string& Device() const { return device_; }
    const cmcLineSettings& LineSettings() const { return line_; }
    cmcSerialError LastError() const { return lastError_; }
    const std::string& LastErrorText() const { return lastErrorText_; }
    const std::string& LastErrorGroup() const { return lastErrorGroup_; }

    // Replaces the operating system backend (tests install an in-memory link). Closes first.
    void SetBackend(std::unique_ptr<cmcSerialBackend> backend);
    cmcSerialBackend& Backend() { return *backend_; }
    // The output pump's task; code running in virtual time steps it by hand.
    cmcTask& PumpTask() { return *pump_; }

    // Parses "baud,parity,data bits,stop bits". Data bits are clamped to 4..8; stop bits "1.5"
    // and "2" mean one and a half and two, anything else one. False when a field is missing.
    static bool ParseSettings(const std::string& text, cmcLineSettings& out);

    static constexpr int kInputQueueSize = 32000;
    static constexpr int kOutputQueueSize = 1024;

private:
    static void PumpHandler(void* context, cmcTask& task);
    void Pump();

    std::unique_ptr<cmcSerialBackend> backend_;
    int portNumber_ = 0;
    std::string device_;
    bool error_ = false;
    cmcBuff output_;
    cmcLineSettings line_;
    cmcSerialError lastError_ = cmcSerialError::None;
    std::string lastErrorText_;
    std::string lastErrorGroup_;
    cmcTask* pump_ = nullptr;
};
