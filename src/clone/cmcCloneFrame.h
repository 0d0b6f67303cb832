#pragma once

#include <cstdint>

#include "clone/cmcBuff.h"

// The program's side of the clone protocol's frames: preamble 0xFE, destination, source,
// command, payload, 0xFD. The radio is 0xEE, the program 0xEF.
namespace cmcCloneFrame {

constexpr std::uint8_t kPreamble = 0xFE;
constexpr std::uint8_t kEnd = 0xFD;
constexpr std::uint8_t kRadio = 0xEE;
constexpr std::uint8_t kProgram = 0xEF;

constexpr std::uint8_t kInfoRequest = 0xE0;
constexpr std::uint8_t kInfoReply = 0xE1;
constexpr std::uint8_t kReadRequest = 0xE2;
constexpr std::uint8_t kWriteRequest = 0xE3;
constexpr std::uint8_t kData = 0xE4;
constexpr std::uint8_t kEndFrame = 0xE5;
constexpr std::uint8_t kWriteResult = 0xE6;

// The maker bytes an end frame carries before its frame count.
constexpr char kMaker[] = "Vexa Inc.";
constexpr int kMakerLength = 9;

// A frame as assembled holds one leading FE and no FD; the longest allowed.
constexpr int kMaxFrame = 521;

// Info, read and write requests: `preamble` extra FE bytes, FE FE EE EF, the command, the model
// code and extra code (two bytes each, high first), FD.
void AppendRequest(cmcBuff& out, std::uint8_t command, int preamble, int modelCode, int extraCode);

// A data frame for n bytes at address: preamble, FE FE EE EF E4, the data text, FD.
void AppendDataFrame(cmcBuff& out, int preamble, int address, const std::uint8_t* data, int n);

// The end frame: FE FE EE EF E5, the maker bytes, the frame count mod 256 as "%02X", FD.
void AppendEndFrame(cmcBuff& out, int frameCount);

// Checksum of a data text: the byte that brings the sum of address high, address low, n and
// the data to 0 modulo 256.
std::uint8_t Checksum(int address, const std::uint8_t* data, int n);

// Number of data bytes in the frame starting at address: up to the next multiple of 16 or the
// end of the range, whichever comes first.
int FrameLength(int address, int last, int frameDataLength);

// Two upper-case hexadecimal characters of a byte.
void AppendHexByte(cmcBuff& out, std::uint8_t b);

// Collects frames from a byte stream. FE starts a frame afresh (holding that one FE), bytes
// outside a frame are noise and dropped, FD ends the frame (not kept).
class cmcFrameAssembler {
public:
    enum class Result { Pending, Complete, Overflow };

    // Takes one byte. Complete: Frame() holds the frame until the next Feed. Overflow: the frame
    // grew beyond kMaxFrame bytes and was dropped.
    Result Feed(std::uint8_t b);
    const cmcBuff& Frame() const { return frame_; }
    bool InFrame() const { return inFrame_; }
    void Reset();

private:
    cmcBuff frame_;
    bool inFrame_ = false;
    bool complete_ = false;
};

}  // namespace cmcCloneFrame
