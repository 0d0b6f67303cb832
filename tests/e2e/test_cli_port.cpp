// pqt590-cli port: the device a COM number stands for, kept where the desktop program and the
// serial link look it up.
#ifndef _WIN32

#include <gtest/gtest.h>

#include <QProcessEnvironment>
#include <QTemporaryDir>

#include "CliProcess.h"
#include "clone/cmcPortName.h"
#include "platform/cmcSettingsStore.h"

namespace {

class CliPort : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(config.isValid());
        env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), config.path());
    }
    CliRun Port(const QStringList& args) { return RunCli(QStringList{"port"} + args, env, 60000); }
    // The device COM n stands for, as the program's serial link finds it in that settings file.
    std::string LinkDevice(int n) const {
        auto store = cmcSettingsStore::OnFile(
            config.filePath(QStringLiteral("Vexa/PQ-T590.conf")).toStdString());
        return cmcPortDevice(n, [&store](const std::string& key) {
            const size_t slash = key.find('/');
            std::string value;
            store->ReadText(key.substr(0, slash).c_str(), key.substr(slash + 1).c_str(), value);
            return value;
        });
    }

    QTemporaryDir config;
    QProcessEnvironment env;
};

TEST_F(CliPort, ShowsKeepsAndForgetsTheDeviceOfAComNumber) {
    CliRun run = Port({"3"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "COM3 /dev/ttyUSB2\n");

    run = Port({"COM3", "/dev/pts/7"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "COM3 /dev/pts/7\n");
    EXPECT_EQ(LinkDevice(3), "/dev/pts/7");
    EXPECT_EQ(LinkDevice(1), "/dev/ttyUSB0");
    EXPECT_EQ(Port({"3"}).out, "COM3 /dev/pts/7\n");

    run = Port({"3", "--default"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "COM3 /dev/ttyUSB2\n");
    EXPECT_EQ(LinkDevice(3), "/dev/ttyUSB2");
}

TEST_F(CliPort, ANumberIsRequired) {
    for (const QStringList& args :
         {QStringList{}, QStringList{"x"}, QStringList{"/dev/ttyUSB0"}, QStringList{"1", "a", "b"},
          QStringList{"1", "/dev/pts/3", "--default"}}) {
        const CliRun run = Port(args);
        EXPECT_EQ(run.exitCode, 1) << args.join(' ').toStdString() << ": " << run.out;
        EXPECT_TRUE(run.out.empty());
    }
}

}  // namespace

#endif  // _WIN32
