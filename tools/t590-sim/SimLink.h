#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

// The emulator's end of the line: the master of a fresh pseudo-terminal (whose slave path the
// program opens) or a real serial device, with output paced at a baud rate when asked.
class SimLink {
public:
    ~SimLink();

    // A new pseudo-terminal; Path() is the device the program opens.
    bool OpenPty(std::string& error);
    // A serial device (the radio side of a null-modem cable), raw, at the given speed.
    bool OpenDevice(const std::string& device, int baud, std::string& error);
    const std::string& Path() const { return path_; }
    int Fd() const { return fd_; }
    void Close();

    // 0 means unpaced; otherwise bytes leave at baud / 10 per second (8N1).
    void SetBaud(int baud) { baud_ = baud; }

    // Reads what the program sent; false once the line is gone for good.
    bool Read(std::vector<std::uint8_t>& into);
    void Queue(const std::vector<std::uint8_t>& bytes);
    // Writes what is due; returns how long (ms) until more is due, or -1 when nothing waits.
    // Wait that long rather than for the descriptor to be writable: a pseudo-terminal's master
    // reports room even while its slave's buffer is full.
    int Flush();
    static constexpr int kFullRetryMaxMs = 64;
    bool Idle() const { return out_.empty(); }
    // Bytes written to the program that it has not read yet (pseudo-terminals only; else 0).
    int UnreadByProgram() const;
    // Drops what waits to be sent (a radio taken off the cable says nothing more).
    void Discard() { out_.clear(); }

    // The emulator's own hold on a pseudo-terminal keeps it up while the program closes and
    // reopens the port, but hides whether the program has it open. Released, PortClosed() tells.
    void ReleaseHold();
    void Hold();
    // The program has no descriptor of the pseudo-terminal open (always false with the hold, or
    // on a serial device).
    bool PortClosed() const;

private:
    int fd_ = -1;
    int slaveFd_ = -1;  // held so the terminal stays up while the program closes and reopens it
    bool pty_ = false;
    std::string path_;
    int fullRetryMs_ = 1;
    int baud_ = 0;
    std::deque<std::uint8_t> out_;
    double wireFree_ = 0;  // seconds on the monotonic clock when the wire is free again
};

double SimNow();
