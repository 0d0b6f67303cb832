#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <string>
#include <vector>

#include "cmcTestHost.h"
#include "platform/cmcClock.h"
#include "platform/cmcHost.h"
#include "platform/cmcResourceDir.h"

TEST(Clock, ManualTimeMovesOnlyWhenTold) {
    cmcClock::SetManual(0xFFFFFF00u);
    EXPECT_EQ(cmcClock::Ticks(), 0xFFFFFF00u);
    cmcClock::Advance(0x110);
    EXPECT_EQ(cmcClock::Ticks(), 0x00000010u);  // wraps like the system tick count
    cmcClock::SetAutomatic();
    EXPECT_FALSE(cmcClock::IsManual());
}

TEST(Host, TestHostRecordsMessagesAndAnswersFromScript) {
    ScopedTestHost host;
    host->QueueAnswer(HostAnswer::No);
    EXPECT_EQ(
        cmcHost::Instance().MessageBox("cap", "text", HostIcon::Question, HostButtons::YesNoCancel),
        HostAnswer::No);
    host->SetDefaultAnswer(HostAnswer::Cancel);
    EXPECT_EQ(cmcHost::Instance().MessageBox("c2", "t2", HostIcon::Warning, HostButtons::OkCancel),
              HostAnswer::Cancel);
    ASSERT_EQ(host->Messages().size(), 2u);
    EXPECT_EQ(host->Messages()[0].caption, "cap");
    EXPECT_EQ(host->Messages()[1].icon, HostIcon::Warning);
}

TEST(Host, FatalErrorThrowsUnderTestHost) {
    ScopedTestHost host;
    EXPECT_THROW(FatalError("boom"), cmcFatalError);
    ASSERT_EQ(host->Fatals().size(), 1u);
    EXPECT_EQ(host->Fatals()[0], "boom");
}

TEST(Host, ExecutableDirEndsWithSeparator) {
    const std::string dir = cmcHost::Instance().ExecutableDir();
    ASSERT_FALSE(dir.empty());
    EXPECT_TRUE(dir.back() == '/' || dir.back() == '\\');
}

namespace {

// Where a resource file is looked for: beside the program first, then the installed data folder
// relative to it; neither gives the program's folder.
struct ResourceDirCase {
    const char* name;
    bool beside;
    bool data;
    bool expectData;
};

class ResourceDir : public ::testing::TestWithParam<ResourceDirCase> {};

TEST_P(ResourceDir, BesideTheProgramFirstThenTheDataFolder) {
    const ResourceDirCase& c = GetParam();
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    ASSERT_TRUE(QDir(root.path()).mkpath(QStringLiteral("bin")));
    const std::string bin =
        QDir::toNativeSeparators(root.path() + QStringLiteral("/bin/")).toLocal8Bit().toStdString();
    const std::vector<std::string> dirs = cmcResourceDirCandidates(bin);
    ASSERT_FALSE(dirs.empty());
    EXPECT_EQ(dirs[0], bin);
#if defined(_WIN32) || defined(__APPLE__)
    ASSERT_EQ(dirs.size(), 1u);
    if (c.data)
        GTEST_SKIP() << "resources are installed beside the programs here";
#else
    ASSERT_EQ(dirs.size(), 2u);
    EXPECT_EQ(dirs[1].back(), '/');
    EXPECT_EQ(dirs[1].rfind(root.path().toStdString() + "/", 0), 0u) << dirs[1];
    EXPECT_TRUE(QDir().mkpath(QString::fromStdString(dirs[1])));
#endif
    auto touch = [](const std::string& path) {
        QFile f(QString::fromLocal8Bit(path.c_str()));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    };
    if (c.beside)
        touch(bin + "PQT590.OVL");
    if (c.data)
        touch(dirs.back() + "PQT590.OVL");
    EXPECT_EQ(cmcFindResourceDir(bin, "PQT590.OVL"), c.expectData ? dirs.back() : bin);
    // A directory of that name is not the file.
    EXPECT_EQ(cmcFindResourceDir(bin, "."), bin);
}

INSTANTIATE_TEST_SUITE_P(Table, ResourceDir,
                         ::testing::Values(ResourceDirCase{"beside", true, false, false},
                                           ResourceDirCase{"data", false, true, true},
                                           ResourceDirCase{"both", true, true, false},
                                           ResourceDirCase{"neither", false, false, false}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
