#include <gtest/gtest.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <string>

#include "platform/cmcSettingsStore.h"

namespace {

class SettingsStoreTest : public ::testing::Test {
protected:
    std::string FilePath() const { return dir.filePath("settings.ini").toStdString(); }
    // Writes the settings file by hand, as another program or a user might.
    void WriteRaw(const char* text) {
        QFile f(QString::fromStdString(FilePath()));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(text);
    }

    QTemporaryDir dir;
};

TEST_F(SettingsStoreTest, IntegersAndTextsSurviveAFlush) {
    const std::string paths[] = {"/home/op/radios/ship one.t590", "/data/a, b/c.t590",
                                 "/data/Caf\xc3\xa9/r\xc3\xa4"
                                 "dio.t590",
                                 ""};
    {
        auto store = cmcSettingsStore::OnFile(FilePath());
        store->WriteInt("Global", "BBT", 753951);
        store->WriteInt("Window Position", "Left", -1200);
        for (int i = 0; i < 4; ++i)
            store->WriteText("Recent File List", ("Recent" + std::to_string(i)).c_str(), paths[i]);
        EXPECT_TRUE(store->Flush());
    }
    auto store = cmcSettingsStore::OnFile(FilePath());
    int32_t v = 0;
    EXPECT_TRUE(store->ReadInt("Global", "BBT", v));
    EXPECT_EQ(v, 753951);
    EXPECT_TRUE(store->ReadInt("Window Position", "Left", v));
    EXPECT_EQ(v, -1200);
    for (int i = 0; i < 4; ++i) {
        std::string text = "unset";
        EXPECT_TRUE(
            store->ReadText("Recent File List", ("Recent" + std::to_string(i)).c_str(), text));
        EXPECT_EQ(text, paths[i]);
    }
}

struct RawInt {
    const char* raw;  // the value as it stands in the file
    bool ok;
    int32_t value;
};

class SettingsStoreIntTest : public SettingsStoreTest,
                             public ::testing::WithParamInterface<RawInt> {};

TEST_P(SettingsStoreIntTest, OnlyPlainDecimal32BitIntegersRead) {
    const RawInt& c = GetParam();
    WriteRaw(("[Global]\nComPort=" + std::string(c.raw) + "\n").c_str());
    auto store = cmcSettingsStore::OnFile(FilePath());
    int32_t v = -12345;
    EXPECT_EQ(store->ReadInt("Global", "ComPort", v), c.ok);
    EXPECT_EQ(v, c.ok ? c.value : -12345);
}

INSTANTIATE_TEST_SUITE_P(
    Values, SettingsStoreIntTest,
    ::testing::Values(RawInt{"5", true, 5}, RawInt{"-7", true, -7}, RawInt{"+3", true, 3},
                      RawInt{"0", true, 0}, RawInt{"2147483647", true, 2147483647},
                      RawInt{"-2147483648", true, INT32_MIN}, RawInt{"2147483648", false, 0},
                      RawInt{"99999999999", false, 0}, RawInt{"", false, 0},
                      RawInt{"abc", false, 0}, RawInt{"12abc", false, 0}, RawInt{"0x10", false, 0},
                      RawInt{"1.5", false, 0}, RawInt{"true", false, 0}, RawInt{"1, 2", false, 0},
                      RawInt{"\" 5\"", false, 0}, RawInt{"-", false, 0}));

TEST_F(SettingsStoreTest, MissingValuesAndGroupsAreNotThere) {
    WriteRaw("[Global]\nBBT=1\n");
    auto store = cmcSettingsStore::OnFile(FilePath());
    int32_t v = 0;
    std::string text;
    EXPECT_FALSE(store->ReadInt("Global", "ComPort", v));
    EXPECT_FALSE(store->ReadInt("View Option", "Toolbar Visible", v));
    EXPECT_FALSE(store->ReadText("Recent File List", "Recent0", text));
}

TEST_F(SettingsStoreTest, TextsOfAnotherKindAreNotTexts) {
    // An unquoted comma makes a list; a byte array is not a text either.
    WriteRaw("[R]\nlist=/a, b\nbytes=@ByteArray(/x)\nplain=/x/y\n");
    auto store = cmcSettingsStore::OnFile(FilePath());
    std::string text;
    EXPECT_FALSE(store->ReadText("R", "list", text));
    EXPECT_FALSE(store->ReadText("R", "bytes", text));
    EXPECT_TRUE(store->ReadText("R", "plain", text));
    EXPECT_EQ(text, "/x/y");
}

TEST_F(SettingsStoreTest, DamagedFileReadsWhatItCanAndIsReplacedOnFlush) {
    WriteRaw("\x01\x02[[[garbage\n=\n[Global]\nComPort=5\n");
    auto store = cmcSettingsStore::OnFile(FilePath());
    int32_t v = 0;
    EXPECT_TRUE(store->ReadInt("Global", "ComPort", v));
    EXPECT_EQ(v, 5);
    store->WriteInt("Global", "ComPort", 9);
    EXPECT_TRUE(store->Flush());
    auto again = cmcSettingsStore::OnFile(FilePath());
    EXPECT_TRUE(again->ReadInt("Global", "ComPort", v));
    EXPECT_EQ(v, 9);
}

TEST_F(SettingsStoreTest, UnwritableLocationFailsFlushQuietly) {
    // A plain file where the settings' directory should be.
    QFile blocker(dir.filePath("blocker"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    auto store = cmcSettingsStore::OnFile(dir.filePath("blocker/settings.ini").toStdString());
    store->WriteInt("Global", "BBT", 753951);
    EXPECT_FALSE(store->Flush());
}

#if defined(Q_OS_LINUX)
TEST_F(SettingsStoreTest, SettingsKeyNamesTheNativeFileOfOrganisationAndApplication) {
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir.path());
    cmcSettingsStore store("Software\\Vexa\\PQ-T590");
    EXPECT_EQ(store.Location(), dir.filePath("Vexa/PQ-T590.conf").toStdString());
    store.WriteInt("Global", "BBT", 753951);
    EXPECT_TRUE(store.Flush());
    EXPECT_TRUE(QFile::exists(dir.filePath("Vexa/PQ-T590.conf")));
}
#endif

}  // namespace
