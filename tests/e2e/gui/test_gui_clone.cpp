// The desktop program's clone commands from its window against t590-sim on a pseudo-terminal:
// a read replaces the image (untitled, modified), a write goes to the radio or is refused with
// the data's errors, the window stays disabled and cannot be closed while the transfer runs.
#ifndef _WIN32

#include <gtest/gtest.h>

#include <QFile>

#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <future>

#include "MainWindowFixture.h"
#include "SimProcess.h"
#include "app/cuiInstanceChannel.h"
#include "app/cuiTransferProgress.h"
#include "app/cuiWritePreview.h"
#include "cells/cmcCellNames.h"
#include "memory/datCh.h"
#include "text/cmcGTex.h"
#include "text/cmcTextFormat.h"

namespace {

class GuiClone : public MainWindowTest {
protected:
    void SetUp() override { Start(); }
    // Points the session at the emulator's device.
    void Connect(SimProcess& sim) {
        ASSERT_FALSE(sim.Device().empty()) << sim.Errors();
        main_->Session().SetPortDevice(sim.Device());
    }
    // Runs the event loop until the transfer a command started has ended, noting what the
    // window and the progress window showed meanwhile.
    void Finish() {
        ASSERT_TRUE(main_->Session().CloneBusy());
        ASSERT_TRUE(RunWhile([this] {
            if (main_->Session().CloneBusy()) {
                disabledThroughout = disabledThroughout && !form_->isEnabled();
                if (QWidget* w = main_->Progress()->Window()) {
                    progressShown = progressShown || w->isVisible();
                    activity = main_->Progress()->StatusText().toStdString();
                }
            }
            return main_->Session().CloneBusy();
        }));
        QCoreApplication::processEvents();
    }
    std::string RadioFile(const std::string& comment) {
        return MakeFile(comment + ".t590", comment);
    }
    // Answers the write preview once it shows, as the technician does: a click on Write (or
    // Cancel), noting what it showed. It shows inside the transfer's end, in its own loop, so
    // the answer waits for it there.
    void AnswerPreview(bool write) {
        auto* poll = new QTimer(form_.get());
        poll->setInterval(10);
        QObject::connect(poll, &QTimer::timeout, poll, [this, poll, write] {
            auto* preview = qobject_cast<cuiWritePreview*>(QApplication::activeModalWidget());
            if (preview == nullptr || !preview->isVisible())
                return;
            poll->stop();
            previewSummary = preview->Summary()->text().toStdString();
            previewLines = preview->List()->topLevelItemCount();
            if (previewLines > 0)
                previewFirst = preview->List()->topLevelItem(0)->text(0).toStdString();
            QTest::mouseClick(write ? preview->WriteButton() : preview->CancelButton(),
                              Qt::LeftButton);
            poll->deleteLater();
        });
        poll->start();
    }

    bool disabledThroughout = true;
    bool progressShown = false;
    std::string activity;
    std::string previewSummary;
    int previewLines = -1;
    std::string previewFirst;
};

TEST_F(GuiClone, ReadFromTheMenuReplacesTheImageWithTheRadiosAsAnUntitledChange) {
    ASSERT_EQ(main_->OpenFile(RadioFile("FILE")), 0);
    SelectNode("User channels");
    ASSERT_NE(main_->Sheet(), nullptr);
    SimProcess sim({"--image", QString::fromStdString(RadioFile("RADIO"))});
    Connect(sim);
    main_->Tree()->View()->setFocus();
    Choose(CL_Menu_Clone_Read);
    Finish();

    EXPECT_EQ(main_->Session().LastClone().status, dst_CDrv_Result::kOk) << sim.Errors();
    EXPECT_TRUE(disabledThroughout);
    EXPECT_TRUE(main_->Tree()->View()->hasFocus());  // the keyboard stays in the tree
    EXPECT_TRUE(progressShown);
    EXPECT_EQ(activity.substr(0, activity.find('\n')), "Reading from COM1 (" + sim.Device() + ")");
    EXPECT_TRUE(form_->isEnabled());
    EXPECT_EQ(main_->Progress()->Window(), nullptr);
    EXPECT_EQ(WorkingComment(), "RADIO");
    EXPECT_EQ(Title(), "Untitled* - PQ-T590");  // read, not yet saved
    EXPECT_TRUE(main_->Session().IsModified());
    EXPECT_EQ(Questions(), 0);  // nothing was unsaved
    // The sheet is rebuilt on the new image by the periodic task (which may already have run
    // while the transfer ended: the timer keeps its own time).
    if (main_->Sheet() == nullptr)
        main_->RunPeriodicTask();
    EXPECT_EQ(OpenSheetBase(), "GI_Sheet_UserCh");
    // Placing the rebuilt sheet's cursor is not the technician's act: the read's message stays.
    events_.RunPass();
    EXPECT_EQ(main_->MessageText(), "Read 11,552 bytes from " + sim.Device());
}

TEST_F(GuiClone, ClosingIsRefusedWithoutAQuestionWhileATransferRuns) {
    Edit("UNSAVED");
    SimProcess sim({});
    Connect(sim);
    host_->QueueAnswer(HostAnswer::No);  // the read's question about the unsaved changes
    Choose(CL_Menu_Clone_Read);
    ASSERT_TRUE(main_->Session().CloneBusy());
    const int asked = Questions();
    EXPECT_FALSE(form_->close());
    EXPECT_EQ(Questions(), asked);
    EXPECT_TRUE(form_->isVisible());
    Finish();
    EXPECT_EQ(main_->Session().LastClone().status, dst_CDrv_Result::kOk) << sim.Errors();
    host_->QueueAnswer(HostAnswer::No);  // a read image counts as unsaved
    EXPECT_TRUE(form_->close());
}

TEST_F(GuiClone, WriteFromTheMenuSendsTheImageToTheRadio) {
    ASSERT_EQ(main_->OpenFile(RadioFile("TO RADIO")), 0);
    const std::string saved = Path("radio-after.t590");
    SimProcess sim({"--image", QString::fromStdString(RadioFile("OLD")), "--save",
                    QString::fromStdString(saved)});
    Connect(sim);
    AnswerPreview(true);  // the question, after the radio was read
    Choose(CL_Menu_Clone_Write);
    Finish();

    EXPECT_EQ(main_->Session().LastClone().status, dst_CDrv_Result::kOk) << sim.Errors();
    EXPECT_TRUE(disabledThroughout);
    EXPECT_EQ(activity.substr(0, activity.find('\n')), "Writing to COM1 (" + sim.Device() + ")");
    EXPECT_GE(previewLines, 1) << "the comment differs";
    ASSERT_EQ(host_->Messages().size(), 1u);
    EXPECT_EQ(host_->Messages()[0].icon, HostIcon::Information);
    EXPECT_FALSE(main_->Session().IsModified());
    events_.RunPass();
    EXPECT_EQ(main_->MessageText(), "Wrote 11,552 bytes to " + sim.Device());
    sim.Stop();
    cmcEeprom radio;
    ASSERT_EQ(FileCommands::OpenCloneFile(saved, radio), 0);
    EXPECT_EQ(cmcCloneFile::ImageComment(radio), "TO RADIO");
}

// The radio's backup cannot be saved (its folder's place is taken by a file): the write stops
// before anything is sent, and after the file's error the status bar says that the radio holds
// what it held.
TEST_F(GuiClone, ABackupThatCannotBeSavedWritesNothingAndSaysSo) {
    ASSERT_EQ(main_->OpenFile(RadioFile("TO RADIO")), 0);
    const std::string saved = Path("radio-after.t590");
    SimProcess sim({"--image", QString::fromStdString(RadioFile("OLD")), "--save",
                    QString::fromStdString(saved)});
    Connect(sim);
    {
        QFile blocker(QString::fromStdString(Path("blocked")));
        ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    }
    main_->Session().SetBackupDirectory(Path("blocked"));
    ASSERT_TRUE(main_->Session().BackupBeforeWriteSetting());
    Choose(CL_Menu_Clone_Write);
    Finish();

    EXPECT_NE(main_->Session().LastBackupResult(), 0);
    EXPECT_EQ(main_->Session().LastClone().operation, dst_CDrv_Result::kRead);
    ASSERT_FALSE(host_->Messages().empty());  // the file's error
    events_.RunPass();
    EXPECT_EQ(main_->MessageText(),
              main_->Session().Dictionary().Text("GI_Mess_CloneErr_NothingWritten"));
    sim.Stop();
    cmcEeprom radio;
    ASSERT_EQ(FileCommands::OpenCloneFile(saved, radio), 0);
    EXPECT_EQ(cmcCloneFile::ImageComment(radio), "OLD");
}

TEST_F(GuiClone, WriteFromTheMenuShowsWhatChangesAndCancelLeavesTheRadioAsItWas) {
    cmcEeprom image;
    ASSERT_EQ(FileCommands::OpenCloneFile(RadioFile("SAME"), image), 0);
    datCh ch(image);
    ch.Load(datCh::kUserCh, 1);
    ch.rxFreq = 2187500;
    ch.Save();
    const std::string file = Path("changed.t590");
    ASSERT_EQ(FileCommands::SaveCloneFile(file, image), 0);
    ASSERT_EQ(main_->OpenFile(file), 0);
    const std::string saved = Path("radio-after.t590");
    SimProcess sim({"--image", QString::fromStdString(RadioFile("SAME")), "--save",
                    QString::fromStdString(saved)});
    Connect(sim);
    AnswerPreview(false);
    Choose(CL_Menu_Clone_Write);
    Finish();

    EXPECT_EQ(main_->Session().LastClone().operation, dst_CDrv_Result::kRead);
    // The receive frequency, and the transmit cell that showed "<-" while both were equal.
    EXPECT_EQ(previewLines, 2);
    EXPECT_EQ(previewFirst, "User channels");
    std::string count = cmcGTex::Main()->Text("GI_Mess_Preview_Count");
    count.replace(count.find("%s"), 2, "2");
    EXPECT_EQ(previewSummary, count);
    EXPECT_TRUE(host_->Messages().empty()) << host_->Messages().front().text;
    sim.Stop();
    cmcEeprom radio;
    ASSERT_EQ(FileCommands::OpenCloneFile(saved, radio), 0);
    datCh after(radio);
    after.Load(datCh::kUserCh, 1);
    EXPECT_EQ(after.rxFreq, 2182000) << "the radio was written";
}

TEST_F(GuiClone, TheWritePreviewOfWhatTheRadioHoldsSaysSoAndStillWrites) {
    ASSERT_EQ(main_->OpenFile(RadioFile("SAME")), 0);
    SimProcess sim({"--image", QString::fromStdString(RadioFile("SAME"))});
    Connect(sim);
    AnswerPreview(true);
    Choose(CL_Menu_Clone_Write);
    Finish();
    EXPECT_EQ(previewSummary, cmcGTex::Main()->Text("GI_Mess_Preview_Same"));
    EXPECT_EQ(previewLines, 0);
    EXPECT_EQ(main_->Session().LastClone().operation, dst_CDrv_Result::kWrite);
    EXPECT_EQ(main_->Session().LastClone().status, dst_CDrv_Result::kOk) << sim.Errors();
}

TEST_F(GuiClone, VerifyAfterWriteIsACheckItemOfTheCloneMenuThatReadsTheRadioBack) {
    QAction* verify = main_->VerifyItem();
    ASSERT_NE(verify, nullptr);
    EXPECT_FALSE(verify->isChecked()) << "off by default";
    verify->trigger();
    EXPECT_TRUE(main_->Environ().verifyAfterWrite);
    ASSERT_EQ(main_->OpenFile(RadioFile("TO RADIO")), 0);
    SimProcess sim({"--image", QString::fromStdString(RadioFile("OLD"))});
    Connect(sim);
    AnswerPreview(true);
    Choose(CL_Menu_Clone_Write);
    Finish();
    EXPECT_TRUE(main_->Environ().verifyAfterWrite) << "the menu's refresh left it alone";
    EXPECT_EQ(main_->Session().LastWriteCheck().outcome, indSession::WriteCheck::Outcome::Matched);
    ASSERT_EQ(host_->Messages().size(), 1u);
    EXPECT_NE(host_->Messages()[0].text.find(cmcGTex::Main()->Text("GI_Mess_WriteCheck_Matched")),
              std::string::npos);
}

TEST_F(GuiClone, WriteOfDataWithErrorsIsRefusedBeforeThePortIsOpened) {
    datCh ch(main_->Session().WorkingImage());
    ch.Load(datCh::kUserCh, 2);
    ch.flags = datCh::kUsed;
    ch.rxFreq = 40000000;  // above every receive edge
    ch.Save();
    SimProcess sim({"--verbose"});
    Connect(sim);
    Choose(CL_Menu_Clone_Write);
    EXPECT_FALSE(main_->Session().CloneBusy());
    ASSERT_EQ(host_->Messages().size(), 1u);
    EXPECT_EQ(host_->Messages()[0].icon, HostIcon::Error);
    EXPECT_EQ(host_->Messages()[0].caption, "PQ-T590");
    EXPECT_EQ(host_->Messages()[0].text.rfind(cmcGTex::Main()->Line("GI_Mess_DataError", 0), 0),
              0u);
    EXPECT_TRUE(form_->isEnabled());
    // The tree says where the error is.
    EXPECT_EQ(cuiTree::MarkOf(Node("User channels")), cuiTree::kMarkError);
    sim.Stop();
    EXPECT_EQ(sim.Errors().find("frame"), std::string::npos) << sim.Errors();
}

TEST_F(GuiClone, AFileHandedOverDuringATransferWaitsForItsEndThenOpensAfterTheQuestion) {
    // Paced like a real line, the read takes a while: the second start comes in its middle.
    SimProcess sim({"--baud", "115200", "--image", QString::fromStdString(RadioFile("RADIO"))});
    Connect(sim);
    const QString name = cuiInstanceChannel::ServerName("PQ-T590 gui test", Path("instance.lock"));
    cuiInstanceChannel channel;
    int handed = 0;
    bool busyWhenHanded = false;
    ASSERT_TRUE(channel.Listen(name, [&](const QString& path) {
        ++handed;
        busyWhenHanded = main_->Session().CloneBusy();
        form_->TakeHandedFile(path);
    }));
    const std::string file = MakeFile("handed.t590", "HANDED");
    Choose(CL_Menu_Clone_Read);
    ASSERT_TRUE(main_->Session().CloneBusy());
    // The second start, from a thread of its own as from a process of its own.
    std::future<bool> second = std::async(std::launch::async, [&name, &file] {
        return cuiInstanceChannel::Hand(name, QString::fromStdString(file));
    });
    ASSERT_TRUE(RunWhile([&] { return handed == 0; }));
    ASSERT_TRUE(busyWhenHanded) << "the read ended before the file came";
    EXPECT_TRUE(second.get());
    EXPECT_EQ(main_->MessageText(),
              FormatText(cmcGTex::Main()->Text("GI_AppMess_HandedFile"), {"handed.t590"}));
    // The question the open asks about the data just read: they go.
    host_->QueueAnswer(HostAnswer::No);
    Finish();
    // The transfer ran to its end undisturbed, and nothing was asked meanwhile.
    EXPECT_EQ(main_->Session().LastClone().status, dst_CDrv_Result::kOk) << sim.Errors();
    EXPECT_EQ(cmcCloneFile::ImageComment(main_->Session().LastClone().image), "RADIO");
    EXPECT_TRUE(disabledThroughout);
    // Then the file opens, once the question about the unsaved radio data is answered.
    ASSERT_TRUE(RunWhile([this] { return Title() != "handed.t590 - PQ-T590"; }, 30000)) << Title();
    EXPECT_EQ(Questions(), 1);
    EXPECT_EQ(WorkingComment(), "HANDED");
}

TEST_F(GuiClone, InformationShowsTheRadiosSheetInAWindowOfItsOwn) {
    SimProcess sim({"--image", QString::fromStdString(RadioFile("ON BOARD"))});
    Connect(sim);
    Choose(CL_Menu_Clone_Info);
    Finish();
    EXPECT_EQ(main_->Session().LastClone().status, dst_CDrv_Result::kOk) << sim.Errors();
    QWidget* window = main_->CloneInformationWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("PQ-T590"));
    EXPECT_TRUE(host_->Messages().empty());
    window->close();
    QCoreApplication::processEvents();
    EXPECT_EQ(main_->CloneInformationWindow(), nullptr);
}

}  // namespace

#endif  // _WIN32
