#pragma once

#include <gtest/gtest.h>

#include <QStringList>
#include <ostream>
#include <string>
#include <vector>

#include "clone/dst_CDrv_Result.h"

// The faults t590-sim can inject, with the operation each is tried on and the statuses the
// clone chain ends with: written once, for the clone manager's and the command-line tool's
// end-to-end tests.
enum class CloneOp { Info, Read, Write };

struct CloneFault {
    const char* name;
    QStringList faults;
    CloneOp op;
    std::vector<int> statuses;  // the identification's, then the transfer's when it ran
    bool badMaker = false;      // the radio's maker text is changed
    int alternative = -1;       // another acceptable last status (the timing of a cut line)

    int Status() const { return statuses.back(); }
    bool Fails() const { return Status() != dst_CDrv_Result::kOk; }
};

inline void PrintTo(const CloneFault& c, std::ostream* os) {
    *os << c.name;
}

inline const std::vector<CloneFault>& CloneFaults() {
    using R = dst_CDrv_Result;
    static const std::vector<CloneFault> table = {
        {"Info", {}, CloneOp::Info, {R::kOk}},
        {"Read", {}, CloneOp::Read, {R::kOk, R::kOk}},
        {"Write", {}, CloneOp::Write, {R::kOk, R::kOk}},
        {"NoiseRead", {"noise"}, CloneOp::Read, {R::kOk, R::kOk}},
        {"NoiseWrite", {"noise"}, CloneOp::Write, {R::kOk, R::kOk}},
        {"NoAnswer", {"no-answer"}, CloneOp::Read, {R::kTimeout}},
        {"NoEcho", {"no-echo"}, CloneOp::Write, {R::kEchoError}},
        {"WrongEchoInWrite", {"wrong-echo=600"}, CloneOp::Write, {R::kOk, R::kEchoError}},
        {"BadChecksum", {"bad-checksum=5"}, CloneOp::Read, {R::kOk, R::kFrameError}},
        {"WrongFrameCount", {"wrong-count"}, CloneOp::Read, {R::kOk, R::kFrameCount}},
        {"MissingFrame", {"missing-frame"}, CloneOp::Read, {R::kOk, R::kMissing}},
        {"ExtraFrame", {"extra-frame"}, CloneOp::Read, {R::kOk, R::kOutOfRange}},
        {"BeyondImage", {"beyond-image"}, CloneOp::Read, {R::kOk, R::kOutOfRange}},
        {"WriteRefused", {"write-refused=FA"}, CloneOp::Write, {R::kOk, R::kWriteRefused}},
        {"CutLinkRead", {"cut-link=100"}, CloneOp::Read, {R::kOk, R::kTimeout}},
        // A line cut while the program writes fails the next write, or, when the program was
        // waiting for its echo at that moment, leaves the echo missing.
        {"CutLinkWrite",
         {"cut-link=100"},
         CloneOp::Write,
         {R::kOk, R::kWriteFailed},
         false,
         R::kEchoError},
        {"WrongModel", {"wrong-model"}, CloneOp::Read, {R::kWrongModel}},
        {"WrongExtraCode", {"wrong-extra"}, CloneOp::Write, {R::kWrongModel}},
        {"MapRevision6", {"map-revision=6"}, CloneOp::Read, {R::kMapRevision}},
        {"Byte23", {"byte23"}, CloneOp::Write, {R::kWrongModel}},
        {"MakerTextChanged", {}, CloneOp::Read, {R::kOk, R::kModelCheck}, true},
    };
    return table;
}

// The faults that end a transfer in failure.
inline std::vector<CloneFault> FailingCloneFaults() {
    std::vector<CloneFault> failing;
    for (const CloneFault& c : CloneFaults()) {
        if (c.Fails())
            failing.push_back(c);
    }
    return failing;
}

inline std::string CloneFaultName(const ::testing::TestParamInfo<CloneFault>& info) {
    return info.param.name;
}
