// The per-radio table of a fleet run: what it accepts, which row a radio takes, and the journal
// that records every attempt line by line.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <string>

#ifndef _WIN32
#include <signal.h>
#include <sys/resource.h>
#endif

#include "memory/MemoryMap.h"
#include "memory/cmcEeprom.h"
#include "session/indFleet.h"
#include "session/indFleetJournal.h"
#include "session/indFleetPlan.h"
#include "text/cmcCsv.h"

namespace {

const char kTable[] =
    "MMSI,[St_Common]GI_Sheet_Common:Comment:Value\r\n"
    "211000001,MV FIRST\r\n"
    "#,MV NEXT ONE\r\n"
    "#,MV NEXT TWO\r\n"
    "211000002,\r\n";

TEST(FleetPlan, ARadioTakesItsMmsiRowElseTheNextFreeHashRow) {
    indFleetPlan plan;
    std::string why;
    ASSERT_TRUE(plan.Parse(kTable, why)) << why;
    ASSERT_EQ(plan.Columns().size(), 1u);
    EXPECT_EQ(plan.Columns()[0], "[St_Common]GI_Sheet_Common:Comment:Value");
    ASSERT_EQ(plan.Rows().size(), 4u);
    EXPECT_EQ(plan.Match("211000001", {}), 0);
    EXPECT_EQ(plan.Match("211000002", {}), 3);
    // No MMSI, or one without a row: the "#" rows in order, skipping those held elsewhere.
    EXPECT_EQ(plan.Match("", {}), 1);
    EXPECT_EQ(plan.Match("999999999", {1}), 2);
    plan.Take(1);
    EXPECT_EQ(plan.Match("", {}), 2);
    plan.Take(2);
    EXPECT_EQ(plan.Match("", {}), -1);
    // An MMSI row is never used up: the same radio met again takes it again.
    plan.Take(0);
    EXPECT_EQ(plan.Match("211000001", {}), 0);
    EXPECT_EQ(plan.Describe(0), "line 2 (MMSI 211000001)");
    EXPECT_EQ(plan.Describe(1), "line 3 (#)");
    EXPECT_EQ(plan.Rows()[3].texts[0], "");
}

struct BadTable {
    const char* name;
    const char* csv;
    const char* why;
};

class FleetPlanRefuses : public ::testing::TestWithParam<BadTable> {};

TEST_P(FleetPlanRefuses, WithTheReason) {
    indFleetPlan plan;
    std::string why;
    EXPECT_FALSE(plan.Parse(GetParam().csv, why));
    EXPECT_NE(why.find(GetParam().why), std::string::npos) << why;
}

INSTANTIATE_TEST_SUITE_P(
    Tables, FleetPlanRefuses,
    ::testing::Values(BadTable{"Empty", "", "no header"},
                      BadTable{"OtherKey", "Name,A:B:C\r\nx,y\r\n", "first column must be"},
                      BadTable{"ShortRow", "MMSI,A:B:C\r\n211000001\r\n", "line 2: 1 fields"},
                      BadTable{"BadKey", "MMSI,A:B:C\r\n21100000,x\r\n", "neither nine digits"},
                      BadTable{"TwiceTheSameMmsi", "MMSI,A:B:C\r\n211000001,x\r\n211000001,y\r\n",
                               "has a row already (line 2)"},
                      BadTable{"StrayQuote", "MMSI,A:B:C\r\n211000001,a\"b\r\n", "a quote"},
                      BadTable{"NotUtf8", "MMSI,A:B:C\r\n211000001,\xFF\r\n", "not UTF-8"}),
    [](const ::testing::TestParamInfo<BadTable>& info) { return std::string(info.param.name); });

TEST(FleetMmsi, NineDigitsOrNone) {
    cmcEeprom image;
    image.SetSize(MemoryMap::kImageSize);
    const std::uint8_t id[5] = {21, 10, 0, 12, 30};
    image.WriteBlock(MemoryMap::kOwnIdentity, id, 5);
    EXPECT_EQ(indFleetOwnMmsi(image), "211000123");
    image.SetByte(MemoryMap::kOwnIdentity, 0xFF);
    EXPECT_EQ(indFleetOwnMmsi(image), "");
}

indFleetEntry Entry(const std::string& comment) {
    indFleetEntry e;
    e.timeUtc = "2026-12-10T11:00:00Z";
    e.portNumber = 3;
    e.device = "/dev/ttyUSB2";
    e.model = "2429/0001";
    e.mapRevision = 7;
    e.commentBefore = comment;
    e.commentAfter = "=SUM(A1)";
    e.mmsiBefore = "211000001";
    e.mmsiAfter = "211000001";
    e.rowText = "line 2 (MMSI 211000001)";
    e.cloneFile = "plan, \"final\".t590";
    e.sha256 = std::string(64, 'a');
    e.status = 0;
    e.statusText = "Cloning finished.";
    e.verified = "yes";
    return e;
}

std::string ReadAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll().toStdString() : std::string();
}

TEST(FleetJournal, HeaderOnceThenOneWholeLinePerAttemptAcrossRuns) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::string path = dir.filePath("journal.csv").toStdString();
    std::string why;
    {
        indFleetJournal journal;
        ASSERT_TRUE(journal.Open(path, why)) << why;
        ASSERT_TRUE(journal.Append(Entry("MV ONE"), why)) << why;
    }
    {
        indFleetJournal journal;  // a later run appends to the same journal
        ASSERT_TRUE(journal.Open(path, why)) << why;
        ASSERT_TRUE(journal.Append(Entry("MV TWO, AFT"), why)) << why;
    }
    const std::vector<cmcCsv::Record> records = cmcCsv::Parse(ReadAll(dir.filePath("journal.csv")));
    ASSERT_EQ(records.size(), 3u);
    ASSERT_EQ(records[0].fields.size(), indFleetJournal::Header().size());
    EXPECT_EQ(records[0].fields[0].text, "Time (UTC)");
    for (size_t r = 1; r < 3; ++r) {
        ASSERT_EQ(records[r].fields.size(), indFleetJournal::Header().size()) << r;
        EXPECT_EQ(records[r].fields[1].text, "COM3");
        EXPECT_EQ(records[r].fields[10].text, "plan, \"final\".t590");
        EXPECT_EQ(records[r].fields[15].text, "yes");
        // A text a spreadsheet would compute is guarded.
        EXPECT_EQ(records[r].fields[6].text, "'=SUM(A1)");
    }
    EXPECT_EQ(records[1].fields[5].text, "MV ONE");
    EXPECT_EQ(records[2].fields[5].text, "MV TWO, AFT");
}

TEST(FleetJournal, AFileThatIsNotAJournalIsRefusedAndLeftAlone) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath("other.csv");
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("Name,Value\r\nx,1\r\n");
    }
    indFleetJournal journal;
    std::string why;
    EXPECT_FALSE(journal.Open(path.toStdString(), why));
    EXPECT_NE(why.find("not a fleet journal"), std::string::npos) << why;
    EXPECT_EQ(ReadAll(path), "Name,Value\r\nx,1\r\n");
}

TEST(FleetJournal, AJournalThatCannotBeOpenedSaysWhy) {
    indFleetJournal journal;
    std::string why;
    EXPECT_FALSE(journal.Open("/no/such/dir/journal.csv", why));
    EXPECT_NE(why.find("/no/such/dir/journal.csv"), std::string::npos) << why;
    EXPECT_FALSE(journal.Append(Entry("X"), why));
}

TEST(FleetJournal, ALineCutShortEarlierIsEndedBeforeTheNextLine) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath("journal.csv");
    std::string why;
    {
        indFleetJournal journal;
        ASSERT_TRUE(journal.Open(path.toStdString(), why)) << why;
        ASSERT_TRUE(journal.Append(Entry("MV ONE"), why)) << why;
    }
    {
        // What a power cut in the middle of a line leaves.
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::Append));
        f.write("2026-12-11T10:00:00Z,COM3,/dev/ttyS2,24");
    }
    indFleetJournal journal;
    ASSERT_TRUE(journal.Open(path.toStdString(), why)) << why;
    ASSERT_TRUE(journal.Append(Entry("MV TWO"), why)) << why;
    const std::vector<cmcCsv::Record> records = cmcCsv::Parse(ReadAll(path));
    ASSERT_EQ(records.size(), 4u);
    EXPECT_EQ(records[2].fields.size(), 4u);  // the cut line stays as it was left
    ASSERT_EQ(records[3].fields.size(), indFleetJournal::Header().size());
    EXPECT_EQ(records[3].fields[5].text, "MV TWO");
}

#ifndef _WIN32
// The file-size limit stands for a full disk: the line that does not fit is refused, and what
// went in of it is taken out again.
TEST(FleetJournal, ALineThatDoesNotFitIsRefusedAndLeavesNoPartBehind) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath("journal.csv");
    std::string why;
    indFleetJournal journal;
    ASSERT_TRUE(journal.Open(path.toStdString(), why)) << why;
    ASSERT_TRUE(journal.Append(Entry("MV ONE"), why)) << why;
    const std::string before = ReadAll(path);

    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit tight = saved;
    tight.rlim_cur = before.size() + 40;  // room for a part of the next line only
    const auto oldHandler = signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &tight), 0);
    const bool appended = journal.Append(Entry("MV TWO"), why);
    setrlimit(RLIMIT_FSIZE, &saved);
    signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(appended);
    EXPECT_NE(why.find("journal.csv: "), std::string::npos) << why;
    EXPECT_EQ(ReadAll(path), before);
}
#endif

}  // namespace
