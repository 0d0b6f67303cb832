// The read back after a clone write, as the session's checked write and the fleet run judge it:
// the clone range byte for byte, an own identity the radio keeps by design, a read that failed.
#include <gtest/gtest.h>

#include <string>

#include "clone/dst_CDrv_Result.h"
#include "memory/MemoryMap.h"
#include "memory/cmcEeprom.h"
#include "session/indWriteCheck.h"

namespace {

namespace MM = MemoryMap;
using R = dst_CDrv_Result;
using Outcome = indWriteCheck::Outcome;

enum class Identity { None, First, Second };

void SetIdentity(cmcEeprom& image, Identity id) {
    for (int i = 0; i < MM::kOwnIdentityBlockLength; ++i)
        image.SetByte(MM::kOwnIdentity + i, id == Identity::None ? 0xFF : 0);
    if (id != Identity::None)
        image.SetByte(MM::kOwnIdentity, id == Identity::First ? 21 : 22);
}

// An image of the whole clone range with bytes of their own, and an identity.
void Make(cmcEeprom& image, Identity id) {
    image.SetSize(MM::kImageSize);
    for (int a = MM::kCloneFirst; a <= MM::kCloneLast; ++a)
        image.SetByte(a, static_cast<std::uint8_t>(a * 7));
    SetIdentity(image, id);
}

struct Case {
    const char* name;
    Identity written;
    Identity before;      // what the radio held before the write
    bool beforeRead;      // false: the radio was not read first
    Identity back;        // what the read back found
    int changedAt;        // an address the radio did not take, -1 none
    std::uint8_t status;  // of the read back
    Outcome outcome;
    int differing;
    int first;  // the first address that differs, -1 none
    bool identityKept;
};

class WriteCheckJudge : public ::testing::TestWithParam<Case> {};

TEST_P(WriteCheckJudge, JudgesTheReadBackAgainstWhatWasWritten) {
    const Case& c = GetParam();
    cmcEeprom written;
    Make(written, c.written);
    cmcEeprom before;
    if (c.beforeRead)
        Make(before, c.before);
    R result;
    result.operation = R::kRead;
    result.status = c.status;
    Make(result.image, c.back);
    if (c.changedAt >= 0)
        result.image.SetByte(c.changedAt,
                             static_cast<std::uint8_t>(written.GetByte(c.changedAt) ^ 1));
    cmcEeprom expected;
    const indWriteCheck check = indWriteCheck::Judge(result, written, before, &expected);
    EXPECT_EQ(check.outcome, c.outcome);
    EXPECT_EQ(check.readStatus, c.status);
    EXPECT_EQ(check.differingBytes, c.differing);
    EXPECT_EQ(check.identityKept, c.identityKept);
    EXPECT_EQ(check.firstDifference, c.first);
    if (c.outcome != Outcome::ReadFailed) {
        // What the radio should hold: what was written, with the identity it kept.
        cmcEeprom shall;
        Make(shall, c.identityKept ? c.back : c.written);
        EXPECT_EQ(indWriteCheck::DifferingBytes(expected, shall), 0);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WriteCheckJudge,
    ::testing::Values(Case{"Same", Identity::None, Identity::None, true, Identity::None, -1, R::kOk,
                           Outcome::Matched, 0, -1, false},
                      Case{"OneByteNotTaken", Identity::None, Identity::None, true, Identity::None,
                           0x1000, R::kOk, Outcome::Differs, 1, 0x1000, false},
                      // The radio had an identity and keeps it: by design, not counted.
                      Case{"OwnIdentityKept", Identity::Second, Identity::First, true,
                           Identity::First, -1, R::kOk, Outcome::Matched, 0, -1, true},
                      Case{"OwnIdentityKeptAndAByteNotTaken", Identity::Second, Identity::First,
                           true, Identity::First, 0x0300, R::kOk, Outcome::Differs, 1, 0x0300,
                           true},
                      Case{"KeptWithoutAReadBefore", Identity::None, Identity::None, false,
                           Identity::First, -1, R::kOk, Outcome::Matched, 0, -1, true},
                      // An identity the radio did not hold before is a fault of the write.
                      Case{"IdentityFromNowhere", Identity::None, Identity::Second, true,
                           Identity::First, -1, R::kOk, Outcome::Differs, 7, MM::kOwnIdentity,
                           false},
                      Case{"IdentityGivenIsTaken", Identity::First, Identity::None, true,
                           Identity::First, -1, R::kOk, Outcome::Matched, 0, -1, false},
                      Case{"ReadBackFailed", Identity::None, Identity::None, true, Identity::None,
                           -1, R::kTimeout, Outcome::ReadFailed, 0, -1, false}),
    [](const ::testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });

TEST(WriteCheck, AnotherOperationsRecordIsNoReadBack) {
    R result;
    result.operation = R::kWrite;
    result.status = R::kOk;
    Make(result.image, Identity::None);
    cmcEeprom written;
    Make(written, Identity::None);
    const indWriteCheck check = indWriteCheck::Judge(result, written, cmcEeprom());
    EXPECT_EQ(check.outcome, Outcome::ReadFailed);
}

TEST(WriteCheck, AShortImageDiffersInTheWholeCloneRange) {
    cmcEeprom shorter;
    shorter.SetSize(MM::kCloneLast);
    cmcEeprom whole;
    Make(whole, Identity::None);
    int first = 0;
    EXPECT_EQ(indWriteCheck::DifferingBytes(whole, shorter, &first), MM::kCloneLength);
    EXPECT_EQ(first, -1);
}

}  // namespace
