// The POSIX backend against pseudo-terminals.
#ifndef _WIN32
#include <gtest/gtest.h>

#include <fcntl.h>
#include <grp.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QSettings>
#include <QTemporaryDir>
#include <map>
#include <string>

#include "clone/cmcPortName.h"
#include "platform/cmcSerialBackend.h"

namespace {

// The master side of a pseudo-terminal, standing in for the far end of a cable.
class PtyPair {
public:
    PtyPair() {
        master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
        if (master_ >= 0 && ::grantpt(master_) == 0 && ::unlockpt(master_) == 0)
            path_ = ::ptsname(master_);
    }
    ~PtyPair() {
        if (master_ >= 0)
            ::close(master_);
    }
    const std::string& Path() const { return path_; }
    int Master() const { return master_; }
    // Reads until `want` bytes have come (or a generous bound passes, which only guards
    // against hanging).
    std::string Read(size_t want) {
        std::string out;
        char buf[256];
        for (int tries = 0; tries < 20000 && out.size() < want; ++tries) {
            const ssize_t n = ::read(master_, buf, sizeof buf);
            if (n > 0)
                out.append(buf, static_cast<size_t>(n));
            else
                ::usleep(1000);
        }
        return out;
    }

private:
    int master_ = -1;
    std::string path_;
};

int WaitForInput(cmcSerialBackend& port, int want) {
    for (int i = 0; i < 20000 && port.InputCount() < want; ++i)
        ::usleep(1000);
    return port.InputCount();
}

}  // namespace

TEST(SerialBackend, ReadsAndWritesThroughAPseudoTerminal) {
    PtyPair pty;
    ASSERT_FALSE(pty.Path().empty());
    auto port = cmcCreateSerialBackend();
    ASSERT_TRUE(port->Open(pty.Path(), cmcLineSettings{}, 32000, 1024)) << port->LastErrorText();
    EXPECT_TRUE(port->IsOpen());

    const std::string toProgram("\xFE\xFE\xEF\xEE\xE6\x00\xFD", 7);
    ASSERT_EQ(::write(pty.Master(), toProgram.data(), toProgram.size()), 7);
    EXPECT_EQ(WaitForInput(*port, 7), 7);
    std::uint8_t buf[16] = {};
    EXPECT_EQ(port->Read(buf, 3), 3);  // never more than asked
    EXPECT_EQ(port->Read(buf + 3, 16), 4);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(buf), 7), toProgram);
    EXPECT_EQ(port->Read(buf, 16), 0);  // nothing waiting: returns at once

    const std::uint8_t out[] = {0xFE, 0xFE, 0xEE, 0xEF, 0xE0, 0xFD, 0x00, 0x0A};
    EXPECT_EQ(port->Write(out, 8), 8);
    EXPECT_EQ(pty.Read(8), std::string(reinterpret_cast<const char*>(out), 8));  // raw: no CR/LF
    port->Close();
    EXPECT_FALSE(port->IsOpen());
    EXPECT_EQ(port->Read(buf, 16), 0);
    EXPECT_EQ(port->InputCount(), 0);
}

TEST(SerialBackend, MissingDeviceSaysSo) {
    auto port = cmcCreateSerialBackend();
    EXPECT_FALSE(port->Open("/dev/ttyNoSuchPort99", cmcLineSettings{}, 32000, 1024));
    EXPECT_FALSE(port->IsOpen());
    EXPECT_EQ(port->LastError(), cmcSerialError::NoDevice);
    EXPECT_NE(port->LastErrorText().find("no such device"), std::string::npos);
}

TEST(SerialBackend, SecondOpenOfTheSamePortIsBusy) {
    PtyPair pty;
    auto first = cmcCreateSerialBackend();
    ASSERT_TRUE(first->Open(pty.Path(), cmcLineSettings{}, 32000, 1024));
    auto second = cmcCreateSerialBackend();
    EXPECT_FALSE(second->Open(pty.Path(), cmcLineSettings{}, 32000, 1024));
    EXPECT_EQ(second->LastError(), cmcSerialError::Busy);
    first->Close();
    EXPECT_TRUE(second->Open(pty.Path(), cmcLineSettings{}, 32000, 1024));
}

// A device the user may not open names the group to join, when its members may read and write
// it; without such a group no group is named (joining would not help).
struct PermissionCase {
    const char* name;
    mode_t mode;
    bool namesGroup;
};

class SerialPermission : public ::testing::TestWithParam<PermissionCase> {};

TEST_P(SerialPermission, DeniedNamesTheGroupOnlyWhenJoiningHelps) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "root may open anything";
    char path[] = "/tmp/pq_noaccess_XXXXXX";
    const int fd = ::mkstemp(path);
    ASSERT_GE(fd, 0);
    ::close(fd);
    ::chmod(path, GetParam().mode);
    struct stat st {};
    ASSERT_EQ(::stat(path, &st), 0);
    auto port = cmcCreateSerialBackend();
    EXPECT_FALSE(port->Open(path, cmcLineSettings{}, 32000, 1024));
    EXPECT_EQ(port->LastError(), cmcSerialError::Permission);
    EXPECT_NE(port->LastErrorText().find("permission denied"), std::string::npos);
    std::string group;
    if (GetParam().namesGroup && st.st_gid != 0) {
        const struct group* g = ::getgrgid(st.st_gid);
        group = g ? std::string(g->gr_name) : std::to_string(st.st_gid);
    }
    EXPECT_EQ(port->LastErrorGroup(), group);
    ::unlink(path);
}

// The owner's own bits refuse the owner even where the group's allow its members.
INSTANTIATE_TEST_SUITE_P(Table, SerialPermission,
                         ::testing::Values(PermissionCase{"none", 0, false},
                                           PermissionCase{"groupReads", 0040, false},
                                           PermissionCase{"groupReadsWrites", 0060, true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(SerialBackend, UnsupportedSpeedIsRefused) {
    PtyPair pty;
    auto port = cmcCreateSerialBackend();
    cmcLineSettings s;
    s.baudRate = 12345;
    EXPECT_FALSE(port->Open(pty.Path(), s, 32000, 1024));
    EXPECT_EQ(port->LastError(), cmcSerialError::Settings);
    EXPECT_FALSE(port->IsOpen());
}

TEST(SerialBackend, WriteTimeoutFollowsTheBaudRate) {
    EXPECT_EQ(cmcWriteTimeoutMs(9600, 1024), 10 * 1024 + 3000);
    EXPECT_EQ(cmcWriteTimeoutMs(38400, 10), 2 * 10 + 3000);
}

TEST(PortName, StoredDeviceElseTtyUsb) {
    const std::map<std::string, std::string> stored{{"Ports/COM3", "/dev/ttyS0"}};
    const cmcSettingLookup lookup = [&](const std::string& key) {
        const auto it = stored.find(key);
        return it == stored.end() ? std::string() : it->second;
    };
    EXPECT_EQ(cmcPortDevice(3, lookup), "/dev/ttyS0");
    EXPECT_EQ(cmcPortDevice(1, lookup), "/dev/ttyUSB0");
    EXPECT_EQ(cmcPortDevice(12, lookup), "/dev/ttyUSB11");
}

TEST(PortName, DefaultLookupReadsTheProgramSettings) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir.path());
    {
        QSettings settings(QStringLiteral("Vexa"), QStringLiteral("PQ-T590"));
        settings.setValue(QStringLiteral("Ports/COM2"), QStringLiteral("/dev/ttyACM0"));
    }
    EXPECT_EQ(cmcPortDevice(2), "/dev/ttyACM0");
    EXPECT_EQ(cmcPortDevice(4), "/dev/ttyUSB3");
}

TEST(PortName, LabelNamesTheDeviceUnlessItIsThePortItself) {
    const struct {
        int number;
        const char* device;
        const char* label;
    } cases[] = {
        {3, "/dev/ttyUSB2", "COM3 (/dev/ttyUSB2)"},
        {3, "\\\\.\\COM3", "COM3"},
        {12, "\\\\.\\COM12", "COM12"},
        {2, "\\\\.\\COM12", "COM2 (\\\\.\\COM12)"},
        {1, "", "COM1"},
        {0, "/dev/pts/7", "/dev/pts/7"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(cmcPortLabel(c.number, c.device), c.label) << c.number << " " << c.device;
}

#endif  // _WIN32
