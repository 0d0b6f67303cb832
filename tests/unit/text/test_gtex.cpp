#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <string>
#include <vector>

#include "GTexSource.h"
#include "cmcTestHost.h"
#include "text/cmcGTex.h"

namespace {

std::string NotFoundText(const std::string& key) {
    return "GTEX Error !\nThe index '" + key + "' was not found.";
}

// Runs a lookup that must end the program and returns the fatal text.
template <typename F>
std::string FatalTextOf(cmcTestHost& host, F&& lookup) {
    host.Clear();
    try {
        lookup();
    } catch (const cmcFatalError& e) {
        EXPECT_EQ(host.Fatals().size(), 1u);
        return e.what();
    }
    ADD_FAILURE() << "lookup did not end the program";
    return std::string();
}

class GTexBothSources : public ::testing::TestWithParam<SourceKind> {
protected:
    ScopedTestHost host_;
};

TEST_P(GTexBothSources, TextIsLineZeroAndPastTheBodyComesTheNextLine) {
    GTexSource d(GetParam(), {"#A", "x", "#End_Of_Ovl"});
    EXPECT_EQ(d->Text("A"), "x");
    EXPECT_EQ(d->Line("A", 1), "#End_Of_Ovl");
}

TEST_P(GTexBothSources, NamesAreVerbatimAndCaseSensitive) {
    GTexSource d(GetParam(), {"#A ", "with blank", "#\tTab", "tabbed", "#a", "lower", "#A", "plain",
                              "#End_Of_Ovl"});
    EXPECT_EQ(d->Text("A"), "plain");  // "#A " is another section
    EXPECT_EQ(d->Text("A "), "with blank");
    EXPECT_EQ(d->Text("\tTab"), "tabbed");
    EXPECT_EQ(d->Text("a"), "lower");
}

TEST_P(GTexBothSources, BodyLinesKeepLeadingBlanksAndEmptyLines) {
    GTexSource d(GetParam(), {"#T", "  one", "\ttwo", "", "three  ", "#End_Of_Ovl"});
    EXPECT_EQ(d->Line("T", 0), "  one");
    EXPECT_EQ(d->Line("T", 1), "\ttwo");
    EXPECT_EQ(d->Line("T", 2), "");
    EXPECT_EQ(d->Line("T", 3), "three  ");
}

TEST_P(GTexBothSources, LoneHashIsNoSectionAndTheEmptyKeyIsNeverFound) {
    GTexSource d(GetParam(), {"#B", "b0", "#", "stray", "#C", "c0", "#End_Of_Ovl"});
    EXPECT_EQ(d->Line("B", 1), "#");
    EXPECT_EQ(d->Text("C"), "c0");
    EXPECT_EQ(FatalTextOf(*host_, [&] { d->Text(""); }), NotFoundText(""));
    EXPECT_EQ(d->SectionCount(), 3);  // B, C and the end marker
}

TEST_P(GTexBothSources, LinesBeforeTheFirstHeaderBelongToNoSection) {
    GTexSource d(GetParam(), {"orphan", "#A", "a0", "#End_Of_Ovl"});
    EXPECT_EQ(d->Text("A"), "a0");
    EXPECT_EQ(FatalTextOf(*host_, [&] { d->Text("orphan"); }), NotFoundText("orphan"));
}

TEST_P(GTexBothSources, SectionsAfterTheEndMarkerAreNeverFound) {
    GTexSource d(GetParam(), {"#A", "a0", "#End_Of_Ovl", "#Late", "late0"});
    EXPECT_EQ(FatalTextOf(*host_, [&] { d->Text("Late"); }), NotFoundText("Late"));
    EXPECT_TRUE(d->FullyIndexed());
    EXPECT_EQ(d->Text("A"), "a0");  // the dictionary still answers after a failed lookup
}

TEST_P(GTexBothSources, TheEndMarkerIsASectionWithoutBody) {
    GTexSource d(GetParam(), {"#A", "a0", "#End_Of_Ovl"});
    // Its line 0 would be past the end of the source.
    EXPECT_EQ(FatalTextOf(*host_, [&] { d->Text("End_Of_Ovl"); }), NotFoundText("End_Of_Ovl"));
}

TEST_P(GTexBothSources, FirstOfTwoEqualNamesWinsAlsoAfterManyLookups) {
    std::vector<std::string> lines = {"#Dup", "first"};
    for (int i = 0; i < 20; ++i) {
        lines.push_back("#S" + std::to_string(i));
        lines.push_back("s" + std::to_string(i));
    }
    lines.push_back("#Dup");
    lines.push_back("second");
    lines.push_back("#End_Of_Ovl");
    GTexSource d(GetParam(), lines);
    EXPECT_EQ(d->Text("Dup"), "first");
    for (int round = 0; round < 3; ++round) {
        for (int i = 19; i >= 0; --i)
            EXPECT_EQ(d->Text("S" + std::to_string(i)), "s" + std::to_string(i));
        EXPECT_EQ(d->Text("Dup"), "first");
    }
    EXPECT_EQ(FatalTextOf(*host_, [&] { d->Text("missing"); }), NotFoundText("missing"));
    EXPECT_EQ(d->Text("Dup"), "first");  // also once the whole file is indexed
}

TEST_P(GTexBothSources, CursorGoesForwardAndRestartsWhenGoingBack) {
    GTexSource d(GetParam(), {"#L", "l0", "l1", "l2", "l3", "#M", "m0", "#End_Of_Ovl"});
    const struct {
        int n;
        const char* expected;
    } steps[] = {{0, "l0"}, {1, "l1"}, {2, "l2"}, {0, "l0"}, {5, "m0"},
                 {3, "l3"}, {3, "l3"}, {4, "#M"}, {1, "l1"}, {6, "#End_Of_Ovl"}};
    for (const auto& s : steps)
        EXPECT_EQ(d->Line("L", s.n), s.expected) << "line " << s.n;
}

TEST_P(GTexBothSources, InterleavedSectionsKeepTheirOwnCursors) {
    GTexSource d(GetParam(), {"#P", "p0", "p1", "p2", "#Q", "q0", "q1", "q2", "#End_Of_Ovl"});
    for (int n = 0; n < 3; ++n) {
        EXPECT_EQ(d->Line("P", n), "p" + std::to_string(n));
        EXPECT_EQ(d->Line("Q", n), "q" + std::to_string(n));
    }
}

TEST_P(GTexBothSources, WithoutEndMarkerEverySectionIsFoundAndMissingKeysAreFatal) {
    GTexSource d(GetParam(), {"#A", "a0", "#B", "b0", "b1"});
    EXPECT_EQ(d->Text("B"), "b0");
    EXPECT_EQ(d->Line("B", 1), "b1");
    EXPECT_EQ(d->Text("A"), "a0");
    EXPECT_EQ(FatalTextOf(*host_, [&] { d->Text("C"); }), NotFoundText("C"));
    EXPECT_TRUE(d->FullyIndexed());
    EXPECT_EQ(FatalTextOf(*host_, [&] { d->Line("B", 2); }), NotFoundText("B"));
    EXPECT_EQ(d->Line("B", 1), "b1");
}

TEST_P(GTexBothSources, KeyIsSubstitutedAsPlainText) {
    GTexSource d(GetParam(), {"#A", "a0", "#End_Of_Ovl"});
    const std::string key = "%s%n%d\\'x";
    EXPECT_EQ(FatalTextOf(*host_, [&] { d->Text(key); }), NotFoundText(key));
}

TEST_P(GTexBothSources, NegativeLineNumberIsALookupFailure) {
    GTexSource d(GetParam(), {"#A", "a0", "#End_Of_Ovl"});
    EXPECT_EQ(FatalTextOf(*host_, [&] { d->Line("A", -1); }), NotFoundText("A"));
}

TEST_P(GTexBothSources, IndexingIsLazyAndSectionsFarDownMoveToTheFront) {
    std::vector<std::string> lines;
    for (int i = 0; i < 20; ++i) {
        lines.push_back("#K" + std::to_string(i));
        lines.push_back("v" + std::to_string(i));
    }
    lines.push_back("#End_Of_Ovl");
    GTexSource d(GetParam(), lines);
    EXPECT_EQ(d->Text("K2"), "v2");
    EXPECT_EQ(d->SectionCount(), 3);  // indexed only as far as needed
    EXPECT_FALSE(d->FullyIndexed());
    EXPECT_EQ(d->Text("K19"), "v19");  // reached by scanning: stays at the tail
    auto order = d->SectionNamesInListOrder();
    ASSERT_EQ(order.size(), 20u);
    EXPECT_EQ(order.back(), "K19");

    EXPECT_EQ(d->Text("K11"), "v11");  // eleven entries passed: moves to the front
    order = d->SectionNamesInListOrder();
    EXPECT_EQ(order.front(), "K11");
    EXPECT_EQ(order[11], "K10");

    EXPECT_EQ(d->Text("K10"), "v10");  // now eleven passed again (K11 is in front)
    EXPECT_EQ(d->SectionNamesInListOrder().front(), "K10");
    EXPECT_EQ(d->Text("K8"), "v8");  // K10, K11, K0..K7 passed, ten: stays where it is
    order = d->SectionNamesInListOrder();
    EXPECT_EQ(order.front(), "K10");
    EXPECT_EQ(order[10], "K8");

    EXPECT_EQ(d->Text("K19"), "v19");  // the tail moves to the front, the list stays whole
    order = d->SectionNamesInListOrder();
    EXPECT_EQ(order.size(), 20u);
    EXPECT_EQ(order.front(), "K19");
    EXPECT_EQ(order.back(), "K18");
}

INSTANTIATE_TEST_SUITE_P(Sources, GTexBothSources,
                         ::testing::Values(SourceKind::Memory, SourceKind::FileLf,
                                           SourceKind::FileCrLf),
                         [](const auto& info) { return std::string(SourceKindName(info.param)); });

TEST(GTex, SourceIsSetOnlyOnce) {
    ScopedTestHost host;
    static const char* const lines[] = {"#A", "memory", "#End_Of_Ovl"};
    cmcGTex d;
    EXPECT_TRUE(d.SetLines(lines));
    EXPECT_FALSE(d.SetFile("/nonexistent/x.ovl"));
    EXPECT_FALSE(d.SetLines(lines, 3));
    EXPECT_EQ(d.Text("A"), "memory");
}

TEST(GTex, UnreadableSourceEndsTheProgramAtTheFirstLookup) {
    ScopedTestHost host;
    cmcGTex missing;
    ASSERT_TRUE(missing.SetFile("/nonexistent/dir/PQT590.OVL"));
    EXPECT_EQ(FatalTextOf(*host, [&] { missing.Text("GI_Sys_AppTitle"); }),
              NotFoundText("GI_Sys_AppTitle"));
    EXPECT_EQ(FatalTextOf(*host, [&] { missing.Text("GI_Sys_AppTitle"); }),
              NotFoundText("GI_Sys_AppTitle"));

    cmcGTex none;  // no source at all
    EXPECT_EQ(FatalTextOf(*host, [&] { none.Text("A"); }), NotFoundText("A"));
    cmcGTex emptyName;
    ASSERT_TRUE(emptyName.SetFile(""));
    EXPECT_EQ(FatalTextOf(*host, [&] { emptyName.Text("A"); }), NotFoundText("A"));
}

TEST(GTex, MemorySourceWithCountOrNullEntryEndsLikeAFile) {
    ScopedTestHost host;
    static const char* const lines[] = {"#A", "a0", "#B", "b0"};  // no end marker
    cmcGTex counted;
    counted.SetLines(lines, 4);
    EXPECT_EQ(counted.Text("B"), "b0");
    EXPECT_EQ(FatalTextOf(*host, [&] { counted.Line("B", 1); }), NotFoundText("B"));
    EXPECT_EQ(FatalTextOf(*host, [&] { counted.Text("C"); }), NotFoundText("C"));

    static const char* const nullEnded[] = {"#A", "a0", nullptr};
    cmcGTex uncounted;
    uncounted.SetLines(nullEnded);
    EXPECT_EQ(uncounted.Text("A"), "a0");
    EXPECT_EQ(FatalTextOf(*host, [&] { uncounted.Text("C"); }), NotFoundText("C"));
}

TEST(GTex, MemoryLineLongerThanTheLimitIsCut) {
    ScopedTestHost host;
    const std::string longLine(10000, 'm');
    const std::string exact(cmcGTex::kMaxLine, 'e');
    const char* lines[] = {"#A", longLine.c_str(), exact.c_str(), "next", "#End_Of_Ovl"};
    cmcGTex d;
    d.SetLines(lines);
    EXPECT_EQ(d.Line("A", 0), std::string(cmcGTex::kMaxLine, 'm'));
    EXPECT_EQ(d.Line("A", 1), exact);
    EXPECT_EQ(d.Line("A", 2), "next");
}

TEST(GTex, LineFeedInsideAMemoryStringEndsTheLine) {
    ScopedTestHost host;
    static const char* const lines[] = {"#A\nignored", "one\ntwo", "#End_Of_Ovl"};
    cmcGTex d;
    d.SetLines(lines);
    EXPECT_EQ(d.Text("A"), "one");
}

// Long physical lines of a file, each case with LF and CR LF line ends.
struct LongLineCase {
    std::size_t length;
    std::vector<std::size_t> pieces;  // lengths of the lines the dictionary returns
};

class GTexLongLines : public ::testing::TestWithParam<std::tuple<LongLineCase, SourceKind>> {};

TEST_P(GTexLongLines, SplitAtTheLimitWithoutPhantomLines) {
    ScopedTestHost host;
    const auto& [c, kind] = GetParam();
    std::string text;
    for (std::size_t i = 0; i < c.length; ++i)
        text += static_cast<char>('a' + i % 26);
    GTexSource d(kind, {"#A", text, "after", "#End_Of_Ovl"});
    std::size_t offset = 0;
    int n = 0;
    for (std::size_t len : c.pieces) {
        EXPECT_EQ(d->Line("A", n), text.substr(offset, len)) << "piece " << n;
        offset += len;
        ++n;
    }
    EXPECT_EQ(offset, c.length);
    EXPECT_EQ(d->Line("A", n), "after");
}

INSTANTIATE_TEST_SUITE_P(
    Files, GTexLongLines,
    ::testing::Combine(::testing::Values(LongLineCase{10000, {8191, 1809}},
                                         LongLineCase{8190, {8190}}, LongLineCase{8191, {8191}},
                                         LongLineCase{8192, {8191, 1}},
                                         LongLineCase{16382, {8191, 8191}},
                                         LongLineCase{16383, {8191, 8191, 1}}),
                       ::testing::Values(SourceKind::FileLf, SourceKind::FileCrLf)));

TEST(GTex, FileWithoutFinalLineEndReadsItsLastLine) {
    ScopedTestHost host;
    GTexSource d(SourceKind::FileCrLf, {"#A", "a0", "#B", "last"}, false);
    EXPECT_EQ(d->Text("B"), "last");
    EXPECT_EQ(d->Text("A"), "a0");
}

TEST(GTex, LineCacheKeepsTheLast64LinesAndRereadsDroppedOnes) {
    ScopedTestHost host;
    std::vector<std::string> lines = {"#Big"};
    for (int i = 0; i < 100; ++i)
        lines.push_back("line " + std::to_string(i));
    lines.push_back("#End_Of_Ovl");
    GTexSource d(SourceKind::FileLf, lines);

    for (int i = 0; i < 65; ++i)
        ASSERT_EQ(d->Line("Big", i), "line " + std::to_string(i));
    EXPECT_EQ(d->CachedLineCount(), cmcGTex::kCacheSize);
    std::uint64_t reads = d->SourceReads();

    // Line 0 was the least recently used and is gone: read from the file again, same text.
    EXPECT_EQ(d->Line("Big", 0), "line 0");
    EXPECT_EQ(d->SourceReads(), reads + 1);
    EXPECT_EQ(d->CachedLineCount(), cmcGTex::kCacheSize);
    // Now it is cached: asking again (the cursor restarts at the body) reads nothing.
    EXPECT_EQ(d->Line("Big", 0), "line 0");
    EXPECT_EQ(d->SourceReads(), reads + 1);
    // Caching line 0 dropped line 1, the least recently used then.
    EXPECT_EQ(d->Line("Big", 1), "line 1");
    EXPECT_EQ(d->SourceReads(), reads + 2);
    // Both are cached now: line 0 skipped and line 1 read from the cache.
    EXPECT_EQ(d->Line("Big", 1), "line 1");
    EXPECT_EQ(d->SourceReads(), reads + 2);
}

// A file far larger than the reader's buffer, with lines of every length up to the limit and
// random bytes, answers every lookup exactly as the same lines in memory do.
TEST(GTex, LargeFileAnswersLikeTheSameLinesInMemory) {
    ScopedTestHost host;
    std::mt19937 rng(8191);
    std::uniform_int_distribution<int> byte(1, 255);
    std::uniform_int_distribution<int> shortLen(0, 120);
    std::uniform_int_distribution<int> longLen(2000, 8191);
    std::vector<std::string> lines;
    std::vector<std::string> keys;
    for (int i = 0; i < 1500; ++i) {
        if (i % 12 == 0) {
            keys.push_back("Sec" + std::to_string(i));
            lines.push_back("#" + keys.back());
            continue;
        }
        const int len = i % 37 == 0 ? longLen(rng) : shortLen(rng);
        std::string line;
        while (static_cast<int>(line.size()) < len) {
            const char c = static_cast<char>(byte(rng));
            if (c != '\n' && c != '\r')
                line += c;
        }
        if (!line.empty() && line[0] == '#')
            line[0] = '+';
        lines.push_back(line);
    }
    lines.push_back("#End_Of_Ovl");
    GTexSource memory(SourceKind::Memory, lines);
    GTexSource file(SourceKind::FileCrLf, lines);
    std::uniform_int_distribution<std::size_t> pickKey(0, keys.size() - 1);
    std::uniform_int_distribution<int> pickLine(0, 14);
    for (int i = 0; i < 3000; ++i) {
        const std::string& key = keys[pickKey(rng)];
        const int n = pickLine(rng);
        const auto lookup = [&](cmcGTex& d) -> std::optional<std::string> {
            try {
                return d.Line(key, n);
            } catch (const cmcFatalError&) {
                return std::nullopt;  // past the end of the source, in both
            }
        };
        ASSERT_EQ(lookup(*file), lookup(*memory)) << key << " line " << n;
    }
}

TEST(GTex, MainDictionaryIsRegisteredAndForgottenWhenDestroyed) {
    {
        cmcGTex d;
        cmcGTex::SetMain(&d);
        EXPECT_EQ(cmcGTex::Main(), &d);
    }
    EXPECT_EQ(cmcGTex::Main(), nullptr);
}

}  // namespace
