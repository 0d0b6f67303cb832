#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "memory/cmcRecent.h"
#include "platform/cmcPath.h"

namespace {

std::vector<std::string> Entries(cmcRecent& r) {
    std::vector<std::string> out;
    for (int i = 0; i < r.Count(); ++i)
        out.push_back(r.EntryText(i, std::string()));
    return out;
}

struct SameCase {
    const char* a;
    const char* b;
    bool windows;  // equal under Windows rules
    bool macos;    // equal under macOS rules
    bool posix;    // equal under Linux rules
};

TEST(PathRules, LetterCaseMattersOnlyWhereTheFileSystemSaysSo) {
    const SameCase cases[] = {
        {"C:\\Data\\Radio1", "c:\\data\\RADIO1", true, true, false},
        {"/home/op/Ship.t590", "/home/op/ship.t590", true, true, false},
        {"/home/op/ship.t590", "/home/op/ship.t590", true, true, true},
        {"/home/op/ship.t590", "/home/op/ship2.t590", false, false, false},
        {"/d/\xc3\x84rger.t590", "/d/\xc3\xa4rger.t590", true, true, false},  // Ärger / ärger
        {"", "", true, true, true},
    };
    for (const SameCase& c : cases) {
        SCOPED_TRACE(std::string(c.a) + " | " + c.b);
        EXPECT_EQ(cmcSamePath(c.a, c.b, cmcPathRules::Windows()), c.windows);
        EXPECT_EQ(cmcSamePath(c.a, c.b, cmcPathRules::MacOS()), c.macos);
        EXPECT_EQ(cmcSamePath(c.a, c.b, cmcPathRules::Posix()), c.posix);
    }
}

TEST(PathRules, NativeRulesFollowThePlatform) {
#if defined(Q_OS_WIN) || defined(Q_OS_MACOS)
    EXPECT_TRUE(cmcPathRules::Native().ignoreCase);
#else
    EXPECT_FALSE(cmcPathRules::Native().ignoreCase);
#endif
}

TEST(PathRules, DirectoryAndFileName) {
    struct Case {
        const char* path;
        bool windows;
        const char* dir;
        const char* name;
    };
    const Case cases[] = {
        {"/home/op/a.t590", false, "/home/op/", "a.t590"},
        {"/a.t590", false, "/", "a.t590"},
        {"a.t590", false, "", "a.t590"},
        {"/home/op/", false, "/home/op/", ""},
        {"C:\\x\\a.t590", false, "", "C:\\x\\a.t590"},  // a backslash is a name byte on Linux
        {"C:\\x\\a.t590", true, "C:\\x\\", "a.t590"},
        {"C:a.t590", true, "C:", "a.t590"},
        {"C:/x/a.t590", true, "C:/x/", "a.t590"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        const cmcPathRules rules = c.windows ? cmcPathRules::Windows() : cmcPathRules::Posix();
        EXPECT_EQ(cmcPathDirectory(c.path, rules), c.dir);
        EXPECT_EQ(cmcPathFileName(c.path, rules), c.name);
    }
}

TEST(Recent, AddFirstPutsMostRecentFirstWithoutDuplicates) {
    cmcRecent r(10, cmcPathRules::Posix());
    r.AddFirst("/a");
    r.AddFirst("/b");
    r.AddFirst("/c");
    r.AddFirst("/a");
    EXPECT_EQ(Entries(r), (std::vector<std::string>{"/a", "/c", "/b"}));
}

TEST(Recent, AddFirstReplacesAnEntryDifferingInCaseWhereCaseIsIgnored) {
    cmcRecent r(10, cmcPathRules::Windows());
    r.AddLast("C:\\one");
    r.AddLast("C:\\two");
    r.AddLast("C:\\three");
    r.AddLast("c:\\data\\RADIO1");
    r.AddFirst("C:\\Data\\Radio1");
    EXPECT_EQ(Entries(r),
              (std::vector<std::string>{"C:\\Data\\Radio1", "C:\\one", "C:\\two", "C:\\three"}));
}

TEST(Recent, PathsDifferingInCaseAreTwoFilesOnLinux) {
    cmcRecent r(10, cmcPathRules::Posix());
    r.AddFirst("/data/RADIO1");
    r.AddFirst("/data/Radio1");
    EXPECT_EQ(Entries(r), (std::vector<std::string>{"/data/Radio1", "/data/RADIO1"}));
    r.Remove("/data/radio1");
    EXPECT_EQ(r.Count(), 2);
    r.Remove("/data/RADIO1");
    EXPECT_EQ(Entries(r), (std::vector<std::string>{"/data/Radio1"}));
}

TEST(Recent, FullListDropsTheOldestEntry) {
    cmcRecent r(10, cmcPathRules::Posix());
    for (int i = 0; i < 10; ++i)
        r.AddLast("/f" + std::to_string(i));
    r.AddFirst("/new");
    ASSERT_EQ(r.Count(), 10);
    EXPECT_EQ(r.EntryText(0, ""), "/new");
    EXPECT_EQ(r.EntryText(9, ""), "/f8");
    r.AddLast("/last");
    EXPECT_EQ(r.EntryText(9, ""), "/f8");  // appended past the capacity, then trimmed away
}

TEST(Recent, AddLastMovesAnExistingEntryToTheEnd) {
    cmcRecent r(10, cmcPathRules::Posix());
    r.AddLast("/a");
    r.AddLast("");
    r.AddLast("/b");
    r.AddLast("");
    EXPECT_EQ(Entries(r), (std::vector<std::string>{"/a", "/b", ""}));
}

TEST(Recent, ClearAndRemove) {
    cmcRecent r(10, cmcPathRules::Posix());
    r.AddLast("/a");
    r.AddLast("/b");
    r.Remove("/a");
    r.Remove("/missing");
    EXPECT_EQ(Entries(r), (std::vector<std::string>{"/b"}));
    r.Clear();
    EXPECT_EQ(r.Count(), 0);
}

TEST(Recent, EntryTextShowsFilesOfTheGivenDirectoryByName) {
    struct Case {
        bool windows;
        const char* entry;
        const char* dir;
        const char* text;
    };
    const Case cases[] = {
        {false, "/home/op/a.t590", "/home/op", "a.t590"},
        {false, "/home/op/a.t590", "/home/op/", "a.t590"},
        {false, "/home/op/a.t590", "/home/Op/", "/home/op/a.t590"},
        {false, "/home/op/a.t590", "/home", "/home/op/a.t590"},
        {false, "/home/op/a.t590", "", "/home/op/a.t590"},
        {false, "/a.t590", "/", "a.t590"},
        {false, "/a.t590", "", "/a.t590"},  // an empty directory always asks for the full path
        {true, "C:\\Data\\Radio1", "c:\\data\\", "Radio1"},
        {true, "C:\\Data\\Radio1", "c:\\data", "Radio1"},
        {true, "C:\\Radio1", "C:\\", "Radio1"},
        {true, "C:\\Radio1", "", "C:\\Radio1"},
        {true, "C:\\Data\\Radio1", "D:\\Data", "C:\\Data\\Radio1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.entry) + " in " + c.dir);
        cmcRecent r(10, c.windows ? cmcPathRules::Windows() : cmcPathRules::Posix());
        r.AddFirst(c.entry);
        EXPECT_EQ(r.EntryText(0, c.dir), c.text);
    }
}

TEST(Recent, EntryTextBeyondTheListIsEmpty) {
    cmcRecent r(10, cmcPathRules::Posix());
    r.AddFirst("/a");
    EXPECT_EQ(r.EntryText(1, ""), "");
    EXPECT_EQ(r.EntryText(9, "/"), "");
    EXPECT_EQ(r.EntryText(-1, ""), "");
}

}  // namespace
