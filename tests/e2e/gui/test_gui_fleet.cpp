// Clone › Write to several radios from the desktop program against t590-sim --fleet: the window
// over the main window writes radio after radio with Enter, lists each, journals each, refuses
// to close during a transfer, and never touches the open document; several ticked ports run at
// once, each with its own line, a failure on one stopping nothing on the others.
#ifndef _WIN32

#include <gtest/gtest.h>

#include <algorithm>

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
#include "platform/cmcSettingsStore.h"
#include "session/indFleetRun.h"
#include "text/cmcCsv.h"
#include "text/cmcGTex.h"
#include "text/cmcTextFormat.h"

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
    // Enter in the window, then the event loop until its radios are done; the status lines
    // shown meanwhile are kept in `said` when given.
    void Write(cuiFleetWindow* w, int rows, std::vector<std::string>* said = nullptr) {
        QTest::keyClick(w, Qt::Key_Return);
        ASSERT_TRUE(w->Busy());
        if (said)
            said->push_back(w->Status()->text().toStdString());
        // Closing is refused while the radio is under way.
        EXPECT_FALSE(w->CloseButton()->isEnabled());
        EXPECT_FALSE(w->close());
        EXPECT_TRUE(RunWhile([w, said] {
            if (said && (said->empty() || said->back() != w->Status()->text().toStdString()))
                said->push_back(w->Status()->text().toStdString());
            return w->Busy();
        }));
        ASSERT_EQ(w->List()->topLevelItemCount(), rows);
    }
    std::string Cell(cuiFleetWindow* w, int row, int col) {
        return w->List()->topLevelItem(row)->text(col).toStdString();
    }
    // A port's line: 0 the port, 1 its step (or how its last radio ended), 2 how far it got.
    static std::string PortCell(cuiFleetWindow* w, int line, int col) {
        QTreeWidgetItem* item = w->PortLines()->topLevelItem(line);
        return item ? item->text(col).toStdString() : std::string();
    }
    static QCheckBox* Box(cuiFleetWindow* w, int com) {
        for (QCheckBox* box : w->PortBoxes())
            if (box->objectName() == QStringLiteral("fleetPort%1").arg(com))
                return box;
        return nullptr;
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
    // The session's port (COM1) is the emulator.
    main_->Session().SetPortDevice(sim.Device());

    cuiFleetWindow* w = Open();
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(w->windowModality(), Qt::WindowModal);
    EXPECT_TRUE(w->Backup()->isChecked());
    EXPECT_TRUE(w->Verify()->isChecked());
    EXPECT_NE(w->JournalPath()->text().toStdString().find("Fleet journal.csv"), std::string::npos);
    // COM1 to COM4 as the Port menu has them, the current port ticked, with its device.
    ASSERT_EQ(w->PortBoxes().size(), 4u);
    for (int com = 1; com <= 4; ++com) {
        ASSERT_NE(Box(w, com), nullptr) << com;
        EXPECT_EQ(Box(w, com)->isChecked(), com == 1) << com;
    }
    EXPECT_EQ(Box(w, 1)->text().toStdString(), "COM&1 (" + sim.Device() + ")");
    ASSERT_EQ(w->PortLines()->topLevelItemCount(), 1);
    EXPECT_EQ(PortCell(w, 0, 0), "COM1 (" + sim.Device() + ")");
    EXPECT_EQ(PortCell(w, 0, 1), Line("GI_Fleet_Steps", 0));
    Type(w->JournalPath(), Path("journal.csv"));
    w->WriteButton()->setFocus();

    std::vector<std::string> said;
    Write(w, 1, &said);
    // While the radio is under way the window says to keep it connected, then which row it
    // takes and what its write changes.
    const std::string port = "COM1 (" + sim.Device() + ")";
    ASSERT_FALSE(said.empty());
    EXPECT_EQ(said.front(), Line("GI_Fleet_Window", 17));
    const std::string preview = FormatText(Line("GI_Fleet_Window", 12), {port}) + "\n" +
                                FormatText(Line("GI_Fleet_Window", 18), {"1 cell(s)", port});
    EXPECT_NE(std::find(said.begin(), said.end(), preview), said.end()) << said.back();
    EXPECT_EQ(Cell(w, 0, 1), "RADIO ONE");
    EXPECT_EQ(Cell(w, 0, 2), "THE PLAN");
    EXPECT_EQ(Cell(w, 0, 3), Line("GI_Fleet_Words", 2));  // no MMSI, none given
    // The read previewed the write: one cell, the comment, named in the tool tip.
    EXPECT_EQ(Cell(w, 0, cuiFleetWindow::kChangesColumn), "1 cell(s)");
    const std::string tip =
        w->List()->topLevelItem(0)->toolTip(cuiFleetWindow::kChangesColumn).toStdString();
    EXPECT_NE(tip.find("\"RADIO ONE\" -> \"THE PLAN\""), std::string::npos) << tip;
    EXPECT_EQ(Cell(w, 0, cuiFleetWindow::kResultColumn), Line("GI_Mess_CloneErr_Head", 0));
    EXPECT_EQ(Cell(w, 0, cuiFleetWindow::kVerifiedColumn), Line("GI_Fleet_Words", 3));
    EXPECT_EQ(w->Status()->text().toStdString(), Line("GI_Fleet_Window", 9));
    EXPECT_FALSE(Box(w, 1)->isEnabled());  // the ports hold for the run
    EXPECT_FALSE(Box(w, 2)->isEnabled());
    // The port's line says how its radio ended, all of it done.
    EXPECT_EQ(PortCell(w, 0, 1), Line("GI_Mess_CloneErr_Head", 0));
    EXPECT_EQ(PortCell(w, 0, 2), "100%");

    ASSERT_TRUE(sim.WaitForError("radio 2 answers")) << sim.Errors();
    Write(w, 2);
    EXPECT_EQ(Cell(w, 1, 1), "RADIO TWO");
    EXPECT_EQ(Cell(w, 1, cuiFleetWindow::kResultColumn), Line("GI_Mess_CloneErr_Head", 0));

    const auto records = cmcCsv::Parse(ReadWhole(Path("journal.csv")));
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[1].fields[1].text, "COM1");  // and the device it stood for
    EXPECT_EQ(records[1].fields[2].text, sim.Device());
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

// Five radios on one bench from the desktop program, with a per-radio table: the third sends a
// damaged frame and is written again with the next Enter, the fifth is the first one met again
// and is written after the question that names when it was written. Each attempt is listed and
// journaled in turn, and each radio got the table's values.
TEST_F(GuiFleet, FiveRadiosWithATableOneRetriedOneMetAgainEachListedAndJournaled) {
    ASSERT_EQ(main_->OpenFile(MakeFile("plan.t590", "THE PLAN")), 0);
    QDir().mkpath(QString::fromStdString(Path("bench")));
    const std::vector<std::pair<std::string, std::string>> bench = {{"RADIO ONE", "211000001"},
                                                                    {"RADIO TWO", ""},
                                                                    {"RADIO THREE", "211000003"},
                                                                    {"RADIO FOUR", ""},
                                                                    {"RADIO ONE", "211000001"}};
    for (size_t i = 0; i < bench.size(); ++i) {
        cmcEeprom radio;
        DefaultImage(radio, bench[i].first);
        SetImageMmsi(radio, bench[i].second);
        SaveImageFile(Path("bench/" + std::to_string(i + 1) + ".t590"), radio);
    }
    {
        QFile table(QString::fromStdString(Path("radios.csv")));
        ASSERT_TRUE(table.open(QIODevice::WriteOnly));
        table.write(
            "MMSI,[St_Common]GI_Sheet_Common:Clone comment:Value,"
            "\"GI_Sheet_DscSelf:Own ship identity, MMSI:Value\"\r\n"
            "211000001,MV ALPHA,\r\n"
            "#,MV BRAVO,\r\n"
            "#,MV CHARLIE,211000099\r\n"
            "211000003,MV DELTA,\r\n");
    }
    SimProcess sim({"--fleet", QString::fromStdString(Path("bench")), "--verbose", "--swap-ms",
                    "200", "--fault-at", "3", "--fault", "bad-checksum=5"});
    ASSERT_FALSE(sim.Device().empty()) << sim.Errors();
    main_->Session().SetPortDevice(sim.Device());

    cuiFleetWindow* w = Open();
    ASSERT_NE(w, nullptr);
    Type(w->JournalPath(), Path("journal.csv"));
    Type(w->RadiosPath(), Path("radios.csv"));
    std::vector<std::string> said;
    auto next = [&](int radio, int rows) {
        ASSERT_TRUE(sim.WaitForError("radio " + std::to_string(radio) + " answers"))
            << sim.Errors();
        w->WriteButton()->setFocus();
        Write(w, rows, &said);
    };
    // While a radio is written, the window says which row of the table it takes.
    auto saidRow = [&said](const std::string& row) {
        for (const std::string& line : said)
            if (line.find("takes the per-radio row " + row) != std::string::npos)
                return true;
        return false;
    };
    next(1, 1);
    EXPECT_TRUE(saidRow("line 2 (MMSI 211000001)"));
    next(2, 2);
    EXPECT_TRUE(saidRow("line 3 (#)"));
    next(3, 3);
    EXPECT_EQ(Cell(w, 2, cuiFleetWindow::kResultColumn),
              Line("GI_Mess_CloneErr_Head", 6));  // the damaged frame
    w->WriteButton()->setFocus();
    Write(w, 4);  // the same radio again
    next(4, 5);
    const int questionsBefore = Questions();
    host_->QueueAnswer(HostAnswer::Yes);
    next(5, 6);
    ASSERT_EQ(Questions(), questionsBefore + 1);
    const std::string asked = host_->Messages().back().text;
    EXPECT_NE(asked.find("211000001"), std::string::npos) << asked;
    EXPECT_NE(asked.find(Cell(w, 0, 0)), std::string::npos) << asked;  // when it was written

    const std::vector<std::string> after = {"MV ALPHA", "MV BRAVO",   "",
                                            "MV DELTA", "MV CHARLIE", "MV ALPHA"};
    const std::vector<std::string> status = {"0", "0", "6", "0", "0", "0"};
    const auto records = cmcCsv::Parse(ReadWhole(Path("journal.csv")));
    ASSERT_EQ(records.size(), 1u + after.size());
    for (size_t i = 0; i < after.size(); ++i) {
        const int row = static_cast<int>(i);
        const bool ok = status[i] == "0";
        EXPECT_EQ(Cell(w, row, cuiFleetWindow::kResultColumn),
                  Line("GI_Mess_CloneErr_Head", ok ? 0 : 6))
            << i;
        if (ok) {
            EXPECT_EQ(Cell(w, row, 2), after[i]) << i;
        }
        EXPECT_EQ(records[i + 1].fields[13].text, status[i]) << i;
        EXPECT_EQ(records[i + 1].fields[15].text, ok ? "yes" : "no") << i;
    }
    EXPECT_EQ(Cell(w, 4, 3), "211000099 (" + Line("GI_Fleet_Words", 1) + ")");  // set by the table

    // The open document is the plan as it was.
    EXPECT_EQ(WorkingComment(), "THE PLAN");
    EXPECT_FALSE(main_->Session().IsModified());
}

TEST_F(GuiFleet, TickedPortsRunAtOnceEachOnItsLineAFailureStoppingNothingElse) {
    ASSERT_EQ(main_->OpenFile(MakeFile("plan.t590", "THE PLAN")), 0);
    QDir().mkpath(QString::fromStdString(Path("benchA")));
    QDir().mkpath(QString::fromStdString(Path("benchB")));
    MakeFile("benchA/1.t590", "RADIO A");
    MakeFile("benchB/1.t590", "RADIO B");
    // The radio on COM2 sends a damaged frame in its first read; the one on COM3, paced, takes
    // seconds.
    SimProcess a({"--fleet", QString::fromStdString(Path("benchA")), "--fault-at", "1", "--fault",
                  "bad-checksum=5"});
    SimProcess b({"--fleet", QString::fromStdString(Path("benchB")), "--baud", "115200"});
    ASSERT_FALSE(a.Device().empty()) << a.Errors();
    ASSERT_FALSE(b.Device().empty()) << b.Errors();
    // The devices of COM2 and COM3 as Port › Device keeps them.
    auto store = cmcSettingsStore::OnFile(Path("ports.ini"));
    store->WriteText("Ports", "COM2", a.Device());
    store->WriteText("Ports", "COM3", b.Device());
    ASSERT_TRUE(store->Flush());
    main_->SetPortStore(store.get());

    cuiFleetWindow* w = Open();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(Box(w, 2)->text().toStdString(), "COM&2 (" + a.Device() + ")");
    Type(w->JournalPath(), Path("journal.csv"));
    // No port ticked: nothing to write with.
    QTest::mouseClick(Box(w, 1), Qt::LeftButton);
    EXPECT_FALSE(Box(w, 1)->isChecked());
    EXPECT_EQ(w->PortLines()->topLevelItemCount(), 0);
    EXPECT_FALSE(w->WriteButton()->isEnabled());
    EXPECT_EQ(w->Status()->text().toStdString(), Line("GI_Fleet_Window", 14));
    // COM2 clicked, COM3 with the keyboard.
    QTest::mouseClick(Box(w, 2), Qt::LeftButton);
    Box(w, 3)->setFocus();
    QTest::keyClick(Box(w, 3), Qt::Key_Space);
    ASSERT_TRUE(Box(w, 3)->isChecked());
    ASSERT_EQ(w->PortLines()->topLevelItemCount(), 2);
    EXPECT_EQ(PortCell(w, 0, 0), "COM2 (" + a.Device() + ")");
    EXPECT_EQ(PortCell(w, 1, 0), "COM3 (" + b.Device() + ")");
    ASSERT_TRUE(w->WriteButton()->isEnabled());

    w->WriteButton()->setFocus();
    QTest::keyClick(w, Qt::Key_Return);
    ASSERT_TRUE(w->Busy());
    // COM2's radio fails while COM3's goes on.
    ASSERT_TRUE(RunWhile([w] { return w->List()->topLevelItemCount() == 0 && w->Busy(); }));
    ASSERT_EQ(w->List()->topLevelItemCount(), 1);
    EXPECT_TRUE(w->Run()->Busy(1));
    EXPECT_FALSE(w->Run()->Busy(0));
    EXPECT_EQ(Cell(w, 0, 1), "");  // never read whole: no comment known
    EXPECT_EQ(Cell(w, 0, cuiFleetWindow::kResultColumn), Line("GI_Mess_CloneErr_Head", 6));
    EXPECT_EQ(PortCell(w, 0, 1), Line("GI_Mess_CloneErr_Head", 6));
    const int stoppedAt = std::stoi(PortCell(w, 0, 2));
    EXPECT_LT(stoppedAt, 100);
    const std::string failure = "COM2 (" + a.Device() + "): ";
    EXPECT_EQ(w->Status()->text().toStdString().rfind(failure, 0), 0u)
        << w->Status()->text().toStdString();
    // COM3's line follows its transfer: its step and the percent between the ends.
    ASSERT_TRUE(RunWhile([w, this] {
        const std::string done = PortCell(w, 1, 2);
        const int percent = done.empty() ? 0 : std::stoi(done);
        return !(PortCell(w, 1, 1) == Line("GI_Fleet_Steps", 3) && percent > 0 && percent < 100) &&
               w->Busy();
    }));
    EXPECT_TRUE(w->Busy()) << "COM3's write was not seen between its ends";
    EXPECT_FALSE(w->CloseButton()->isEnabled());
    ASSERT_TRUE(RunWhile([w] { return w->Busy(); }));

    ASSERT_EQ(w->List()->topLevelItemCount(), 2);
    EXPECT_EQ(Cell(w, 1, 1), "RADIO B");
    EXPECT_EQ(Cell(w, 1, cuiFleetWindow::kResultColumn), Line("GI_Mess_CloneErr_Head", 0));
    EXPECT_EQ(Cell(w, 1, cuiFleetWindow::kVerifiedColumn), Line("GI_Fleet_Words", 3));
    EXPECT_EQ(PortCell(w, 1, 1), Line("GI_Mess_CloneErr_Head", 0));
    EXPECT_EQ(PortCell(w, 1, 2), "100%");
    EXPECT_EQ(std::stoi(PortCell(w, 0, 2)), stoppedAt);  // COM2's line as its radio ended
    // The failure stays said after the other port finished.
    EXPECT_EQ(w->Status()->text().toStdString().rfind(failure, 0), 0u);
    EXPECT_TRUE(w->WriteButton()->isEnabled());

    // The journal: one line a radio, in the order they finished.
    const auto records = cmcCsv::Parse(ReadWhole(Path("journal.csv")));
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[1].fields[1].text, "COM2");
    EXPECT_EQ(records[1].fields[2].text, a.Device());
    EXPECT_EQ(records[1].fields[13].text, "6");
    EXPECT_EQ(records[2].fields[1].text, "COM3");
    EXPECT_EQ(records[2].fields[2].text, b.Device());
    EXPECT_EQ(records[2].fields[13].text, "0");
    EXPECT_EQ(records[2].fields[15].text, "yes");
    EXPECT_EQ(WorkingComment(), "THE PLAN");

    QTest::keyClick(w, Qt::Key_Escape);
    QCoreApplication::processEvents();
    main_->SetPortStore(nullptr);
    b.Stop();
    cmcEeprom written;
    ASSERT_EQ(FileCommands::OpenCloneFile(Path("benchB/1.written.t590"), written), 0);
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
