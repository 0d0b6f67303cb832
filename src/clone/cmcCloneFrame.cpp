#include "clone/cmcCloneFrame.h"

namespace cmcCloneFrame {

namespace {
const char kHex[] = "0123456789ABCDEF";

void AppendHeader(cmcBuff& out, int preamble, std::uint8_t command) {
    out.AppendFill(kPreamble, preamble + 2);
    out.AppendByte(kRadio);
    out.AppendByte(kProgram);
    out.AppendByte(command);
}
}  // namespace

void AppendHexByte(cmcBuff& out, std::uint8_t b) {
    out.AppendByte(static_cast<std::uint8_t>(kHex[b >> 4]));
    out.AppendByte(static_cast<std::uint8_t>(kHex[b & 0x0F]));
}

void AppendRequest(cmcBuff& out, std::uint8_t command, int preamble, int modelCode, int extraCode) {
    AppendHeader(out, preamble, command);
    out.AppendByte(static_cast<std::uint8_t>((modelCode >> 8) & 0xFF));
    out.AppendByte(static_cast<std::uint8_t>(modelCode & 0xFF));
    out.AppendByte(static_cast<std::uint8_t>((extraCode >> 8) & 0xFF));
    out.AppendByte(static_cast<std::uint8_t>(extraCode & 0xFF));
    out.AppendByte(kEnd);
}

std::uint8_t Checksum(int address, const std::uint8_t* data, int n) {
    unsigned s = static_cast<unsigned>(address & 0xFF) +
                 static_cast<unsigned>((address >> 8) & 0xFF) + static_cast<unsigned>(n);
    for (int i = 0; i < n; ++i)
        s += data[i];
    return static_cast<std::uint8_t>((256 - (s & 0xFF)) & 0xFF);
}

void AppendDataFrame(cmcBuff& out, int preamble, int address, const std::uint8_t* data, int n) {
    AppendHeader(out, preamble, kData);
    AppendHexByte(out, static_cast<std::uint8_t>((address >> 8) & 0xFF));
    AppendHexByte(out, static_cast<std::uint8_t>(address & 0xFF));
    AppendHexByte(out, static_cast<std::uint8_t>(n));
    for (int i = 0; i < n; ++i)
        AppendHexByte(out, data[i]);
    AppendHexByte(out, Checksum(address, data, n));
    out.AppendByte(kEnd);
}

void AppendEndFrame(cmcBuff& out, int frameCount) {
    AppendHeader(out, 0, kEndFrame);
    out.Append(kMaker, kMakerLength);
    AppendHexByte(out, static_cast<std::uint8_t>(frameCount & 0xFF));
    out.AppendByte(kEnd);
}

int FrameLength(int address, int last, int frameDataLength) {
    const int toBoundary = frameDataLength - address % frameDataLength;
    const int toEnd = last - address + 1;
    return toBoundary < toEnd ? toBoundary : toEnd;
}

cmcFrameAssembler::Result cmcFrameAssembler::Feed(std::uint8_t b) {
    if (complete_) {
        frame_.SetLength(0);
        complete_ = false;
    }
    if (b == kPreamble) {
        frame_.SetLength(0);
        frame_.AppendByte(b);
        inFrame_ = true;
        return Result::Pending;
    }
    if (!inFrame_)
        return Result::Pending;
    if (b == kEnd) {
        inFrame_ = false;
        complete_ = true;
        return Result::Complete;
    }
    if (frame_.GetLength() >= kMaxFrame) {
        frame_.SetLength(0);
        inFrame_ = false;
        return Result::Overflow;
    }
    frame_.AppendByte(b);
    return Result::Pending;
}

void cmcFrameAssembler::Reset() {
    frame_.SetLength(0);
    inFrame_ = false;
    complete_ = false;
}

}  // namespace cmcCloneFrame
