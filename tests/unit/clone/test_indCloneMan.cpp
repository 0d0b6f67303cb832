#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CloneTexts.h"
#include "DriverHarness.h"
#include "ScopedMainDictionary.h"
#include "TestPaths.h"
#include "clone/indCloneMan.h"
#include "cmcTestHost.h"
#include "platform/cmcProgress.h"
#include "profile/indCloneChecks.h"

using R = dst_CDrv_Result;

namespace {

struct StatusTextCase {
    int status;
    const char* text;
};

class StatusTexts : public ::testing::TestWithParam<StatusTextCase> {};

// Records what the manager asks of the user interface.
class RecordingProgress : public cmcProgress {
public:
    void SetMainWindowEnabled(bool enabled) override {
        calls.push_back(enabled ? "enable" : "disable");
    }
    void Show(const std::string& caption) override { calls.push_back("show " + caption); }
    void Update(int filled, int cells, int, int) override {
        lastFilled = filled;
        EXPECT_EQ(cells, 32);
        EXPECT_GE(filled, previousFilled);  // progress never goes back
        previousFilled = filled;
        ++updates;
    }
    void Hide() override { calls.push_back("hide"); }

    std::vector<std::string> calls;
    int lastFilled = -1;
    int previousFilled = 0;
    int updates = 0;
};

// The manager on the harness's fake link: the harness's radio, the manager's preparation.
struct ManagerFixture : ::testing::Test {
    ScopedTestHost host;
    ScopedCloneTexts texts;
    DriverHarness h;
    indCloneMan man;
    RecordingProgress progress;
    std::vector<int> completions;
    std::vector<int> operations;
    indRadioIdentity identity;

    ManagerFixture() {
        man.Driver().Link().SetBackend(std::make_unique<FakeSerialLink>(h.wire));
        man.SetModel(0x2429, 0);
        man.SetImageSize(MemoryMap::kImageSize);
        man.SetPort(3);
        man.SetPortDevice("/dev/fake");
        man.SetProgress(&progress);
        man.SetInfoHandler(&Identify, this);
        man.SetReadHandler(&AfterRead, this);
    }

    static void Identify(void* owner, R& r) {
        indCloneChecks::Identify(r, 0x2429, 1, &static_cast<ManagerFixture*>(owner)->identity);
    }
    static void AfterRead(void*, R& r) { indCloneChecks::AfterRead(r); }
    static void Done(void* owner, R& r) {
        auto* f = static_cast<ManagerFixture*>(owner);
        f->completions.push_back(r.status);
        f->operations.push_back(r.operation);
    }
    // Clone read as the commands chain it: info, then from its completion the read.
    static void InfoThenRead(void* owner, R& r) {
        auto* f = static_cast<ManagerFixture*>(owner);
        Done(owner, r);
        if (r.status == R::kOk && !f->man.IsBusy())
            f->man.StartRead(kCloneRanges, &Done, owner);
    }

    void Run() {
        for (int t = 0; man.IsBusy() && t < 200000; t += 10)
            StepDriverTick(man.Driver());
    }
};

}  // namespace

TEST_P(StatusTexts, ComposedFromHeadAndCheckLines) {
    ScopedCloneTexts texts;
    EXPECT_EQ(indCloneMan::StatusText(GetParam().status, 3, "", ""), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Table, StatusTexts,
    ::testing::Values(
        StatusTextCase{0, ""},
        // The port line is substituted safely: "%%" is one "%", "%s" and "%n"
        // stay as they are.
        StatusTextCase{2, "Port COM3 fails (100%) %s %n\n\nC0\nC1\nC2\nC3"},
        StatusTextCase{4, "H4 echo %s\n\nC0\nC1\nC2\nC3"},
        StatusTextCase{5, "H5\n\nC0\nC1\nC2\nC3"}, StatusTextCase{6, "H6\n\nC0\nC1\nC2\nC3"},
        StatusTextCase{7, "H7\n\nC0\nC1\nC2\nC3"}, StatusTextCase{8, "H8\n\nC0\nC1\nC2\nC3"},
        StatusTextCase{9, "H9\n\nC0\nC1\nC2\nC3"}, StatusTextCase{10, "H10\n\nC0\nC2\nC3"},
        StatusTextCase{11, "H11\n\nC0\nC1\nC2\nC3\nC4\nC5"},
        StatusTextCase{14, "H14\n\nC0\nC4\nC5"}, StatusTextCase{15, "H15\n\nC0\nC1\nC2\nC3"},
        StatusTextCase{16, "H16"}, StatusTextCase{17, "H17\n\nC0\nC1\nC2\nC3"}));

TEST(StatusTextPort, DevicePathAndReasonAreNamed) {
    ScopedCloneTexts texts;
    EXPECT_EQ(
        indCloneMan::StatusText(2, 0, "/dev/pts/4", "/dev/pts/4: permission denied."),
        "Port /dev/pts/4 fails (100%) %s %n\n\n/dev/pts/4: permission denied.\n\nC0\nC1\nC2\nC3");
}

TEST(StatusTextPort, ARefusedUserIsToldWhatToRunToJoinTheGroup) {
    ScopedCloneTexts texts;
    // Each line's first "%s" is the group, put in as it is ("%d" in the group stays too); the
    // rest of the resource text is never a format.
    EXPECT_EQ(indCloneMan::StatusText(2, 0, "/dev/ttyUSB0", "/dev/ttyUSB0: permission denied.",
                                      "dial%dout"),
              "Port /dev/ttyUSB0 fails (100%) %s %n\n\n/dev/ttyUSB0: permission denied.\n\nJoin "
              "dial%dout (%d %%s)\n  usermod -aG dial%dout $USER %s\n\nC0\nC1\nC2\nC3");
}

TEST(StatusTextPort, NoGroupNoAdvice) {
    ScopedCloneTexts texts;
    const std::string text = indCloneMan::StatusText(2, 3, "", "COM3: no such device.", "");
    EXPECT_EQ(text.find("usermod"), std::string::npos);
    EXPECT_NE(text.find("COM3: no such device."), std::string::npos);
}

TEST(ProgressCells, ThirtyThreeTimesTransferredOverTotal) {
    EXPECT_EQ(indCloneMan::ProgressCells(0, 11552), 0);
    EXPECT_EQ(indCloneMan::ProgressCells(5776, 11552), 16);
    EXPECT_EQ(indCloneMan::ProgressCells(11200, 11552), 31);
    EXPECT_EQ(indCloneMan::ProgressCells(11552, 11552), 32);
    EXPECT_EQ(indCloneMan::ProgressCells(10, 0), 0);
}

TEST_F(ManagerFixture, ReadChainSucceedsWithoutAMessage) {
    ASSERT_TRUE(man.StartInfo(&InfoThenRead, this));
    Run();
    EXPECT_EQ(completions, (std::vector<int>{R::kOk, R::kOk}));
    EXPECT_EQ(operations, (std::vector<int>{R::kInfo, R::kRead}));
    EXPECT_TRUE(host->Messages().empty());
    EXPECT_TRUE(identity.valid);
    EXPECT_EQ(progress.lastFilled, 32);
    EXPECT_EQ(man.TotalBytes(), MemoryMap::kCloneLength);
    // Info: window disabled, no progress window; read: progress shown; both end enabled.
    EXPECT_EQ(progress.calls, (std::vector<std::string>{"disable", "enable", "show Cloning",
                                                        "disable", "enable", "hide"}));
    EXPECT_EQ(h.wire->settings.baudRate, 9600);
}

TEST_F(ManagerFixture, FailedInfoShowsOneMessageAndNeverStartsTheRead) {
    h.answer = false;
    ASSERT_TRUE(man.StartInfo(&InfoThenRead, this));
    Run();
    EXPECT_EQ(completions, (std::vector<int>{R::kTimeout}));
    ASSERT_EQ(host->Messages().size(), 1u);
    EXPECT_EQ(host->Messages()[0].text, "H5\n\nC0\nC1\nC2\nC3");
    EXPECT_EQ(host->Messages()[0].caption, "Title");
    EXPECT_EQ(host->Messages()[0].icon, HostIcon::Error);
    EXPECT_EQ(h.programFrames, 1);  // the info request only
    EXPECT_EQ(progress.calls, (std::vector<std::string>{"disable", "enable"}));
}

TEST_F(ManagerFixture, PortFailureNamesPortAndReason) {
    h.wire->openFails = true;
    h.wire->openErrorText = "/dev/fake: the port is in use by another program.";
    man.SetPortDevice("");
    ASSERT_TRUE(man.StartInfo(&Done, this));
    Run();
    ASSERT_EQ(host->Messages().size(), 1u);
    EXPECT_EQ(host->Messages()[0].text,
              "Port COM3 fails (100%) %s %n\n\n/dev/fake: the port is in use by another "
              "program.\n\nC0\nC1\nC2\nC3");
}

TEST_F(ManagerFixture, WrongModelAndMapRevisionComeFromTheInfoHandler) {
    h.infoReply = RadioFrames::InfoReply(0x2428, 1, RadioFrames::StandardInfo());
    ASSERT_TRUE(man.StartInfo(&Done, this));
    Run();
    h.infoReply = RadioFrames::InfoReply(0x2429, 1, RadioFrames::StandardInfo(24, 6));
    ASSERT_TRUE(man.StartInfo(&Done, this));
    Run();
    EXPECT_EQ(completions, (std::vector<int>{R::kWrongModel, R::kMapRevision}));
    ASSERT_EQ(host->Messages().size(), 2u);
    EXPECT_EQ(host->Messages()[1].text, "H14\n\nC0\nC4\nC5");
}

TEST_F(ManagerFixture, WithoutHandlersInfoIs11AndReadIs8) {
    man.SetInfoHandler(nullptr, nullptr);
    man.SetReadHandler(nullptr, nullptr);
    ASSERT_TRUE(man.StartInfo(&Done, this));
    Run();
    ASSERT_TRUE(man.StartRead(kCloneRanges, &Done, this));
    Run();
    EXPECT_EQ(completions, (std::vector<int>{R::kWrongModel, R::kMissing}));
    EXPECT_EQ(host->Messages().size(), 2u);
}

TEST_F(ManagerFixture, StartWhileBusyIsRefusedSilently) {
    cmcEeprom image;
    image.SetSize(MemoryMap::kImageSize);
    ASSERT_TRUE(man.StartWrite(image, kCloneRanges, &Done, this));
    EXPECT_FALSE(man.StartRead(kCloneRanges, &Done, this));
    EXPECT_FALSE(man.StartInfo(&Done, this));
    Run();
    EXPECT_EQ(completions, (std::vector<int>{R::kOk}));
    EXPECT_TRUE(host->Messages().empty());
}

TEST_F(ManagerFixture, ModelCheckFailureOfAReadIs15) {
    h.radioImage.SetByte(MemoryMap::kMakerText, 'X');
    h.readReply = h.FullRead();
    ASSERT_TRUE(man.StartRead(kCloneRanges, &Done, this));
    Run();
    EXPECT_EQ(completions, (std::vector<int>{R::kModelCheck}));
    ASSERT_EQ(host->Messages().size(), 1u);
    EXPECT_EQ(host->Messages()[0].text, "H15\n\nC0\nC1\nC2\nC3");
}

TEST(StatusTextResource, EveryStatusHasItsOwnTextInTheResourceFile) {
    cmcGTex gtex;
    ASSERT_TRUE(gtex.SetFile(ResourcePath("PQT590.OVL")));
    const ScopedMainDictionary main(&gtex);
    for (int s : {2, 4, 5, 6, 7, 8, 9, 10, 11, 14, 15, 16, 17}) {
        const std::string text = indCloneMan::StatusText(s, 3, "", "");
        EXPECT_FALSE(text.empty()) << s;
        EXPECT_NE(text[0], '#') << s;  // a line of the section, not the next header
        if (s != 16) {
            EXPECT_NE(text.find("\n\n"), std::string::npos) << s;
        }
    }
    const std::string port = indCloneMan::StatusText(2, 3, "", "");
    EXPECT_NE(port.find("COM3"), std::string::npos) << port;
    EXPECT_EQ(port.find('%'), std::string::npos) << port;
}

TEST(StatusTextEmpty, NoTextWhenHeadAndLinesAreEmpty) {
    static const char* const kLines[] = {
        "#GI_Mess_CloneErr_Head",  "", "", "", "", "", "", "#",
        "#GI_Mess_CloneErr_Check", "", "", "", "", "", "", "#End_Of_Ovl"};
    cmcGTex gtex;
    gtex.SetLines(kLines, sizeof kLines / sizeof kLines[0]);
    const ScopedMainDictionary main(&gtex);
    EXPECT_EQ(indCloneMan::StatusText(5, 1, "", ""), "");
}
