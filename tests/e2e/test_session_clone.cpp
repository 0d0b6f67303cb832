// The session's clone commands against t590-sim over a pseudo-terminal: what a read makes of the
// document, what a write leaves of it, and the identification's verdicts.
#ifndef _WIN32

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <cstring>
#include <string>

#include "CloneFileSupport.h"
#include "SimProcess.h"
#include "TestPaths.h"
#include "cmcTestHost.h"
#include "cuiRecordingViews.h"
#include "memory/MemoryMap.h"
#include "memory/cmcCloneFile.h"
#include "memory/datCh.h"
#include "profile/FileCommands.h"
#include "session/indSession.h"
#include "text/cmcGTex.h"

using R = dst_CDrv_Result;

namespace {

class SessionClone : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        session.SetViews(&views);
        session.SetResourceDir(ResourcePath(""));
        session.LoadTemplate();
        session.SetCloneListener(&SessionClone::OnEnded, this);
        host->Clear();
    }

    static void OnEnded(void* self, const R&) { static_cast<SessionClone*>(self)->ended = true; }
    // Runs the clone chain a command started until it ends.
    void Finish(indSession::CloneStart start) {
        ASSERT_EQ(start, indSession::CloneStart::Started);
        ASSERT_TRUE(RunWhile([this] { return !ended; }));
    }
    std::string Path(const std::string& name) const {
        return dir.filePath(QString::fromStdString(name)).toStdString();
    }
    // The default image with a comment, saved as a file.
    std::string RadioFile(const std::string& comment, cmcEeprom* image = nullptr) {
        cmcEeprom radio;
        radio.CopyFrom(session.TemplateImage());
        SetImageComment(radio, comment);
        if (image != nullptr)
            image->CopyFrom(radio);
        return SaveImageFile(Path(comment + ".t590"), radio);
    }
    int Questions() {
        int n = 0;
        for (const cmcTestHost::Message& m : host->Messages())
            n += m.buttons != HostButtons::Ok;
        return n;
    }

    ScopedTestHost host;
    cuiRecordingViews views;
    indSession session;
    QTemporaryDir dir;
    bool ended = false;
};

TEST_F(SessionClone, ReadMakesTheRadiosImageAnUntitledModifiedDocumentWithoutAsking) {
    ASSERT_EQ(session.OpenFile(RadioFile("FILE")), 0);
    SimProcess sim({"--image", QString::fromStdString(RadioFile("RADIO"))});
    ASSERT_FALSE(sim.Device().empty());
    session.SetPortDevice(sim.Device());
    const int closed = views.sheetsClosed;
    Finish(session.StartCloneRead());

    EXPECT_EQ(session.LastClone().status, R::kOk) << sim.Errors();
    EXPECT_EQ(Questions(), 0);  // nothing unsaved: nothing asked
    EXPECT_EQ(cmcCloneFile::ImageComment(session.WorkingImage()), "RADIO");
    EXPECT_TRUE(session.IsUntitled());
    EXPECT_TRUE(session.IsModified());
    EXPECT_EQ(views.Title(), "Untitled - PQ-T590");
    EXPECT_GT(views.sheetsClosed, closed);
    // Closing (or anything that discards) now asks about saving.
    host->QueueAnswer(HostAnswer::Cancel);
    EXPECT_EQ(session.ConfirmDiscard(false), indSession::kAnswerCancel);
    EXPECT_EQ(Questions(), 1);
}

TEST_F(SessionClone, AWriteOfDataWithErrorsIsRefusedAndNeverOpensThePort) {
    datCh ch(session.WorkingImage());
    ch.Load(datCh::kUserCh, 1);
    ch.flags = datCh::kUsed;
    ch.rxFreq = 40000000;  // above every receive edge
    ch.Save();
    session.SetPortDevice("/dev/ttyNoSuchPort42");
    EXPECT_EQ(session.StartCloneWrite(), indSession::CloneStart::DataErrors);
    EXPECT_FALSE(session.CloneBusy());
    ASSERT_EQ(host->Messages().size(), 1u);
    EXPECT_EQ(host->Messages()[0].icon, HostIcon::Error);
    EXPECT_EQ(host->Messages()[0].text.rfind(cmcGTex::Main()->Line("GI_Mess_DataError", 0), 0), 0u);
    EXPECT_EQ(views.markedErrors, std::vector<std::string>{"GI_Sheet_UserCh"});
}

TEST_F(SessionClone, AWriteOfAnUnsavedChangeFreeImageLeavesItUnmodified) {
    cmcEeprom file;
    ASSERT_EQ(session.OpenFile(RadioFile("FILE", &file)), 0);
    ASSERT_FALSE(session.IsModified());
    const std::string saved = Path("radio-after.t590");
    SimProcess sim({"--image", QString::fromStdString(RadioFile("RADIO")), "--save",
                    QString::fromStdString(saved)});
    ASSERT_FALSE(sim.Device().empty());
    session.SetPortDevice(sim.Device());
    Finish(session.StartCloneWrite());

    EXPECT_EQ(session.LastClone().status, R::kOk) << sim.Errors();
    ASSERT_EQ(host->Messages().size(), 2u);
    EXPECT_EQ(host->Messages()[0].buttons, HostButtons::OkCancel);  // the confirmation
    EXPECT_EQ(host->Messages()[1].icon, HostIcon::Information);     // the success
    EXPECT_FALSE(session.IsModified());
    sim.Stop();
    cmcEeprom radio;
    ASSERT_EQ(FileCommands::OpenCloneFile(saved, radio), 0);
    EXPECT_EQ(cmcCloneFile::ImageComment(radio), "FILE");
}

TEST_F(SessionClone, ACancelledConfirmationWritesNothing) {
    SimProcess sim({});
    ASSERT_FALSE(sim.Device().empty());
    session.SetPortDevice(sim.Device());
    host->QueueAnswer(HostAnswer::Cancel);
    EXPECT_EQ(session.StartCloneWrite(), indSession::CloneStart::Cancelled);
    EXPECT_FALSE(session.CloneBusy());
}

struct IdentityCase {
    const char* name;
    const char* fault;
    int status;
};

class SessionIdentity : public SessionClone, public ::testing::WithParamInterface<IdentityCase> {};

TEST_P(SessionIdentity, TheIdentificationJudgesTheRadio) {
    const IdentityCase& c = GetParam();
    QStringList args;
    if (*c.fault)
        args << "--fault" << c.fault;
    SimProcess sim(args);
    ASSERT_FALSE(sim.Device().empty());
    session.SetPortDevice(sim.Device());
    cmcEeprom before;
    before.CopyFrom(session.WorkingImage());
    Finish(session.StartCloneInfo());

    EXPECT_EQ(session.LastClone().status, c.status) << sim.Errors();
    EXPECT_EQ(views.informationShown, c.status == R::kOk ? 1 : 0);
    EXPECT_EQ(host->Messages().size(), c.status == R::kOk ? 0u : 1u);
    EXPECT_TRUE(session.WorkingImage().IsEqual(before));
    if (c.status == R::kOk) {
        EXPECT_EQ(session.CloneInfo()[2], 7);  // the map revision, for the information sheet
        EXPECT_EQ(session.RadioIdentity().modelCode, 0x2429);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Radios, SessionIdentity,
    ::testing::Values(IdentityCase{"ThisModel", "", R::kOk},
                      IdentityCase{"MapRevision6", "map-revision=6", R::kMapRevision},
                      IdentityCase{"Model2428", "wrong-model", R::kWrongModel}),
    [](const ::testing::TestParamInfo<IdentityCase>& i) { return std::string(i.param.name); });

TEST_F(SessionClone, TheComPortSettingIsReadAtEveryStart) {
    // No device override: COM 42 means /dev/ttyUSB41 (or the device stored for it), which is
    // not there; the message names the port the setting holds now.
    session.SetComPortSetting(42);
    Finish(session.StartCloneInfo());
    EXPECT_EQ(session.LastClone().status, R::kPortFailed);
    ASSERT_EQ(host->Messages().size(), 1u);
    EXPECT_NE(host->Messages()[0].text.find("42"), std::string::npos) << host->Messages()[0].text;
}

}  // namespace

#endif  // _WIN32
