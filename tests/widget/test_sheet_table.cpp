// Sheets as tables: export of every sheet of the tree, the round trip that changes no byte, and
// import through the cells' own behaviours (typed values, choices, refusals).
#include <cstring>
#include <functional>

#include "GuiFixture.h"
#include "SheetTableSupport.h"

namespace {

class SheetTable : public SheetTest {
protected:
    std::vector<uint8_t> Bytes() {
        const cmcEeprom& image = main_->WorkingImage();
        return std::vector<uint8_t>(image.Bytes(), image.Bytes() + image.GetSize());
    }
    static std::string Issues(const cuiTableImport& result) {
        std::string out = result.fileError;
        for (const cuiTableIssue& i : result.issues)
            out += "\n  " + i.Describe();
        return out;
    }
    // Nothing but the document was reached: no window, no command.
    void ExpectNoViews() {
        EXPECT_TRUE(main_->ChoiceLists().empty());
        EXPECT_TRUE(main_->BitEditors().empty());
        EXPECT_TRUE(main_->CommandLog().empty());
    }
};

std::vector<std::string> References() {
    ScopedTestHost host;
    cmcGTex dict;
    dict.SetFile(ResourcePath("PQT590.OVL"));
    return TreeSheetReferences(dict);
}

std::string TestName(const std::string& text) {
    std::string name;
    for (char c : text)
        if (std::isalnum(static_cast<unsigned char>(c)))
            name += c;
    return name;
}

class EverySheetTable : public SheetTable, public ::testing::WithParamInterface<std::string> {};

TEST_P(EverySheetTable, ExportsEveryRowAndColumnAsTheSheetShowsThem) {
    cuiSheetTable table(main_.Core(), GetParam());
    ASSERT_GE(table.HeaderRows(), 1);
    const std::vector<cmcCsv::Record> records = cmcCsv::Parse(table.ExportCsv());
    ASSERT_EQ(int(records.size()), table.Rows());
    int labelled = 0;
    for (int r = 0; r < table.Rows(); ++r) {
        ASSERT_EQ(int(records[std::size_t(r)].fields.size()), table.Columns()) << r;
        for (int c = 0; c < table.Columns(); ++c) {
            const cmcCsv::Field& f = records[std::size_t(r)].fields[std::size_t(c)];
            EXPECT_FALSE(f.malformed);
            EXPECT_FALSE(cmcCsv::FormulaStart(f.text)) << f.text;
            EXPECT_EQ(cmcCsv::Unguard(f.text), table.Text(c, r)) << r << "," << c;
            labelled += table.TakesInput(c, r) ? 1 : 0;
        }
    }
    EXPECT_GT(labelled, 0);
    // The header row holds the column captions.
    for (int c = 0; c < table.Columns(); ++c)
        EXPECT_FALSE(table.ColumnCaption(c).empty());
    ExpectNoViews();
}

TEST_P(EverySheetTable, ARoundTripChangesNoByte) {
    const std::vector<uint8_t> before = Bytes();
    cuiSheetTable table(main_.Core(), GetParam());
    const std::string csv = table.ExportCsv();
    const cuiTableImport result = table.ImportCsv(csv, cuiSheetTable::Apply::kWhatWasTaken);
    EXPECT_TRUE(result.Complete()) << Issues(result);
    EXPECT_EQ(result.taken, 0);
    EXPECT_GT(result.unchanged, 0);
    EXPECT_FALSE(result.applied);
    EXPECT_EQ(Bytes(), before);
    EXPECT_FALSE(main_->IsModified());
    EXPECT_EQ(table.ExportCsv(), csv);
    ExpectNoViews();
}

INSTANTIATE_TEST_SUITE_P(Tree, EverySheetTable, ::testing::ValuesIn(References()),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                             return TestName(info.param);
                         });

TEST_F(SheetTable, TreeSheetsAreFoundByReferenceOrCaption) {
    const std::vector<cuiTreeSheet> sheets = cuiTreeSheets(dict_);
    ASSERT_EQ(sheets.size(), References().size());
    const cuiTreeSheet* common = cuiFindTreeSheet(sheets, "[St_Common]GI_Sheet_Common");
    ASSERT_NE(common, nullptr);
    EXPECT_EQ(common->caption, "Common settings");
    EXPECT_EQ(cuiFindTreeSheet(sheets, "common SETTINGS"), common);
    ASSERT_NE(cuiFindTreeSheet(sheets, "GI_Sheet_UserCh"), nullptr);
    EXPECT_EQ(cuiFindTreeSheet(sheets, "GI_Sheet_UserCh")->caption, "User channels");
    EXPECT_EQ(cuiFindTreeSheet(sheets, "GI_Sheet_Common"), nullptr);  // the kind belongs to it
    EXPECT_EQ(cuiFindTreeSheet(sheets, "GI_Sheet_Sel_Mode1_R"), nullptr);
}

TEST_F(SheetTable, AnotherImagesTableMakesTheSheetShowWhatItShowed) {
    // User channels filled in directly, exported, and imported into the default image.
    cmcEeprom other;
    other.CopyFrom(main_->WorkingImage());
    datCh ch(other);
    for (int n = 2; n <= 6; ++n) {
        ch.Load(datCh::kUserCh, n);
        ch.flags = datCh::kUsed;
        ch.rxFreq = 4000000 + n * 100000;
        ch.txFreq = n % 2 ? ch.rxFreq : ch.rxFreq + 300000;
        ch.mode = uint8_t(n % 4);
        std::memcpy(ch.comment, "SHIP    ", 8);
        ch.comment[4] = char('0' + n);
        ch.Save();
    }
    cuiSheetTable table(main_.Core(), "GI_Sheet_UserCh");
    const std::string csv = table.ExportCsv(&other);
    const cuiTableImport result = table.ImportCsv(csv, cuiSheetTable::Apply::kWhenComplete);
    EXPECT_TRUE(result.Complete()) << Issues(result);
    EXPECT_TRUE(result.applied);
    EXPECT_EQ(result.taken, 5 * 4 - 3);  // the simplex rows' transmit "<-" follows by itself
    EXPECT_EQ(table.ExportCsv(), csv);
    for (int n = 2; n <= 6; ++n) {
        const datCh mine = Load(datCh::kUserCh, n);
        datCh theirs(other);
        theirs.Load(datCh::kUserCh, n);
        EXPECT_EQ(mine.rxFreq, theirs.rxFreq) << n;
        EXPECT_EQ(mine.txFreq, theirs.txFreq) << n;
        EXPECT_EQ(mine.mode, theirs.mode) << n;
        EXPECT_EQ(std::string(mine.comment, 8), std::string(theirs.comment, 8)) << n;
    }
    EXPECT_TRUE(main_->IsModified());
    EXPECT_GT(main_->WarningChecksScheduled(), 0);
    ExpectNoViews();
}

TEST_F(SheetTable, ACellALaterCellChangesIsReported) {
    // Two cells of one setting: the second's input changes what the first shows.
    LineDictionary dict(
        {"#CellModel_Basic", "<-(Color=clWindow)(Font=DEFAULT_CHARSET,,clWindowText,-13,,,)",
         "#CellModel_Set", "S<-WHB", "#GI_Sheet_Twice_Style", "(FixedRows=1)",
         "#GI_Sheet_Twice_BasicCell", "{($Basic)}", "#GI_Sheet_Twice_Cells", "Setting|First|Second",
         "RF gain|{($Set)(%CT_Null.CL_Comm_RfGain)}9|{($Set)(%CT_Null.CL_Comm_RfGain)}9", "#"});
    main_->SetDictionary(&*dict);
    cuiSheetTable table(main_.Core(), "GI_Sheet_Twice");
    ASSERT_EQ(table.ExportCsv(), "Setting,First,Second\r\nRF gain,9,9\r\n");
    const cuiTableImport result = table.ImportCsv("Setting,First,Second\r\nRF gain,3,5\r\n",
                                                  cuiSheetTable::Apply::kWhenComplete);
    EXPECT_EQ(result.taken, 2);
    ASSERT_EQ(result.issues.size(), 1u) << Issues(result);
    const cuiTableIssue& issue = result.issues.front();
    EXPECT_EQ(issue.kind, cuiTableIssue::kChangedLater);
    EXPECT_EQ(issue.columnCaption, "First");
    EXPECT_EQ(issue.given, "3");
    EXPECT_EQ(issue.after, "5");
    EXPECT_FALSE(result.applied);
    EXPECT_EQ(main_->WorkingImage().GetByte(MemoryMap::kRfGain), 9);
    main_->SetDictionary(&dict_);
}

// One import into a sheet of the default image: the edits and what the cells then show.
struct ImportCase {
    const char* name;
    const char* reference;
    bool expert;
    std::vector<CellEdit> edits;
    // Checks the image afterwards; may be null.
    std::function<void(SheetTest&)> check;
};

void PrintTo(const ImportCase& c, std::ostream* os) {
    *os << c.name;
}

class SheetTableImport : public SheetTable, public ::testing::WithParamInterface<ImportCase> {};

TEST_P(SheetTableImport, EveryTextIsTakenThroughTheCellsBehaviour) {
    const ImportCase& c = GetParam();
    main_->SetExpertMode(c.expert);
    cuiSheetTable table(main_.Core(), c.reference);
    CsvTable csv = CsvTable::Of(table.ExportCsv());
    for (const CellEdit& e : c.edits)
        ASSERT_TRUE(Apply(csv, table, e)) << e.row << " / " << e.column;
    const cuiTableImport result = table.ImportCsv(csv.Csv(), cuiSheetTable::Apply::kWhenComplete);
    EXPECT_TRUE(result.Complete()) << Issues(result);
    EXPECT_EQ(result.taken, int(c.edits.size()));
    EXPECT_TRUE(result.applied);
    for (const CellEdit& e : c.edits)
        EXPECT_EQ(TrimEnd(table.Text(ColumnOf(table, e.column), RowOf(table, e.row))),
                  cmcCsv::Unguard(e.field))
            << e.row << " / " << e.column;
    // What the sheet shows now is the file that was imported.
    EXPECT_EQ(CsvTable::Of(table.ExportCsv()).Trimmed().rows, csv.Trimmed().rows);
    if (c.check)
        c.check(*this);
    ExpectNoViews();
}

INSTANTIATE_TEST_SUITE_P(
    Cells, SheetTableImport,
    ::testing::Values(
        ImportCase{"ReceiveFrequencyOfASimplexChannel",
                   "GI_Sheet_UserCh",
                   false,
                   {{"1", "Receive kHz", "7000.5"}},
                   [](SheetTest& t) {
                       const datCh ch = t.Load(datCh::kUserCh, 1);
                       EXPECT_EQ(ch.rxFreq, 7000500);
                       EXPECT_EQ(ch.txFreq, 7000500);  // the transmit side follows
                   }},
        ImportCase{"AnEmptyChannelFilledInRowOrder",
                   "GI_Sheet_UserCh",
                   false,
                   {{"2", "Receive kHz", "8291.1"},
                    {"2", "Transmit kHz", "8719.1"},
                    {"2", "Mode", "FSK"},
                    {"2", "Comment", "WEATHER"}},
                   [](SheetTest& t) {
                       const datCh ch = t.Load(datCh::kUserCh, 2);
                       EXPECT_TRUE(ch.IsUsed());
                       EXPECT_EQ(ch.rxFreq, 8291100);
                       EXPECT_EQ(ch.txFreq, 8719100);
                       EXPECT_EQ(std::string(ch.comment, 8), "WEATHER ");
                   }},
        ImportCase{
            "ModeChosenFromItsList", "GI_Sheet_UserCh", false, {{"1", "Mode", "AM"}}, nullptr},
        ImportCase{"ChoicesNumbersTimeAndText",
                   "[St_Common]GI_Sheet_Common",
                   false,
                   {{"Transmit power", "Value", "Medium, 60 W"},
                    {"RF gain", "Value", "5"},
                    {"Local time offset from UTC", "Value", "'-5:30"},
                    {"Clone comment", "Value", "MV NORTHERN STAR"},
                    {"Scan stop level, percent", "Value", "120"}},
                   nullptr},
        ImportCase{
            "BandEdgesInExpertMode",
            "GI_Sheet_BandEdge",
            true,
            {{"4 MHz", "Low kHz", "4065.000"}, {"11", "High kHz", ""}, {"11", "Low kHz", ""}},
            [](SheetTest& t) {
                EXPECT_EQ(t.Load(datCh::kItuEdge, 0).lowEdge, 4065000);
                EXPECT_EQ(t.Load(datCh::kTxEdge, 10).lowEdge, -1);
            }},
        ImportCase{"ExpansionInExpertMode",
                   "GI_Sheet_Expansion",
                   true,
                   {{"ITU channels", "Value", "Disabled"}},
                   nullptr},
        ImportCase{"OwnIdentity",
                   "GI_Sheet_DscSelf",
                   false,
                   {{"Own ship identity, MMSI", "Value", "211234560"}},
                   nullptr},
        ImportCase{"AnAddressBookEntry",
                   "GI_Sheet_DscAdr",
                   false,
                   {{"1", "Identity MMSI", "002113100"},
                    {"1", "Type", "Coast station"},
                    {"1", "Comment", "BREMEN"},
                    {"1", "Receive kHz", "2187.5"},
                    {"1", "Transmit kHz", "2177.0"}},
                   nullptr},
        ImportCase{"ModeUse",
                   "GI_Sheet_ModeReg",
                   false,
                   {{"J3E lower sideband", "Use", "Available"}},
                   nullptr}),
    [](const ::testing::TestParamInfo<ImportCase>& i) { return std::string(i.param.name); });

}  // namespace
