#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The faults the emulator can inject, each chosen on the command line.
struct SimFaults {
    bool noAnswer = false;      // echo, but never answer a request
    bool noEcho = false;        // answer, but never echo
    int wrongEchoAt = -1;       // echo byte n (from 0, counted over the session) flipped
    int badChecksumFrame = -1;  // data frame n of a read carries checksum + 1
    bool wrongCount = false;    // the end frame of a read counts one frame too few
    bool missingFrame = false;  // the last data frame of a read is left out (and not counted)
    bool extraFrame = false;    // a data frame at 0x0000 comes first (and is counted)
    bool beyondImage = false;   // a data frame at 0x3FF8 comes first
    int writeResult = 0;        // the result byte of a write (00 = stored)
    bool noise = false;         // stray bytes before every frame the radio sends
    int cutAfterFrames = -1;    // the link dies after n data frames of a read or write
    bool wrongModel = false;    // the info reply names model 0x2428
    bool wrongExtra = false;    // the info reply names extra code 0x0002
    int mapRevision = -1;       // the info reply's map revision, when set
    bool byte23 = false;        // info byte 23 is not zero
    int stuckByte = -1;         // a stored write leaves this address as it was
    bool keepIdentity = false;  // a stored write leaves an own identity the radio has as it was

    // Each group back to health, once it has had its effect (a radio's own faults in a fleet).
    void ClearInfoFaults();
    void ClearReadFaults();
    void ClearWriteFaults();
};

// The radio's side of the clone protocol: takes the bytes the program sends and produces what
// the radio puts on the single-wire bus (the echo of every byte, then its answers).
class SimRadio {
public:
    static constexpr int kModelCode = 0x2429;
    static constexpr int kExtraCode = 0x0001;

    // once: each fault hits one exchange only (the first info, read or write it applies to),
    // so that a retry finds the radio healthy.
    SimRadio(std::vector<std::uint8_t> memory, const SimFaults& faults, bool once = false);

    // Bytes heard from the program; appends the bus traffic to `out`.
    void Hear(const std::uint8_t* bytes, size_t n, std::vector<std::uint8_t>& out);

    // The link was cut by the fault: the caller hangs up.
    bool LinkCut() const { return cut_; }
    // The program closed its port after a cut: the radio listens again from a clean state.
    void Resume() {
        cut_ = inFrame_ = writing_ = false;
        frame_.clear();
    }
    const std::vector<std::uint8_t>& Memory() const { return memory_; }
    int WritesStored() const { return writesStored_; }
    // What went wrong with the last write the radio refused, for the log.
    const std::string& LastComplaint() const { return complaint_; }
    // Data frames of the write under way (or the last one).
    int WriteFrames() const { return writeFrames_; }
    // Read requests answered with the image.
    int ReadsAnswered() const { return readsAnswered_; }

private:
    void Frame(std::vector<std::uint8_t>& out);
    void SendInfo(std::vector<std::uint8_t>& out);
    void SendImage(std::vector<std::uint8_t>& out);
    void TakeData();
    void TakeEnd(std::vector<std::uint8_t>& out);
    void Emit(std::vector<std::uint8_t>& out, std::uint8_t command, const std::string& payload);
    void EmitBytes(std::vector<std::uint8_t>& out, std::uint8_t command,
                   const std::vector<std::uint8_t>& payload);

    std::vector<std::uint8_t> memory_;
    SimFaults faults_;
    bool once_ = false;
    std::vector<std::uint8_t> frame_;  // the program's frame after its preamble, without FD
    bool inFrame_ = false;
    int readsAnswered_ = 0;
    long echoed_ = 0;
    bool cut_ = false;
    // A write in progress.
    bool writing_ = false;
    std::vector<std::uint8_t> pending_;
    int writeFrames_ = 0;
    bool writeBad_ = false;
    int writesStored_ = 0;
    std::string complaint_;
};
