// Clone › Write to several radios from the desktop program against t590-sim --fleet: the window
// over the main window writes radio after radio with Enter, lists each, journals each, refuses
// to close during a transfer, and never touches the open document.
#ifndef _WIN32

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include "MainWindowFixture.h"
#include "SimProcess.h"
#include "app/cuiFleetWindow.h"
#include "memory/datCh.h"
#include "session/indFleetRun.h"
#include "text/cmcCsv.h"
#include "text/cmcGTex.h"

namespace {

std::string ReadWhole(const std::string& path) {
    QFile f(QString::fromStdString(path));
    return f.open(QIODevice::ReadOnly) ? f.readAll().toStdString() : std::string();
}

class GuiFleet : public MainWindowTest {
protected:
    void SetUp() override { Start(); }

    cuiFleetWindow* Open() {
        QAction* item = main_->FleetItem();
        EXPECT_NE(item, nullptr);
        if (!item)
            return nullptr;
        item->trigger();
        QCoreApplication::processEvents();
        return main_->FleetWindow();
    }
    static void Type(QLineEdit* edit, const std::string& text) {
        edit->setFocus();
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
        QTest::keyClicks(edit, QString::fromStdString(text));
    }
    // Enter in the window, then the event loop until its radios are done.
    void Write(cuiFleetWindow* w, int rows) {
        QTest::keyClick(w, Qt::Key_Return);
        ASSERT_TRUE(w->Busy());
        // Closing is refused while the radio is under way.
        EXPECT_FALSE(w->CloseButton()->isEnabled());
        EXPECT_FALSE(w->close());
        EXPECT_TRUE(RunWhile([w] { return w->Busy(); }));
        ASSERT_EQ(w->List()->topLevelItemCount(), rows);
    }
    std::string Cell(cuiFleetWindow* w, int row, int col) {
        return w->List()->topLevelItem(row)->text(col).toStdString();
    }
    std::string Line(const char* key, int n) { return main_->Session().Dictionary().Line(key, n); }
};

TEST_F(GuiFleet, TwoRadiosWrittenWithEnterEachListedAndJournaledTheDocumentUntouched) {
    ASSERT_EQ(main_->OpenFile(MakeFile("plan.t590", "THE PLAN")), 0);
    QDir().mkpath(QString::fromStdString(Path("bench")));
    MakeFile("bench/1.t590", "RADIO ONE");
    MakeFile("bench/2.t590", "RADIO TWO");
    SimProcess sim(
        {"--fleet", QString::fromStdString(Path("bench")), "--verbose", "--swap-ms", "200"});
    ASSERT_FALSE(sim.Device().empty()) << sim.Errors();
    ASSERT_EQ(main_->FleetItem()->text().toStdString(),
              main_->Session().Dictionary().Text("GI_Menu_Clone_Fleet"));

    cuiFleetWindow* w = Open();
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(w->windowModality(), Qt::WindowModal);
    EXPECT_TRUE(w->Backup()->isChecked());
    EXPECT_TRUE(w->Verify()->isChecked());
    EXPECT_NE(w->JournalPath()->text().toStdString().find("Fleet journal.csv"), std::string::npos);
    Type(w->Ports(), sim.Device());
    Type(w->JournalPath(), Path("journal.csv"));
    w->WriteButton()->setFocus();

    Write(w, 1);
    EXPECT_EQ(Cell(w, 0, 1), "RADIO ONE");
    EXPECT_EQ(Cell(w, 0, 2), "THE PLAN");
    EXPECT_EQ(Cell(w, 0, 3), Line("GI_Fleet_Words", 2));  // no MMSI, none given
    EXPECT_EQ(Cell(w, 0, 4), Line("GI_Mess_CloneErr_Head", 0));
    EXPECT_EQ(Cell(w, 0, 5), Line("GI_Fleet_Words", 3));
    EXPECT_EQ(w->Status()->text().toStdString(), Line("GI_Fleet_Window", 9));
    EXPECT_FALSE(w->Ports()->isEnabled());  // the options hold for the run

    ASSERT_TRUE(sim.WaitForError("radio 2 answers")) << sim.Errors();
    Write(w, 2);
    EXPECT_EQ(Cell(w, 1, 1), "RADIO TWO");
    EXPECT_EQ(Cell(w, 1, 4), Line("GI_Mess_CloneErr_Head", 0));

    const auto records = cmcCsv::Parse(ReadWhole(Path("journal.csv")));
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[1].fields[5].text, "RADIO ONE");
    EXPECT_EQ(records[2].fields[5].text, "RADIO TWO");
    EXPECT_EQ(records[2].fields[15].text, "yes");

    // The open document is the plan as it was.
    EXPECT_EQ(WorkingComment(), "THE PLAN");
    EXPECT_FALSE(main_->Session().IsModified());
    EXPECT_FALSE(main_->Session().CloneBusy());

    QTest::keyClick(w, Qt::Key_Escape);
    QCoreApplication::processEvents();
    EXPECT_EQ(main_->FleetWindow(), nullptr);
    sim.Stop();
    cmcEeprom written;
    ASSERT_EQ(FileCommands::OpenCloneFile(Path("bench/2.written.t590"), written), 0);
    EXPECT_EQ(cmcCloneFile::ImageComment(written), "THE PLAN");
}

TEST_F(GuiFleet, DataWithErrorsIsRefusedWithTheUsualMessageAndNoWindow) {
    ASSERT_EQ(main_->OpenFile(MakeFile("plan.t590", "BROKEN")), 0);
    datCh ch(main_->Session().WorkingImage().Bytes(), main_->Session().WorkingImage().GetSize());
    ch.Load(datCh::kUserCh, 1);
    ch.flags = datCh::kUsed;
    ch.rxFreq = 40000000;
    ch.Save();
    host_->Clear();
    EXPECT_EQ(Open(), nullptr);
    ASSERT_EQ(host_->Messages().size(), 1u);
    EXPECT_NE(host_->Messages()[0].text.find(Line("GI_Mess_DataError", 0)), std::string::npos);
}

}  // namespace

#endif  // _WIN32
