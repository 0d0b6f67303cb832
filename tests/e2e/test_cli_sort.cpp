// pqt590-cli sort: the rows of one sheet put in order by one column, records moved whole, the
// unused rows after the used ones, and the result saved only when the sort could be done.
#include <gtest/gtest.h>

#include <QFile>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "CliFixture.h"
#include "text/cmcCsv.h"

namespace {

QString Q(const std::string& s) {
    return QString::fromStdString(s);
}

struct Record {
    int32_t rx;
    const char* comment;
};

class CliSort : public CliFixture {
protected:
    // User channels 1.. as given, every later channel unused; channel 0 as the template has it.
    std::string File(const std::vector<Record>& records) {
        cmcEeprom image;
        DefaultImage(image, "SORT");
        last_ = datCh::LastEntry(image.Bytes(), datCh::kUserCh);
        for (int n = 1; n <= last_; ++n) {
            datCh ch(image);
            ch.Load(datCh::kUserCh, n);
            const size_t k = size_t(n - 1);
            ch.flags = k < records.size() ? uint8_t(datCh::kUsed)
                                          : uint8_t(datCh::kRxBlank | datCh::kTxBlank);
            ch.rxFreq = ch.txFreq = k < records.size() ? records[k].rx : 0;
            std::memset(ch.comment, ' ', sizeof ch.comment);
            if (k < records.size())
                std::memcpy(ch.comment, records[k].comment, std::strlen(records[k].comment));
            ch.Save();
        }
        return Save(image, "plan.t590");
    }
    // Channels 1.. of a saved file: receive frequency and comment, used ones only, then the
    // number of used channels found after the first unused one (0 when they all come first).
    std::vector<Record> Used(const std::string& path, int* usedAfterUnused) {
        cmcEeprom image;
        Load(image, path);
        std::vector<Record> out;
        comments_.clear();
        bool unusedSeen = false;
        *usedAfterUnused = 0;
        for (int n = 1; n <= last_; ++n) {
            datCh ch(image);
            ch.Load(datCh::kUserCh, n);
            if (!ch.IsUsed()) {
                unusedSeen = true;
                continue;
            }
            if (unusedSeen)
                ++*usedAfterUnused;
            comments_.push_back(std::string(ch.comment, sizeof ch.comment));
            out.push_back({ch.rxFreq, nullptr});
        }
        return out;
    }
    std::vector<std::string> comments_;
    int last_ = 0;
};

const std::vector<Record> kPlan = {
    {8291000, "DISTRESS"}, {4125000, "FOUR"}, {12290000, "TWELVE"}, {4125000, "FOUR B"}};

std::string Padded(const char* text) {
    std::string s(text);
    s.resize(8, ' ');
    return s;
}

// Frequencies by value (4125 before 8291 before 12290, not as texts), equal keys kept in their
// order, each comment with its record, the unused rows after the used ones.
TEST_F(CliSort, PutsTheUsedRowsInOrderOfTheColumnWithTheirRecordsWhole) {
    const std::string in = File(kPlan);
    const std::string out = Path("sorted.t590");
    const CliRun run = RunCli(
        {"sort", Q(in), "--sheet", "User channels", "--column", "Receive kHz", "-o", Q(out)});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    // Every row of the list was put in order: the four used ones, then the unused ones.
    EXPECT_TRUE(Contains(run.err, "User channels: " + std::to_string(last_) +
                                      " rows sorted; saved '" + out + "', status 0"))
        << run.err;
    int misplaced = -1;
    const std::vector<Record> used = Used(out, &misplaced);
    ASSERT_EQ(used.size(), 4u);
    EXPECT_EQ(misplaced, 0);
    const std::vector<int32_t> rx = {used[0].rx, used[1].rx, used[2].rx, used[3].rx};
    EXPECT_EQ(rx, (std::vector<int32_t>{4125000, 4125000, 8291000, 12290000}));
    EXPECT_EQ(comments_, (std::vector<std::string>{Padded("FOUR"), Padded("FOUR B"),
                                                   Padded("DISTRESS"), Padded("TWELVE")}));
}

// Descending, by a text column, its caption's line break given as a blank or not.
TEST_F(CliSort, DescendingByACommentColumn) {
    const std::string out = Path("sorted.t590");
    const CliRun run = RunCli({"sort", Q(File(kPlan)), "--sheet", "GI_Sheet_UserCh", "--column",
                               "comment", "--descending", "-o", Q(out)});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    int misplaced = -1;
    Used(out, &misplaced);
    EXPECT_EQ(comments_, (std::vector<std::string>{Padded("TWELVE"), Padded("FOUR B"),
                                                   Padded("FOUR"), Padded("DISTRESS")}));
}

TEST_F(CliSort, RowsAlreadyInOrderAreSaidToBe) {
    const std::string out = Path("sorted.t590");
    const CliRun run = RunCli({"sort", Q(File({{4125000, "A"}, {8291000, "B"}})), "--sheet",
                               "User channels", "--column", "Receive kHz", "-o", Q(out)});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(
        Contains(run.err, std::to_string(last_) + " rows sorted (they were in order already)"))
        << run.err;
}

// A radio set up for fewer user channels than the sheet has rows: the rows beyond its last
// channel are no records, they stay where they are, and the report says how many.
TEST_F(CliSort, RowsBeyondTheRadiosLastChannelAreLeftAndCounted) {
    cmcEeprom image;
    Load(image, File(kPlan));
    image.SetByte(MemoryMap::kMaxUserChannel, 100);
    const std::string in = Save(image, "hundred.t590");
    const std::string out = Path("sorted.t590");
    const CliRun run = RunCli(
        {"sort", Q(in), "--sheet", "User channels", "--column", "Receive kHz", "-o", Q(out)});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(Contains(run.err, "User channels: 100 rows sorted, " +
                                      std::to_string(MemoryMap::kUserChannelCount - 100) +
                                      " rows the radio does not use left where they are"))
        << run.err;
}

struct SortUsage {
    const char* name;
    std::vector<std::string> args;  // FILE and OUT stand for the paths
    std::string message;
};

void PrintTo(const SortUsage& c, std::ostream* os) {
    *os << c.name;
}

class CliSortUsage : public CliSort, public ::testing::WithParamInterface<SortUsage> {};

// A command the tool cannot carry out is exit status 1 with its reason, and no file is written.
TEST_P(CliSortUsage, IsTroubleWithItsReasonAndWritesNothing) {
    const std::string in = File(kPlan);
    const std::string out = Path("sorted.t590");
    QStringList args{"sort"};
    for (const std::string& a : GetParam().args)
        args << Q(a == "FILE" ? in : a == "OUT" ? out : a);
    const CliRun run = RunCli(args);
    EXPECT_EQ(run.exitCode, 1) << run.err;
    EXPECT_TRUE(Contains(run.err, GetParam().message)) << run.err;
    EXPECT_FALSE(QFile::exists(Q(out)));
}

INSTANTIATE_TEST_SUITE_P(
    Errors, CliSortUsage,
    ::testing::Values(
        SortUsage{"NoColumn",
                  {"FILE", "--sheet", "User channels", "-o", "OUT"},
                  "--column CAPTION is required"},
        SortUsage{"UnknownColumnListsTheColumns",
                  {"FILE", "--sheet", "User channels", "--column", "Colour", "-o", "OUT"},
                  "no column 'Colour' in User channels; its columns are:\n  "},
        SortUsage{"NotARowTable",
                  {"FILE", "--sheet", "Common settings", "--column", "Value", "-o", "OUT"},
                  "Common settings"},
        SortUsage{
            "NoOutput", {"FILE", "--sheet", "User channels", "--column", "Comment"}, "OUT.t590"}),
    [](const ::testing::TestParamInfo<SortUsage>& i) { return std::string(i.param.name); });

// Every sheet whose rows are records sorts through the tool: rows typed in through the CSV
// import (as a technician fills a table), sorted, and exported again. Each record moves whole:
// the other cells of a row stay with the sorted one.
struct SheetSortCase {
    const char* name;
    const char* sheet;
    std::vector<std::string> rows;  // CSV records after the header, in the sheet's columns
    const char* column;
    int sortedField;  // the exported field of `column`
    int companionField;
    std::vector<std::string> sorted;      // the sorted field of rows 1-3 afterwards
    std::vector<std::string> companions;  // the companion field of rows 1-3 afterwards
};

void PrintTo(const SheetSortCase& c, std::ostream* os) {
    *os << c.name;
}

class CliSortSheets : public CliSort, public ::testing::WithParamInterface<SheetSortCase> {};

TEST_P(CliSortSheets, SortsTheRecordsWholeByTheColumn) {
    const SheetSortCase& c = GetParam();
    cmcEeprom image;
    DefaultImage(image, "PLAIN");
    const std::string plain = Save(image, "plain.t590");
    const std::string blank = Path("blank.csv");
    ASSERT_EQ(RunCli({"export", Q(plain), "--sheet", c.sheet, "-o", Q(blank)}).exitCode, 0);
    const std::string exported = ReadWholeFile(blank);
    const std::size_t firstRow = exported.find("\n1,");
    ASSERT_NE(firstRow, std::string::npos) << exported;
    std::string table = exported.substr(0, firstRow + 1);
    for (const std::string& row : c.rows)
        table += row + "\n";
    const std::string typed = Path("typed.csv");
    std::ofstream(typed, std::ios::binary) << table;
    const std::string filled = Path("filled.t590");
    const CliRun import =
        RunCli({"import", Q(plain), "--sheet", c.sheet, Q(typed), "-o", Q(filled), "--partial"});
    ASSERT_TRUE(QFile::exists(Q(filled))) << import.err;
    const std::string sorted = Path("sorted.t590");
    const CliRun run =
        RunCli({"sort", Q(filled), "--sheet", c.sheet, "--column", c.column, "-o", Q(sorted)});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const std::string out = Path("sorted.csv");
    ASSERT_EQ(RunCli({"export", Q(sorted), "--sheet", c.sheet, "-o", Q(out)}).exitCode, 0);
    const std::vector<cmcCsv::Record> records = cmcCsv::Parse(ReadWholeFile(out));
    ASSERT_GE(records.size(), 4u);
    std::vector<std::string> keys, companions;
    for (std::size_t r = 1; r <= 3; ++r) {
        keys.push_back(records[r].fields.at(std::size_t(c.sortedField)).text);
        companions.push_back(records[r].fields.at(std::size_t(c.companionField)).text);
    }
    EXPECT_EQ(keys, c.sorted) << import.err;
    EXPECT_EQ(companions, c.companions) << import.err;
}

INSTANTIATE_TEST_SUITE_P(
    RowTables, CliSortSheets,
    ::testing::Values(SheetSortCase{"EMailByComment",
                                    "E-mail channels",
                                    {"1,8291.0,,,DELTA", "2,4125.0,,,ALPHA", "3,12290.0,,,CHARLIE"},
                                    "Comment",
                                    4,
                                    1,
                                    {"ALPHA", "CHARLIE", "DELTA"},
                                    {"4125.0", "12290.0", "8291.0"}},
                      SheetSortCase{"AddressBookByMmsi",
                                    "GI_Sheet_DscAdr",
                                    {"1,211000004,,DELTA,,", "2,211000001,,ALPHA,,",
                                     "3,211000003,,CHARLIE,,"},
                                    "Identity MMSI",
                                    1,
                                    3,
                                    {"211000001", "211000003", "211000004"},
                                    {"ALPHA", "CHARLIE", "DELTA"}},
                      SheetSortCase{"PairsByReceiveFrequency",
                                    "GI_Sheet_DscRxTx",
                                    {"1,Intership calls,8291.0,8291.0,DELTA",
                                     "2,Intership calls,4125.0,4125.0,ALPHA",
                                     "3,Coast station calls,12290.0,12290.0,CHARLIE"},
                                    "Receive kHz",
                                    2,
                                    4,
                                    {"4125.0", "8291.0", "12290.0"},
                                    {"ALPHA", "DELTA", "CHARLIE"}}),
    [](const ::testing::TestParamInfo<SheetSortCase>& i) { return std::string(i.param.name); });

}  // namespace
