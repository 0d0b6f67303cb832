// The receiving half of the clone driver: frame assembly from the receive buffer, the checks
// of the radio's data and end frames, and the coverage check of a read.
#include <cstdio>
#include <cstring>

#include "clone/cmcCloneDrv.h"
#include "memory/cmcEeprom.h"

namespace F = cmcCloneFrame;
using R = dst_CDrv_Result;

namespace {
bool IsUpperHex(std::uint8_t c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F');
}
int HexValue(std::uint8_t c) {
    return c <= '9' ? c - '0' : c - 'A' + 10;
}

void SetBits(cmcBuff& map, int first, int last) {
    if (first < 0 || last < first)
        return;
    const int need = last / 8 + 1;
    if (map.GetLength() < need)
        map.AppendFill(0, need - map.GetLength());
    for (int a = first; a <= last; ++a)
        map.Data()[a / 8] |= static_cast<std::uint8_t>(1u << (a % 8));
}
}  // namespace

bool cmcCloneDrv::TakeLastFrame(cmcBuff& frame) {
    ReadChunk();
    bool any = false;
    while (receive_.GetLength() > 0) {
        const auto r = assembler_.Feed(static_cast<std::uint8_t>(receive_.PopFront()));
        if (r == F::cmcFrameAssembler::Result::Complete) {
            frame.Assign(assembler_.Frame());
            any = true;
        } else if (r == F::cmcFrameAssembler::Result::Overflow) {
            frame.SetLength(0);
            frame.AppendByte(0x00);
            any = true;
        }
    }
    return any;
}

void cmcCloneDrv::ReceiveFrames(bool& activity) {
    ReadChunk();
    while (receive_.GetLength() > 0 && state_ == State::ReceiveData) {
        const auto r = assembler_.Feed(static_cast<std::uint8_t>(receive_.PopFront()));
        if (r == F::cmcFrameAssembler::Result::Overflow) {
            EndWith(R::kFrameError);
            break;
        }
        if (r != F::cmcFrameAssembler::Result::Complete)
            continue;
        const cmcBuff& f = assembler_.Frame();
        const std::uint8_t* b = f.Data();
        const int n = f.GetLength();
        if (n < 12 || n > F::kMaxFrame || b[0] != F::kPreamble || b[1] != F::kProgram ||
            b[2] != F::kRadio || (b[3] != F::kData && b[3] != F::kEndFrame)) {
            EndWith(R::kFrameError);
            break;
        }
        if (b[3] == F::kData) {
            const int status = CheckDataFrame(f, activity);
            if (status != R::kOk)
                EndWith(static_cast<std::uint8_t>(status));
        } else {
            const int status = CheckEndFrame(f);
            EndWith(static_cast<std::uint8_t>(status == R::kOk && hasRanges_ ? CoverageStatus()
                                                                             : status));
        }
    }
}

int cmcCloneDrv::CheckDataFrame(const cmcBuff& f, bool& activity) {
    const std::uint8_t* text = f.Data() + 4;
    const int chars = f.GetLength() - 4;
    if (chars % 2 != 0)
        return R::kFrameError;
    for (int i = 0; i < chars; ++i)
        if (!IsUpperHex(text[i]))
            return R::kFrameError;
    const int count = chars / 2;
    std::uint8_t bytes[F::kMaxFrame / 2];
    if (count < 4 || count > static_cast<int>(sizeof bytes))
        return R::kFrameError;
    unsigned sum = 0;
    for (int i = 0; i < count; ++i) {
        bytes[i] =
            static_cast<std::uint8_t>(HexValue(text[2 * i]) * 16 + HexValue(text[2 * i + 1]));
        sum += bytes[i];
    }
    const int n = bytes[2];
    if (count != n + 4)
        return R::kFrameError;
    if ((sum & 0xFF) != 0)
        return R::kFrameError;
    const int address = bytes[0] * 256 + bytes[1];
    if (n > 0) {
        const int last = address + n - 1;
        if (last >= imageSize_ || !result_->image.IsValidAddress(address) ||
            !result_->image.IsValidAddress(last))
            return R::kOutOfRange;
        result_->image.WriteBlock(address, bytes + 3, n);
        SetBits(result_->loadedMap, address, last);
    }
    byteCounter_ += n;
    ++frameCounter_;
    activity = true;
    return R::kOk;
}

int cmcCloneDrv::CheckEndFrame(const cmcBuff& f) const {
    const std::uint8_t* payload = f.Data() + 4;
    const int n = f.GetLength() - 4;
    if (n != F::kMakerLength + 2)
        return R::kFrameError;
    if (std::memcmp(payload, F::kMaker, F::kMakerLength) != 0)
        return R::kFrameError;
    char count[3];
    std::snprintf(count, sizeof count, "%02X", frameCounter_ & 0xFF);
    if (payload[F::kMakerLength] != count[0] || payload[F::kMakerLength + 1] != count[1])
        return R::kFrameCount;
    return R::kOk;
}

int cmcCloneDrv::CoverageStatus() const {
    cmcBuff required;
    for (const cmcRange& r : ranges_) {
        if (r.IsEndMark())
            break;
        SetBits(required, r.first, r.last);
    }
    cmcBuff loaded(result_->loadedMap);
    if (loaded.GetLength() > required.GetLength())
        return R::kOutOfRange;
    loaded.AppendFill(0, required.GetLength() - loaded.GetLength());
    if (loaded == required)
        return R::kOk;
    for (int i = 0; i < loaded.GetLength(); ++i)
        if (loaded.Data()[i] & ~required.Data()[i])
            return R::kOutOfRange;
    return R::kMissing;
}
