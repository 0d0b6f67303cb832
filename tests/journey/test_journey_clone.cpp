// Journeys with the radio: read it, keep it in a file, start again on that file; write to it,
// refused while the data has errors; the keyboard back where it was after each transfer.
#ifndef _WIN32

#include <cstring>
#include <functional>

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidgetItemIterator>

#include "Journey.h"
#include "SimProcess.h"
#include "app/cuiFleetWindow.h"
#include "app/cuiWritePreview.h"
#include "memory/MemoryMap.h"
#include "memory/cmcCloneFile.h"
#include "memory/datCh.h"
#include "profile/FileCommands.h"
#include "text/cmcGTex.h"
#include "ui/windows/cuiInformation.h"

namespace {

class CloneJourney : public Journey {
protected:
    // A clone file of the default image with its comment and one user channel of its own, as a
    // radio on a ship would hold.
    std::string RadioFile(const std::string& name, const std::string& comment, int rxHz) {
        cmcEeprom image;
        EXPECT_EQ(FileCommands::OpenCloneFile(ResourcePath("PQT590_Default.t590"), image), 0);
        uint8_t text[MemoryMap::kCommentLength];
        std::memset(text, ' ', sizeof text);
        std::memcpy(text, comment.data(), std::min(comment.size(), sizeof text));
        image.WriteBlock(MemoryMap::kComment, text, MemoryMap::kCommentLength);
        datCh ch(image);
        ch.Load(datCh::kUserCh, 1);
        ch.flags = datCh::kUsed;
        ch.rxFreq = rxHz;
        ch.txFreq = rxHz;
        ch.Save();
        const std::string path = Path(name);
        EXPECT_EQ(FileCommands::SaveCloneFileSilently(path, image, {}), 0);
        return path;
    }
    // Answers the write preview with Return (its Write button), after `look` saw it; a dialog
    // that is no preview is answered the same way and leaves `look` uncalled.
    void WhenPreview(std::function<void(cuiWritePreview&)> look) {
        WhenDialog([look](QWidget* dialog) {
            if (auto* preview = qobject_cast<cuiWritePreview*>(dialog))
                look(*preview);
            QWidget* focus = QApplication::focusWidget();
            QTest::keyClick(focus && dialog->isAncestorOf(focus) ? focus : dialog, Qt::Key_Return);
        });
    }
    // Clone › Write to radio from the menu, the preview seen by `look` and answered with Write,
    // the transfer's report kept in `report`; returns once the transfer has ended.
    void WriteFromTheMenu(std::function<void(cuiWritePreview&)> look, std::string* report) {
        WhenPreview(std::move(look));
        WhenMessage(Qt::Key_Return, report);
        Choose({QStringLiteral("Clone"), QStringLiteral("Write to radio...")});
        ASSERT_TRUE(WaitUntil([this] { return DialogsAnswered() && Form()->isEnabled(); }));
        FinishTransfer();
    }
    static std::unique_ptr<cmcEeprom> Image(const std::string& path) {
        auto image = std::make_unique<cmcEeprom>();
        EXPECT_EQ(FileCommands::OpenCloneFile(path, *image), 0) << path;
        return image;
    }
    static bool SameCloneRange(const std::unique_ptr<cmcEeprom>& a,
                               const std::unique_ptr<cmcEeprom>& b) {
        for (int at = MemoryMap::kCloneFirst; at <= MemoryMap::kCloneLast; ++at)
            if (a->GetByte(at) != b->GetByte(at))
                return false;
        return true;
    }
    static cuiFleetWindow* ShownFleetWindow() {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* window = qobject_cast<cuiFleetWindow*>(w); window && w->isVisible())
                return window;
        return nullptr;
    }
    // Clone › Write to several radios from the menu; the window, once it is up and has the
    // keyboard (the menu it came from has let go of it), or null.
    cuiFleetWindow* OpenFleetWindow() {
        Choose({QStringLiteral("Clone"), QStringLiteral("Write to several radios...")});
        cuiFleetWindow* window = nullptr;
        const bool up = WaitUntil([&window] {
            window = ShownFleetWindow();
            return window && QApplication::activeWindow() == window;
        });
        return up ? window : nullptr;
    }
    // Waits until a transfer the last key started has ended (the window takes input again).
    void FinishTransfer() {
        ASSERT_TRUE(
            WaitUntil([this] { return Form()->isEnabled() && !Window().Session().CloneBusy(); }));
    }
};

TEST_F(CloneJourney, ReadTheRadioSaveItAndStartAgainWithThatFileShowsWhatTheRadioHeld) {
    const std::string radioFile = RadioFile("radio.t590", "MV NORTHERN STAR", 8291000);
    SimProcess sim({"--image", QString::fromStdString(radioFile)});
    ASSERT_FALSE(sim.Device().empty()) << sim.Errors();
    PortCom1(sim.Device());
    Start();
    OpenNode(QStringLiteral("User channels"));

    Key(Qt::Key_R, Qt::ControlModifier);  // Clone › Read from radio
    EXPECT_FALSE(Form()->isEnabled());    // the window waits while the radio is read
    FinishTransfer();
    EXPECT_EQ(Title(), "Untitled* - PQ-T590");  // read, not yet saved
    ASSERT_TRUE(WaitUntil([this] { return Sheet() != nullptr; }));
    int col = 0, row = 0;
    EXPECT_TRUE(Find("8291.0", &col, &row)) << "the sheet does not show the radio's channel";

    // File › Save as..., the name typed into the dialog.
    const std::string saved = Path("northern-star.t590");
    WhenFileDialog(saved);
    Choose({QStringLiteral("File"), QStringLiteral("Save as...")});
    WaitForDialogs();
    ASSERT_TRUE(WaitUntil([&] { return QFile::exists(QString::fromStdString(saved)); }));
    EXPECT_EQ(Title(), "northern-star.t590 - PQ-T590");
    EXPECT_TRUE(SameCloneRange(Image(saved), Image(radioFile)));

    // File › Exit: nothing unsaved, nothing asked.
    Choose({QStringLiteral("File"), QStringLiteral("Exit")});
    ASSERT_TRUE(WaitUntil([this] { return !Running(); }));
    Quit();

    // The next start names the file on its command line: every sheet shows what the radio held.
    Start({saved});
    EXPECT_EQ(Title(), "northern-star.t590 - PQ-T590");
    std::unique_ptr<cmcEeprom> radio = Image(radioFile);
    for (const cuiTreeSheet& sheet : cuiTreeSheets(Window().Session().Dictionary())) {
        OpenNode(QString::fromStdString(sheet.caption));
        cuiSheetTable table(Window().Core(), sheet.reference);
        EXPECT_EQ(table.ExportCsv(), table.ExportCsv(radio.get())) << sheet.caption;
    }
}

TEST_F(CloneJourney, AWriteOfDataWithErrorsIsRefusedAndAGoodOneLeavesTheFileInTheRadio) {
    const std::string written = Path("radio-after.t590");
    SimProcess sim({"--save", QString::fromStdString(written), "--verbose"});
    ASSERT_FALSE(sim.Device().empty()) << sim.Errors();
    PortCom1(sim.Device());
    const std::string plan = RadioFile("plan.t590", "FLEET PLAN 7", 12290000);
    Start({plan});

    // A receive frequency above every band edge: the tree marks the sheet, the write is refused
    // with the message, and nothing reaches the radio.
    OpenNode(QStringLiteral("User channels"));
    TabIntoSheet();
    ClickCell(1, 3);
    Type(QStringLiteral("30500"));
    Key(Qt::Key_Return);
    ASSERT_TRUE(WaitUntil(
        [this] { return MarkOf(QStringLiteral("User channels")) == cuiTree::kMarkError; }));
    std::string refusal;
    WhenMessage(Qt::Key_Return, &refusal);
    Choose({QStringLiteral("Clone"), QStringLiteral("Write to radio...")});
    WaitForDialogs();
    EXPECT_EQ(refusal.rfind(cmcGTex::Main()->Line("GI_Mess_DataError", 0), 0), 0u) << refusal;
    EXPECT_TRUE(Form()->isEnabled());
    EXPECT_EQ(sim.Errors().find("frame"), std::string::npos) << sim.Errors();

    // Undo takes the bad value back; the write then goes ahead after its question.
    Key(Qt::Key_Z, Qt::ControlModifier);
    ASSERT_TRUE(
        WaitUntil([this] { return MarkOf(QStringLiteral("User channels")) == cuiTree::kNoMark; }));
    EXPECT_TRUE(GridHasFocus());
    // The radio is read first, and the preview lists what the write changes there: user
    // channel 1 goes from the radio's frequency to the plan's. Return is its Write button.
    std::string question, done;
    bool channelListed = false;
    WriteFromTheMenu(
        [&question, &channelListed](cuiWritePreview& preview) {
            question = preview.Question()->text().toStdString();
            for (QTreeWidgetItemIterator it(preview.List()); *it; ++it)
                if ((*it)->text(0) == QStringLiteral("User channels") &&
                    (*it)->text(4) == QStringLiteral("12290.0"))
                    channelListed = true;
        },
        &done);
    EXPECT_EQ(question.rfind(cmcGTex::Main()->Line("GI_Mess_Confirm_PreviewWrite", 0), 0), 0u)
        << question;
    EXPECT_TRUE(channelListed);
    EXPECT_FALSE(done.empty());
    // The keyboard is back in the sheet after the progress window went.
    EXPECT_TRUE(WaitUntil([this] { return GridHasFocus(); }));
    sim.Stop();
    EXPECT_TRUE(SameCloneRange(Image(written), Image(plan)));
}

// With Clone › Verify after write ticked, a write reads the radio twice: once before (the
// preview, which is also the backup) and once after, and the report says the radio holds what
// was written.
TEST_F(CloneJourney, AVerifiedWriteReadsTheRadioOnceBeforeAndOnceAfter) {
    const std::string written = Path("radio-after.t590");
    SimProcess sim({"--save", QString::fromStdString(written), "--verbose"});
    ASSERT_FALSE(sim.Device().empty()) << sim.Errors();
    PortCom1(sim.Device());
    const std::string plan = RadioFile("plan.t590", "VERIFIED", 16420000);
    Start({plan});
    Choose({QStringLiteral("Clone"), QStringLiteral("Verify after write")});
    bool previewed = false;
    std::string report;
    WriteFromTheMenu([&previewed](cuiWritePreview&) { previewed = true; }, &report);
    EXPECT_TRUE(previewed);
    EXPECT_NE(report.find(cmcGTex::Main()->Text("GI_Mess_WriteCheck_Matched")), std::string::npos)
        << report;
    sim.Stop();
    const std::string told = sim.Errors();
    EXPECT_NE(told.find("t590-sim: read 2 answered"), std::string::npos) << told;
    EXPECT_EQ(told.find("t590-sim: read 3 answered"), std::string::npos) << told;
    EXPECT_TRUE(SameCloneRange(Image(written), Image(plan)));
}

TEST_F(CloneJourney, AfterAReadTheKeyboardIsWhereItWas) {
    SimProcess sim({});
    ASSERT_FALSE(sim.Device().empty()) << sim.Errors();
    PortCom1(sim.Device());
    Start();
    OpenNode(QStringLiteral("Band edges"));
    TabIntoSheet();
    Key(Qt::Key_Down);
    const int row = Sheet()->CursorRow();
    Choose({QStringLiteral("Clone"), QStringLiteral("Read from radio...")});
    FinishTransfer();
    // The sheet is built again on the radio's image, where the cursor was, and takes keys.
    ASSERT_TRUE(WaitUntil([this] { return GridHasFocus(); }));
    EXPECT_EQ(Sheet()->CursorRow(), row);
    Key(Qt::Key_Down);
    EXPECT_EQ(Sheet()->CursorRow(), row + 1);

    // Clone › Information from the menu: the radio's window, closed with Return, and the
    // keyboard is in the sheet again.
    Choose({QStringLiteral("Clone"), QStringLiteral("Radio information...")});
    QWidget* info = nullptr;
    ASSERT_TRUE(WaitUntil([&info] {
        info = qobject_cast<cuiInformation*>(QApplication::activeWindow());
        return info != nullptr;
    }));
    QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : info,
                    Qt::Key_Return);
    FinishTransfer();
    ASSERT_TRUE(WaitUntil([this] { return GridHasFocus(); }));
    Key(Qt::Key_Down);
    EXPECT_EQ(Sheet()->CursorRow(), row + 2);
}

TEST_F(CloneJourney, TheToolBarReadsWritesAndAsksTheRadioWhoItIs) {
    const std::string radioFile = RadioFile("radio.t590", "ON THE BENCH", 16804000);
    const std::string written = Path("written.t590");
    SimProcess sim(
        {"--image", QString::fromStdString(radioFile), "--save", QString::fromStdString(written)});
    ASSERT_FALSE(sim.Device().empty()) << sim.Errors();
    Setting(QStringLiteral("Ports/COM3"), QString::fromStdString(sim.Device()));
    Start();
    OpenNode(QStringLiteral("User channels"));
    // The COM buttons choose the port; COM3 stands for the emulator.
    Click(QStringLiteral("Use port COM1"));
    Click(QStringLiteral("Use port COM2"));
    Click(QStringLiteral("Use port COM4"));
    Click(QStringLiteral("Use port COM3"));

    // Information: the radio's sheet in a window of its own, closed with Return.
    // Its window comes up as the radio answers, and the transfer ends once it is closed.
    Click(QStringLiteral("Show the model"));
    QWidget* info = nullptr;
    ASSERT_TRUE(WaitUntil([&info, this] {
        info = qobject_cast<cuiInformation*>(QApplication::activeWindow());
        return info != nullptr;
    }));
    QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : info,
                    Qt::Key_Return);
    ASSERT_TRUE(WaitUntil([this] { return QApplication::activeWindow() == Form(); }));
    FinishTransfer();

    Click(QStringLiteral("Read the radio"));
    FinishTransfer();
    int col = 0, row = 0;
    ASSERT_TRUE(WaitUntil([this] { return Sheet() != nullptr; }));
    EXPECT_TRUE(Find("16804.0", &col, &row));

    // Saved with the tool bar (a new file: the dialog asks for its name), then written back.
    const std::string saved = Path("bench.t590");
    WhenFileDialog(saved);
    Click(QStringLiteral("Save to the clone file"));
    WaitForDialogs();
    ASSERT_TRUE(WaitUntil([&] { return QFile::exists(QString::fromStdString(saved)); }));
    WhenMessage(Qt::Key_Return);  // OK: write
    WhenMessage(Qt::Key_Return);  // written
    Click(QStringLiteral("Write these settings"));
    ASSERT_TRUE(WaitUntil([this] { return DialogsAnswered(); }));
    FinishTransfer();
    sim.Stop();
    EXPECT_TRUE(SameCloneRange(Image(written), Image(saved)));
}

TEST_F(CloneJourney, TwoRadiosOfAFleetAreWrittenFromTheirWindowWithKeys) {
    const std::string plan = RadioFile("plan.t590", "THE PLAN", 8291000);
    QDir().mkpath(QString::fromStdString(Path("bench")));
    RadioFile("bench/1.t590", "RADIO ONE", 4125000);
    RadioFile("bench/2.t590", "RADIO TWO", 6215000);
    SimProcess sim(
        {"--fleet", QString::fromStdString(Path("bench")), "--verbose", "--swap-ms", "200"});
    ASSERT_FALSE(sim.Device().empty()) << sim.Errors();
    // The bench's cable is on COM2, as Port › Device of COM2 keeps it; the program is on COM1.
    Setting(QStringLiteral("Ports/COM2"), QString::fromStdString(sim.Device()));
    Start({plan});
    cuiFleetWindow* window = OpenFleetWindow();
    ASSERT_NE(window, nullptr);
    // COM2 ticked with its letter (Alt+2) and COM1 unticked with a click, the journal typed
    // into its field (clicked first), then Enter per radio.
    QCheckBox* com1 = window->findChild<QCheckBox*>(QStringLiteral("fleetPort1"));
    QCheckBox* com2 = window->findChild<QCheckBox*>(QStringLiteral("fleetPort2"));
    ASSERT_TRUE(com1 && com2);
    ASSERT_TRUE(com1->isChecked());
    Key(Qt::Key_2, Qt::AltModifier);
    ASSERT_TRUE(WaitUntil([com2] { return com2->isChecked(); }));
    QTest::mouseClick(com1, Qt::LeftButton);
    ASSERT_FALSE(com1->isChecked());
    QTest::mouseClick(window->JournalPath(), Qt::LeftButton);
    QTest::keyClick(window->JournalPath(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(window->JournalPath(), QString::fromStdString(Path("journal.csv")));
    for (int radio = 1; radio <= 2; ++radio) {
        if (radio == 2) {
            ASSERT_TRUE(sim.WaitForError("radio 2 answers")) << sim.Errors();
        }
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        ASSERT_TRUE(WaitUntil([window, radio] {
            return window->List()->topLevelItemCount() == radio &&
                   window->WriteButton()->isEnabled();
        })) << "radio "
            << radio;
    }
    EXPECT_EQ(window->List()->topLevelItem(1)->text(1), QStringLiteral("RADIO TWO"));
    // Its read previewed the write: the comment and user channel 1's frequency change.
    EXPECT_EQ(window->List()->topLevelItem(1)->text(cuiFleetWindow::kChangesColumn),
              QStringLiteral("2 cell(s)"));
    // The one line of the one port ticked: COM2 and its device, its last radio done whole.
    ASSERT_EQ(window->PortLines()->topLevelItemCount(), 1);
    EXPECT_EQ(window->PortLines()->topLevelItem(0)->text(0).toStdString(),
              "COM2 (" + sim.Device() + ")");
    EXPECT_EQ(window->PortLines()->topLevelItem(0)->text(2), QStringLiteral("100%"));
    QTest::keyClick(window, Qt::Key_Escape);
    ASSERT_TRUE(WaitUntil([] { return ShownFleetWindow() == nullptr; }));
    EXPECT_EQ(Title(), "plan.t590 - PQ-T590");  // the open file was never changed
    sim.Stop();
    EXPECT_EQ(cmcCloneFile::ImageComment(*Image(Path("bench/2.written.t590"))), "THE PLAN");
}

// Stop (Alt+S) while the radio is being read: it is not written, its line says it was stopped,
// and the next Enter writes it after all.
TEST_F(CloneJourney, AFleetRadioStoppedDuringItsReadIsNotWrittenAndTheNextEnterWritesIt) {
    const std::string plan = RadioFile("plan.t590", "THE PLAN", 8291000);
    QDir().mkpath(QString::fromStdString(Path("bench")));
    RadioFile("bench/1.t590", "RADIO ONE", 4125000);
    // A read of three seconds: the stop comes during it on a busy machine too.
    SimProcess sim(
        {"--fleet", QString::fromStdString(Path("bench")), "--verbose", "--baud", "38400"});
    ASSERT_FALSE(sim.Device().empty()) << sim.Errors();
    Setting(QStringLiteral("Ports/COM1"), QString::fromStdString(sim.Device()));
    Start({plan});
    cuiFleetWindow* window = OpenFleetWindow();
    ASSERT_NE(window, nullptr);
    QTest::mouseClick(window->JournalPath(), Qt::LeftButton);
    QTest::keyClick(window->JournalPath(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(window->JournalPath(), QString::fromStdString(Path("journal.csv")));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    ASSERT_TRUE(WaitUntil(
        [&sim] { return sim.Errors().find("read 1 answered") != std::string::npos; }, 60000))
        << sim.Errors();
    ASSERT_TRUE(window->StopButton()->isEnabled());
    Key(Qt::Key_S, Qt::AltModifier);  // the button's letter clicks it a moment later
    const std::string stopping = cmcGTex::Main()->Line("GI_Fleet_Window", 16);
    EXPECT_TRUE(WaitUntil([window, &stopping] {
        return window->Status()->text().toStdString() == stopping;
    })) << window->Status()->text().toStdString();
    EXPECT_TRUE(window->Busy());
    ASSERT_TRUE(WaitUntil(
        [window] {
            return window->List()->topLevelItemCount() == 1 && window->WriteButton()->isEnabled();
        },
        60000));
    const std::string stopped = cmcGTex::Main()->Line("GI_Fleet_Status", 5);
    EXPECT_EQ(window->List()->topLevelItem(0)->text(cuiFleetWindow::kResultColumn).toStdString(),
              stopped);
    EXPECT_FALSE(window->StopButton()->isEnabled());
    EXPECT_FALSE(QFile::exists(QString::fromStdString(Path("bench/1.written.t590"))));
    EXPECT_EQ(sim.Errors().find("write frame 1 received"), std::string::npos) << sim.Errors();

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    ASSERT_TRUE(WaitUntil(
        [window] {
            return window->List()->topLevelItemCount() == 2 && window->WriteButton()->isEnabled();
        },
        120000));
    EXPECT_EQ(window->List()->topLevelItem(1)->text(cuiFleetWindow::kResultColumn).toStdString(),
              cmcGTex::Main()->Line("GI_Mess_CloneErr_Head", 0));
    QTest::keyClick(window, Qt::Key_Escape);
    ASSERT_TRUE(WaitUntil([] { return ShownFleetWindow() == nullptr; }));
    sim.Stop();
    EXPECT_EQ(cmcCloneFile::ImageComment(*Image(Path("bench/1.written.t590"))), "THE PLAN");
}

}  // namespace

#endif  // _WIN32
