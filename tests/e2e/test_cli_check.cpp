// pqt590-cli check on good, broken and inconsistent files, and the tool's usage errors.
#ifndef _WIN32

#include <gtest/gtest.h>

#include <QStringList>
#include <string>

#include "CliFixture.h"

namespace {

void Replace(std::string& text, const std::string& from, const std::string& to) {
    const size_t at = text.find(from);
    ASSERT_NE(at, std::string::npos) << from;
    text.replace(at, from.size(), to);
}
// Removes the whole line that starts with start.
void RemoveLine(std::string& text, const std::string& start) {
    const size_t at = text.find("\n" + start);
    ASSERT_NE(at, std::string::npos) << start;
    text.erase(at + 1, text.find('\n', at + 1) - at);
}

// The printed row of a sheet, by its caption; empty when none.
std::string RowOf(const std::string& out, const std::string& caption) {
    const size_t row = out.find("  " + caption + " ");
    if (row == std::string::npos)
        return std::string();
    return out.substr(row, out.find('\n', row) - row);
}

class CliCheck : public CliFixture {
protected:
    // The default file with its text changed by edit (applied to the whole text).
    template <typename Edit>
    std::string EditedDefault(const std::string& name, Edit edit) {
        std::string text = ReadWholeFile(ResourcePath("PQT590_Default.t590"));
        EXPECT_FALSE(text.empty());
        edit(text);
        const std::string path = Path(name);
        QFile file(QString::fromStdString(path));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text.data(), static_cast<qint64>(text.size()));
        return path;
    }
};

TEST_F(CliCheck, AGoodFileIsValidAndListsEverySheetOfTheTree) {
    const CliRun run =
        RunCli({"check", QString::fromStdString(ResourcePath("PQT590_Default.t590"))});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(Contains(run.out, "valid clone file")) << run.out;
    for (const char* caption : {"User channels", "Band edges", "Address book", "Categories"})
        EXPECT_TRUE(Contains(RowOf(run.out, caption), " ok")) << caption << "\n" << run.out;
    EXPECT_FALSE(Contains(run.out, "errors")) << run.out;
    EXPECT_TRUE(Contains(run.err, "status 0")) << run.err;
}

TEST_F(CliCheck, AnInconsistentFileNamesTheSheetWithErrors) {
    cmcEeprom image;
    DefaultImage(image, "INCONSISTENT");
    BreakUserChannel1(image);
    const CliRun run = RunCli({"check", QString::fromStdString(Save(image, "bad.t590"))});
    EXPECT_EQ(run.exitCode, 4) << run.err;
    EXPECT_TRUE(Contains(run.out, "valid clone file")) << run.out;
    EXPECT_TRUE(Contains(RowOf(run.out, "User channels"), " errors")) << run.out;
    EXPECT_TRUE(Contains(RowOf(run.out, "ITU channels"), " ok")) << run.out;
    EXPECT_TRUE(Contains(run.err, "status 4")) << run.err;
}

TEST_F(CliCheck, GeneralCoverageModeWidensTheTransmitCheck) {
    cmcEeprom image;
    DefaultImage(image, "GENE");
    // Transmitting is allowed on 4-5 MHz only; user channel 1 transmits on 2 MHz.
    datCh ch(image.Bytes(), image.GetSize());
    for (int e = 0; e < MemoryMap::kTxEdgeCount; ++e) {
        ch.Load(datCh::kTxEdge, e);
        ch.lowEdge = e == 0 ? 4000000 : -1;
        ch.highEdge = e == 0 ? 5000000 : -1;
        ch.Save();
    }
    ch.Load(datCh::kUserCh, 1);
    ch.flags = datCh::kUsed;
    ch.rxFreq = 2000000;
    ch.txFreq = 2000000;
    ch.Save();
    const QString path = QString::fromStdString(Save(image, "gene.t590"));

    const CliRun plain = RunCli({"check", path});
    EXPECT_EQ(plain.exitCode, 4) << plain.out << plain.err;
    EXPECT_TRUE(Contains(RowOf(plain.out, "User channels"), " errors")) << plain.out;
    const CliRun gene = RunCli({"check", "--gene", path});
    EXPECT_EQ(gene.exitCode, 0) << gene.out << gene.err;
    EXPECT_TRUE(Contains(RowOf(gene.out, "User channels"), " ok")) << gene.out;
}

// A broken file: how it is broken and the message (resource key) the product shows for it.
struct BrokenFile {
    const char* name;
    void (*edit)(std::string& text);
    const char* messageKey;
    int fileStatus;
};

void PrintTo(const BrokenFile& b, std::ostream* os) {
    *os << b.name;
}

class CliCheckBroken : public CliCheck, public ::testing::WithParamInterface<BrokenFile> {};

TEST_P(CliCheckBroken, IsAFileErrorWithTheProductsMessage) {
    const BrokenFile& b = GetParam();
    const std::string path = EditedDefault("broken.t590", b.edit);
    const std::string before = ReadWholeFile(path);
    const CliRun run = RunCli({"check", QString::fromStdString(path)});
    EXPECT_EQ(run.exitCode, 2) << run.err;
    EXPECT_TRUE(Contains(run.err, Text("GI_Mess_FileErr_Headline"))) << run.err;
    EXPECT_TRUE(Contains(run.err, Text(b.messageKey))) << run.err;
    EXPECT_TRUE(Contains(run.err, "file status " + std::to_string(b.fileStatus) + "\n")) << run.err;
    EXPECT_TRUE(Contains(run.out, "invalid clone file")) << run.out;
    EXPECT_EQ(ReadWholeFile(path), before);
}

INSTANTIATE_TEST_SUITE_P(
    Files, CliCheckBroken,
    ::testing::Values(
        BrokenFile{"DamagedLine", [](std::string& t) { Replace(t, "\n0290104B", "\n02901Z4B"); },
                   "GI_Mess_FileErr_Format", 6},
        BrokenFile{"OtherModel", [](std::string& t) { Replace(t, "24290001", "24280001"); },
                   "GI_Mess_FileErr_Model", 3},
        BrokenFile{"OtherExtraCode", [](std::string& t) { Replace(t, "24290001", "24290002"); },
                   "GI_Mess_FileErr_Extra", 4},
        BrokenFile{"MapRevision6", [](std::string& t) { Replace(t, "#MapRev=7", "#MapRev=6"); },
                   "GI_Mess_FileErr_MapRev", 5},
        BrokenFile{"MissingLine", [](std::string& t) { RemoveLine(t, "0280"); },
                   "GI_Mess_FileErr_Coverage", 7},
        // The file format is right but the image is not this layout: the model check refuses it.
        BrokenFile{"ImageOfLayout6",
                   [](std::string& t) { Replace(t, "\n0270100780", "\n0270100680"); },
                   "GI_Mess_FileErr_Data", 8}),
    [](const ::testing::TestParamInfo<BrokenFile>& i) { return std::string(i.param.name); });

TEST_F(CliCheck, AMissingFileCannotBeOpened) {
    const CliRun run = RunCli({"check", QString::fromStdString(Path("none.t590"))});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(Contains(run.err, Text("GI_Mess_FileErr_FileOpen"))) << run.err;
}

TEST_F(CliCheck, WithoutItsResourceFileTheToolSaysWhichFile) {
    const CliRun run = RunCli({"check", "--resources", QString::fromStdString(Path("empty")),
                               QString::fromStdString(ResourcePath("PQT590_Default.t590"))});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_FALSE(run.crashed);
    EXPECT_TRUE(Contains(run.err, "PQT590.OVL")) << run.err;
}

TEST_F(CliCheck, ResourcesFromAnotherDirectory) {
    QDir().mkpath(QString::fromStdString(Path("res")));
    for (const char* name : {"PQT590.OVL", "PQT590_Default.t590"})
        ASSERT_TRUE(QFile::copy(QString::fromStdString(ResourcePath(name)),
                                QString::fromStdString(Path(std::string("res/") + name))));
    const CliRun run = RunCli({"check", "--resources", QString::fromStdString(Path("res")),
                               QString::fromStdString(ResourcePath("PQT590_Default.t590"))});
    EXPECT_EQ(run.exitCode, 0) << run.err;
}

// Usage: arguments and the exit status they give.
struct Usage {
    const char* name;
    QStringList args;
    int exitCode;
    const char* shown;  // a text the output (stdout or stderr) holds
};

void PrintTo(const Usage& u, std::ostream* os) {
    *os << u.name;
}

class CliUsage : public CliFixture, public ::testing::WithParamInterface<Usage> {};

TEST_P(CliUsage, ExitsWithItsStatus) {
    const Usage& u = GetParam();
    const CliRun run = RunCli(u.args);
    EXPECT_EQ(run.exitCode, u.exitCode) << run.out << run.err;
    EXPECT_TRUE(Contains(run.out + run.err, u.shown)) << run.out << run.err;
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, CliUsage,
    ::testing::Values(
        Usage{"NoCommand", {}, 1, "a command is required"},
        Usage{"UnknownCommand", {"erase"}, 1, "unknown command 'erase'"},
        Usage{"ReadWithoutOutput", {"read", "--port", "3"}, 1, "-o FILE is required"},
        Usage{"ReadWithoutPort", {"read", "-o", "x.t590"}, 1, "--port is required"},
        Usage{"MistypedPort", {"info", "--port", "COMX"}, 1, "neither a COM port number"},
        Usage{"PortZero", {"info", "--port", "0"}, 1, "neither a COM port number"},
        Usage{"WriteWithoutFile", {"write", "--port", "3"}, 1, "one FILE is required"},
        Usage{"CheckTwoFiles", {"check", "a.t590", "b.t590"}, 1, "one FILE is required"},
        Usage{"UnknownOption", {"check", "--force", "a.t590"}, 1, "Unknown option 'force'"},
        Usage{"Help", {"--help"}, 0, "4  the data has errors"},
        Usage{"CommandHelp", {"read", "--help"}, 0, "--output"},
        Usage{"Version", {"--version"}, 0, "pqt590-cli 1."}),
    [](const ::testing::TestParamInfo<Usage>& i) { return std::string(i.param.name); });

}  // namespace

#endif  // _WIN32
