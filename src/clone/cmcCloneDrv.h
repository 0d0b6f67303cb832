#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "clone/cmcBuff.h"
#include "clone/cmcCloneFrame.h"
#include "clone/cmcComm.h"
#include "clone/dst_CDrv_Result.h"
#include "events/cmcTick.h"
#include "memory/cmcRange.h"

class cmcEeprom;
class cmcTask;

// Called once when an operation ends, successfully or not. The record is freed when the
// handler returns: it copies what it needs.
using cmcCloneDrvHandler = void (*)(void* owner, dst_CDrv_Result& result);

// One clone operation with the radio (info, read or write) as a state machine stepped every
// 10 ms by its own timer task; nothing blocks. Every byte sent comes back as an echo on the
// single-wire bus and is compared. Step() is public so that tests drive it in virtual time.
class cmcCloneDrv {
public:
    enum class State : std::uint8_t {
        Idle,
        Start,
        OpenPort,
        Settle,
        SendInfoRequest,
        AwaitInfoReply,
        SendReadRequest,
        ReceiveData,
        SendWriteRequest,
        SendData,
        SendEnd,
        AwaitWriteResult,
        Drain,
        Finish,
    };

    static constexpr int kStepMs = 10;
    static constexpr int kTimeoutMs = 1000;
    static constexpr int kEndTimeoutMs = 2000;
    // Before a request the line must have been silent this long: a radio still sending the rest
    // of a read that failed part way would otherwise answer the next request's echo with stale
    // frames. Whatever arrives meanwhile is dropped.
    static constexpr int kSettleQuietMs = 100;
    // A line that never falls silent (a whole clone stream at 9600 baud lasts about 35 s) ends
    // the operation as unanswered.
    static constexpr int kSettleLimitMs = 40000;
    // A step that comes this much later than due (the computer suspended, or starved by other
    // work) has not watched the line in between: only this much of the gap counts as silence,
    // so a busy PC never blames a radio that had no chance to answer, yet steps that always come
    // late still end a silent operation.
    static constexpr int kWatchedGapMs = 200;

    cmcCloneDrv();
    ~cmcCloneDrv();
    cmcCloneDrv(const cmcCloneDrv&) = delete;
    cmcCloneDrv& operator=(const cmcCloneDrv&) = delete;

    void SetModel(int modelCode, int extraCode) {
        modelCode_ = modelCode;
        extraCode_ = extraCode;
    }
    void SetImageSize(int n) { imageSize_ = n; }
    void SetPort(int portNumber, const std::string& settings) {
        portNumber_ = portNumber;
        settings_ = settings;
    }
    // A device path to open instead of the port number's device; empty to use the number.
    void SetPortDevice(const std::string& device) { device_ = device; }
    void SetRequestPreamble(int n) { requestPreamble_ = n; }
    void SetDataPreamble(int n) { dataPreamble_ = n; }
    void SetEchoCheck(bool on) { echoCheck_ = on; }

    bool IsBusy() const { return state_ != State::Idle; }
    // Each start refuses (false, nothing changed) while an operation runs. The range list is
    // copied; a read without one skips the coverage check. A write copies the image at once.
    bool StartInfo(cmcCloneDrvHandler handler, void* owner);
    bool StartRead(const cmcRange* ranges, cmcCloneDrvHandler handler, void* owner);
    bool StartWrite(const cmcEeprom& image, const cmcRange* ranges, cmcCloneDrvHandler handler,
                    void* owner);

    // One step of the engine, then the link's error check and the finish: what the step task
    // does every 10 ms.
    void Step();

    State GetState() const { return state_; }
    int DataFrameCounter() const { return frameCounter_; }
    int DataByteCounter() const { return byteCounter_; }
    int PortNumber() const { return portNumber_; }
    const std::string& PortDevice() const { return device_; }
    cmcComm& Link() { return link_; }
    cmcTask& StepTask() { return *task_; }

private:
    static void StepHandler(void* context, cmcTask& task);
    bool Begin(int operation, const cmcRange* ranges, cmcCloneDrvHandler handler, void* owner);
    void Engine();
    void DoStateWork(bool& activity);
    void SendBytes(const cmcBuff& bytes);
    void ReadChunk();
    // Feeds the receive buffer to the assembler; returns the last complete frame in `frame`
    // (a 1-byte frame 00 stands for one that overflowed). False when none completed.
    bool TakeLastFrame(cmcBuff& frame);
    void ReceiveFrames(bool& activity);
    int CheckDataFrame(const cmcBuff& frame, bool& activity);
    int CheckEndFrame(const cmcBuff& frame) const;
    int CoverageStatus() const;
    void SendDataPasses(bool& activity);
    void EndWith(std::uint8_t status);
    void Finish();

    int modelCode_ = 0;
    int extraCode_ = 0;
    int imageSize_ = 1;
    int portNumber_ = 1;
    std::string settings_ = "9600,n,8,1";
    std::string device_;
    int requestPreamble_ = 0;
    int dataPreamble_ = 0;
    int operation_ = 0;
    bool echoCheck_ = false;
    cmcComm link_;
    cmcBuff receive_;
    cmcBuff frame_;
    cmcBuff expectedEcho_;
    std::uint8_t chunk_[256] = {};
    int frameCounter_ = 0;
    int byteCounter_ = 0;
    int frameDataLength_ = 16;
    std::vector<cmcRange> ranges_;  // ends with an end mark when hasRanges_
    bool hasRanges_ = false;
    size_t currentRange_ = 0;
    int currentAddress_ = 0;
    std::unique_ptr<dst_CDrv_Result> result_;
    cmcCloneDrvHandler handler_ = nullptr;
    void* owner_ = nullptr;
    State state_ = State::Idle;
    int startSteps_ = 0;
    cmcTick countdown_;
    cmcTick quiet_;
    cmcTick settleLimit_;
    uint32_t lastStepAt_ = 0;
    int timeout_ = kTimeoutMs;
    int endTimeout_ = kEndTimeoutMs;
    int restartTimeout_ = kTimeoutMs;
    cmcCloneFrame::cmcFrameAssembler assembler_;
    cmcTask* task_ = nullptr;
};
