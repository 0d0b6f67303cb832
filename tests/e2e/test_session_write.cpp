// The session's write with its reads against t590-sim: the preview read that is also the
// backup, the question after it, a failed preview read, and the read back after the write that
// proves what the radio holds (or names what differs, and what the radio keeps by design).
#ifndef _WIN32

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>
#include <cstring>
#include <string>

#include "SimProcess.h"
#include "TestPaths.h"
#include "cmcTestHost.h"
#include "memory/MemoryMap.h"
#include "memory/cmcCloneFile.h"
#include "profile/FileCommands.h"
#include "session/indSession.h"
#include "text/cmcTextUtil.h"

namespace MM = MemoryMap;

namespace {

// A message's "%s" replaced by a value, as the session fills it.
std::string WithPlaceholder(std::string format, const std::string& value) {
    const std::size_t at = format.find("%s");
    return at == std::string::npos ? format : format.replace(at, 2, value);
}

// Views that answer the write preview and the cell comparison as the desktop program's do,
// recording what they were shown.
class PreviewViews : public cuiViews {
public:
    int ConfirmWritePreview(const cmcEeprom& radio, const cmcEeprom& next) override {
        ++previews;
        radioComment = cmcCloneFile::ImageComment(radio);
        nextComment = cmcCloneFile::ImageComment(next);
        return answer;
    }
    std::vector<std::string> DifferingCells(const cmcEeprom& a, const cmcEeprom& b, int limit,
                                            int* count) override {
        // One line per differing byte, enough to see that the session asks with the written
        // image first and the radio's second.
        std::vector<std::string> lines;
        int n = 0;
        for (int i = MM::kCloneFirst; i <= MM::kCloneLast; ++i) {
            if (a.GetByte(i) == b.GetByte(i))
                continue;
            if (n++ < limit)
                lines.push_back("byte " + std::to_string(i) + ": " + std::to_string(a.GetByte(i)) +
                                " -> " + std::to_string(b.GetByte(i)));
        }
        *count = n;
        return lines;
    }

    int answer = kPreviewWrite;
    int previews = 0;
    std::string radioComment;
    std::string nextComment;
};

class SessionWrite : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        session.SetResourceDir(ResourcePath(""));
        session.LoadTemplate();
        session.SetViews(&views);
        session.SetCloneListener(&SessionWrite::OnEnded, this);
    }
    void TearDown() override {
        session.SetCloneListener(nullptr, nullptr);
        session.SetViews(nullptr);
    }

    std::string Path(const std::string& name) const {
        return dir.filePath(QString::fromStdString(name)).toStdString();
    }
    // The default image with a comment of its own and, when given, an own identity (five bytes
    // of two digits each), as a file.
    std::string ImageFile(const char* comment, const std::string& name,
                          const uint8_t* identity = nullptr) {
        cmcEeprom radio;
        EXPECT_EQ(FileCommands::OpenCloneFile(ResourcePath("PQT590_Default.t590"), radio), 0);
        uint8_t text[MM::kCommentLength];
        std::memset(text, ' ', sizeof text);
        std::memcpy(text, comment, std::strlen(comment));
        radio.WriteBlock(MM::kComment, text, MM::kCommentLength);
        if (identity != nullptr) {
            radio.WriteBlock(MM::kOwnIdentity, identity, 5);
            unsigned sum = 0;
            for (int i = 0; i < 5; ++i)
                sum += identity[i];
            radio.SetByte(MM::kOwnIdentityCheck, uint8_t(~sum));
            radio.SetByte(MM::kOwnIdentityTail, 0);
        }
        const std::string path = Path(name);
        EXPECT_EQ(FileCommands::SaveCloneFile(path, radio), 0);
        return path;
    }
    void Connect(SimProcess& sim) {
        ASSERT_FALSE(sim.Device().empty()) << sim.Errors();
        session.SetPortDevice(sim.Device());
    }
    void RunUntilEnded() {
        ASSERT_TRUE(session.CloneBusy()) << "no transfer was started";
        ASSERT_TRUE(RunWhile([this] { return !ended; })) << "the clone chain never ended";
        ended = false;
    }
    std::string RadioCommentAfter(SimProcess& sim) {
        sim.Stop();
        cmcEeprom after;
        EXPECT_EQ(FileCommands::OpenCloneFile(Path("after.t590"), after), 0);
        return cmcCloneFile::ImageComment(after);
    }
    QStringList Sim(const std::string& radioFile, QStringList more = {}) {
        QStringList args = {"--image", QString::fromStdString(radioFile), "--save",
                            QString::fromStdString(Path("after.t590"))};
        args += more;
        return args;
    }
    static void OnEnded(void* self, const dst_CDrv_Result&) {
        static_cast<SessionWrite*>(self)->ended = true;
    }
    std::string Text(const char* key) { return session.Dictionary().Text(key); }
    std::string Line(const char* key, int n) { return session.Dictionary().Line(key, n); }

    ScopedTestHost host;
    QTemporaryDir dir;
    PreviewViews views;
    indSession session;
    bool ended = false;
};

TEST_F(SessionWrite, ThePreviewShowsTheRadioAndTheDataAndWritesOnlyWhenAgreed) {
    SimProcess sim(Sim(ImageFile("IN RADIO", "radio.t590")));
    Connect(sim);
    ASSERT_EQ(session.OpenFile(ImageFile("FROM FILE", "file.t590")), 0);
    indSession::WriteOptions options;
    options.preview = true;
    ASSERT_EQ(session.StartCheckedWrite(options), indSession::CloneStart::Started);
    EXPECT_TRUE(host->Messages().empty()) << "no question before the radio was read";
    RunUntilEnded();
    EXPECT_EQ(views.previews, 1);
    EXPECT_EQ(views.radioComment, "IN RADIO");
    EXPECT_EQ(views.nextComment, "FROM FILE");
    EXPECT_EQ(session.LastClone().operation, dst_CDrv_Result::kWrite);
    EXPECT_EQ(session.LastClone().status, dst_CDrv_Result::kOk);
    EXPECT_EQ(session.LastWriteCheck().outcome, indSession::WriteCheck::Outcome::NotRun);
    EXPECT_EQ(RadioCommentAfter(sim), "FROM FILE");
}

TEST_F(SessionWrite, APreviewCancelledLeavesTheRadioAsItWas) {
    SimProcess sim(Sim(ImageFile("IN RADIO", "radio.t590")));
    Connect(sim);
    ASSERT_EQ(session.OpenFile(ImageFile("FROM FILE", "file.t590")), 0);
    views.answer = cuiViews::kPreviewCancel;
    indSession::WriteOptions options;
    options.preview = true;
    ASSERT_EQ(session.StartCheckedWrite(options), indSession::CloneStart::Started);
    RunUntilEnded();
    EXPECT_EQ(views.previews, 1);
    EXPECT_EQ(session.LastClone().operation, dst_CDrv_Result::kRead);
    EXPECT_EQ(RadioCommentAfter(sim), "IN RADIO");
}

// Without views that show the comparison, the session asks its own question, after the read.
TEST_F(SessionWrite, ThePlainQuestionAfterThePreviewReadSaysTheRadioWasOnlyRead) {
    session.SetViews(nullptr);
    SimProcess sim(Sim(ImageFile("SAME", "radio.t590")));
    Connect(sim);
    ASSERT_EQ(session.OpenFile(Path("radio.t590")), 0);
    host->QueueAnswer(HostAnswer::Cancel);
    indSession::WriteOptions options;
    options.preview = true;
    ASSERT_EQ(session.StartCheckedWrite(options), indSession::CloneStart::Started);
    RunUntilEnded();
    ASSERT_EQ(host->Messages().size(), 1u);
    const std::string& question = host->Messages()[0].text;
    EXPECT_EQ(host->Messages()[0].buttons, HostButtons::OkCancel);
    EXPECT_EQ(question.rfind(Text("GI_Mess_Preview_Same"), 0), 0u) << question;
    EXPECT_NE(question.find(Line("GI_Mess_Confirm_PreviewWrite", 0)), std::string::npos);
    EXPECT_EQ(session.PreviewDifferingBytes(), 0);
    EXPECT_EQ(RadioCommentAfter(sim), "SAME");
}

// A preview read that fails has written nothing, says so, and offers the write without one.
struct FailedPreview {
    const char* name;
    HostAnswer answer;
    const char* commentAfter;
};

class SessionWriteFailedPreview : public SessionWrite,
                                  public ::testing::WithParamInterface<FailedPreview> {};

TEST_P(SessionWriteFailedPreview, IsToldAndTheWriteOfferedWithoutAPreview) {
    // A read that ends short of its last frame: the line is quiet afterwards, so that the write
    // that follows meets a clean link.
    SimProcess sim(Sim(ImageFile("IN RADIO", "radio.t590"), {"--fault", "missing-frame"}));
    Connect(sim);
    ASSERT_EQ(session.OpenFile(ImageFile("FROM FILE", "file.t590")), 0);
    host->QueueAnswer(HostAnswer::Ok);  // the read's failure
    host->QueueAnswer(GetParam().answer);
    indSession::WriteOptions options;
    options.preview = true;
    ASSERT_EQ(session.StartCheckedWrite(options), indSession::CloneStart::Started);
    RunUntilEnded();
    ASSERT_GE(host->Messages().size(), 2u);
    const std::string& failure = host->Messages()[0].text;
    EXPECT_NE(failure.find(Text("GI_Mess_CloneErr_NothingWritten")), std::string::npos) << failure;
    EXPECT_EQ(failure.find("partly written"), std::string::npos) << failure;
    EXPECT_EQ(host->Messages()[1].text,
              ReadTextBlock(session.Dictionary(), "GI_Mess_Confirm_WriteWithoutPreview"));
    EXPECT_EQ(views.previews, 0);
    EXPECT_EQ(RadioCommentAfter(sim), GetParam().commentAfter);
}

INSTANTIATE_TEST_SUITE_P(
    Answers, SessionWriteFailedPreview,
    ::testing::Values(FailedPreview{"Cancelled", HostAnswer::Cancel, "IN RADIO"},
                      FailedPreview{"WrittenAnyway", HostAnswer::Ok, "FROM FILE"}),
    [](const ::testing::TestParamInfo<FailedPreview>& i) { return std::string(i.param.name); });

TEST_F(SessionWrite, AFailedBackupReadWritesNothingAndOffersNoWrite) {
    SimProcess sim(Sim(ImageFile("IN RADIO", "radio.t590"), {"--fault", "bad-checksum=3"}));
    Connect(sim);
    ASSERT_EQ(session.OpenFile(ImageFile("FROM FILE", "file.t590")), 0);
    ASSERT_EQ(session.StartBackupAndWrite(Path("backup.t590")), indSession::CloneStart::Started);
    RunUntilEnded();
    ASSERT_EQ(host->Messages().size(), 1u) << "the failure only: no question";
    EXPECT_NE(host->Messages()[0].text.find(Text("GI_Mess_CloneErr_NothingWritten")),
              std::string::npos);
    EXPECT_EQ(session.LastBackupResult(), indSession::kNoBackup);
    EXPECT_EQ(RadioCommentAfter(sim), "IN RADIO");
}

TEST_F(SessionWrite, ThePreviewReadIsTheBackup) {
    SimProcess sim(Sim(ImageFile("IN RADIO", "radio.t590")));
    Connect(sim);
    ASSERT_EQ(session.OpenFile(ImageFile("FROM FILE", "file.t590")), 0);
    indSession::WriteOptions options;
    options.preview = true;
    options.backupPath = Path("backup.t590");
    ASSERT_EQ(session.StartCheckedWrite(options), indSession::CloneStart::Started);
    RunUntilEnded();
    EXPECT_EQ(views.previews, 1);
    EXPECT_EQ(session.LastBackupResult(), 0);
    cmcEeprom backup;
    ASSERT_EQ(FileCommands::OpenCloneFile(Path("backup.t590"), backup), 0);
    EXPECT_EQ(cmcCloneFile::ImageComment(backup), "IN RADIO");
    ASSERT_FALSE(host->Messages().empty());
    EXPECT_NE(host->Messages().back().text.find(Path("backup.t590")), std::string::npos);
    EXPECT_EQ(RadioCommentAfter(sim), "FROM FILE");
}

TEST_F(SessionWrite, TheReadBackOfAGoodWriteSaysTheRadioHoldsWhatWasWritten) {
    SimProcess sim(Sim(ImageFile("IN RADIO", "radio.t590")));
    Connect(sim);
    ASSERT_EQ(session.OpenFile(ImageFile("FROM FILE", "file.t590")), 0);
    indSession::WriteOptions options;
    options.verify = true;
    ASSERT_EQ(session.StartCheckedWrite(options), indSession::CloneStart::Started);
    RunUntilEnded();
    const indSession::WriteCheck& check = session.LastWriteCheck();
    EXPECT_EQ(check.outcome, indSession::WriteCheck::Outcome::Matched);
    EXPECT_EQ(check.differingBytes, 0);
    EXPECT_FALSE(check.identityKept);
    EXPECT_EQ(session.LastClone().operation, dst_CDrv_Result::kWrite);
    EXPECT_EQ(session.LastClone().status, dst_CDrv_Result::kOk);
    ASSERT_FALSE(host->Messages().empty());
    const cmcTestHost::Message& report = host->Messages().back();
    EXPECT_EQ(report.icon, HostIcon::Information);
    EXPECT_NE(report.text.find(Line("GI_Mess_CloneWrite_Succeeded", 0)), std::string::npos);
    EXPECT_NE(report.text.find(Text("GI_Mess_WriteCheck_Matched")), std::string::npos);
}

TEST_F(SessionWrite, AByteTheRadioDidNotTakeIsAFailureNamingTheFirstDifferenceAndTheBackup) {
    // The radio keeps the comment's first byte: "IN RADIO" stays "I...".
    SimProcess sim(Sim(ImageFile("IN RADIO", "radio.t590"), {"--fault", "stuck-byte=27B"}));
    Connect(sim);
    ASSERT_EQ(session.OpenFile(ImageFile("FROM FILE", "file.t590")), 0);
    indSession::WriteOptions options;
    options.verify = true;
    options.backupPath = Path("backup.t590");
    ASSERT_EQ(session.StartCheckedWrite(options), indSession::CloneStart::Started);
    RunUntilEnded();
    const indSession::WriteCheck& check = session.LastWriteCheck();
    EXPECT_EQ(check.outcome, indSession::WriteCheck::Outcome::Differs);
    EXPECT_EQ(check.differingBytes, 1);
    EXPECT_EQ(check.firstDifference, MM::kComment);
    ASSERT_EQ(check.cells.size(), 1u);
    EXPECT_EQ(check.cells[0], "byte " + std::to_string(MM::kComment) + ": " +
                                  std::to_string(int('F')) + " -> " + std::to_string(int('I')));
    const cmcTestHost::Message& report = host->Messages().back();
    EXPECT_EQ(report.icon, HostIcon::Error);
    EXPECT_NE(report.text.find(WithPlaceholder(Line("GI_Mess_WriteCheck_Differs", 0), "1")),
              std::string::npos)
        << report.text;
    EXPECT_NE(report.text.find(check.cells[0]), std::string::npos) << report.text;
    EXPECT_NE(report.text.find(Line("GI_Mess_WriteCheck_Differs", 3)), std::string::npos);
    EXPECT_NE(report.text.find(Path("backup.t590")), std::string::npos) << report.text;
}

TEST_F(SessionWrite, AnIdentityTheRadioKeepsIsNamedAsKeptNotAsADifference) {
    const uint8_t inRadio[5] = {21, 13, 45, 67, 80};
    const uint8_t inFile[5] = {23, 10, 0, 0, 10};
    SimProcess sim(Sim(ImageFile("IN RADIO", "radio.t590", inRadio), {"--fault", "keep-identity"}));
    Connect(sim);
    ASSERT_EQ(session.OpenFile(ImageFile("FROM FILE", "file.t590", inFile)), 0);
    indSession::WriteOptions options;
    options.verify = true;
    options.preview = true;
    ASSERT_EQ(session.StartCheckedWrite(options), indSession::CloneStart::Started);
    RunUntilEnded();
    const indSession::WriteCheck& check = session.LastWriteCheck();
    EXPECT_EQ(check.outcome, indSession::WriteCheck::Outcome::Matched);
    EXPECT_TRUE(check.identityKept);
    const cmcTestHost::Message& report = host->Messages().back();
    EXPECT_EQ(report.icon, HostIcon::Information);
    EXPECT_NE(report.text.find(Text("GI_Mess_WriteCheck_IdentityKept")), std::string::npos);
    EXPECT_EQ(RadioCommentAfter(sim), "FROM FILE");
}

}  // namespace

#endif  // _WIN32
