// Importing damaged and hostile tables: each fault is refused where it stands (its cell, its
// row, or the whole file when it is not this sheet's table) with a report that names it, and
// nothing else changes: a good edit elsewhere in the same file is still taken, and the image is
// byte for byte what that edit alone makes of it.
#include <functional>

#include "SheetTableSupport.h"

namespace {

struct Hostile {
    const char* name;
    const char* reference;
    // The fault, made in the table or, after it is written, in the text.
    std::function<void(CsvTable&, cuiSheetTable&, SheetTest&)> table;
    std::function<void(std::string&)> text;
    bool fileRefused;
    cuiTableIssue::Kind kind;
    const char* row;     // the issue's row caption ("" when it names lines)
    const char* column;  // its column caption ("" for a whole row)
    bool expert = false;
};

void PrintTo(const Hostile& h, std::ostream* os) {
    *os << h.name;
}

// Good edits elsewhere in the same sheet, which must still be taken; none for a sheet a
// non-expert cannot edit. A new channel is given whole, as a row in use shows it.
std::vector<CellEdit> GoodEdits(const std::string& reference, bool expert) {
    if (reference == "GI_Sheet_UserCh")
        return {{"5", "Receive kHz", "7000.0"}, {"5", "Transmit kHz", "<-"}, {"5", "Mode", "CW"}};
    if (reference == "[St_Common]GI_Sheet_Common")
        return {{"RF gain", "Value", "3"}};
    if (reference == "GI_Sheet_DscSelf")
        return {{"Call mask", "Value", "Mask routine and safety calls"}};
    if (expert)
        return {{"11", "Low kHz", "26110.000"}};
    return {};
}

std::string Issues(const cuiTableImport& result) {
    std::string out = result.fileError;
    for (const cuiTableIssue& i : result.issues)
        out += "\n  " + i.Describe();
    return out;
}

auto SetField(const char* row, const char* column, std::string field) {
    return [=](CsvTable& csv, cuiSheetTable& table, SheetTest&) {
        ASSERT_TRUE(Apply(csv, table, {row, column, field})) << row << " / " << column;
    };
}

auto ReplaceText(std::string from, std::string to) {
    return [=](std::string& text) {
        const std::size_t at = text.find(from);
        ASSERT_NE(at, std::string::npos) << from;
        text.replace(at, from.size(), to);
    };
}

class SheetTableHostile : public SheetTest, public ::testing::WithParamInterface<Hostile> {
protected:
    std::vector<uint8_t> Bytes() {
        const cmcEeprom& image = main_->WorkingImage();
        return std::vector<uint8_t>(image.Bytes(), image.Bytes() + image.GetSize());
    }
    void Restore(const std::vector<uint8_t>& bytes) {
        main_->WorkingImage().WriteBlock(0, bytes.data(), int(bytes.size()));
        main_->MarkSaved();
    }
};

TEST_P(SheetTableHostile, IsRefusedWhereItStandsAndNothingElseChanges) {
    const Hostile& h = GetParam();
    main_->SetExpertMode(h.expert);
    const std::vector<uint8_t> original = Bytes();
    cuiSheetTable table(main_.Core(), h.reference);
    const CsvTable exported = CsvTable::Of(table.ExportCsv());
    const std::vector<CellEdit> good = GoodEdits(h.reference, h.expert);

    // What the good edits alone make of the image.
    CsvTable csv = exported;
    for (const CellEdit& e : good)
        ASSERT_TRUE(Apply(csv, table, e));
    const cuiTableImport alone = table.ImportCsv(csv.Csv(), cuiSheetTable::Apply::kWhenComplete);
    ASSERT_TRUE(alone.Complete()) << Issues(alone);
    ASSERT_EQ(alone.taken > 0, !good.empty());  // a transmit side that follows is no input
    const int taken = alone.taken;
    const std::vector<uint8_t> expected = Bytes();
    Restore(original);

    if (h.table)
        h.table(csv, table, *this);
    std::string text = csv.Csv();
    if (h.text)
        h.text(text);

    // Only all or nothing: nothing is taken.
    const cuiTableImport strict = table.ImportCsv(text, cuiSheetTable::Apply::kWhenComplete);
    EXPECT_FALSE(strict.Complete());
    EXPECT_FALSE(strict.applied);
    EXPECT_EQ(Bytes(), original);

    const cuiTableImport result = table.ImportCsv(text, cuiSheetTable::Apply::kWhatWasTaken);
    if (h.fileRefused) {
        EXPECT_TRUE(result.fileRefused);
        EXPECT_FALSE(result.fileError.empty());
        EXPECT_TRUE(result.issues.empty());
        EXPECT_FALSE(result.applied);
        EXPECT_EQ(Bytes(), original);
        EXPECT_FALSE(main_->IsModified());
        return;
    }
    EXPECT_FALSE(result.fileRefused) << result.fileError;
    ASSERT_EQ(result.issues.size(), 1u) << Issues(result);
    const cuiTableIssue& issue = result.issues.front();
    const std::string report = issue.Describe();
    EXPECT_EQ(issue.kind, h.kind) << report;
    if (*h.row) {
        EXPECT_EQ(issue.rowCaption, h.row) << report;
        EXPECT_NE(report.find(std::string("\"") + h.row + "\""), std::string::npos) << report;
    }
    if (*h.column) {
        EXPECT_EQ(issue.columnCaption, h.column) << report;
        EXPECT_NE(report.find(h.column), std::string::npos) << report;
    }
    EXPECT_LT(report.size(), 400u) << report;  // a 1 MB text is not repeated in the report
    EXPECT_EQ(result.taken, taken) << report;
    EXPECT_EQ(result.applied, taken > 0);
    EXPECT_EQ(Bytes(), expected) << report;
}

const std::string kMegabyte(1 << 20, 'A');

INSTANTIATE_TEST_SUITE_P(
    Faults, SheetTableHostile,
    ::testing::Values(
        Hostile{"ExtraField", "GI_Sheet_UserCh",
                [](CsvTable& csv, cuiSheetTable& t, SheetTest&) {
                    csv.rows[std::size_t(RowOf(t, "3"))].push_back("x");
                },
                nullptr, false, cuiTableIssue::kRowFieldCount, "3", ""},
        Hostile{"MissingField", "GI_Sheet_UserCh",
                [](CsvTable& csv, cuiSheetTable& t, SheetTest&) {
                    csv.rows[std::size_t(RowOf(t, "3"))].pop_back();
                },
                nullptr, false, cuiTableIssue::kRowFieldCount, "3", ""},
        Hostile{"QuoteNeverClosed", "GI_Sheet_UserCh", nullptr,
                ReplaceText("\r\n3,,,,\r\n", "\r\n3,\"7000.0,,,\r\n"), false,
                cuiTableIssue::kRowUnclosed, "3", ""},
        Hostile{"StrayQuote", "GI_Sheet_UserCh", nullptr,
                ReplaceText("\r\n3,,,,\r\n", "\r\n3,70\"00,,,\r\n"), false,
                cuiTableIssue::kFieldQuotes, "3", "Receive kHz"},
        Hostile{"MegabyteField", "GI_Sheet_UserCh", SetField("1", "Comment", kMegabyte), nullptr,
                false, cuiTableIssue::kFieldTooLong, "1", "Comment"},
        Hostile{"Latin1Bytes", "GI_Sheet_UserCh", SetField("1", "Comment", "CAF\xC9"), nullptr,
                false, cuiTableIssue::kFieldEncoding, "1", "Comment"},
        Hostile{"BrokenUtf8", "GI_Sheet_UserCh", SetField("1", "Comment", "AB\xE2\x82"), nullptr,
                false, cuiTableIssue::kFieldEncoding, "1", "Comment"},
        Hostile{"FormulaEquals", "GI_Sheet_UserCh", SetField("1", "Comment", "=1+1"), nullptr,
                false, cuiTableIssue::kFieldFormula, "1", "Comment"},
        Hostile{"FormulaHyperlink", "GI_Sheet_UserCh",
                SetField("1", "Comment", "=HYPERLINK(\"http://x.invalid\",\"a\")"), nullptr, false,
                cuiTableIssue::kFieldFormula, "1", "Comment"},
        Hostile{"FormulaPlus", "GI_Sheet_UserCh", SetField("1", "Receive kHz", "+7000"), nullptr,
                false, cuiTableIssue::kFieldFormula, "1", "Receive kHz"},
        Hostile{"FormulaMinus", "GI_Sheet_UserCh", SetField("1", "Receive kHz", "-2+3"), nullptr,
                false, cuiTableIssue::kFieldFormula, "1", "Receive kHz"},
        Hostile{"FormulaAt", "GI_Sheet_UserCh", SetField("1", "Comment", "@SUM(A1)"), nullptr,
                false, cuiTableIssue::kFieldFormula, "1", "Comment"},
        Hostile{"ControlCharacter", "GI_Sheet_UserCh",
                SetField("1", "Comment",
                         "A\x01"
                         "B"),
                nullptr, false, cuiTableIssue::kFieldControl, "1", "Comment"},
        Hostile{"LineBreakInAValue", "GI_Sheet_UserCh", SetField("1", "Comment", "A\r\nB"), nullptr,
                false, cuiTableIssue::kFieldControl, "1", "Comment"},
        Hostile{"RowMovedUp", "GI_Sheet_UserCh", SetField("3", "Ch", "4"), nullptr, false,
                cuiTableIssue::kRowMismatch, "3", "Ch"},
        Hostile{"NotAChoice", "GI_Sheet_UserCh", SetField("1", "Mode", "XYZ"), nullptr, false,
                cuiTableIssue::kNotAChoice, "1", "Mode"},
        Hostile{"TextTheCellWouldChange", "GI_Sheet_UserCh",
                SetField("1", "Receive kHz", "8291.15"), nullptr, false, cuiTableIssue::kChanged,
                "1", "Receive kHz"},
        Hostile{"CommentOfAnEmptyChannel", "GI_Sheet_UserCh", SetField("3", "Comment", "X"),
                nullptr, false, cuiTableIssue::kRedirected, "3", "Comment"},
        Hostile{"LinesBeyondTheLastRow", "GI_Sheet_UserCh", nullptr,
                [](std::string& t) { t += "161,7100.0,<-,USB,\r\n162,,,,\r\n"; }, false,
                cuiTableIssue::kExtraLines, "", ""},
        Hostile{"FileCutShort", "GI_Sheet_UserCh",
                [](CsvTable& csv, cuiSheetTable& t,
                   SheetTest&) { csv.rows.resize(std::size_t(RowOf(t, "100"))); },
                nullptr, false, cuiTableIssue::kRowsMissing, "100", ""},
        Hostile{"HeaderChanged", "GI_Sheet_UserCh", SetField("1", "Ch", "1"),
                ReplaceText("Ch,", "Channel,"), true, cuiTableIssue::kRefused, "", ""},
        Hostile{"AnotherSheetsTable", "GI_Sheet_UserCh",
                [](CsvTable& csv, cuiSheetTable&, SheetTest& t) {
                    csv = CsvTable::Of(cuiSheetTable(t.main_.Core(), "GI_Sheet_EMail").ExportCsv());
                },
                nullptr, true, cuiTableIssue::kRefused, "", ""},
        Hostile{"SeventeenMegabytes", "GI_Sheet_UserCh", nullptr,
                [](std::string& t) { t += std::string(17 << 20, ','); }, true,
                cuiTableIssue::kRefused, "", ""},
        Hostile{"EmptyFile", "GI_Sheet_UserCh", nullptr, [](std::string& t) { t.clear(); }, true,
                cuiTableIssue::kRefused, "", ""},
        Hostile{"TimeOffsetOutOfRange", "[St_Common]GI_Sheet_Common",
                SetField("Local time offset from UTC", "Value", "13:00"), nullptr, false,
                cuiTableIssue::kRefused, "Local time offset from UTC", "Value"},
        Hostile{"NumberAboveItsRange", "[St_Common]GI_Sheet_Common",
                SetField("Squelch level", "Value", "500"), nullptr, false, cuiTableIssue::kChanged,
                "Squelch level", "Value"},
        Hostile{"RangeNoteEdited", "[St_Common]GI_Sheet_Common",
                SetField("Noise blanker level", "Range", "1 to 99"), nullptr, false,
                cuiTableIssue::kRowMismatch, "Noise blanker level", "Range"},
        Hostile{"IdentityOfFiveDigits", "GI_Sheet_DscSelf",
                SetField("Own ship identity, MMSI", "Value", "12345"), nullptr, false,
                cuiTableIssue::kRefused, "Own ship identity, MMSI", "Value"},
        Hostile{"BandEdgeOutsideExpertMode", "GI_Sheet_BandEdge",
                SetField("4 MHz", "Low kHz", "4065.000"), nullptr, false,
                cuiTableIssue::kRestricted, "4 MHz", "Low kHz"},
        Hostile{"BandEdgeTextInExpertMode", "GI_Sheet_BandEdge",
                SetField("4 MHz", "Low kHz", "4 MHz"), nullptr, false, cuiTableIssue::kChanged,
                "4 MHz", "Low kHz", true}),
    [](const ::testing::TestParamInfo<Hostile>& i) { return std::string(i.param.name); });

}  // namespace
