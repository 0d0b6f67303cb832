// Journeys of being told: a value typed into a settings or channel sheet that is stored
// otherwise than typed, or not stored at all, says so in the status bar (what was typed, what
// was kept and why, or the form that is accepted), and Ctrl+Z takes a changed value back; the
// question about changes never saved; a frequency not in use shown empty; a paste that a band's
// end shortens.
#include <QDir>
#include <QFile>
#include <csignal>

#include "Journey.h"
#include "app/indProgram.h"
#include "platform/cmcInstanceLock.h"
#include "session/indRecovery.h"
#include "text/cmcGTex.h"
#include "text/cmcTextUtil.h"

namespace {

constexpr int kValue = 1;  // the settings sheets' value column

struct TypedCase {
    const char* name;
    const char* sheet;   // the tree's caption
    const char* row;     // the row's caption; null: the cell at rowIndex, col of a row table
    const char* typed;   // the technician's keys, then Enter
    const char* shown;   // what the cell shows afterwards
    const char* status;  // the status bar's text, exactly
    int col = kValue;
    int rowIndex = -1;
};

void PrintTo(const TypedCase& c, std::ostream* os) {
    *os << c.name;
}

class TellingJourney : public Journey, public ::testing::WithParamInterface<TypedCase> {
protected:
    void SetUp() override { Start(); }
};

TEST_P(TellingJourney, TheStatusBarSaysWhatBecameOfTheTypedValue) {
    const TypedCase& c = GetParam();
    OpenNode(QString::fromUtf8(c.sheet));
    TabIntoSheet();
    int col = c.col, row = c.rowIndex;
    if (c.row != nullptr) {
        int captionCol = -1;
        ASSERT_TRUE(Find(c.row, &captionCol, &row)) << c.row;
    }
    const std::string before = Shown(col, row);
    ClickCell(col, row);
    Type(QString::fromUtf8(c.typed));
    Key(Qt::Key_Return);
    // The message is posted by the conversion: it comes once the key's events are through.
    EXPECT_TRUE(WaitUntil([this] { return !StatusText().empty(); })) << "no message";
    EXPECT_EQ(StatusText(), c.status);
    EXPECT_EQ(Shown(col, row), c.shown);
    EXPECT_TRUE(GridHasFocus());
    // What was stored is an edit like any other, taken back with the keyboard.
    if (before != c.shown) {
        Key(Qt::Key_Z, Qt::ControlModifier);
        EXPECT_EQ(Shown(col, row), before);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Typed, TellingJourney,
    ::testing::Values(
        TypedCase{"RfGainAboveItsRange", "Common settings", "RF gain", "15", "9",
                  "15 is above 9: 9 stored."},
        TypedCase{"TimeOffsetBeyondTwelveHours", "Common settings", "Local time offset from UTC",
                  "-13:00", "0:00",
                  "\"-13:00\" was not taken, nothing changed: a time offset is -12:00 to +12:00, "
                  "as h:mm."},
        TypedCase{"TimeOffsetWithoutMinutes", "Common settings", "Local time offset from UTC", "5",
                  "0:00",
                  "\"5\" was not taken, nothing changed: a time offset is -12:00 to +12:00, as "
                  "h:mm."},
        TypedCase{"MmsiOfFiveDigits", "Own identity and settings", "Own ship identity, MMSI",
                  "21100", "Not set", "\"21100\" has 5 digits, not 9: no number stored."},
        // One place for each letter the radio lacks, never two, and the letter named.
        TypedCase{"CommentWithALetterTheRadioLacks", "Common settings", "Clone comment",
                  "M\xC3\x85V NORD", "M V NORD",
                  "\"M\xC3\x85V NORD\" stored as \"M V NORD\": the radio has no \xC3\x85; each "
                  "such letter became a blank."},
        // The channel sheets: a frequency above the receiver's range, and one with letters in
        // it, typed into user channel 2's receive cell.
        TypedCase{"FrequencyAboveTheRange", "User channels", nullptr, "35000", "29999.9",
                  "35000 kHz is above 29999.9 kHz: 29999.9 kHz stored.", 1, 2},
        TypedCase{"FrequencyWithLetters", "User channels", nullptr, "12a.b3x", "12.3",
                  "\"12a.b3x\" was taken as 12.3 kHz: the characters that are no part of it "
                  "were left out.",
                  1, 2}),
    [](const ::testing::TestParamInfo<TypedCase>& i) { return std::string(i.param.name); });

// Journeys that start on the initial file.
class ToldJourney : public Journey {
protected:
    // A copy of the initial file in the scratch folder, as a technician's own plan.
    std::string PlanFile() {
        const std::string plan = Path("plan.t590");
        EXPECT_TRUE(QFile::copy(QString::fromStdString(ResourcePath("PQT590_Default.t590")),
                                QString::fromStdString(plan)));
        return plan;
    }
    // User channel 2's receive frequency typed in on its sheet, opened from the tree.
    void TypeChannel2Frequency() {
        OpenNode(QStringLiteral("User channels"));
        TabIntoSheet();
        ClickCell(1, 2);
        Type(QStringLiteral("8291"));
        Key(Qt::Key_Return);
    }
};

// Data never saved, changed, then File › New: the question asks whether to save the changes
// (never "to 'Untitled'"), and Yes goes on to Save As; the file is written, then the new image
// opens.

TEST_F(ToldJourney, ChangesNeverSavedAreOfferedSaveAsNotAFileNamedUntitled) {
    Start();
    TypeChannel2Frequency();
    ASSERT_TRUE(WaitUntil([this] { return Title() == "Untitled* - PQ-T590"; })) << Title();
    const std::string saved = Path("first-plan.t590");
    std::string question;
    WhenMessage(Qt::Key_Return, &question);  // Yes: save
    WhenFileDialog(saved);
    Choose({QStringLiteral("File"), QStringLiteral("New")});
    WaitForDialogs();
    EXPECT_EQ(question, cmcGTex::Main()->Text("GI_Mess_Confirm_SaveChanges"));
    EXPECT_EQ(question.find("Untitled"), std::string::npos) << question;
    EXPECT_TRUE(QFile::exists(QString::fromStdString(saved)));
    EXPECT_TRUE(WaitUntil([this] { return Title() == "Untitled - PQ-T590"; })) << Title();
}

// The address book shows a frequency not in use as the channel sheets do: empty, not "0.0",
// also once the entry is in use with an MMSI typed in.
TEST_F(ToldJourney, AnAddressBookEntryWithoutAFrequencyShowsItEmpty) {
    Start();
    OpenNode(QStringLiteral("Address book"));
    TabIntoSheet();
    constexpr int kMmsi = 1, kRxFreq = 4, kTxFreq = 5;
    EXPECT_EQ(Shown(kRxFreq, 1), "");
    EXPECT_EQ(Shown(kTxFreq, 1), "");
    ClickCell(kMmsi, 1);
    Type(QStringLiteral("211000001"));
    Key(Qt::Key_Return);
    ASSERT_TRUE(WaitUntil([this] { return Shown(kMmsi, 1) == "211000001"; })) << Shown(kMmsi, 1);
    EXPECT_EQ(Shown(kRxFreq, 1), "");
    EXPECT_EQ(Shown(kTxFreq, 1), "");
}

// Three ITU channels copied and pasted on the band's last but one: two are pasted, and the
// status bar names the band and the channel where it ends; Ctrl+Z takes the paste back.
TEST_F(ToldJourney, AnItuPasteTheBandsEndShortensNamesTheBandAndItsLastChannel) {
    Start();
    OpenNode(QStringLiteral("ITU channels"));
    TabIntoSheet();
    int col = -1, first = -1, eighth = -1, ninth = -1;
    ASSERT_TRUE(Find("4-1", &col, &first));
    ASSERT_TRUE(Find("8-8", &col, &eighth));
    ASSERT_TRUE(Find("8-9", &col, &ninth));
    const int freq = col + 1;
    const std::string copied = Shown(freq, first), second = Shown(freq, first + 1);
    const std::string before = Shown(freq, eighth);
    ASSERT_NE(copied, before);
    ClickCell(freq, first);
    Key(Qt::Key_Down, Qt::ShiftModifier);
    Key(Qt::Key_Down, Qt::ShiftModifier);
    Key(Qt::Key_C, Qt::ControlModifier);
    ClickCell(freq, eighth);
    WhenMessage(Qt::Key_Return);  // the rows hold channels: overwrite
    Key(Qt::Key_V, Qt::ControlModifier);
    WaitForDialogs();
    EXPECT_TRUE(WaitUntil([this] {
        return StatusText() == "2 of 3 rows pasted: the 8 MHz band ends at 8-9.";
    })) << StatusText();
    EXPECT_EQ(Shown(freq, eighth), copied);
    EXPECT_EQ(Shown(freq, ninth), second);
    EXPECT_TRUE(GridHasFocus());
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Shown(freq, eighth), before);
}

// A second start given a file, while the copy that holds the lock does not answer (hung): the
// file cannot be handed over, and a box says so and how to open it; no window opens.
TEST_F(ToldJourney, AFileTheRunningCopyDoesNotTakeIsNamedInABox) {
    cmcInstanceLock first(indProgram::kMutexName, "");
    ASSERT_EQ(first.GetState(), cmcInstanceLock::State::First);
    const std::string file = PlanFile();
    cuiGuiHost host;
    cmcHost::Install(&host);
    std::string said;
    WhenMessage(Qt::Key_Return, &said);
    cuiProgram second(host, {"pqt590", file});
    EXPECT_FALSE(second.Start());
    EXPECT_TRUE(second.HandFailed());
    WaitForDialogs();
    cmcHost::Install(nullptr);
    EXPECT_EQ(second.Form(), nullptr);
    cmcGTex dictionary;
    dictionary.SetFile(ResourcePath("PQT590.OVL"));
    EXPECT_EQ(said, FillPlaceholders(dictionary.Text("GI_Mess_NotHanded"), {file}));
}

#ifndef _WIN32
// Ended by the system (SIGTERM at a shutdown) with a change not saved: the window closes without
// a question nobody could answer, the change stays for the next start, and the next start offers
// it back as after a crash.
TEST_F(ToldJourney, ASigtermKeepsTheUnsavedChangeAndTheNextStartOffersItBack) {
    Start({PlanFile()});
    TypeChannel2Frequency();
    ASSERT_TRUE(WaitUntil([this] { return Title() == "plan.t590* - PQ-T590"; })) << Title();
    const QString kept = QDir(QString::fromStdString(indRecovery::StandardDirectory()))
                             .filePath(QString::fromLatin1(indRecovery::kFileName));
    ASSERT_TRUE(WaitUntil([&kept] { return QFile::exists(kept); })) << kept.toStdString();

    ASSERT_EQ(std::raise(SIGTERM), 0);
    ASSERT_TRUE(WaitUntil([this] { return !Form()->isVisible(); }));
    EXPECT_TRUE(QFile::exists(kept));
    Quit();
    // The program asked the event loop to end, as main's exec would then see; the run of that
    // loop is done with here, so that the next start's question gets a loop of its own.
    QTimer::singleShot(0, [] { QCoreApplication::exit(0); });
    QCoreApplication::exec();

    std::string question;
    WhenMessage(Qt::Key_Return, &question);  // Yes: restore
    Start();
    WaitForDialogs();
    EXPECT_EQ(question, ReadTextBlock(*cmcGTex::Main(), "GI_Mess_Confirm_Recovery"));
    EXPECT_TRUE(WaitUntil([this] { return Title() == "plan.t590* - PQ-T590"; })) << Title();
    OpenNode(QStringLiteral("User channels"));
    TabIntoSheet();
    EXPECT_EQ(Shown(1, 2), "8291.0");
}
#endif

}  // namespace
