#pragma once

#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/cmcSerialBackend.h"

// An in-memory serial link for driver tests in virtual time. The test keeps the wire; the link
// (given to cmcComm) moves bytes over it. Every byte the program writes is echoed back at once,
// like the single-wire bus, unless the test says otherwise; the far end answers through onWrite.
struct FakeWire {
    // Opening.
    bool openFails = false;
    cmcSerialError openError = cmcSerialError::NoDevice;
    std::string openErrorText = "fake: no such device.";
    std::string openErrorGroup;
    bool isOpen = false;
    std::string device;
    cmcLineSettings settings;
    int opens = 0;

    // Traffic.
    std::vector<std::uint8_t> written;   // every byte the program wrote, in order
    std::deque<std::uint8_t> toProgram;  // waiting in the program's input queue
    bool echo = true;
    int outputQueue = 0;  // bytes the "driver" still holds for output
    int writeLimit = -1;  // when >= 0, a write moves at most this many bytes
    std::function<void(const std::uint8_t*, int)> onWrite;

    void Queue(const std::vector<std::uint8_t>& bytes) {
        toProgram.insert(toProgram.end(), bytes.begin(), bytes.end());
    }
};

class FakeSerialLink : public cmcSerialBackend {
public:
    explicit FakeSerialLink(std::shared_ptr<FakeWire> wire) : wire_(std::move(wire)) {}

    bool Open(const std::string& device, const cmcLineSettings& settings, int, int) override {
        ++wire_->opens;
        wire_->device = device;
        wire_->settings = settings;
        if (wire_->openFails) {
            SetError(wire_->openError, wire_->openErrorText, wire_->openErrorGroup);
            return false;
        }
        wire_->isOpen = true;
        wire_->toProgram.clear();
        return true;
    }
    void Close() override { wire_->isOpen = false; }
    bool IsOpen() const override { return wire_->isOpen; }

    int Read(std::uint8_t* destination, int max) override {
        if (!wire_->isOpen)
            return 0;
        int n = 0;
        while (n < max && !wire_->toProgram.empty()) {
            destination[n++] = wire_->toProgram.front();
            wire_->toProgram.pop_front();
        }
        return n;
    }

    int Write(const std::uint8_t* source, int n) override {
        if (!wire_->isOpen)
            return 0;
        if (wire_->writeLimit >= 0 && n > wire_->writeLimit)
            n = wire_->writeLimit;
        wire_->written.insert(wire_->written.end(), source, source + n);
        if (wire_->echo)
            wire_->toProgram.insert(wire_->toProgram.end(), source, source + n);
        if (wire_->onWrite)
            wire_->onWrite(source, n);
        return n;
    }

    int InputCount() override {
        return wire_->isOpen ? static_cast<int>(wire_->toProgram.size()) : 0;
    }
    int OutputCount() override { return wire_->isOpen ? wire_->outputQueue : 0; }

private:
    std::shared_ptr<FakeWire> wire_;
};
