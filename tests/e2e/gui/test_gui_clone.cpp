// The desktop program's clone commands from its window against t590-sim on a pseudo-terminal:
// a read replaces the image (untitled, modified), a write goes to the radio or is refused with
// the data's errors, the window stays disabled and cannot be closed while the transfer runs.
#ifndef _WIN32

#include <gtest/gtest.h>

#include "MainWindowFixture.h"
#include "SimProcess.h"
#include "app/cuiTransferProgress.h"
#include "cells/cmcCellNames.h"
#include "memory/datCh.h"
#include "text/cmcGTex.h"

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

    bool disabledThroughout = true;
    bool progressShown = false;
    std::string activity;
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
    events_.RunPass();
    EXPECT_EQ(main_->MessageText(), "Read 11,552 bytes from " + sim.Device());
    EXPECT_TRUE(main_->Session().IsModified());
    EXPECT_EQ(Questions(), 0);  // nothing was unsaved
    // The sheet is rebuilt on the new image by the periodic task.
    EXPECT_EQ(main_->Sheet(), nullptr);
    main_->RunPeriodicTask();
    EXPECT_EQ(OpenSheetBase(), "GI_Sheet_UserCh");
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
    host_->QueueAnswer(HostAnswer::Ok);  // the confirmation
    Choose(CL_Menu_Clone_Write);
    Finish();

    EXPECT_EQ(main_->Session().LastClone().status, dst_CDrv_Result::kOk) << sim.Errors();
    EXPECT_TRUE(disabledThroughout);
    EXPECT_EQ(activity.substr(0, activity.find('\n')), "Writing to COM1 (" + sim.Device() + ")");
    ASSERT_EQ(host_->Messages().size(), 2u);
    EXPECT_EQ(host_->Messages()[0].buttons, HostButtons::OkCancel);
    EXPECT_EQ(host_->Messages()[1].icon, HostIcon::Information);
    EXPECT_FALSE(main_->Session().IsModified());
    events_.RunPass();
    EXPECT_EQ(main_->MessageText(), "Wrote 11,552 bytes to " + sim.Device());
    sim.Stop();
    cmcEeprom radio;
    ASSERT_EQ(FileCommands::OpenCloneFile(saved, radio), 0);
    EXPECT_EQ(cmcCloneFile::ImageComment(radio), "TO RADIO");
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
