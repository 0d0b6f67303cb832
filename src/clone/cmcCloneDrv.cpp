#include "clone/cmcCloneDrv.h"

#include <cstring>

#include "events/cmcTask.h"
#include "memory/cmcEeprom.h"
#include "platform/cmcClock.h"

namespace F = cmcCloneFrame;
using R = dst_CDrv_Result;

namespace {
constexpr int kChunk = 256;
constexpr int kMaxUnechoedWhileSending = 128;
constexpr int kPassesPerStep = 8;
constexpr int kCompactAbove = 4096;

bool IsBcd(std::uint8_t b) {
    return (b >> 4) <= 9 && (b & 0x0F) <= 9;
}

}  // namespace

cmcCloneDrv::cmcCloneDrv() : task_(new cmcTask) {
    task_->SetHandler(&cmcCloneDrv::StepHandler, this);
}

cmcCloneDrv::~cmcCloneDrv() {
    cmcTask::Dispose(task_);
}

void cmcCloneDrv::StepHandler(void* context, cmcTask&) {
    static_cast<cmcCloneDrv*>(context)->Step();
}

bool cmcCloneDrv::StartInfo(cmcCloneDrvHandler handler, void* owner) {
    return Begin(R::kInfo, nullptr, handler, owner);
}

bool cmcCloneDrv::StartRead(const cmcRange* ranges, cmcCloneDrvHandler handler, void* owner) {
    return Begin(R::kRead, ranges, handler, owner);
}

bool cmcCloneDrv::StartWrite(const cmcEeprom& image, const cmcRange* ranges,
                             cmcCloneDrvHandler handler, void* owner) {
    if (!Begin(R::kWrite, ranges, handler, owner))
        return false;
    result_->image.CopyFrom(image);
    currentRange_ = 0;
    currentAddress_ = ranges_.empty() ? 0 : ranges_[0].first;
    return true;
}

bool cmcCloneDrv::Begin(int operation, const cmcRange* ranges, cmcCloneDrvHandler handler,
                        void* owner) {
    if (IsBusy())
        return false;
    handler_ = handler;
    owner_ = owner;
    frameCounter_ = 0;
    byteCounter_ = 0;
    operation_ = operation;
    state_ = State::Start;
    startSteps_ = 0;
    result_ = std::make_unique<R>();
    result_->operation = static_cast<std::uint8_t>(operation);
    result_->status = R::kPortFailed;
    result_->modelCode = modelCode_;
    result_->extraCode = extraCode_;
    result_->image.SetSize(imageSize_);
    ranges_.clear();
    hasRanges_ = ranges != nullptr;
    if (ranges) {
        for (const cmcRange* r = ranges; !r->IsEndMark(); ++r)
            ranges_.push_back(*r);
    }
    ranges_.push_back(kRangeEnd);
    currentRange_ = 0;
    currentAddress_ = 0;
    receive_.SetLength(0);
    frame_.SetLength(0);
    expectedEcho_.SetLength(0);
    assembler_.Reset();
    restartTimeout_ = timeout_;
    countdown_.Start(static_cast<uint32_t>(timeout_));
    lastStepAt_ = cmcClock::Ticks();
    task_->Schedule(kStepMs);
    return true;
}

void cmcCloneDrv::Step() {
    if (state_ == State::Idle) {
        task_->Schedule(-1);
        return;
    }
    if (state_ != State::Finish)
        Engine();
    if (link_.HasError()) {
        if (result_)
            result_->status = R::kWriteFailed;
        state_ = State::Finish;
    }
    if (state_ == State::Finish)
        Finish();
}

void cmcCloneDrv::Engine() {
    const uint32_t now = cmcClock::Ticks();
    const uint32_t gap = now - lastStepAt_;
    lastStepAt_ = now;
    if (gap > static_cast<uint32_t>(kWatchedGapMs)) {
        const uint32_t unwatched = gap - static_cast<uint32_t>(kWatchedGapMs);
        countdown_.Postpone(unwatched);
        quiet_.Postpone(unwatched);
        settleLimit_.Postpone(unwatched);
    }
    const bool expired = countdown_.Remaining() == 0;
    // Only real progress counts as activity: a byte echoed, a frame accepted, a frame sent or a
    // change of state. Anything else lets the countdown run out.
    bool activity = false;
    restartTimeout_ = timeout_;
    const State before = state_;
    bool skipWork = false;

    if (!echoCheck_) {
        expectedEcho_.SetLength(0);
    } else if (state_ != State::Drain && expectedEcho_.GetLength() > 0) {
        ReadChunk();
        while (receive_.GetLength() > 0 && expectedEcho_.GetLength() > 0) {
            if (receive_.Data()[0] != expectedEcho_.Data()[0]) {
                EndWith(R::kEchoError);
                break;
            }
            receive_.PopFront();
            expectedEcho_.PopFront();
            activity = true;
        }
        const int waiting = expectedEcho_.GetLength();
        if (state_ == State::SendData ? waiting > kMaxUnechoedWhileSending : waiting > 0)
            skipWork = true;
    }

    if (!skipWork && state_ == before)
        DoStateWork(activity);

    if (state_ != before)
        activity = true;
    if (activity) {
        countdown_.Start(static_cast<uint32_t>(restartTimeout_));
    } else if (expired) {
        const bool echoMissing = echoCheck_ && expectedEcho_.GetLength() > 0;
        result_->status = echoMissing ? R::kEchoError : R::kTimeout;
        // A link that does not drain within the time-out must not hold the operation forever.
        state_ = state_ == State::Drain ? State::Finish : State::Drain;
    }

    if (receive_.GetLength() > kCompactAbove)
        receive_.Compact();
    if (expectedEcho_.GetLength() > kCompactAbove)
        expectedEcho_.Compact();
}

void cmcCloneDrv::EndWith(std::uint8_t status) {
    result_->status = status;
    state_ = State::Drain;
}

void cmcCloneDrv::SendBytes(const cmcBuff& bytes) {
    link_.Send(bytes);
    expectedEcho_.Append(bytes);
    frame_.SetLength(0);
}

void cmcCloneDrv::ReadChunk() {
    const int n = link_.Read(chunk_, kChunk);
    if (n > 0)
        receive_.Append(chunk_, n);
}

void cmcCloneDrv::DoStateWork(bool& activity) {
    switch (state_) {
        case State::Idle:
        case State::Finish:
            break;
        case State::Start:
            if (++startSteps_ >= 2)
                state_ = State::OpenPort;
            break;
        case State::OpenPort: {
            link_.Close();
            const bool opened = device_.empty() ? link_.Open(portNumber_, settings_)
                                                : link_.OpenDevice(device_, settings_);
            if (!opened) {
                result_->portError = link_.LastErrorText();
                result_->portGroup = link_.LastErrorGroup();
                EndWith(R::kPortFailed);
                break;
            }
            quiet_.Start(kSettleQuietMs);
            settleLimit_.Start(kSettleLimitMs);
            state_ = State::Settle;
            break;
        }
        case State::Settle: {
            int dropped = 0;
            for (int pass = 0, n = kChunk; pass < kPassesPerStep && n == kChunk; ++pass) {
                n = link_.Read(chunk_, kChunk);
                dropped += n;
            }
            if (dropped > 0) {
                // Stale bytes are not progress of this operation, but they show the line alive.
                if (settleLimit_.Remaining() == 0) {
                    EndWith(R::kTimeout);
                    break;
                }
                quiet_.Start(kSettleQuietMs);
                activity = true;
                break;
            }
            if (quiet_.Remaining() > 0)
                break;
            state_ = operation_ == R::kInfo   ? State::SendInfoRequest
                     : operation_ == R::kRead ? State::SendReadRequest
                                              : State::SendWriteRequest;
            break;
        }
        case State::SendInfoRequest:
        case State::SendReadRequest:
        case State::SendWriteRequest: {
            const std::uint8_t command = state_ == State::SendInfoRequest   ? F::kInfoRequest
                                         : state_ == State::SendReadRequest ? F::kReadRequest
                                                                            : F::kWriteRequest;
            frame_.SetLength(0);
            F::AppendRequest(frame_, command, requestPreamble_, modelCode_, extraCode_);
            SendBytes(frame_);
            state_ = state_ == State::SendInfoRequest   ? State::AwaitInfoReply
                     : state_ == State::SendReadRequest ? State::ReceiveData
                                                        : State::SendData;
            break;
        }
        case State::AwaitInfoReply: {
            cmcBuff f;
            if (!TakeLastFrame(f))
                break;
            const std::uint8_t* b = f.Data();
            const int n = f.GetLength();
            if (n < 8 || b[0] != F::kPreamble || b[1] != F::kProgram || b[2] != F::kRadio ||
                b[3] != F::kInfoReply) {
                EndWith(R::kFrameError);
                break;
            }
            if (!IsBcd(b[4]) || !IsBcd(b[5]) || !IsBcd(b[6]) || !IsBcd(b[7])) {
                EndWith(R::kFrameError);
                break;
            }
            result_->modelCode = b[4] * 256 + b[5];
            result_->extraCode = b[6] * 256 + b[7];
            result_->infoBytes.Assign(b + 8, n - 8);
            EndWith(R::kOk);
            break;
        }
        case State::ReceiveData:
            ReceiveFrames(activity);
            break;
        case State::SendData:
            SendDataPasses(activity);
            break;
        case State::SendEnd:
            frame_.SetLength(0);
            F::AppendEndFrame(frame_, frameCounter_);
            SendBytes(frame_);
            restartTimeout_ = endTimeout_;
            state_ = State::AwaitWriteResult;
            break;
        case State::AwaitWriteResult: {
            cmcBuff f;
            if (!TakeLastFrame(f))
                break;
            static const std::uint8_t kStored[] = {F::kPreamble, F::kProgram, F::kRadio,
                                                   F::kWriteResult, 0x00};
            const bool stored = f.GetLength() == 5 && std::memcmp(f.Data(), kStored, 5) == 0;
            EndWith(stored ? R::kOk : R::kWriteRefused);
            break;
        }
        case State::Drain:
            if (link_.PendingOutput() == 0)
                state_ = State::Finish;
            break;
    }
}

void cmcCloneDrv::SendDataPasses(bool& activity) {
    for (int pass = 0; pass < kPassesPerStep; ++pass) {
        const cmcRange& range = ranges_[currentRange_];
        if (range.IsEndMark()) {
            if (link_.PendingOutput() == 0 && frame_.GetLength() == 0)
                state_ = State::SendEnd;
        } else if (range.last < currentAddress_) {
            ++currentRange_;
            if (!ranges_[currentRange_].IsEndMark())
                currentAddress_ = ranges_[currentRange_].first;
        } else {
            const int n = F::FrameLength(currentAddress_, range.last, frameDataLength_);
            const cmcEeprom& image = result_->image;
            if (!image.IsValidAddress(currentAddress_) ||
                !image.IsValidAddress(currentAddress_ + n - 1)) {
                // A range beyond the image cannot be sent; never pretend it was.
                EndWith(R::kOutOfRange);
                return;
            }
            F::AppendDataFrame(frame_, dataPreamble_, currentAddress_,
                               image.Bytes() + currentAddress_, n);
            ++frameCounter_;
            currentAddress_ += n;
            byteCounter_ += n;
        }
        if (state_ != State::SendData || frame_.GetLength() == 0 ||
            link_.PendingOutput() > 4 * frame_.GetLength())
            return;
        SendBytes(frame_);
        activity = true;
    }
}

void cmcCloneDrv::Finish() {
    link_.Close();
    state_ = State::Idle;
    std::unique_ptr<R> record = std::move(result_);
    cmcCloneDrvHandler handler = handler_;
    void* owner = owner_;
    handler_ = nullptr;
    owner_ = nullptr;
    receive_.SetLength(0);
    frame_.SetLength(0);
    expectedEcho_.SetLength(0);
    assembler_.Reset();
    if (handler && record)
        handler(owner, *record);
    record.reset();
    receive_.Clear();
    frame_.Clear();
    expectedEcho_.Clear();
    if (state_ == State::Idle)
        task_->Schedule(-1);
}
