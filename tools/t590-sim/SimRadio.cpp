#include "SimRadio.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "memory/MemoryMap.h"

namespace {
constexpr std::uint8_t kFE = 0xFE, kFD = 0xFD, kRadio = 0xEE, kPc = 0xEF;
constexpr char kMaker[] = "Vexa Inc.";
const std::uint8_t kNoise[] = {0x00, 0x55, 0xFD, 0x13, 0xAA};

int Nibble(std::uint8_t c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

std::string HexText(const std::uint8_t* bytes, int n) {
    std::string s;
    char two[3];
    for (int i = 0; i < n; ++i) {
        std::snprintf(two, sizeof two, "%02X", bytes[i]);
        s += two;
    }
    return s;
}
}  // namespace

void SimFaults::ClearInfoFaults() {
    noAnswer = noEcho = wrongModel = wrongExtra = byte23 = false;
    mapRevision = -1;
}

void SimFaults::ClearReadFaults() {
    badChecksumFrame = -1;
    wrongCount = missingFrame = extraFrame = beyondImage = false;
    cutAfterFrames = -1;
}

void SimFaults::ClearWriteFaults() {
    writeResult = 0;
    wrongEchoAt = -1;
    cutAfterFrames = -1;
}

SimRadio::SimRadio(std::vector<std::uint8_t> memory, const SimFaults& faults, bool once)
    : memory_(std::move(memory)), faults_(faults), once_(once) {
    memory_.resize(MemoryMap::kImageSize, 0);
}

void SimRadio::Hear(const std::uint8_t* bytes, size_t n, std::vector<std::uint8_t>& out) {
    for (size_t i = 0; i < n && !cut_; ++i) {
        const std::uint8_t b = bytes[i];
        // The single-wire bus: every byte comes back to its sender.
        if (!faults_.noEcho) {
            out.push_back(echoed_ == faults_.wrongEchoAt ? static_cast<std::uint8_t>(b ^ 0x10) : b);
            ++echoed_;
        }
        if (b == kFE) {
            frame_.clear();
            inFrame_ = true;
        } else if (inFrame_ && b == kFD) {
            inFrame_ = false;
            Frame(out);
        } else if (inFrame_) {
            frame_.push_back(b);
        }
    }
}

void SimRadio::Frame(std::vector<std::uint8_t>& out) {
    // Ours: EE EF command payload.
    if (frame_.size() < 3 || frame_[0] != kRadio || frame_[1] != kPc)
        return;
    const std::uint8_t command = frame_[2];
    if (command == 0xE0 || command == 0xE2 || command == 0xE3) {
        // Requests name the model; a radio ignores requests for another model.
        if (frame_.size() != 7 || frame_[3] * 256 + frame_[4] != kModelCode)
            return;
        writing_ = false;
        if (faults_.noAnswer) {
            if (once_)
                faults_.ClearInfoFaults();
            return;
        }
        if (command == 0xE0) {
            SendInfo(out);
            if (once_)
                faults_.ClearInfoFaults();
        }
        if (command == 0xE2) {
            SendImage(out);
            if (once_)
                faults_.ClearReadFaults();
        }
        if (command == 0xE3) {
            writing_ = true;
            pending_ = memory_;
            writeFrames_ = 0;
            writeBad_ = false;
            complaint_.clear();
        }
        return;
    }
    if (!writing_)
        return;
    if (command == 0xE4) {
        TakeData();
        if (faults_.cutAfterFrames >= 0 && writeFrames_ >= faults_.cutAfterFrames) {
            cut_ = true;
            if (once_)
                faults_.ClearWriteFaults();
        }
    } else if (command == 0xE5) {
        TakeEnd(out);
        if (once_)
            faults_.ClearWriteFaults();
    }
}

void SimRadio::TakeData() {
    ++writeFrames_;
    const size_t chars = frame_.size() - 3;
    std::vector<std::uint8_t> bytes;
    bool ok = chars % 2 == 0 && chars >= 8;
    for (size_t i = 3; ok && i + 1 < frame_.size(); i += 2) {
        const int hi = Nibble(frame_[i]), lo = Nibble(frame_[i + 1]);
        if (hi < 0 || lo < 0)
            ok = false;
        else
            bytes.push_back(static_cast<std::uint8_t>(hi * 16 + lo));
    }
    unsigned sum = 0;
    for (std::uint8_t b : bytes)
        sum += b;
    if (!ok || bytes.size() != static_cast<size_t>(bytes[2]) + 4 || (sum & 0xFF) != 0) {
        writeBad_ = true;
        complaint_ = "data frame " + std::to_string(writeFrames_) + " is malformed";
        return;
    }
    const int address = bytes[0] * 256 + bytes[1];
    const int n = bytes[2];
    if (address < MemoryMap::kCloneFirst || address + n - 1 > MemoryMap::kCloneLast) {
        writeBad_ = true;
        complaint_ = "data frame " + std::to_string(writeFrames_) + " lies outside the clone range";
        return;
    }
    std::memcpy(pending_.data() + address, bytes.data() + 3, static_cast<size_t>(n));
}

void SimRadio::TakeEnd(std::vector<std::uint8_t>& out) {
    writing_ = false;
    const std::string payload(frame_.begin() + 3, frame_.end());
    char count[3];
    std::snprintf(count, sizeof count, "%02X", writeFrames_ & 0xFF);
    if (payload != std::string(kMaker) + count) {
        writeBad_ = true;
        complaint_ = "the end frame \"" + payload + "\" does not match " +
                     std::to_string(writeFrames_) + " frames";
    }
    std::uint8_t result = static_cast<std::uint8_t>(faults_.writeResult);
    if (writeBad_ && result == 0)
        result = 0x01;
    if (result == 0) {
        if (faults_.stuckByte >= 0 && static_cast<size_t>(faults_.stuckByte) < memory_.size())
            pending_[static_cast<size_t>(faults_.stuckByte)] =
                memory_[static_cast<size_t>(faults_.stuckByte)];
        // Like radios whose identity can be entered once: a first byte below 100 is one.
        if (faults_.keepIdentity && memory_[MemoryMap::kOwnIdentity] < 100)
            std::memcpy(pending_.data() + MemoryMap::kOwnIdentity,
                        memory_.data() + MemoryMap::kOwnIdentity,
                        MemoryMap::kOwnIdentityBlockLength);
        memory_ = pending_;
        ++writesStored_;
    }
    EmitBytes(out, 0xE6, {result});
}

void SimRadio::SendInfo(std::vector<std::uint8_t>& out) {
    std::vector<std::uint8_t> p;
    const int model = faults_.wrongModel ? 0x2428 : kModelCode;
    const int extra = faults_.wrongExtra ? 0x0002 : kExtraCode;
    p.push_back(static_cast<std::uint8_t>(model >> 8));
    p.push_back(static_cast<std::uint8_t>(model));
    p.push_back(static_cast<std::uint8_t>(extra >> 8));
    p.push_back(static_cast<std::uint8_t>(extra));
    // Byte 0 counts the block, 1 is the firmware revision, 2 the map revision, 3-18 the
    // comment the radio holds now (a write changes it), 23 must stay zero.
    std::uint8_t info[24] = {24, 0x01};
    info[2] = faults_.mapRevision >= 0 ? static_cast<std::uint8_t>(faults_.mapRevision)
                                       : memory_[MemoryMap::kMapRevision];
    std::memcpy(info + 3, memory_.data() + MemoryMap::kComment, MemoryMap::kCommentLength);
    info[23] = faults_.byte23 ? 1 : 0;
    p.insert(p.end(), info, info + 24);
    EmitBytes(out, 0xE1, p);
}

void SimRadio::SendImage(std::vector<std::uint8_t>& out) {
    ++readsAnswered_;
    int frames = 0;
    auto data = [&](int address, const std::uint8_t* bytes, int n, int delta) {
        std::uint8_t head[3] = {static_cast<std::uint8_t>(address >> 8),
                                static_cast<std::uint8_t>(address), static_cast<std::uint8_t>(n)};
        unsigned sum = head[0] + head[1] + head[2];
        for (int i = 0; i < n; ++i)
            sum += bytes[i];
        const std::uint8_t check = static_cast<std::uint8_t>(256 - (sum & 0xFF) + delta);
        Emit(out, 0xE4, HexText(head, 3) + HexText(bytes, n) + HexText(&check, 1));
        ++frames;
    };
    const std::uint8_t junk[16] = {0xDE, 0xAD, 0xBE, 0xEF};
    if (faults_.extraFrame)
        data(0x0000, junk, 16, 0);
    if (faults_.beyondImage)
        data(0x3FF8, junk, 16, 0);
    for (int a = MemoryMap::kCloneFirst; a <= MemoryMap::kCloneLast; a += 16) {
        const int n = std::min(16 - a % 16, MemoryMap::kCloneLast - a + 1);
        if (faults_.missingFrame && a + n - 1 == MemoryMap::kCloneLast)
            break;
        if (faults_.cutAfterFrames >= 0 && frames >= faults_.cutAfterFrames) {
            cut_ = true;
            return;
        }
        data(a, memory_.data() + a, n, frames == faults_.badChecksumFrame ? 1 : 0);
    }
    const int counted = faults_.wrongCount ? frames - 1 : frames;
    char count[3];
    std::snprintf(count, sizeof count, "%02X", counted & 0xFF);
    Emit(out, 0xE5, std::string(kMaker) + count);
}

void SimRadio::Emit(std::vector<std::uint8_t>& out, std::uint8_t command,
                    const std::string& payload) {
    EmitBytes(out, command, std::vector<std::uint8_t>(payload.begin(), payload.end()));
}

void SimRadio::EmitBytes(std::vector<std::uint8_t>& out, std::uint8_t command,
                         const std::vector<std::uint8_t>& payload) {
    if (faults_.noise)
        out.insert(out.end(), kNoise, kNoise + sizeof kNoise);
    const std::uint8_t head[] = {kFE, kFE, kPc, kRadio, command};
    out.insert(out.end(), head, head + sizeof head);
    out.insert(out.end(), payload.begin(), payload.end());
    out.push_back(kFD);
}
