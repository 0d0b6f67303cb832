#include <gtest/gtest.h>

#include <QFileInfo>

#include <cctype>
#include <functional>
#include <random>
#include <vector>

#include "CloneFileFixture.h"
#include "TestPaths.h"
#include "memory/cmcRange.h"

namespace {

// Header and data lines of a good file of the clone range, every line without its line end.
struct Lines {
    std::string id = "24290001";
    std::vector<std::string> header = {"#Comment=MV TEST", "#MapRev=7"};
    std::vector<std::string> data;
    std::string eol = "\r\n";

    std::string Text() const {
        std::string text = id + eol;
        for (const std::string& l : header)
            text += l + eol;
        for (const std::string& l : data)
            text += l + eol;
        return text;
    }
};

const char kHexDigits[] = "0123456789ABCDEF";

std::string HexByte(int b) {
    return {kHexDigits[(b >> 4) & 15], kHexDigits[b & 15]};
}

std::string DataLine(int address, int count, int seed) {
    std::string line = HexByte(address >> 8) + HexByte(address) + HexByte(count);
    for (int i = 0; i < count; ++i)
        line += HexByte((address + i) * 13 + seed);
    return line;
}

Lines GoodLines(int seed = 9) {
    Lines lines;
    for (int a = MemoryMap::kCloneFirst; a <= MemoryMap::kCloneLast; a += 16)
        lines.data.push_back(DataLine(a, 16, seed));
    return lines;
}

// The byte DataLine stores at an address.
std::uint8_t Expected(int address, int seed = 9) {
    return static_cast<std::uint8_t>(address * 13 + seed);
}

}  // namespace

class CloneFileRead : public CloneFileFixture {
protected:
    // Reads text into a patterned image; returns the result.
    int ReadText(const std::string& text, const cmcRange* ranges = kCloneRanges) {
        const std::string path = Path("in.t590");
        Spit(path, text);
        host_->Clear();
        FillPattern(image_, 77);
        before_.CopyFrom(image_);
        Configure(file_, image_);
        return file_.Read(path, ranges);
    }

    cmcEeprom image_;
    cmcEeprom before_;
    cmcCloneFile file_;
};

TEST_F(CloneFileRead, WrittenFileReadsBackExactly) {
    cmcEeprom source;
    FillPattern(source, 3);
    cmcCloneFile writer;
    Configure(writer, source);
    const std::string path = Path("rt.t590");
    ASSERT_EQ(writer.Write(path, kCloneRanges), cmcCloneFile::Ok);

    cmcEeprom target;
    FillPattern(target, 200);
    cmcEeprom targetBefore;
    targetBefore.CopyFrom(target);
    cmcCloneFile reader;
    Configure(reader, target);
    reader.SetMapRevision(-5);
    ASSERT_EQ(reader.Read(path, kCloneRanges), cmcCloneFile::Ok);
    EXPECT_EQ(reader.GetMapRevision(), 7);
    for (int a = 0; a < target.GetSize(); ++a) {
        const bool inRange = a >= MemoryMap::kCloneFirst && a <= MemoryMap::kCloneLast;
        ASSERT_EQ(target.GetByte(a), inRange ? source.GetByte(a) : targetBefore.GetByte(a)) << a;
    }
    EXPECT_TRUE(host_->Messages().empty());
}

TEST_F(CloneFileRead, AcceptsLfLowerCaseHexAndMissingFinalLineEnd) {
    Lines lines = GoodLines();
    lines.eol = "\n";
    for (char& c : lines.data[5])
        c = static_cast<char>(std::tolower(c));
    std::string text = lines.Text();
    text.pop_back();  // the last data line without its line end
    ASSERT_EQ(ReadText(text), cmcCloneFile::Ok);
    for (int a = MemoryMap::kCloneFirst; a <= MemoryMap::kCloneLast; ++a)
        ASSERT_EQ(image_.GetByte(a), Expected(a)) << a;
}

TEST_F(CloneFileRead, CommentsAnywhereAndLaterLinesOverwrite) {
    Lines lines = GoodLines();
    lines.data.insert(lines.data.begin() + 10, "# a remark between data lines");
    lines.data.push_back(DataLine(0x0300, 2, 100));  // loaded twice: the later value wins
    lines.data.push_back("#");
    ASSERT_EQ(ReadText(lines.Text()), cmcCloneFile::Ok);
    EXPECT_EQ(image_.GetByte(0x0300), Expected(0x0300, 100));
    EXPECT_EQ(image_.GetByte(0x0302), Expected(0x0302));
}

TEST_F(CloneFileRead, MapRevisionCheckRunsOnceBeforeTheFirstDataLine) {
    int calls = 0;
    const std::string path = Path("once.t590");
    Spit(path, GoodLines().Text());
    image_.SetSize(MemoryMap::kImageSize);
    Configure(file_, image_);
    file_.SetMapRevisionCheck(&AcceptThisMapRevision, &calls);
    EXPECT_EQ(file_.Read(path, kCloneRanges), cmcCloneFile::Ok);
    EXPECT_EQ(calls, 1);
}

// Without a range list the reader takes any data inside the image; the caller checks coverage.
TEST_F(CloneFileRead, WithoutRangeListCoverageIsTheCallersCheck) {
    Lines partial = GoodLines();
    partial.data.pop_back();
    EXPECT_EQ(ReadText(partial.Text(), nullptr), cmcCloneFile::Ok);
    EXPECT_EQ(image_.GetByte(MemoryMap::kCloneFirst), Expected(MemoryMap::kCloneFirst));
    EXPECT_EQ(file_.CheckCoverage(kCloneRanges), cmcCloneFile::Coverage);

    Lines extra = GoodLines();
    extra.data.push_back(DataLine(0x0000, 16, 1));
    EXPECT_EQ(ReadText(extra.Text(), nullptr), cmcCloneFile::Ok);
    EXPECT_EQ(file_.CheckCoverage(kCloneRanges), cmcCloneFile::Data);

    EXPECT_EQ(ReadText(GoodLines().Text(), nullptr), cmcCloneFile::Ok);
    EXPECT_EQ(file_.CheckCoverage(kCloneRanges), cmcCloneFile::Ok);
    EXPECT_EQ(file_.CheckCoverage(nullptr), cmcCloneFile::Coverage);

    Lines headerOnly;
    EXPECT_EQ(ReadText(headerOnly.Text(), nullptr), cmcCloneFile::Ok);
    EXPECT_EQ(file_.CheckCoverage(kCloneRanges), cmcCloneFile::Coverage);
    EXPECT_TRUE(host_->Messages().empty());
}

TEST_F(CloneFileRead, CheckCoverageWithoutImageGivesCoverage) {
    cmcCloneFile bare;
    EXPECT_EQ(bare.CheckCoverage(kCloneRanges), cmcCloneFile::Coverage);
}

TEST_F(CloneFileRead, MissingFileOrDirectoryGivesFileOpen) {
    FillPattern(image_, 1);
    before_.CopyFrom(image_);
    Configure(file_, image_);
    EXPECT_EQ(file_.Read(Path("nothing.t590"), kCloneRanges), cmcCloneFile::FileOpen);
    EXPECT_TRUE(image_.IsEqual(before_));
    ExpectOnlyMessage(cmcCloneFile::FileOpen);
    host_->Clear();
    EXPECT_EQ(file_.Read(Path(""), kCloneRanges), cmcCloneFile::FileOpen);
    EXPECT_TRUE(image_.IsEqual(before_));
    ExpectOnlyMessage(cmcCloneFile::FileOpen);
}

TEST_F(CloneFileRead, WithoutImageIsFatal) {
    cmcCloneFile bare;
    EXPECT_THROW(bare.Read(Path("x.t590"), kCloneRanges), cmcFatalError);
}

// Every malformed file ends in its result code with the image byte for byte as it was.
struct BadCase {
    const char* name;
    std::function<std::string()> text;
    int expected;
    bool withRanges = true;
};

std::string WithLines(const std::function<void(Lines&)>& edit) {
    Lines lines = GoodLines();
    edit(lines);
    return lines.Text();
}

std::string Garbage(std::size_t length, unsigned seed) {
    std::mt19937 random(seed);
    std::string text(length, '\0');
    for (char& c : text)
        c = static_cast<char>(random() & 0xFF);
    return text;
}

const BadCase kBadCases[] = {
    {"EmptyFile", [] { return std::string(); }, cmcCloneFile::Format},
    {"OtherExtraCode", [] { return WithLines([](Lines& l) { l.id = "24290002"; }); },
     cmcCloneFile::Extra},
    {"OtherModelCode", [] { return WithLines([](Lines& l) { l.id = "24300001"; }); },
     cmcCloneFile::Model},
    {"ModelCheckedBeforeLaterLetter", [] { return WithLines([](Lines& l) { l.id = "2530000A"; }); },
     cmcCloneFile::Model},
    {"LetterInIdLine", [] { return WithLines([](Lines& l) { l.id = "2429000A"; }); },
     cmcCloneFile::Format},
    {"LowerCaseInIdLine", [] { return WithLines([](Lines& l) { l.id = "2429000a"; }); },
     cmcCloneFile::Format},
    {"SevenDigitIdLine", [] { return WithLines([](Lines& l) { l.id = "2429001"; }); },
     cmcCloneFile::Format},
    {"NineDigitIdLine", [] { return WithLines([](Lines& l) { l.id = "242900010"; }); },
     cmcCloneFile::Format},
    {"IdLineWithBlank", [] { return WithLines([](Lines& l) { l.id = "24290001 "; }); },
     cmcCloneFile::Format},
    {"IdLineWithoutLineEnd", [] { return std::string("24290001"); }, cmcCloneFile::Format},
    {"HeaderOnly", [] { return Lines().Text(); }, cmcCloneFile::Coverage},
    {"HeaderOnlyWrongMapRev",  // the revision is checked only before a data line
     [] {
         Lines l;
         l.header[1] = "#MapRev=8";
         return l.Text();
     },
     cmcCloneFile::Coverage},
    {"CommentBeforeIdLine", [] { return "#Comment=x\r\n" + GoodLines().Text(); },
     cmcCloneFile::Format},
    {"ByteOrderMark", [] { return "\xEF\xBB\xBF" + GoodLines().Text(); }, cmcCloneFile::Format},
    {"NoMapRevLine", [] { return WithLines([](Lines& l) { l.header = {"#Comment=MV TEST"}; }); },
     cmcCloneFile::MapRev},
    {"OtherMapRev", [] { return WithLines([](Lines& l) { l.header[1] = "#MapRev=8"; }); },
     cmcCloneFile::MapRev},
    {"MapRevWithoutDigits", [] { return WithLines([](Lines& l) { l.header[1] = "#MapRev="; }); },
     cmcCloneFile::MapRev},
    {"MapRevOverflowing",
     [] { return WithLines([](Lines& l) { l.header[1] = "#MapRev=4294967303"; }); },
     cmcCloneFile::MapRev},
    {"MapRevAfterFirstDataLine",
     [] {
         return WithLines([](Lines& l) {
             l.header.pop_back();
             l.data.insert(l.data.begin() + 1, "#MapRev=7");
         });
     },
     cmcCloneFile::MapRev},
    {"ShortData", [] { return WithLines([](Lines& l) { l.data[0] = l.data[0].substr(0, 36); }); },
     cmcCloneFile::Format},
    {"CountTooSmall", [] { return WithLines([](Lines& l) { l.data[3][5] = 'F'; }); },
     cmcCloneFile::Format},
    {"CountZero", [] { return WithLines([](Lines& l) { l.data[0] = "02700000"; }); },
     cmcCloneFile::Format},
    {"LineShorterThanEight", [] { return WithLines([](Lines& l) { l.data[0] = "027001A"; }); },
     cmcCloneFile::Format},
    {"NonHexDigit", [] { return WithLines([](Lines& l) { l.data[7][20] = 'G'; }); },
     cmcCloneFile::Format},
    {"BlankInData", [] { return WithLines([](Lines& l) { l.data[7][6] = ' '; }); },
     cmcCloneFile::Format},
    {"EmptyLine", [] { return WithLines([](Lines& l) { l.data.insert(l.data.begin(), ""); }); },
     cmcCloneFile::Format},
    {"EmptyLineAtEnd", [] { return WithLines([](Lines& l) { l.data.push_back(""); }); },
     cmcCloneFile::Format},
    {"LoneCrLineEnds", [] { return WithLines([](Lines& l) { l.eol = "\r"; }); },
     cmcCloneFile::Format},
    {"CrInsideDataLine", [] { return WithLines([](Lines& l) { l.data[9][10] = '\r'; }); },
     cmcCloneFile::Format},
    {"NulInsideDataLine", [] { return WithLines([](Lines& l) { l.data[9][10] = '\0'; }); },
     cmcCloneFile::Format},
    {"LineBeyondImage",
     [] { return WithLines([](Lines& l) { l.data.push_back(DataLine(0x3FF8, 16, 0)); }); },
     cmcCloneFile::Data},
    {"LastByteBeyondImage",
     [] { return WithLines([](Lines& l) { l.data.push_back(DataLine(0x3FFF, 2, 0)); }); },
     cmcCloneFile::Data},
    {"MissingLastLine", [] { return WithLines([](Lines& l) { l.data.pop_back(); }); },
     cmcCloneFile::Coverage},
    {"MissingOneByte",
     [] { return WithLines([](Lines& l) { l.data[100] = DataLine(0x0270 + 1600, 15, 9); }); },
     cmcCloneFile::Coverage},
    {"ExtraLineAtZero",
     [] { return WithLines([](Lines& l) { l.data.push_back(DataLine(0x0000, 16, 0)); }); },
     cmcCloneFile::Data},
    {"ExtraByteAfterRange",
     [] { return WithLines([](Lines& l) { l.data.push_back(DataLine(0x2F90, 1, 0)); }); },
     cmcCloneFile::Data},
    {"DataLineTooLong",
     [] { return WithLines([](Lines& l) { l.data[0] = DataLine(0x0270, 255, 0) + "00"; }); },
     cmcCloneFile::Format},
    {"MegabyteDataLine",
     [] { return WithLines([](Lines& l) { l.data[0] += std::string(1 << 20, '0'); }); },
     cmcCloneFile::Format},
    {"MegabyteCommentLine",
     [] { return WithLines([](Lines& l) { l.header[0] += std::string(1 << 20, 'x'); }); },
     cmcCloneFile::Format},
    {"MegabyteFirstLine", [] { return std::string(1 << 20, '2') + "\r\n"; }, cmcCloneFile::Format},
    // A long physical line whose tail would be a good data line if the line were cut at the
    // reader's limit: the line is refused whole, not split.
    {"LongCommentHidingDataLine",
     [] {
         return WithLines([](Lines& l) {
             l.data[0] = "#" + std::string(cmcCloneFile::kMaxLineLength - 1, 'x') + l.data[0];
         });
     },
     cmcCloneFile::Format},
    {"LongDataLineHidingDataLine",
     [] {
         return WithLines([](Lines& l) {
             l.data[0] = std::string(cmcCloneFile::kMaxLineLength, '0') + l.data[0];
         });
     },
     cmcCloneFile::Format},
    {"CommentOneOverTheLimit",
     [] {
         return WithLines(
             [](Lines& l) { l.header[0] = "#" + std::string(cmcCloneFile::kMaxLineLength, 'x'); });
     },
     cmcCloneFile::Format},
    {"BinaryGarbage", [] { return Garbage(5000, 1); }, cmcCloneFile::Format},
    {"GarbageAfterHeader", [] { return Lines().Text() + Garbage(5000, 2); }, cmcCloneFile::Format},
    {"GarbageWithoutRangeList", [] { return Lines().Text() + Garbage(5000, 3); },
     cmcCloneFile::Format, false},
    {"BadDataWithoutRangeList", [] { return WithLines([](Lines& l) { l.data[3][5] = 'F'; }); },
     cmcCloneFile::Format, false},
    {"BeyondImageWithoutRangeList",
     [] { return WithLines([](Lines& l) { l.data.push_back(DataLine(0x3FF8, 16, 0)); }); },
     cmcCloneFile::Data, false},
};

class CloneFileBadInput : public CloneFileRead, public ::testing::WithParamInterface<BadCase> {};

TEST_P(CloneFileBadInput, EndsInItsCodeWithImageUnchanged) {
    const BadCase& c = GetParam();
    EXPECT_EQ(ReadText(c.text(), c.withRanges ? kCloneRanges : nullptr), c.expected);
    EXPECT_TRUE(image_.IsEqual(before_));
    ExpectOnlyMessage(c.expected);
}

INSTANTIATE_TEST_SUITE_P(Files, CloneFileBadInput, ::testing::ValuesIn(kBadCases),
                         [](const ::testing::TestParamInfo<BadCase>& info) {
                             return std::string(info.param.name);
                         });

// A line of exactly the reader's limit is still a line.
TEST_F(CloneFileRead, CommentAtTheLimitIsAccepted) {
    Lines lines = GoodLines();
    lines.header[0] = "#" + std::string(cmcCloneFile::kMaxLineLength - 1, 'x');
    EXPECT_EQ(ReadText(lines.Text()), cmcCloneFile::Ok);
    lines.eol = "\n";
    EXPECT_EQ(ReadText(lines.Text()), cmcCloneFile::Ok);
}

// A file cut short anywhere is refused, and never changes the image.
TEST_F(CloneFileRead, TruncatedFileIsRefusedAtEveryCut) {
    const std::string text = GoodLines().Text();
    for (std::size_t cut = 0; cut + 2 < text.size(); cut += 97) {
        const int result = ReadText(text.substr(0, cut));
        ASSERT_NE(result, cmcCloneFile::Ok) << cut;
        ASSERT_TRUE(image_.IsEqual(before_)) << cut;
    }
    EXPECT_EQ(ReadText(text.substr(0, text.size() - 1)), cmcCloneFile::Ok);  // only LF gone
}

// A read that fails keeps the image's array where it is: other parts hold pointers into it.
TEST_F(CloneFileRead, FailedReadKeepsTheImageArray) {
    FillPattern(image_, 5);
    const std::uint8_t* bytes = image_.Bytes();
    Configure(file_, image_);
    const std::string path = Path("bad.t590");
    Spit(path, WithLines([](Lines& l) { l.data.pop_back(); }));
    EXPECT_EQ(file_.Read(path, kCloneRanges), cmcCloneFile::Coverage);
    EXPECT_EQ(image_.Bytes(), bytes);
}

// The revision is the number right after "#MapRev=", read the way a C library reads an int.
TEST_F(CloneFileRead, MapRevisionLineVariants) {
    struct Case {
        const char* line;
        int revision;
    };
    const Case cases[] = {
        {"#MapRev=7", 7},
        {"#MapRev= \t7", 7},
        {"#MapRev=+7", 7},
        {"#MapRev=007", 7},
        {"#MapRev=7 new", 7},
        {"#MapRev=-7", -7},
        {"#MapRev=x7", 0},
        {"#XMapRev=7", 0},
        {"#MapRev=99999999999", 2147483647},
        {"#MapRev=-99999999999", -2147483647 - 1},
    };
    for (const Case& c : cases) {
        Lines lines;
        lines.header = {c.line};
        EXPECT_EQ(ReadText(lines.Text(), nullptr), cmcCloneFile::Ok) << c.line;
        EXPECT_EQ(file_.GetMapRevision(), c.revision) << c.line;
    }
}

TEST_F(CloneFileRead, ShowFileErrorForEveryCode) {
    cmcCloneFile file;
    for (int result = -1; result <= 10; ++result) {
        host_->Clear();
        file.ShowFileError(result);
        if (result >= 1 && result <= 9) {
            ExpectOnlyMessage(result);
        } else {
            EXPECT_TRUE(host_->Messages().empty()) << result;
        }
    }
}

// The dictionary failing is an error of the program or its resources, not of the file.
TEST_F(CloneFileRead, MessageWithoutDictionaryOrKeyIsFatal) {
    cmcCloneFile file;
    cmcGTex::SetMain(nullptr);
    EXPECT_THROW(file.ShowFileError(cmcCloneFile::Format), cmcFatalError);
    ASSERT_EQ(host_->Fatals().size(), 1u);
    EXPECT_EQ(host_->Fatals()[0],
              "GTEX Error !\nThe index 'GI_Mess_FileErr_Headline' was not found.");

    const char* const lines[] = {"#GI_Sys_AppTitle", "T",    "#GI_Mess_FileErr_Headline", "H",
                                 "#End_Of_Ovl",      nullptr};
    cmcGTex partial;
    partial.SetLines(lines);
    cmcGTex::SetMain(&partial);
    EXPECT_THROW(file.ShowFileError(cmcCloneFile::Newer), cmcFatalError);
    ASSERT_EQ(host_->Fatals().size(), 2u);
    EXPECT_EQ(host_->Fatals()[1], "GTEX Error !\nThe index 'GI_Mess_FileErr_Newer' was not found.");
    EXPECT_TRUE(host_->Messages().empty());
}

// A line without end (a device of zeros chosen in the open dialog) is refused, not read forever.
TEST_F(CloneFileRead, EndlessLineIsRefused) {
    if (!QFileInfo::exists("/dev/zero"))
        GTEST_SKIP() << "no /dev/zero here";
    FillPattern(image_, 1);
    before_.CopyFrom(image_);
    Configure(file_, image_);
    EXPECT_EQ(file_.Read("/dev/zero", kCloneRanges), cmcCloneFile::Format);
    EXPECT_TRUE(image_.IsEqual(before_));
    ExpectOnlyMessage(cmcCloneFile::Format);
}

// The shipped resource file answers every message the clone file can show.
TEST_F(CloneFileRead, MessagesFromTheShippedResourceFile) {
    cmcGTex shipped;
    ASSERT_TRUE(shipped.SetFile(ResourcePath("PQT590.OVL")));
    cmcGTex::SetMain(&shipped);
    const std::string caption = shipped.Text("GI_Sys_AppTitle");
    const std::string headline = shipped.Text("GI_Mess_FileErr_Headline") + "\n\n";
    cmcCloneFile file;
    for (int result = cmcCloneFile::FileOpen; result <= cmcCloneFile::Newer; ++result) {
        host_->Clear();
        file.ShowFileError(result);
        ASSERT_EQ(host_->Messages().size(), 1u) << result;
        const cmcTestHost::Message& m = host_->Messages()[0];
        EXPECT_EQ(m.caption, caption);
        EXPECT_EQ(m.text, headline + shipped.Text(cmcCloneFile::MessageKey(result)));
        EXPECT_GT(m.text.size(), headline.size() + 10) << result;
    }
    EXPECT_TRUE(host_->Fatals().empty());
}

// A file that opens but cannot be read (here memory the process has not mapped) is an access
// error, not an end of file that could pass for a short file.
TEST_F(CloneFileRead, UnreadableFileGivesFileAccess) {
    if (!QFileInfo::exists("/proc/self/mem"))
        GTEST_SKIP() << "no /proc/self/mem here";
    FillPattern(image_, 1);
    before_.CopyFrom(image_);
    Configure(file_, image_);
    EXPECT_EQ(file_.Read("/proc/self/mem", kCloneRanges), cmcCloneFile::FileAccess);
    EXPECT_TRUE(image_.IsEqual(before_));
    ExpectOnlyMessage(cmcCloneFile::FileAccess);
}

TEST_F(CloneFileRead, FailedReadLeavesNothingLoaded) {
    Lines lines = GoodLines();
    lines.data.push_back("0000GG");
    EXPECT_EQ(ReadText(lines.Text()), cmcCloneFile::Format);
    EXPECT_FALSE(file_.LoadedMap().IsMarked(MemoryMap::kCloneFirst));
    EXPECT_EQ(file_.CheckCoverage(kCloneRanges), cmcCloneFile::Coverage);
}

// Without a map revision check no file with data is acceptable.
TEST_F(CloneFileRead, NoMapRevisionCheckRefusesData) {
    const std::string path = Path("nocheck.t590");
    Spit(path, GoodLines().Text());
    FillPattern(image_, 4);
    before_.CopyFrom(image_);
    Configure(file_, image_);
    file_.SetMapRevisionCheck(nullptr, nullptr);
    EXPECT_EQ(file_.Read(path, kCloneRanges), cmcCloneFile::MapRev);
    EXPECT_TRUE(image_.IsEqual(before_));
    ExpectOnlyMessage(cmcCloneFile::MapRev);
}
