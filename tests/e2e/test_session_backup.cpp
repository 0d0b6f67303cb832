// The session's clone commands against t590-sim, as the desktop program calls them: the write
// with a backup into the backup directory when the setting is on, and the clone read that
// starts a fresh undo history.
#ifndef _WIN32

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>
#include <cstring>
#include <string>

#include "CloneFileSupport.h"
#include "SimProcess.h"
#include "TestPaths.h"
#include "cells/cmcCellCapsule.h"
#include "cells/cmcCellObj.h"
#include "cells/indActiveCell.h"
#include "cmcTestHost.h"
#include "memory/MemoryMap.h"
#include "profile/FileCommands.h"
#include "session/indSession.h"

namespace {

bool SameCloneRange(const cmcEeprom& a, const cmcEeprom& b) {
    return a.GetSize() == b.GetSize() &&
           std::memcmp(a.Bytes() + MemoryMap::kCloneFirst, b.Bytes() + MemoryMap::kCloneFirst,
                       MemoryMap::kCloneLength) == 0;
}

class SessionBackup : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        session.SetResourceDir(ResourcePath(""));
        session.LoadTemplate();
        session.SetCloneListener(&SessionBackup::OnEnded, this);
    }
    void TearDown() override { session.SetCloneListener(nullptr, nullptr); }

    std::string Path(const std::string& name) const {
        return dir.filePath(QString::fromStdString(name)).toStdString();
    }
    // The default image with a comment of its own, as a file.
    std::string ImageFile(const char* comment, const std::string& name = "radio.t590") {
        cmcEeprom radio;
        DefaultImage(radio, comment);
        return SaveImageFile(Path(name), radio);
    }
    // The first comment byte changed through the memory window's cell, as the bit editor does.
    void EditCommentByte(uint8_t value) {
        static int grid = 0;
        cmcCellObj cell;
        cell.category = CT_Null;
        cell.label = CL_EeDebugWin_0 + MemoryMap::kComment % 16;
        cell.argument = MemoryMap::kComment / 16;
        cmcCellCapsule c;
        c.cell = &cell;
        c.grid = &grid;
        c.inputKind = kInputChoice;
        c.inputText = std::to_string(uint32_t(value) << cmcCellCapsule::kBitEditorShift);
        const cuiMainCore core = session.Core();
        indActiveCell(core).Evaluate(c, true);
    }
    void RunUntilEnded() {
        ASSERT_TRUE(session.CloneBusy()) << "no transfer was started";
        ASSERT_TRUE(RunWhile([this] { return !ended; })) << "the clone chain never ended";
        ended = false;
    }
    static void OnEnded(void* self, const dst_CDrv_Result&) {
        static_cast<SessionBackup*>(self)->ended = true;
    }

    ScopedTestHost host;
    QTemporaryDir dir;
    indSession session;
    bool ended = false;
};

TEST_F(SessionBackup, TheMenusWriteSavesTheRadioIntoTheBackupDirectoryFirst) {
    SimProcess sim({"--image", QString::fromStdString(ImageFile("RADIO BEFORE")), "--save",
                    QString::fromStdString(Path("radio-after.t590"))});
    ASSERT_FALSE(sim.Device().empty());
    session.SetPortDevice(sim.Device());
    const std::string backups = Path("data/Backups");
    session.SetBackupDirectory(backups);
    ASSERT_TRUE(session.BackupBeforeWriteSetting()) << "on by default";
    ASSERT_EQ(session.OpenFile(ImageFile("WRITTEN", "file.t590")), 0);
    EditCommentByte('V');
    cmcEeprom before;
    before.CopyFrom(session.WorkingImage());

    session.CloneWrite();
    RunUntilEnded();
    EXPECT_EQ(session.LastClone().operation, dst_CDrv_Result::kWrite);
    EXPECT_EQ(session.LastClone().status, dst_CDrv_Result::kOk);
    const QStringList made = QDir(QString::fromStdString(backups)).entryList(QDir::Files);
    ASSERT_EQ(made.size(), 1) << "one backup in the directory it made";
    EXPECT_TRUE(made[0].startsWith("T590 backup ")) << made[0].toStdString();
    EXPECT_EQ(session.LastBackupResult(), 0);
    EXPECT_EQ(session.LastBackupPath(),
              QDir(QString::fromStdString(backups)).filePath(made[0]).toStdString());
    cmcEeprom backup, radio;
    ASSERT_EQ(FileCommands::OpenCloneFile(session.LastBackupPath(), backup), 0);
    ASSERT_EQ(FileCommands::OpenCloneFile(Path("radio.t590"), radio), 0);
    EXPECT_TRUE(SameCloneRange(backup, radio));
    EXPECT_TRUE(SameCloneRange(session.WorkingImage(), before)) << "the read left it alone";
    EXPECT_TRUE(session.CanUndo()) << "and its history";
    ASSERT_FALSE(host->Messages().empty());
    EXPECT_NE(host->Messages().back().text.find(session.LastBackupPath()), std::string::npos)
        << host->Messages().back().text;
    sim.Stop();
    cmcEeprom after;
    ASSERT_EQ(FileCommands::OpenCloneFile(Path("radio-after.t590"), after), 0);
    EXPECT_TRUE(SameCloneRange(after, session.WorkingImage()));
}

TEST_F(SessionBackup, WithTheSettingOffTheMenusWriteMakesNoBackup) {
    SimProcess sim({"--image", QString::fromStdString(ImageFile("RADIO"))});
    ASSERT_FALSE(sim.Device().empty());
    session.SetPortDevice(sim.Device());
    session.SetBackupDirectory(Path("Backups"));
    session.SetBackupBeforeWriteSetting(false);
    session.CloneWrite();
    RunUntilEnded();
    EXPECT_EQ(session.LastClone().operation, dst_CDrv_Result::kWrite);
    EXPECT_EQ(session.LastClone().status, dst_CDrv_Result::kOk);
    EXPECT_FALSE(QDir(QString::fromStdString(Path("Backups"))).exists());
    EXPECT_EQ(session.LastBackupResult(), indSession::kNoBackup);
}

TEST_F(SessionBackup, CloneReadStartsAFreshHistoryAndTheRecoveryFollowsTheReadImage) {
    SimProcess sim({"--image", QString::fromStdString(ImageFile("READ ME"))});
    ASSERT_FALSE(sim.Device().empty());
    session.SetPortDevice(sim.Device());
    ASSERT_TRUE(session.EnableRecovery(Path("data")));
    EditCommentByte('V');
    ASSERT_TRUE(session.CanUndo());
    host->QueueAnswer(HostAnswer::No);  // the edit is discarded for what the radio holds
    ASSERT_EQ(session.StartCloneRead(), indSession::CloneStart::Started);
    RunUntilEnded();
    ASSERT_EQ(session.LastClone().status, dst_CDrv_Result::kOk);
    EXPECT_FALSE(session.CanUndo());
    EXPECT_FALSE(session.CanRedo());
    EXPECT_TRUE(session.IsModified());
    EXPECT_TRUE(session.IsUntitled());
    EXPECT_TRUE(session.RecoveryWritePending()) << "a read image is unsaved too";
}

}  // namespace

#endif  // _WIN32
