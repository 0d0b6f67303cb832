// pqt590-cli find: the cells whose shown text matches, one line each, through the sheets' own
// texts (a frequency as the sheet shows it, typed with a comma or a unit too).
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "CliFixture.h"

namespace {

QString Q(const std::string& s) {
    return QString::fromStdString(s);
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t from = 0;
    while (from < text.size()) {
        const std::size_t end = text.find('\n', from);
        lines.push_back(text.substr(from, end - from));
        if (end == std::string::npos)
            break;
        from = end + 1;
    }
    return lines;
}

class CliFind : public CliFixture {
protected:
    // The default image with user channel 5 on 8291 kHz both ways (the transmit cell shows
    // "<-"), named RESCUE, and e-mail channel 1 receiving on 8291 kHz.
    std::string File() {
        cmcEeprom image;
        DefaultImage(image, "FIND");
        datCh ch(image);
        ch.Load(datCh::kUserCh, 5);
        ch.flags = datCh::kUsed;
        ch.rxFreq = 8291000;
        ch.txFreq = 8291000;
        std::memset(ch.comment, ' ', sizeof ch.comment);
        std::memcpy(ch.comment, "RESCUE", 6);
        ch.Save();
        datCh mail(image);
        mail.Load(datCh::kEMailCh, 0);
        mail.flags = datCh::kUsed;
        mail.rxFreq = 8291000;
        mail.txFreq = 8000000;
        mail.Save();
        return Save(image, "find.t590");
    }
};

struct FindCase {
    const char* name;
    std::vector<std::string> args;  // after FILE
    int exitCode;
    std::vector<std::string> lines;
};

void PrintTo(const FindCase& c, std::ostream* os) {
    *os << c.name;
}

class CliFindCases : public CliFind, public ::testing::WithParamInterface<FindCase> {};

TEST_P(CliFindCases, PrintsEveryMatchBySheetRowAndColumn) {
    const FindCase& c = GetParam();
    QStringList args{"find", Q(File())};
    for (const std::string& a : c.args)
        args << Q(a);
    const CliRun run = RunCli(args);
    EXPECT_EQ(run.exitCode, c.exitCode) << run.err;
    EXPECT_EQ(Lines(run.out), c.lines) << run.out;
}

const std::vector<std::string> kChannel5 = {"User channels\t5\tReceive kHz\t8291.0"};

INSTANTIATE_TEST_SUITE_P(
    Queries, CliFindCases,
    ::testing::Values(
        FindCase{"FrequencyAsTyped", {"8291", "--sheet", "User channels"}, 0, kChannel5},
        FindCase{"DecimalComma", {"8291,0", "--sheet", "User channels"}, 0, kChannel5},
        FindCase{"WithAUnit", {"8291 kHz", "--sheet", "GI_Sheet_UserCh"}, 0, kChannel5},
        FindCase{"WholeCellNumber", {"8291", "--whole", "--sheet", "User channels"}, 0, kChannel5},
        FindCase{"WholeCellIsNotAPart", {"829", "--whole", "--sheet", "User channels"}, 1, {}},
        FindCase{"LetterCaseIgnored", {"rescue"}, 0, {"User channels\t5\tComment\tRESCUE"}},
        FindCase{"LetterCaseCounts", {"rescue", "--case"}, 1, {}},
        FindCase{"NothingAnywhere", {"no such text"}, 1, {}}),
    [](const ::testing::TestParamInfo<FindCase>& i) { return std::string(i.param.name); });

// Without --sheet every sheet of the tree is searched, in tree order: the user channels come
// first.
TEST_F(CliFind, SearchesEverySheetInTreeOrder) {
    const CliRun run = RunCli({"find", Q(File()), "8291"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    const std::vector<std::string> lines = Lines(run.out);
    ASSERT_EQ(lines.size(), 2u) << run.out;
    EXPECT_EQ(lines[0], kChannel5[0]);
    EXPECT_EQ(lines[1].rfind("E-mail channels\t", 0), 0u) << lines[1];
    EXPECT_NE(lines[1].find("\t8291.0"), std::string::npos) << lines[1];
    EXPECT_TRUE(Contains(run.err, std::to_string(lines.size()) + " matches, status 0")) << run.err;
}

struct FindUsage {
    const char* name;
    std::vector<std::string> args;
    std::string message;
};

void PrintTo(const FindUsage& c, std::ostream* os) {
    *os << c.name;
}

class CliFindUsage : public CliFind, public ::testing::WithParamInterface<FindUsage> {};

TEST_P(CliFindUsage, IsTroubleWithItsReason) {
    QStringList args{"find"};
    for (const std::string& a : GetParam().args)
        args << Q(a == "FILE" ? File() : a);
    const CliRun run = RunCli(args);
    EXPECT_EQ(run.exitCode, 2) << run.err;
    EXPECT_TRUE(Contains(run.err, GetParam().message)) << run.err;
}

INSTANTIATE_TEST_SUITE_P(
    Errors, CliFindUsage,
    ::testing::Values(FindUsage{"NoText", {"FILE"}, "FILE and TEXT are required"},
                      FindUsage{"EmptyText", {"FILE", "  "}, "TEXT is empty"},
                      FindUsage{"UnknownSheet", {"FILE", "x", "--sheet", "Nowhere"}, "no sheet"},
                      FindUsage{"UnreadableFile", {"/no/such/file.t590", "x"}, "file status"}),
    [](const ::testing::TestParamInfo<FindUsage>& i) { return std::string(i.param.name); });

}  // namespace
