#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "FakeSerialLink.h"
#include "RadioFrames.h"
#include "clone/cmcCloneDrv.h"
#include "events/cmcTask.h"
#include "memory/MemoryMap.h"
#include "memory/cmcEeprom.h"
#include "platform/cmcClock.h"

// One 10 ms tick of virtual time for a driver: the output pump first, as its 1 ms timer would,
// then the driver's step.
inline void StepDriverTick(cmcCloneDrv& drv) {
    if (!drv.Link().PumpTask().IsStopped())
        drv.Link().PumpTask().TimerEvent();
    drv.Step();
    cmcClock::Advance(10);
}

// The clone driver on a fake link in virtual time, with a scripted radio at the far end that
// answers each request of the program with bytes the test chose.
class DriverHarness {
public:
    using Bytes = RadioFrames::Bytes;

    DriverHarness() : wire(std::make_shared<FakeWire>()) {
        cmcClock::SetManual(100000);
        drv.Link().SetBackend(std::make_unique<FakeSerialLink>(wire));
        drv.SetModel(0x2429, 0);
        drv.SetImageSize(MemoryMap::kImageSize);
        drv.SetPort(1, "9600,N,8,1");
        drv.SetPortDevice("/dev/fake");
        drv.SetRequestPreamble(12);
        drv.SetDataPreamble(0);
        drv.SetEchoCheck(true);
        radioImage.SetSize(MemoryMap::kImageSize);
        for (int a = MemoryMap::kCloneFirst; a <= MemoryMap::kCloneLast; ++a)
            radioImage.SetByte(a, static_cast<std::uint8_t>(a * 7 + 3));
        // An image that passes the model check.
        radioImage.SetByte(MemoryMap::kMapRevision, MemoryMap::kMapRevisionValue);
        for (int i = 0; i < MemoryMap::kMakerTextLength; ++i)
            radioImage.SetByte(MemoryMap::kMakerText + i,
                               static_cast<std::uint8_t>(MemoryMap::kMakerTextValue[i]));
        received.SetSize(MemoryMap::kImageSize);
        infoReply = RadioFrames::InfoReply(0x2429, 0x0001, RadioFrames::StandardInfo());
        readReply = FullRead();
        writeResult = RadioFrames::WriteResult(0x00);
        wire->onWrite = [this](const std::uint8_t* b, int n) { Hear(b, n); };
    }
    ~DriverHarness() { cmcClock::SetAutomatic(); }

    // The frames a radio sends for the whole clone range of radioImage, then the end frame.
    Bytes FullRead(int skipAddress = -1) const {
        Bytes out;
        int frames = 0;
        for (int a = MemoryMap::kCloneFirst; a <= MemoryMap::kCloneLast; a += 16) {
            if (a == skipAddress)
                continue;
            RadioFrames::Add(out, RadioFrames::DataFrame(a, radioImage.Bytes() + a, 16));
            ++frames;
        }
        char count[4];
        std::snprintf(count, sizeof count, "%02X", frames & 0xFF);
        RadioFrames::Add(out, RadioFrames::EndFrame(count));
        return out;
    }

    static void OnDone(void* owner, dst_CDrv_Result& r) {
        auto* h = static_cast<DriverHarness*>(owner);
        ++h->completions;
        h->status = r.status;
        h->operation = r.operation;
        h->modelCode = r.modelCode;
        h->extraCode = r.extraCode;
        h->info.assign(r.infoBytes.Data(), r.infoBytes.Data() + r.infoBytes.GetLength());
        h->resultImage.CopyFrom(r.image);
        h->portError = r.portError;
        h->portGroup = r.portGroup;
        h->doneAt = cmcClock::Ticks();
        if (h->onDone)
            h->onDone(r);
    }

    // Steps the driver every 10 ms of virtual time until it is idle.
    void RunUntilIdle(int maxMs = 200000) {
        for (int t = 0; drv.IsBusy() && t < maxMs; t += 10)
            StepDriverTick(drv);
    }

    bool Info() {
        const bool ok = drv.StartInfo(&OnDone, this);
        RunUntilIdle();
        return ok;
    }
    bool Read(const cmcRange* ranges = kCloneRanges) {
        const bool ok = drv.StartRead(ranges, &OnDone, this);
        RunUntilIdle();
        return ok;
    }
    bool Write(const cmcEeprom& image, const cmcRange* ranges = kCloneRanges) {
        const bool ok = drv.StartWrite(image, ranges, &OnDone, this);
        RunUntilIdle();
        return ok;
    }

    std::shared_ptr<FakeWire> wire;
    cmcCloneDrv drv;
    cmcEeprom radioImage;  // what the radio sends on a read
    cmcEeprom received;    // what the radio took from data frames of a write
    Bytes infoReply, readReply, writeResult;
    bool answer = true;     // the radio answers requests at all
    int programFrames = 0;  // complete frames the program sent
    std::uint32_t endFrameAt = 0;
    std::function<void(dst_CDrv_Result&)> onDone;

    int completions = 0;
    int status = -1;
    int operation = 0;
    int modelCode = 0, extraCode = 0;
    std::vector<std::uint8_t> info;
    cmcEeprom resultImage;
    std::string portError;
    std::string portGroup;
    std::uint32_t doneAt = 0;

private:
    // The radio's ear: assembles the program's frames and answers them.
    void Hear(const std::uint8_t* b, int n) {
        for (int i = 0; i < n; ++i) {
            if (b[i] == 0xFE) {
                frame_.clear();
                inFrame_ = true;
            } else if (inFrame_ && b[i] == 0xFD) {
                inFrame_ = false;
                Answer();
            } else if (inFrame_) {
                frame_.push_back(b[i]);
            }
        }
    }
    void Answer() {
        ++programFrames;
        if (frame_.size() < 3 || frame_[0] != 0xEE || frame_[1] != 0xEF)
            return;
        const std::uint8_t command = frame_[2];
        if (command == 0xE4) {
            const std::string text(frame_.begin() + 3, frame_.end());
            const Bytes bytes = RadioFrames::Hex(text);
            const int address = bytes[0] * 256 + bytes[1];
            for (int i = 0; i < bytes[2]; ++i)
                received.SetByte(address + i, bytes[static_cast<size_t>(3 + i)]);
            return;
        }
        if (command == 0xE5)
            endFrameAt = cmcClock::Ticks();
        if (!answer)
            return;
        if (command == 0xE0)
            wire->Queue(infoReply);
        if (command == 0xE2)
            wire->Queue(readReply);
        if (command == 0xE5)
            wire->Queue(writeResult);
    }

    std::vector<std::uint8_t> frame_;
    bool inFrame_ = false;
};
