#include <gtest/gtest.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QUuid>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "cmcTestHost.h"
#include "memory/indEnviron.h"
#include "platform/cmcSettingsStore.h"

namespace {

// The complete set of values a valid settings file holds, as raw file text per value.
std::map<std::string, std::string> ValidValues() {
    return {
        {"Global/BBT", "753951"},
        {"Global/ComPort", "7"},
        {"Recent File List/Recent0", "/home/op/b.t590"},
        {"Recent File List/Recent1", "/home/op/a.t590"},
        {"View Option/FontSize Percentage", "150"},
        {"View Option/Toolbar Visible", "0"},
        {"Window Position/Left", "-20"},
        {"Window Position/Top", "30"},
        {"Window Position/Width", "900"},
        {"Window Position/Height", "700"},
        {"Window Position/SplitterV", "260"},
    };
}

class EnvironTest : public ::testing::Test {
protected:
    void SetUp() override {
        host->SetWorkArea(HostRect{0, 0, 1280, 1024});
        // A name of our own, so that parallel test runs never see each other's lock.
        mutexName = "PQ-T590 test " + QUuid::createUuid().toString().toStdString();
    }

    std::string File() const { return dir.filePath("PQ-T590.conf").toStdString(); }
    std::string LockDir() const { return dir.path().toStdString(); }

    std::unique_ptr<indEnviron> Make() {
        return std::make_unique<indEnviron>(mutexName, cmcSettingsStore::OnFile(File()), LockDir());
    }

    // Writes the values as another program or a hand edit would leave them in the file.
    void WriteRaw(const std::map<std::string, std::string>& values) {
        std::map<std::string, std::vector<std::string>> groups;
        for (const auto& [key, raw] : values) {
            const size_t slash = key.find('/');
            std::string name = key.substr(slash + 1);
            for (size_t p; (p = name.find(' ')) != std::string::npos;)
                name.replace(p, 1, "%20");
            groups[key.substr(0, slash)].push_back(name + "=" + raw);
        }
        std::string text;
        for (const auto& [group, lines] : groups) {
            std::string g = group;
            for (size_t p; (p = g.find(' ')) != std::string::npos;)
                g.replace(p, 1, "%20");
            text += "[" + g + "]\n";
            for (const std::string& l : lines)
                text += l + "\n";
        }
        QFile f(QString::fromStdString(File()));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(text.c_str());
    }

    QByteArray FileBytes() const {
        QFile f(QString::fromStdString(File()));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    static void ExpectDefaults(indEnviron& e) {
        EXPECT_EQ(e.stamp, 753951);
        EXPECT_EQ(e.comPort, 1);
        EXPECT_EQ(e.fontSizePercentage, 100);
        EXPECT_TRUE(e.toolBarVisible);
        EXPECT_EQ(e.recent.Count(), 0);
        EXPECT_EQ(e.windowWidth, 800);
        EXPECT_EQ(e.windowHeight, 600);
        EXPECT_EQ(e.windowLeft, 240);
        EXPECT_EQ(e.windowTop, 127);  // floor(0.3 * 424)
        EXPECT_EQ(e.splitterV, 200);
        EXPECT_FALSE(e.boundsStored);  // the window fits what it shows instead
        EXPECT_TRUE(e.backupBeforeWrite);
    }

    ScopedTestHost host;
    QTemporaryDir dir;
    std::string mutexName;
};

TEST_F(EnvironTest, NoSettingsGiveDefaultsAndExitWritesThemAll) {
    auto env = Make();
    EXPECT_TRUE(env->IsFirstInstance());
    ExpectDefaults(*env);
    env.reset();

    QSettings s(QString::fromStdString(File()), QSettings::IniFormat);
    EXPECT_EQ(s.childGroups(),
              (QStringList{"Global", "Recent File List", "View Option", "Window Position"}));
    EXPECT_EQ(s.value("Global/BBT").toInt(), 753951);
    EXPECT_EQ(s.value("Global/ComPort").toInt(), 1);
    EXPECT_EQ(s.value("Global/BackupBeforeWrite").toInt(), 1);
    EXPECT_EQ(s.value("View Option/FontSize Percentage").toInt(), 100);
    EXPECT_EQ(s.value("View Option/Toolbar Visible").toInt(), 1);
    EXPECT_EQ(s.value("Window Position/Left").toInt(), 240);
    EXPECT_EQ(s.value("Window Position/Top").toInt(), 127);
    EXPECT_EQ(s.value("Window Position/Width").toInt(), 800);
    EXPECT_EQ(s.value("Window Position/Height").toInt(), 600);
    EXPECT_EQ(s.value("Window Position/SplitterV").toInt(), 200);
    s.beginGroup("Recent File List");
    QStringList names = s.childKeys();
    names.sort();
    EXPECT_EQ(names, (QStringList{"Recent0", "Recent1", "Recent2", "Recent3", "Recent4", "Recent5",
                                  "Recent6", "Recent7", "Recent8", "Recent9"}));
    for (const QString& n : names) {
        EXPECT_TRUE(s.contains(n));
        EXPECT_EQ(s.value(n).toString(), QString()) << n.toStdString();
    }
    EXPECT_TRUE(host->Messages().empty());
}

TEST_F(EnvironTest, ValidSettingsAreTakenAsStored) {
    WriteRaw(ValidValues());
    auto env = Make();
    EXPECT_EQ(env->comPort, 7);
    EXPECT_EQ(env->fontSizePercentage, 150);
    EXPECT_FALSE(env->toolBarVisible);
    EXPECT_EQ(env->windowLeft, -20);
    EXPECT_EQ(env->windowTop, 30);
    EXPECT_EQ(env->windowWidth, 900);
    EXPECT_EQ(env->windowHeight, 700);
    EXPECT_EQ(env->splitterV, 260);
    EXPECT_TRUE(env->boundsStored);
    // The eight missing slots read as empty and end up as one empty entry at the end.
    ASSERT_EQ(env->recent.Count(), 3);
    EXPECT_EQ(env->recent.EntryText(0, ""), "/home/op/b.t590");
    EXPECT_EQ(env->recent.EntryText(1, ""), "/home/op/a.t590");
    EXPECT_EQ(env->recent.EntryText(2, ""), "");
}

TEST_F(EnvironTest, ChangesReachTheStoreAtExitAndComeBack) {
    {
        auto env = Make();
        env->comPort = 12;
        env->fontSizePercentage = 200;
        env->toolBarVisible = false;
        env->windowLeft = 5;
        env->windowTop = 6;
        env->windowWidth = 700;
        env->windowHeight = 500;
        env->splitterV = 8;
        env->recent.AddFirst("/data/one.t590");
        env->recent.AddFirst("/data/two, with comma.t590");
    }
    auto env = Make();
    EXPECT_EQ(env->comPort, 12);
    EXPECT_EQ(env->fontSizePercentage, 200);
    EXPECT_FALSE(env->toolBarVisible);
    EXPECT_EQ(env->windowLeft, 5);
    EXPECT_EQ(env->windowTop, 6);
    EXPECT_EQ(env->windowWidth, 700);
    EXPECT_EQ(env->windowHeight, 500);
    EXPECT_EQ(env->splitterV, 8);
    EXPECT_EQ(env->recent.EntryText(0, ""), "/data/two, with comma.t590");
    EXPECT_EQ(env->recent.EntryText(1, ""), "/data/one.t590");
}

struct Clamp {
    const char* key;
    const char* raw;
    int32_t comPort;
    int32_t fontSize;
};

class EnvironClampTest : public EnvironTest, public ::testing::WithParamInterface<Clamp> {};

TEST_P(EnvironClampTest, RangesAreClamped) {
    auto values = ValidValues();
    values[GetParam().key] = GetParam().raw;
    WriteRaw(values);
    auto env = Make();
    EXPECT_EQ(env->comPort, GetParam().comPort);
    EXPECT_EQ(env->fontSizePercentage, GetParam().fontSize);
    EXPECT_EQ(env->splitterV, 260);  // the rest is kept
}

INSTANTIATE_TEST_SUITE_P(
    Values, EnvironClampTest,
    ::testing::Values(Clamp{"Global/ComPort", "0", 1, 150}, Clamp{"Global/ComPort", "-5", 1, 150},
                      Clamp{"Global/ComPort", "1", 1, 150}, Clamp{"Global/ComPort", "99", 99, 150},
                      Clamp{"Global/ComPort", "250", 99, 150},
                      Clamp{"View Option/FontSize Percentage", "10", 7, 25},
                      Clamp{"View Option/FontSize Percentage", "25", 7, 25},
                      Clamp{"View Option/FontSize Percentage", "1000", 7, 1000},
                      Clamp{"View Option/FontSize Percentage", "5000", 7, 1000}));

// Settings that are not ours or not whole: every field, the recent list included, falls back to
// the defaults. nullptr as raw value means the value is missing.
struct Broken {
    const char* key;
    const char* raw;
};

class EnvironFallbackTest : public EnvironTest, public ::testing::WithParamInterface<Broken> {};

TEST_P(EnvironFallbackTest, AnyUnreadableIntegerOrForeignStampGivesDefaults) {
    auto values = ValidValues();
    if (GetParam().raw)
        values[GetParam().key] = GetParam().raw;
    else
        values.erase(GetParam().key);
    WriteRaw(values);
    auto env = Make();
    ExpectDefaults(*env);
}

INSTANTIATE_TEST_SUITE_P(
    Values, EnvironFallbackTest,
    ::testing::Values(
        Broken{"Global/BBT", "0"}, Broken{"Global/BBT", "753950"}, Broken{"Global/BBT", nullptr},
        Broken{"Global/BBT", "abc"}, Broken{"Global/ComPort", nullptr},
        Broken{"Global/ComPort", "COM3"}, Broken{"View Option/FontSize Percentage", "1.5"},
        Broken{"View Option/FontSize Percentage", nullptr},
        Broken{"View Option/Toolbar Visible", "true"},
        Broken{"View Option/Toolbar Visible", nullptr}, Broken{"Window Position/Left", ""},
        Broken{"Window Position/Top", nullptr}, Broken{"Window Position/Width", "1, 2"},
        Broken{"Window Position/Height", "99999999999"},
        Broken{"Window Position/SplitterV", nullptr}, Broken{"Window Position/SplitterV", "0x10"}));

// Our own setting: settings written before it existed (or by hand) keep every other value, and
// read it as on unless it says 0.
struct BackupSetting {
    const char* raw;  // nullptr: missing
    bool on;
};

class EnvironBackupTest : public EnvironTest,
                          public ::testing::WithParamInterface<BackupSetting> {};

TEST_P(EnvironBackupTest, BackupBeforeWriteIsOptionalAndOnUnlessZero) {
    auto values = ValidValues();
    if (GetParam().raw)
        values["Global/BackupBeforeWrite"] = GetParam().raw;
    WriteRaw(values);
    auto env = Make();
    EXPECT_EQ(env->backupBeforeWrite, GetParam().on);
    EXPECT_EQ(env->comPort, 7) << "the other settings are kept";
    EXPECT_EQ(env->splitterV, 260);
}

INSTANTIATE_TEST_SUITE_P(Values, EnvironBackupTest,
                         ::testing::Values(BackupSetting{nullptr, true}, BackupSetting{"1", true},
                                           BackupSetting{"0", false}, BackupSetting{"-2", true},
                                           BackupSetting{"off", true}, BackupSetting{"", true}));

TEST_F(EnvironTest, BackupBeforeWriteTurnedOffComesBack) {
    {
        auto env = Make();
        env->backupBeforeWrite = false;
    }
    EXPECT_FALSE(Make()->backupBeforeWrite);
}

// The check after a write is off unless the setting says 1: settings of an older version, or a
// value typed by hand that means nothing, never make every write take twice as long.
class EnvironVerifyTest : public EnvironTest,
                          public ::testing::WithParamInterface<BackupSetting> {};

TEST_P(EnvironVerifyTest, VerifyAfterWriteIsOptionalAndOffUnlessOne) {
    auto values = ValidValues();
    if (GetParam().raw)
        values["Global/VerifyAfterWrite"] = GetParam().raw;
    WriteRaw(values);
    auto env = Make();
    EXPECT_EQ(env->verifyAfterWrite, GetParam().on);
    EXPECT_TRUE(env->backupBeforeWrite);
    EXPECT_EQ(env->comPort, 7) << "the other settings are kept";
}

INSTANTIATE_TEST_SUITE_P(Values, EnvironVerifyTest,
                         ::testing::Values(BackupSetting{nullptr, false}, BackupSetting{"1", true},
                                           BackupSetting{"0", false}, BackupSetting{"2", false},
                                           BackupSetting{"on", false}, BackupSetting{"", false}));

TEST_F(EnvironTest, VerifyAfterWriteTurnedOnComesBack) {
    {
        auto env = Make();
        EXPECT_FALSE(env->verifyAfterWrite);
        env->verifyAfterWrite = true;
    }
    EXPECT_TRUE(Make()->verifyAfterWrite);
}

TEST_F(EnvironTest, ToolbarFlagIsTrueForAnyNonZeroValue) {
    auto values = ValidValues();
    values["View Option/Toolbar Visible"] = "-3";
    WriteRaw(values);
    EXPECT_TRUE(Make()->toolBarVisible);
}

TEST_F(EnvironTest, RecentValuesOfAnotherKindReadAsEmpty) {
    auto values = ValidValues();
    values["Recent File List/Recent0"] = "/a, /b";  // a list, not a text
    values["Recent File List/Recent3"] = "/c.t590";
    WriteRaw(values);
    auto env = Make();
    ASSERT_EQ(env->recent.Count(), 3);
    EXPECT_EQ(env->recent.EntryText(0, ""), "/home/op/a.t590");
    EXPECT_EQ(env->recent.EntryText(1, ""), "/c.t590");
    EXPECT_EQ(env->recent.EntryText(2, ""), "");
    EXPECT_EQ(env->comPort, 7);
}

TEST_F(EnvironTest, DamagedFileGivesDefaultsAndIsRepairedAtExit) {
    QFile f(QString::fromStdString(File()));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    static const char junk[] = "\x01\x02\xff[[[\n=\n\x00\x00junk";
    f.write(junk, sizeof junk - 1);
    f.close();
    auto env = Make();
    ExpectDefaults(*env);
    env->comPort = 4;
    env.reset();
    EXPECT_EQ(Make()->comPort, 4);
}

TEST_F(EnvironTest, SecondInstanceNeitherLoadsNorSaves) {
    WriteRaw(ValidValues());
    auto first = Make();
    ASSERT_TRUE(first->IsFirstInstance());
    first->comPort = 3;

    auto values = ValidValues();
    values["Global/ComPort"] = "42";
    WriteRaw(values);
    const QByteArray before = FileBytes();
    {
        auto second = Make();
        EXPECT_FALSE(second->IsFirstInstance());
        EXPECT_EQ(second->comPort, 1);  // defaults in memory, not the stored 42
        EXPECT_EQ(second->recent.Count(), 0);
        second->comPort = 9;
        second->stamp = cmcEnviron::kStamp;  // even a valid stamp does not make it save
    }
    EXPECT_EQ(FileBytes(), before);

    first.reset();  // the first instance writes its own values at its exit
    EXPECT_EQ(Make()->comPort, 3);
}

TEST_F(EnvironTest, FirstSettingsObjectIsTheGlobalOneWhileItLives) {
    ASSERT_EQ(cmcEnviron::Global(), nullptr);
    {
        auto first = Make();
        auto second = Make();
        EXPECT_EQ(cmcEnviron::Global(), first.get());
    }
    EXPECT_EQ(cmcEnviron::Global(), nullptr);
}

TEST_F(EnvironTest, ForeignStampAtExitWritesNothing) {
    auto env = Make();
    env->stamp = 0;
    env.reset();
    EXPECT_FALSE(QFile::exists(QString::fromStdString(File())));
}

TEST_F(EnvironTest, UnwritableStoreGivesUpQuietly) {
    QFile blocker(dir.filePath("blocker"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    auto env = std::make_unique<indEnviron>(
        mutexName, cmcSettingsStore::OnFile(dir.filePath("blocker/x.conf").toStdString()),
        LockDir());
    ExpectDefaults(*env);
    env->comPort = 5;
    EXPECT_NO_THROW(env.reset());
    EXPECT_TRUE(host->Messages().empty());
    EXPECT_TRUE(host->Fatals().empty());
}

TEST_F(EnvironTest, DefaultWindowFitsTheWorkArea) {
    struct Case {
        HostRect area;
        int32_t left, top, width, height;
    };
    const Case cases[] = {
        {{0, 0, 1280, 1024}, 240, 127, 800, 600},
        {{0, 0, 1366, 768}, 283, 50, 800, 600},         // top: floor(0.3 * 168)
        {{0, 0, 640, 480}, 32, 14, 576, 432},           // 90 % of a small screen
        {{0, 0, 801, 601}, 40, 18, 720, 540},           // left: 81 / 2 truncated; top: floor(18.3)
        {{1920, 27, 1280, 1024}, 2160, 154, 800, 600},  // a work area away from the origin
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.area.width);
        host->SetWorkArea(c.area);
        auto env = Make();
        EXPECT_EQ(env->windowLeft, c.left);
        EXPECT_EQ(env->windowTop, c.top);
        EXPECT_EQ(env->windowWidth, c.width);
        EXPECT_EQ(env->windowHeight, c.height);
        env->stamp = 0;  // keep the next case on defaults
    }
}

#if defined(Q_OS_LINUX)
TEST_F(EnvironTest, SettingsKeyAndMutexNameFindTheirNativePlaces) {
    // Native settings and the runtime directory redirected into the test's own directory.
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir.filePath("config"));
    QDir().mkpath(dir.filePath("run"));
    QFile::setPermissions(dir.filePath("run"),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const QByteArray oldRuntime = qgetenv("XDG_RUNTIME_DIR");
    qputenv("XDG_RUNTIME_DIR", dir.filePath("run").toLocal8Bit());
    {
        indEnviron env(mutexName, "Software\\Vexa\\PQ-T590");
        EXPECT_TRUE(env.IsFirstInstance());
        EXPECT_TRUE(
            QFile::exists(dir.filePath("run/" + QString::fromStdString(mutexName) + ".lock")));
        EXPECT_FALSE(indEnviron(mutexName, "Software\\Vexa\\PQ-T590").IsFirstInstance());
        env.comPort = 11;
    }
    qputenv("XDG_RUNTIME_DIR", oldRuntime);
    QSettings s(dir.filePath("config/Vexa/PQ-T590.conf"), QSettings::IniFormat);
    EXPECT_EQ(s.value("Global/ComPort").toInt(), 11);
}
#endif

}  // namespace
