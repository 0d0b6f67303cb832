#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "clone/dst_CDrv_Result.h"
#include "memory/MemoryMap.h"
#include "profile/ModelProfile.h"
#include "profile/indCloneChecks.h"

using R = dst_CDrv_Result;

namespace {

void GoodInfo(R& r) {
    r.operation = R::kInfo;
    r.status = R::kOk;
    r.modelCode = 0x2429;
    r.extraCode = 1;
    r.infoBytes.AppendFill(0, 24);
    r.infoBytes.Data()[0] = 24;
    r.infoBytes.Data()[2] = 7;
    r.infoBytes.Data()[5] = 0x42;
}

struct IdentifyCase {
    const char* name;
    std::function<void(R&)> change;
    int status;
};

class Identify : public ::testing::TestWithParam<IdentifyCase> {};

}  // namespace

TEST_P(Identify, JudgesTheInfoReply) {
    R r;
    GoodInfo(r);
    GetParam().change(r);
    indRadioIdentity id;
    indCloneChecks::Identify(r, 0x2429, 1, &id);
    EXPECT_EQ(r.status, GetParam().status);
    if (r.operation == R::kInfo && (r.status == R::kOk || r.status == R::kMapRevision)) {
        EXPECT_TRUE(id.valid);
        EXPECT_EQ(id.info[5], 0x42);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, Identify,
    ::testing::Values(
        IdentifyCase{"Good", [](R&) {}, R::kOk},
        IdentifyCase{"Model2428", [](R& r) { r.modelCode = 0x2428; }, R::kWrongModel},
        IdentifyCase{"Extra0", [](R& r) { r.extraCode = 0; }, R::kWrongModel},
        IdentifyCase{"Only23Bytes",
                     [](R& r) {
                         r.infoBytes.SetLength(23);
                         r.infoBytes.Data()[0] = 23;
                     },
                     R::kWrongModel},
        IdentifyCase{"CountByteWrong", [](R& r) { r.infoBytes.Data()[0] = 25; }, R::kWrongModel},
        IdentifyCase{"LongerBlock",
                     [](R& r) {
                         r.infoBytes.AppendFill(0, 6);
                         r.infoBytes.Data()[0] = 30;
                     },
                     R::kOk},
        IdentifyCase{"MapRevision6", [](R& r) { r.infoBytes.Data()[2] = 6; }, R::kMapRevision},
        IdentifyCase{"Byte23NotZero", [](R& r) { r.infoBytes.Data()[23] = 1; }, R::kWrongModel},
        IdentifyCase{"AlreadyFailed", [](R& r) { r.status = R::kTimeout; }, R::kTimeout},
        IdentifyCase{"NotInfo",
                     [](R& r) {
                         r.operation = R::kRead;
                         r.modelCode = 1;
                     },
                     R::kOk}),
    [](const ::testing::TestParamInfo<IdentifyCase>& i) { return std::string(i.param.name); });

TEST(AfterRead, AppliesTheStrictModelCheck) {
    R r;
    r.operation = R::kRead;
    r.status = R::kOk;
    r.image.SetSize(MemoryMap::kImageSize);
    r.image.SetByte(MemoryMap::kMapRevision, 7);
    std::memcpy(r.image.Bytes() + MemoryMap::kMakerText, "VEXA Inc", 8);
    indCloneChecks::AfterRead(r);
    EXPECT_EQ(r.status, R::kOk);
    r.image.SetByte(MemoryMap::kMakerText, 'W');
    indCloneChecks::AfterRead(r);
    EXPECT_EQ(r.status, R::kModelCheck);
    R failed;
    failed.operation = R::kRead;
    failed.status = R::kMissing;
    indCloneChecks::AfterRead(failed);
    EXPECT_EQ(failed.status, R::kMissing);
}
