// pqt590-cli export, import and diff end to end: the round trip of every sheet that keeps the
// file, imports taken and refused, the crafted pairs diff tells apart, and the usage errors.
#ifndef _WIN32

#include <gtest/gtest.h>

#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>
#include <string>
#include <vector>

#include "CliFixture.h"
#include "text/cmcCsv.h"

namespace {

QString Q(const std::string& s) {
    return QString::fromStdString(s);
}

std::string DefaultFile() {
    return ResourcePath("PQT590_Default.t590");
}

std::vector<std::string> SheetReferences() {
    ScopedTestHost host;
    cmcGTex dict;
    dict.SetFile(ResourcePath("PQT590.OVL"));
    std::vector<std::string> refs;
    for (int n = 0;; ++n) {
        const std::string line = dict.Line("GI_Tree_Main_Body", n);
        if (!line.empty() && line[0] == '#')
            break;
        const std::size_t at = line.find("CallSheet:");
        if (at != std::string::npos)
            refs.push_back(line.substr(at + 10, line.find(')', at + 10) - at - 10));
    }
    return refs;
}

// The lines of a text.
std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t from = 0;
    while (from < text.size()) {
        const std::size_t end = text.find('\n', from);
        lines.push_back(
            text.substr(from, end == std::string::npos ? std::string::npos : end - from));
        if (end == std::string::npos)
            break;
        from = end + 1;
    }
    return lines;
}

void WriteFile(const std::string& path, const std::string& text) {
    QFile file(Q(path));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(text.data(), qint64(text.size())), qint64(text.size()));
}

// Replaces the first occurrence of from in the file's text.
void EditFile(const std::string& path, const std::string& from, const std::string& to) {
    std::string text = ReadWholeFile(path);
    const std::size_t at = text.find(from);
    ASSERT_NE(at, std::string::npos) << from;
    text.replace(at, from.size(), to);
    WriteFile(path, text);
}

class CliTables : public CliFixture {
protected:
    std::string Export(const std::string& file, const std::string& sheet, const char* name) {
        const std::string out = Path(name);
        const CliRun run = RunCli({"export", Q(file), "--sheet", Q(sheet), "-o", Q(out)});
        EXPECT_EQ(run.exitCode, 0) << run.err;
        return out;
    }
};

class CliEverySheet : public CliTables, public ::testing::WithParamInterface<std::string> {};

TEST_P(CliEverySheet, ExportThenImportKeepsEveryByte) {
    const std::string csv = Export(DefaultFile(), GetParam(), "sheet.csv");
    const std::string text = ReadWholeFile(csv);
    ASSERT_FALSE(text.empty());
    EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
    const std::string out = Path("out.t590");
    const CliRun run =
        RunCli({"import", Q(DefaultFile()), "--sheet", Q(GetParam()), Q(csv), "-o", Q(out)});
    EXPECT_EQ(run.exitCode, 0) << run.out << run.err;
    EXPECT_TRUE(run.out.empty()) << run.out;
    EXPECT_TRUE(Contains(run.err, " 0 cells taken")) << run.err;
    cmcEeprom original, normalised, written;
    Load(original, DefaultFile());
    Normalised(original, normalised);
    Load(written, out);
    EXPECT_TRUE(SameCloneRange(written, normalised));
}

INSTANTIATE_TEST_SUITE_P(Tree, CliEverySheet, ::testing::ValuesIn(SheetReferences()),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                             std::string name;
                             for (char c : info.param)
                                 if (std::isalnum(static_cast<unsigned char>(c)))
                                     name += c;
                             return name;
                         });

TEST_F(CliTables, AnImportChangesItsCellsAndDiffNamesThem) {
    const std::string csv = Export(DefaultFile(), "User channels", "uch.csv");
    EditFile(csv, "\r\n1,2182.0,<-,USB,2182 kHz\r\n", "\r\n1,4125.0,<-,USB,SAFETY\r\n");
    const std::string out = Path("out.t590");
    const CliRun run =
        RunCli({"import", Q(DefaultFile()), "--sheet", "GI_Sheet_UserCh", Q(csv), "-o", Q(out)});
    ASSERT_EQ(run.exitCode, 0) << run.out << run.err;
    EXPECT_TRUE(Contains(run.err, "User channels: 2 cells taken")) << run.err;
    cmcEeprom image;
    Load(image, out);
    datCh ch(image);
    ch.Load(datCh::kUserCh, 1);
    EXPECT_EQ(ch.rxFreq, 4125000);
    EXPECT_EQ(ch.txFreq, 4125000);
    EXPECT_EQ(std::string(ch.comment, 8), "SAFETY  ");

    const CliRun diff = RunCli({"diff", Q(DefaultFile()), Q(out)});
    EXPECT_EQ(diff.exitCode, 1) << diff.err;
    EXPECT_EQ(Lines(diff.out),
              (std::vector<std::string>{"[User channels] 1 / Receive kHz: \"2182.0\" -> \"4125.0\"",
                                        "[User channels] 1 / Comment: \"2182 kHz\" -> \"SAFETY\""}))
        << diff.out;
    EXPECT_TRUE(Contains(diff.err, "2 cells differ in 1 sheet")) << diff.err;
}

TEST_F(CliTables, RefusedTextsAreListedAndNothingIsWrittenWithoutPartial) {
    const std::string csv = Export(DefaultFile(), "GI_Sheet_UserCh", "uch.csv");
    // A good channel, a formula and a stray quote.
    EditFile(csv, "\r\n4,,,,\r\n", "\r\n4,7000.0,<-,LSB,\r\n");
    EditFile(csv, "\r\n1,2182.0,<-,USB,2182 kHz\r\n", "\r\n1,2182.0,<-,USB,=1+1\r\n");
    EditFile(csv, "\r\n2,,,,\r\n", "\r\n2,21\"82,,,\r\n");
    const std::string out = Path("out.t590");
    const CliRun strict =
        RunCli({"import", Q(DefaultFile()), "--sheet", "GI_Sheet_UserCh", Q(csv), "-o", Q(out)});
    EXPECT_EQ(strict.exitCode, 4) << strict.err;
    const std::vector<std::string> lines = Lines(strict.out);
    ASSERT_EQ(lines.size(), 2u) << strict.out;
    EXPECT_TRUE(Contains(lines[0], "\"1\" / \"Comment\": \"=1+1\" would be a spreadsheet formula"))
        << lines[0];
    EXPECT_TRUE(Contains(lines[1], "\"2\" / \"Receive kHz\": a quote inside the field"))
        << lines[1];
    // Lines as a text editor numbers them: the header's captions hold line breaks inside their
    // quotes, so the header takes lines 1 to 3 and channel 1 stands on line 4.
    EXPECT_TRUE(Contains(lines[0], ": line 4, \"1\"")) << lines[0];
    EXPECT_TRUE(Contains(lines[1], ": line 5, \"2\"")) << lines[1];
    EXPECT_TRUE(Contains(strict.err, "not written")) << strict.err;
    EXPECT_FALSE(QFile::exists(Q(out)));

    const CliRun partial = RunCli({"import", Q(DefaultFile()), "--sheet", "GI_Sheet_UserCh", Q(csv),
                                   "-o", Q(out), "--partial"});
    EXPECT_EQ(partial.exitCode, 4) << partial.err;
    EXPECT_EQ(partial.out, strict.out);
    EXPECT_TRUE(Contains(partial.err, "written with what was taken")) << partial.err;
    const CliRun diff = RunCli({"diff", Q(DefaultFile()), Q(out)});
    EXPECT_EQ(diff.exitCode, 1);
    EXPECT_EQ(Lines(diff.out),
              (std::vector<std::string>{"[User channels] 4 / Receive kHz: \"\" -> \"7000.0\"",
                                        "[User channels] 4 / Transmit kHz: \"\" -> \"<-\"",
                                        "[User channels] 4 / Mode: \"\" -> \"LSB\""}))
        << diff.out;
}

TEST_F(CliTables, AnotherSheetsTableIsAFileErrorAndWritesNothing) {
    const std::string csv = Export(DefaultFile(), "E-mail channels", "email.csv");
    const std::string out = Path("out.t590");
    const CliRun run =
        RunCli({"import", Q(DefaultFile()), "--sheet", "User channels", Q(csv), "-o", Q(out)});
    EXPECT_EQ(run.exitCode, 2) << run.err;
    EXPECT_TRUE(Contains(run.err, "not a table of this sheet; nothing written")) << run.err;
    EXPECT_FALSE(QFile::exists(Q(out)));
}

TEST_F(CliTables, ExportToStdoutIsTheSameTable) {
    const std::string csv = Export(DefaultFile(), "[St_Common]GI_Sheet_Common", "common.csv");
    const CliRun run =
        RunCli({"export", Q(DefaultFile()), "--sheet", "Common settings", "-o", "-"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, ReadWholeFile(csv));
    // The formula guard: a range note that begins with "-".
    EXPECT_TRUE(Contains(run.out, ",\"'-12:00 to +12:00, steps of 10 minutes\"\r\n")) << run.out;
}

TEST_F(CliTables, WithoutAPlatformTheToolRunsOffscreen) {
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove("QT_QPA_PLATFORM");
    env.remove("DISPLAY");
    env.remove("WAYLAND_DISPLAY");
    process.setProcessEnvironment(env);
    process.start(Q(CliPath()), {"export", Q(DefaultFile()), "--sheet", "Band edges", "-o", "-"});
    ASSERT_TRUE(process.waitForFinished(60000));
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    EXPECT_TRUE(process.readAllStandardOutput().startsWith("Band edge,"));
}

// A pair of images made from the same start, the second changed.
struct DiffPair {
    const char* name;
    void (*change)(cmcEeprom& image);
    int exitCode;
    std::vector<std::string> lines;
};

void PrintTo(const DiffPair& p, std::ostream* os) {
    *os << p.name;
}

class CliDiffPairs : public CliTables, public ::testing::WithParamInterface<DiffPair> {};

TEST_P(CliDiffPairs, ListsEveryDifferenceBySheetRowAndColumn) {
    const DiffPair& p = GetParam();
    cmcEeprom a, b;
    DefaultImage(a, "PAIR");
    DefaultImage(b, "PAIR");
    p.change(b);
    const std::string pathA = Save(a, "a.t590"), pathB = Save(b, "b.t590");
    const CliRun run = RunCli({"diff", Q(pathA), Q(pathB)});
    EXPECT_EQ(run.exitCode, p.exitCode) << run.err;
    EXPECT_EQ(Lines(run.out), p.lines) << run.out;
    EXPECT_TRUE(Contains(run.err, p.exitCode == 0 ? "same image" : "status 1")) << run.err;
}

INSTANTIATE_TEST_SUITE_P(
    Pairs, CliDiffPairs,
    ::testing::Values(
        DiffPair{"Identical", [](cmcEeprom&) {}, 0, {}},
        DiffPair{"UserChannelFrequency",
                 [](cmcEeprom& image) {
                     datCh ch(image);
                     ch.Load(datCh::kUserCh, 1);
                     ch.rxFreq = 2187500;
                     ch.txFreq = 2187500;
                     ch.Save();
                 },
                 1,
                 {"[User channels] 1 / Receive kHz: \"2182.0\" -> \"2187.5\""}},
        DiffPair{"CommonSetting",
                 [](cmcEeprom& image) { image.SetByte(MemoryMap::kRfGain, 3); },
                 1,
                 {"[Common settings] RF gain / Value: \"9\" -> \"3\""}},
        // A pair's use lives only in the program, derived from the pair's number
        // in the file when it is opened: the tool must open files that way too.
        DiffPair{"DscPairUse",
                 [](cmcEeprom& image) { image.SetByte(MemoryMap::kDscPairNumbers + 2, 101); },
                 1,
                 // (a frequency of 0 is a side not in use: it shows empty on both)
                 {"[Receive/transmit pairs] 3 / Use: \"Not used\" -> \"Receive scan\"",
                  "Bytes no sheet shows differ at 0x2A35"}},
        // Below the tenth of a kHz, both ways: no sheet shows it.
        DiffPair{"BytesNoSheetShows",
                 [](cmcEeprom& image) {
                     const int rec = MemoryMap::kUserChannels + MemoryMap::kUserChannelSize;
                     for (int at : {rec + MemoryMap::kChRxFreq, rec + MemoryMap::kChTxFreq})
                         image.SetByte(at, uint8_t(image.GetByte(at) + 10));
                 },
                 1,
                 {"Bytes no sheet shows differ at 0x029C, 0x02A0"}},
        // The areas the radio fixes come from the initial file whatever a file
        // holds, in the tool as in the window.
        DiffPair{"AByteTheProgramFixes",
                 [](cmcEeprom& image) {
                     image.SetByte(MemoryMap::kTemplateBlock2A65,
                                   uint8_t(image.GetByte(MemoryMap::kTemplateBlock2A65) ^ 0x5A));
                 },
                 0,
                 {}}),
    [](const ::testing::TestParamInfo<DiffPair>& i) { return std::string(i.param.name); });

TEST_F(CliTables, DiffOfAnUnreadableFileIsTrouble) {
    const CliRun run = RunCli({"diff", Q(DefaultFile()), Q(Path("none.t590"))});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(Contains(run.err, Text("GI_Mess_FileErr_FileOpen"))) << run.err;
    EXPECT_TRUE(run.out.empty());
}

struct TableUsage {
    const char* name;
    QStringList args;
    int exitCode;
    const char* shown;
};

void PrintTo(const TableUsage& u, std::ostream* os) {
    *os << u.name;
}

class CliTableUsage : public CliFixture, public ::testing::WithParamInterface<TableUsage> {};

TEST_P(CliTableUsage, ExitsWithItsStatus) {
    const TableUsage& u = GetParam();
    QStringList args = u.args;
    args.replaceInStrings("DEFAULT", Q(DefaultFile()));
    const CliRun run = RunCli(args);
    EXPECT_EQ(run.exitCode, u.exitCode) << run.out << run.err;
    EXPECT_TRUE(Contains(run.out + run.err, u.shown)) << run.out << run.err;
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, CliTableUsage,
    ::testing::Values(
        TableUsage{"ExportWithoutSheet",
                   {"export", "DEFAULT", "-o", "x.csv"},
                   1,
                   "GI_Sheet_UserCh  (User channels)"},
        TableUsage{"ExportOfNoSuchSheet",
                   {"export", "DEFAULT", "--sheet", "GI_Sheet_Common", "-o", "x.csv"},
                   1,
                   "no sheet 'GI_Sheet_Common'"},
        TableUsage{"ExportWithoutOutput",
                   {"export", "DEFAULT", "--sheet", "Band edges"},
                   1,
                   "-o OUT is required"},
        TableUsage{"ImportWithoutTable",
                   {"import", "DEFAULT", "--sheet", "Band edges", "-o", "x.t590"},
                   1,
                   "FILE and IN are required"},
        TableUsage{"DiffOfOneFile", {"diff", "DEFAULT"}, 2, "two files A and B are required"},
        TableUsage{"DiffWithUnknownOption",
                   {"diff", "--all", "DEFAULT", "DEFAULT"},
                   2,
                   "Unknown option 'all'"},
        TableUsage{"HelpNamesTheCommands", {"--help"}, 0, "import FILE --sheet REF IN.csv"},
        TableUsage{"ImportHelp", {"import", "--help"}, 0, "--partial"}),
    [](const ::testing::TestParamInfo<TableUsage>& i) { return std::string(i.param.name); });

}  // namespace

#endif  // _WIN32
