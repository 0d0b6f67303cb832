// pqt590-cli prints its own messages only: on a machine without a user runtime folder (a cron job,
// a service, a bare ssh session) no remark of Qt's reaches the output of any command.
#include <gtest/gtest.h>

#include <QProcessEnvironment>
#include <QStringList>
#include <QTemporaryDir>
#include <algorithm>
#include <cctype>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "CliProcess.h"
#include "SimProcess.h"
#include "TestPaths.h"

namespace {

struct MessagesCase {
    const char* name;
    // "FILE", "CSV" and names ending in ".out" are put in the scratch folder; "PORT" is the
    // device of a demo radio started for the case.
    QStringList args;
    bool reports = false;  // the command reports in lines of its own besides "pqt590-cli: ..."
};

class CliOwnMessages : public ::testing::TestWithParam<MessagesCase> {};

TEST_P(CliOwnMessages, EveryLineOnStderrIsTheTools) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("XDG_RUNTIME_DIR"));
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), dir.filePath(QStringLiteral("config")));
    const QString file = QString::fromStdString(ResourcePath("PQT590_Default.t590"));
    const QString csv = dir.filePath(QStringLiteral("table.csv"));
    // The table that import reads, made by export.
    const CliRun exported = RunCli({QStringLiteral("export"), file, QStringLiteral("--sheet"),
                                    QStringLiteral("GI_Sheet_UserCh"), QStringLiteral("-o"), csv},
                                   env);
    ASSERT_EQ(exported.exitCode, 0) << exported.err;

    std::unique_ptr<SimProcess> radio;
    if (GetParam().args.contains(QStringLiteral("PORT"))) {
        radio = std::make_unique<SimProcess>(QStringList{});
        ASSERT_FALSE(radio->Device().empty()) << radio->Errors();
    }
    QStringList args;
    for (const QString& a : GetParam().args)
        args << (a == QLatin1String("FILE")          ? file
                 : a == QLatin1String("CSV")         ? csv
                 : a == QLatin1String("PORT")        ? QString::fromStdString(radio->Device())
                 : a.endsWith(QLatin1String(".out")) ? dir.filePath(a)
                                                     : a);
    const CliRun run = RunCli(args, env);
    EXPECT_FALSE(run.crashed);
    EXPECT_EQ(run.exitCode, 0) << run.err;
    std::istringstream lines(run.err);
    std::string line;
    while (std::getline(lines, line)) {
        // Qt's remarks name their class ("QStandardPaths: ...") or category ("qt.qpa...").
        const bool qtRemark = (line.size() > 1 && line[0] == 'Q' && std::isupper(line[1])) ||
                              line.rfind("qt.", 0) == 0 || line.rfind("This plugin", 0) == 0;
        EXPECT_FALSE(qtRemark) << "Qt's, not the tool's: " << line;
        // Most commands say one line each; the transfers' and the fleet's reports have more.
        if (!GetParam().reports) {
            EXPECT_EQ(line.rfind("pqt590-cli", 0), 0u) << "not the tool's own: " << line;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, CliOwnMessages,
    ::testing::Values(
        MessagesCase{"check", {"check", "FILE"}},
        MessagesCase{"print", {"print", "FILE", "-o", "pages.out"}},
        MessagesCase{"export", {"export", "FILE", "--sheet", "GI_Sheet_UserCh", "-o", "t.out"}},
        MessagesCase{"import",
                     {"import", "FILE", "--sheet", "GI_Sheet_UserCh", "CSV", "-o", "i.out"}},
        MessagesCase{"diff", {"diff", "FILE", "FILE"}}, MessagesCase{"sheets", {"sheets"}},
        MessagesCase{"find", {"find", "FILE", "2182"}},
        MessagesCase{"sort",
                     {"sort", "FILE", "--sheet", "GI_Sheet_UserCh", "--column", "Receive kHz", "-o",
                      "s.out"}},
        MessagesCase{"port", {"port", "1"}}, MessagesCase{"info", {"info", "--port", "PORT"}},
        MessagesCase{"read", {"read", "--port", "PORT", "-o", "r.out"}},
        MessagesCase{"write", {"write", "--port", "PORT", "FILE", "--verify"}, true},
        MessagesCase{"fleet",
                     {"fleet", "--port", "PORT", "FILE", "--journal", "j.out", "--count", "1",
                      "--wait", "--no-backup"},
                     true}),
    [](const auto& info) { return std::string(info.param.name); });

// The sheets that --sheet names, as the completion reads them: reference, a tab, the caption, in
// tree order, and each one that export takes.
TEST(CliSheets, ListsEveryReferenceThatSheetTakes) {
    const CliRun run = RunCli({QStringLiteral("sheets")});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    std::istringstream lines(run.out);
    std::string line;
    std::vector<std::string> references;
    while (std::getline(lines, line)) {
        const size_t tab = line.find('\t');
        ASSERT_NE(tab, std::string::npos) << line;
        EXPECT_GT(line.size(), tab + 1) << "no caption: " << line;
        references.push_back(line.substr(0, tab));
    }
    ASSERT_GE(references.size(), 3u);
    EXPECT_EQ(references[0], "GI_Sheet_UserCh");
    EXPECT_NE(std::find(references.begin(), references.end(), "[St_Common]GI_Sheet_Common"),
              references.end());
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    for (const std::string& reference : references) {
        const CliRun exported = RunCli(
            {QStringLiteral("export"), QString::fromStdString(ResourcePath("PQT590_Default.t590")),
             QStringLiteral("--sheet"), QString::fromStdString(reference), QStringLiteral("-o"),
             dir.filePath(QStringLiteral("s.csv"))});
        EXPECT_EQ(exported.exitCode, 0) << reference << ": " << exported.err;
    }
}

TEST(CliSheets, TakesNoArgument) {
    const CliRun run = RunCli({QStringLiteral("sheets"), QStringLiteral("extra")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.out.empty());
}

}  // namespace
