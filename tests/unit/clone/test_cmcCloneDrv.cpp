#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "DriverHarness.h"

using RadioFrames::Bytes;
using R = dst_CDrv_Result;

namespace {

enum class Op { Info, Read, Write };

struct StatusCase {
    const char* name;
    Op op;
    std::function<void(DriverHarness&)> setup;
    int status;
};

void PrintTo(const StatusCase& c, std::ostream* os) {
    *os << c.name;
}

class DriverStatus : public ::testing::TestWithParam<StatusCase> {};

Bytes ReadWith(DriverHarness& h, const std::function<void(Bytes&)>& change) {
    Bytes b = h.FullRead();
    change(b);
    return b;
}

const std::uint8_t kSixteen[16] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};

}  // namespace

TEST_P(DriverStatus, EndsWithItsStatusOnceAndClosesThePort) {
    const StatusCase& c = GetParam();
    DriverHarness h;
    c.setup(h);
    cmcEeprom image;
    image.SetSize(MemoryMap::kImageSize);
    image.SetByte(MemoryMap::kCloneFirst, 7);
    const bool started = c.op == Op::Info ? h.Info() : c.op == Op::Read ? h.Read() : h.Write(image);
    ASSERT_TRUE(started);
    EXPECT_FALSE(h.drv.IsBusy());
    EXPECT_EQ(h.status, c.status) << c.name;
    EXPECT_EQ(h.completions, 1);
    EXPECT_FALSE(h.wire->isOpen);
    EXPECT_EQ(h.drv.Link().PendingOutput(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Table, DriverStatus,
    ::testing::Values(
        StatusCase{"InfoOk", Op::Info, [](DriverHarness&) {}, R::kOk},
        StatusCase{"ReadOk", Op::Read, [](DriverHarness&) {}, R::kOk},
        StatusCase{"WriteOk", Op::Write, [](DriverHarness&) {}, R::kOk},
        StatusCase{"PortFails", Op::Read, [](DriverHarness& h) { h.wire->openFails = true; },
                   R::kPortFailed},
        StatusCase{"NoEcho", Op::Info, [](DriverHarness& h) { h.wire->echo = false; },
                   R::kEchoError},
        StatusCase{"WrongEchoByte", Op::Read,
                   [](DriverHarness& h) {
                       h.wire->echo = false;
                       h.wire->onWrite = [&h](const std::uint8_t* b, int n) {
                           for (int i = 0; i < n; ++i)
                               h.wire->toProgram.push_back(i == 16 ? b[i] ^ 0x01 : b[i]);
                       };
                   },
                   R::kEchoError},
        StatusCase{"NoAnswerToInfo", Op::Info, [](DriverHarness& h) { h.answer = false; },
                   R::kTimeout},
        StatusCase{"NoAnswerToRead", Op::Read, [](DriverHarness& h) { h.answer = false; },
                   R::kTimeout},
        StatusCase{"NoWriteResult", Op::Write, [](DriverHarness& h) { h.answer = false; },
                   R::kTimeout},
        StatusCase{
            "InfoWrongHeader", Op::Info,
            [](DriverHarness& h) { h.infoReply = RadioFrames::Hex("FEFE EFEE E2 2429 0001 FD"); },
            R::kFrameError},
        StatusCase{
            "InfoTooShort", Op::Info,
            [](DriverHarness& h) { h.infoReply = RadioFrames::Hex("FEFE EFEE E1 2429 00 FD"); },
            R::kFrameError},
        StatusCase{"InfoCodeNotDecimal", Op::Info,
                   [](DriverHarness& h) {
                       h.infoReply = RadioFrames::InfoReply(0x242A, 1, RadioFrames::StandardInfo());
                   },
                   R::kFrameError},
        StatusCase{"ChecksumOffByOne", Op::Read,
                   [](DriverHarness& h) {
                       h.readReply = RadioFrames::DataFrame(0x0270, kSixteen, 16, 1);
                       RadioFrames::Add(h.readReply, RadioFrames::EndFrame("01"));
                   },
                   R::kFrameError},
        StatusCase{"LowerCaseHex", Op::Read,
                   [](DriverHarness& h) {
                       h.readReply = ReadWith(h, [](Bytes& b) { b[6] = 'a'; });  // "0270"->"a270"?
                   },
                   R::kFrameError},
        StatusCase{"OddDataText", Op::Read,
                   [](DriverHarness& h) {
                       h.readReply = RadioFrames::Hex("FEFE EFEE E4 3032 3730 3130 30 FD");
                   },
                   R::kFrameError},
        StatusCase{"CountByteDisagrees", Op::Read,
                   [](DriverHarness& h) {
                       // "027002AA" + checksum: says 2 bytes, carries 1.
                       const std::string t =
                           "027002AA"
                           "E2";
                       Bytes f{0xFE, 0xFE, 0xEF, 0xEE, 0xE4};
                       f.insert(f.end(), t.begin(), t.end());
                       f.push_back(0xFD);
                       h.readReply = f;
                   },
                   R::kFrameError},
        StatusCase{"WrongCommandDuringRead", Op::Read,
                   [](DriverHarness& h) { h.readReply = RadioFrames::WriteResult(0); },
                   R::kFrameError},
        StatusCase{"EndFrameWrongMaker", Op::Read,
                   [](DriverHarness& h) {
                       h.readReply = ReadWith(h, [](Bytes& b) { b[b.size() - 5] = 'X'; });
                   },
                   R::kFrameError},
        StatusCase{"EndFrameCountD1", Op::Read,
                   [](DriverHarness& h) {
                       h.readReply = ReadWith(h, [](Bytes& b) { b[b.size() - 2] = '1'; });
                   },
                   R::kFrameCount},
        StatusCase{"MissingFrame2F80", Op::Read,
                   [](DriverHarness& h) { h.readReply = h.FullRead(0x2F80); }, R::kMissing},
        StatusCase{"ExtraFrameAt0000", Op::Read,
                   [](DriverHarness& h) {
                       Bytes b = RadioFrames::DataFrame(0x0000, kSixteen, 16);
                       Bytes rest = h.FullRead();
                       // The end frame must count the extra frame too: 723 = 0xD3.
                       rest[rest.size() - 2] = '3';
                       RadioFrames::Add(b, rest);
                       h.readReply = b;
                   },
                   R::kOutOfRange},
        StatusCase{
            "AddressBeyondImage", Op::Read,
            [](DriverHarness& h) { h.readReply = RadioFrames::DataFrame(0x3FF8, kSixteen, 16); },
            R::kOutOfRange},
        StatusCase{"WriteResultFA", Op::Write,
                   [](DriverHarness& h) { h.writeResult = RadioFrames::WriteResult(0xFA); },
                   R::kWriteRefused},
        StatusCase{"OtherFrameInsteadOfWriteResult", Op::Write,
                   [](DriverHarness& h) { h.writeResult = RadioFrames::EndFrame("D2"); },
                   R::kWriteRefused},
        StatusCase{"ShortWrite", Op::Write, [](DriverHarness& h) { h.wire->writeLimit = 10; },
                   R::kWriteFailed}),
    [](const ::testing::TestParamInfo<StatusCase>& info) { return std::string(info.param.name); });

TEST(CloneDriver, InfoReplyGivesCodesAndInfoBytes) {
    DriverHarness h;
    // FE FE EF EE E1 24 29 00 01, 24 info bytes, FD.
    ASSERT_TRUE(h.Info());
    EXPECT_EQ(h.status, R::kOk);
    EXPECT_EQ(h.operation, R::kInfo);
    EXPECT_EQ(h.modelCode, 0x2429);
    EXPECT_EQ(h.extraCode, 1);
    ASSERT_EQ(h.info.size(), 24u);
    EXPECT_EQ(h.info[0], 24);
    EXPECT_EQ(h.info[2], 7);
    // The request on the wire: 14 x FE, EE EF E0, model code, extra code 0, FD: 22 bytes.
    const Bytes expected = RadioFrames::Hex("FEFEFEFEFEFEFEFEFEFEFEFEFEFE EEEF E0 2429 0000 FD");
    EXPECT_EQ(h.wire->written, expected);
    EXPECT_EQ(h.wire->settings.baudRate, 9600);
    EXPECT_EQ(h.wire->device, "/dev/fake");
}

TEST(CloneDriver, ReadFillsTheResultImageOnlyWithinTheRange) {
    DriverHarness h;
    ASSERT_TRUE(h.Read());
    EXPECT_EQ(h.status, R::kOk);
    EXPECT_EQ(h.drv.DataFrameCounter(), 722);
    EXPECT_EQ(h.drv.DataByteCounter(), MemoryMap::kCloneLength);
    ASSERT_EQ(h.resultImage.GetSize(), MemoryMap::kImageSize);
    for (int a = 0; a < MemoryMap::kImageSize; ++a) {
        const bool inside = a >= MemoryMap::kCloneFirst && a <= MemoryMap::kCloneLast;
        ASSERT_EQ(h.resultImage.GetByte(a), inside ? h.radioImage.GetByte(a) : 0) << a;
    }
}

TEST(CloneDriver, NoiseBeforeFramesIsIgnoredAndASecondFeRestartsAFrame) {
    DriverHarness h;
    Bytes reply{0x00, 0x41, 0xFD, 0x13};  // noise, a stray FD included
    // A frame cut short by a new FE: the partial frame is dropped.
    RadioFrames::Add(reply, RadioFrames::Hex("FEFEEFEEE4 30323730"));
    RadioFrames::Add(reply, h.FullRead());
    h.readReply = reply;
    ASSERT_TRUE(h.Read());
    EXPECT_EQ(h.status, R::kOk);
}

TEST(CloneDriver, ReadWithoutRangeListSkipsCoverage) {
    DriverHarness h;
    h.readReply = RadioFrames::DataFrame(0x0270, kSixteen, 16);
    RadioFrames::Add(h.readReply, RadioFrames::EndFrame("01"));
    ASSERT_TRUE(h.Read(nullptr));
    EXPECT_EQ(h.status, R::kOk);
    EXPECT_EQ(h.resultImage.GetByte(0x027F), 16);
}

TEST(CloneDriver, WriteSendsEveryByteOfTheRangeAnd722Frames) {
    DriverHarness h;
    cmcEeprom image;
    image.SetSize(MemoryMap::kImageSize);
    for (int a = 0; a < MemoryMap::kImageSize; ++a)
        image.SetByte(a, static_cast<std::uint8_t>(a ^ 0x5A));
    ASSERT_TRUE(h.drv.StartWrite(image, kCloneRanges, &DriverHarness::OnDone, &h));
    image.SetByte(0x0300, 0);  // the caller's image may change once the write has started
    h.RunUntilIdle();
    EXPECT_EQ(h.status, R::kOk);
    EXPECT_EQ(h.drv.DataFrameCounter(), 722);
    // Write request, 722 data frames, end frame.
    EXPECT_EQ(h.programFrames, 1 + 722 + 1);
    for (int a = 0; a < MemoryMap::kImageSize; ++a) {
        const bool inside = a >= MemoryMap::kCloneFirst && a <= MemoryMap::kCloneLast;
        ASSERT_EQ(h.received.GetByte(a), inside ? static_cast<std::uint8_t>(a ^ 0x5A) : 0) << a;
    }
    // Data frames are 46 bytes on the wire: request 22 + 722 x 46 + end frame 17.
    EXPECT_EQ(h.wire->written.size(), 22u + 722u * 46u + 17u);
}

TEST(CloneDriver, TimeOutComesOneSecondAfterTheEcho) {
    DriverHarness h;
    h.answer = false;
    const std::uint32_t start = cmcClock::Ticks();
    ASSERT_TRUE(h.Info());
    EXPECT_EQ(h.status, R::kTimeout);
    // Two start steps, open, the silent line before the request, send; the echo comes back;
    // then 1000 ms without a frame.
    const std::uint32_t took = h.doneAt - start;
    EXPECT_GE(took, 1000u + cmcCloneDrv::kSettleQuietMs);
    EXPECT_LE(took, 1100u + cmcCloneDrv::kSettleQuietMs);
}

// The computer stops the program for five seconds (suspended, or starved by other work) just
// after the request went out; the radio, stopped as long, answers at once afterwards.
TEST(CloneDriver, TimeThePcDidNotWatchTheLineIsNoSilenceOfTheRadio) {
    DriverHarness h;
    h.answer = false;
    ASSERT_TRUE(h.drv.StartRead(kCloneRanges, &DriverHarness::OnDone, &h));
    for (int t = 0; h.programFrames == 0 && t < 10000; t += 10)
        StepDriverTick(h.drv);
    ASSERT_EQ(h.programFrames, 1);
    StepDriverTick(h.drv);  // the echo comes back
    cmcClock::Advance(5000);
    StepDriverTick(h.drv);  // the first look after the stall finds nothing yet
    EXPECT_TRUE(h.drv.IsBusy());
    h.wire->Queue(h.readReply);
    h.RunUntilIdle();
    EXPECT_EQ(h.status, R::kOk);
    for (int a = MemoryMap::kCloneFirst; a <= MemoryMap::kCloneLast; ++a)
        ASSERT_EQ(h.resultImage.GetByte(a), h.radioImage.GetByte(a)) << a;
}

// Steps that always come late still end a radio's real silence, a little later than on time.
TEST(CloneDriver, StepsThatAlwaysComeLateStillEndASilentRadio) {
    DriverHarness h;
    h.answer = false;
    ASSERT_TRUE(h.drv.StartInfo(&DriverHarness::OnDone, &h));
    const std::uint32_t start = cmcClock::Ticks();
    for (int t = 0; h.drv.IsBusy() && t < 60000; t += 500) {
        if (!h.drv.Link().PumpTask().IsStopped())
            h.drv.Link().PumpTask().TimerEvent();
        h.drv.Step();
        cmcClock::Advance(500);
    }
    EXPECT_FALSE(h.drv.IsBusy());
    EXPECT_EQ(h.status, R::kTimeout);
    // Each late step counts 200 ms of watched silence: the second of it takes five steps, after
    // the half dozen that open the port, wait for a quiet line, ask and take the echo.
    EXPECT_LE(h.doneAt - start, 12u * 500u);
}

namespace {
// The rest of a read the program gave up on, still arriving when the next operation opens the
// port.
void QueueStaleFramesOnceOpen(DriverHarness& h) {
    while (!h.wire->isOpen && h.drv.IsBusy())
        StepDriverTick(h.drv);
    Bytes stale = h.FullRead();
    stale.erase(stale.begin(), stale.begin() + 5 * 46 + 3);
    h.wire->Queue(stale);
}
}  // namespace

TEST(CloneDriver, BytesStillArrivingWhenThePortOpensAreDroppedBeforeTheRequest) {
    DriverHarness h;
    cmcEeprom image;
    image.SetSize(MemoryMap::kImageSize);
    for (int a = MemoryMap::kCloneFirst; a <= MemoryMap::kCloneLast; ++a)
        image.SetByte(a, static_cast<std::uint8_t>(a ^ 0x33));
    ASSERT_TRUE(h.drv.StartWrite(image, kCloneRanges, &DriverHarness::OnDone, &h));
    QueueStaleFramesOnceOpen(h);
    h.RunUntilIdle();
    EXPECT_EQ(h.status, R::kOk);
    EXPECT_EQ(h.completions, 1);
    for (int a = MemoryMap::kCloneFirst; a <= MemoryMap::kCloneLast; ++a)
        ASSERT_EQ(h.received.GetByte(a), image.GetByte(a)) << a;

    // A read after it gets the radio's image whole, stale bytes or not.
    ASSERT_TRUE(h.drv.StartRead(kCloneRanges, &DriverHarness::OnDone, &h));
    QueueStaleFramesOnceOpen(h);
    h.RunUntilIdle();
    EXPECT_EQ(h.status, R::kOk);
    EXPECT_EQ(h.completions, 2);
    for (int a = MemoryMap::kCloneFirst; a <= MemoryMap::kCloneLast; ++a)
        ASSERT_EQ(h.resultImage.GetByte(a), h.radioImage.GetByte(a)) << a;
}

TEST(CloneDriver, ALineThatNeverFallsSilentEndsUnansweredWithNothingSent) {
    DriverHarness h;
    ASSERT_TRUE(h.drv.StartInfo(&DriverHarness::OnDone, &h));
    const std::uint32_t start = cmcClock::Ticks();
    for (int t = 0; h.drv.IsBusy() && t < 2 * cmcCloneDrv::kSettleLimitMs; t += 10) {
        if (h.wire->isOpen)
            h.wire->Queue({0x55, 0xAA});
        StepDriverTick(h.drv);
    }
    EXPECT_FALSE(h.drv.IsBusy());
    EXPECT_EQ(h.status, R::kTimeout);
    EXPECT_GE(h.doneAt - start, static_cast<std::uint32_t>(cmcCloneDrv::kSettleLimitMs));
    EXPECT_TRUE(h.wire->written.empty());
}

TEST(CloneDriver, AfterTheEndFrameTheRadioHasTwoSecondsWithoutEcho) {
    DriverHarness h;
    h.drv.SetEchoCheck(false);
    h.wire->echo = false;
    h.answer = false;
    cmcEeprom image;
    image.SetSize(MemoryMap::kImageSize);
    ASSERT_TRUE(h.Write(image));
    EXPECT_EQ(h.status, R::kTimeout);
    const std::uint32_t waited = h.doneAt - h.endFrameAt;
    EXPECT_GE(waited, 2000u);
    EXPECT_LE(waited, 2100u);
}

TEST(CloneDriver, StartWhileBusyIsRefusedAndLeavesTheRunningOperation) {
    DriverHarness h;
    cmcEeprom image;
    image.SetSize(MemoryMap::kImageSize);
    ASSERT_TRUE(h.drv.StartWrite(image, kCloneRanges, &DriverHarness::OnDone, &h));
    for (int i = 0; i < 40; ++i)
        StepDriverTick(h.drv);
    EXPECT_FALSE(h.drv.StartRead(kCloneRanges, &DriverHarness::OnDone, &h));
    EXPECT_FALSE(h.drv.StartInfo(&DriverHarness::OnDone, &h));
    EXPECT_EQ(h.drv.GetState(), cmcCloneDrv::State::SendData);
    h.RunUntilIdle();
    EXPECT_EQ(h.status, R::kOk);
    EXPECT_EQ(h.operation, R::kWrite);
    EXPECT_EQ(h.completions, 1);
}

TEST(CloneDriver, HandlerMayStartTheNextOperation) {
    DriverHarness h;
    bool chained = false;
    h.onDone = [&](dst_CDrv_Result& r) {
        if (r.operation == R::kInfo && r.status == R::kOk)
            chained = h.drv.StartRead(kCloneRanges, &DriverHarness::OnDone, &h);
    };
    ASSERT_TRUE(h.drv.StartInfo(&DriverHarness::OnDone, &h));
    h.RunUntilIdle();
    EXPECT_TRUE(chained);
    EXPECT_EQ(h.completions, 2);
    EXPECT_EQ(h.operation, R::kRead);
    EXPECT_EQ(h.status, R::kOk);
    EXPECT_EQ(h.wire->opens, 2);  // the port is opened afresh for every operation
}

TEST(CloneDriver, PortFailureCarriesTheReason) {
    DriverHarness h;
    h.wire->openFails = true;
    h.wire->openError = cmcSerialError::Permission;
    h.wire->openErrorText = "/dev/fake: permission denied.";
    h.wire->openErrorGroup = "dialout";
    ASSERT_TRUE(h.Info());
    EXPECT_EQ(h.status, R::kPortFailed);
    EXPECT_EQ(h.portError, "/dev/fake: permission denied.");
    EXPECT_EQ(h.portGroup, "dialout");
}

TEST(CloneDriver, AGroupOfAnEarlierRefusalIsNotCarriedOver) {
    DriverHarness h;
    h.wire->openFails = true;
    h.wire->openError = cmcSerialError::Permission;
    h.wire->openErrorGroup = "dialout";
    ASSERT_TRUE(h.Info());
    ASSERT_EQ(h.portGroup, "dialout");
    h.wire->openError = cmcSerialError::NoDevice;
    h.wire->openErrorText = "/dev/fake: no such device.";
    h.wire->openErrorGroup.clear();
    ASSERT_TRUE(h.Info());
    EXPECT_EQ(h.status, R::kPortFailed);
    EXPECT_EQ(h.portError, "/dev/fake: no such device.");
    EXPECT_EQ(h.portGroup, "");
}

TEST(CloneDriver, OutputThatNeverDrainsStillEnds) {
    DriverHarness h;
    h.wire->outputQueue = 100;  // the driver's queue never empties
    ASSERT_TRUE(h.Info());
    EXPECT_FALSE(h.drv.IsBusy());
    EXPECT_NE(h.status, R::kOk);
    EXPECT_EQ(h.completions, 1);
}

TEST(CloneDriver, EndFrameOnTheWire) {
    DriverHarness h;
    cmcEeprom image;
    image.SetSize(MemoryMap::kImageSize);
    ASSERT_TRUE(h.Write(image));
    const Bytes& w = h.wire->written;
    const Bytes tail(w.end() - 17, w.end());
    // FE FE EE EF E5 "Vexa Inc." "D2" FD
    EXPECT_EQ(tail, RadioFrames::Hex("FEFE EEEF E5 5665786120496E632E 4432 FD"));
}

TEST(CloneDriver, DataPreambleGoesBeforeEveryDataFrameOnly) {
    DriverHarness h;
    h.drv.SetDataPreamble(2);
    h.drv.SetRequestPreamble(0);
    cmcEeprom image;
    image.SetSize(MemoryMap::kImageSize);
    ASSERT_TRUE(h.Write(image));
    EXPECT_EQ(h.status, R::kOk);
    // Request 10, 722 data frames of 48, end frame 17 (never with an extra preamble).
    EXPECT_EQ(h.wire->written.size(), 10u + 722u * 48u + 17u);
    const Bytes firstData(h.wire->written.begin() + 10, h.wire->written.begin() + 16);
    EXPECT_EQ(firstData, RadioFrames::Hex("FEFEFEFE EEEF"));
}

TEST(CloneDriver, WithoutEchoCheckTheEchoIsIgnored) {
    DriverHarness h;
    h.drv.SetEchoCheck(false);
    h.wire->echo = false;
    ASSERT_TRUE(h.Read());
    EXPECT_EQ(h.status, R::kOk);
}
