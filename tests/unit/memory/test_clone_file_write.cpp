#include <gtest/gtest.h>

#if defined(__unix__) || defined(__APPLE__)
#include <sys/resource.h>
#define PQ_HAVE_FILE_SIZE_LIMIT 1
#endif

#include <QDir>
#include <QFileInfo>

#include <csignal>
#include <cstring>
#include <sstream>
#include <vector>

#include "CloneFileFixture.h"
#include "memory/cmcRange.h"

namespace {

std::vector<std::string> SplitCrLf(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = text.find("\r\n", start);
        if (end == std::string::npos)
            break;
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    EXPECT_EQ(start, text.size()) << "text after the last line end";
    return lines;
}

std::string Hex(unsigned value, int digits) {
    std::ostringstream s;
    s << std::uppercase << std::hex;
    s.width(digits);
    s.fill('0');
    s << value;
    return s.str();
}

}  // namespace

class CloneFileWrite : public CloneFileFixture {};

TEST_F(CloneFileWrite, CloneRangeGivesHeaderAnd722LinesWithCrLf) {
    cmcEeprom image;
    FillPattern(image, 5);
    cmcCloneFile file;
    Configure(file, image);
    file.SetComment("IMO 9876543");
    const std::string path = Path("a.t590");
    ASSERT_EQ(file.Write(path, kCloneRanges), cmcCloneFile::Ok);

    const std::string text = Slurp(path);
    EXPECT_EQ(text.find('\n'), text.find("\r\n") + 1);
    const std::vector<std::string> lines = SplitCrLf(text);
    ASSERT_EQ(lines.size(), 3u + 722u);
    EXPECT_EQ(lines[0], "24290001");
    EXPECT_EQ(lines[1], "#Comment=IMO 9876543");
    EXPECT_EQ(lines[2], "#MapRev=7");
    for (std::size_t i = 3; i < lines.size(); ++i) {
        const int address = MemoryMap::kCloneFirst + static_cast<int>(i - 3) * 16;
        std::string expected = Hex(static_cast<unsigned>(address), 4) + "10";
        for (int b = 0; b < 16; ++b)
            expected += Hex(image.GetByte(address + b), 2);
        ASSERT_EQ(lines[i], expected) << i;
        ASSERT_EQ(lines[i].size(), 38u);
    }
    EXPECT_EQ(lines.back().substr(0, 4), "2F80");
    EXPECT_TRUE(host_->Messages().empty());
}

struct RangeCase {
    std::vector<cmcRange> ranges;
    std::vector<std::string> addressAndCount;  // first 6 characters of every data line
};

class CloneFileWriteRanges : public CloneFileFixture,
                             public ::testing::WithParamInterface<RangeCase> {};

// Lines break at every multiple of 16 and at the end of each range; a range outside the image
// ends the list without error.
TEST_P(CloneFileWriteRanges, LinesFollowSixteenByteBoundaries) {
    cmcEeprom image;
    FillPattern(image, 1);
    cmcCloneFile file;
    Configure(file, image);
    const std::string path = Path("r.t590");
    ASSERT_EQ(file.Write(path, GetParam().ranges.data()), cmcCloneFile::Ok);
    const std::vector<std::string> lines = SplitCrLf(Slurp(path));
    ASSERT_EQ(lines.size(), 3 + GetParam().addressAndCount.size());
    for (std::size_t i = 0; i < GetParam().addressAndCount.size(); ++i) {
        const std::string& line = lines[3 + i];
        EXPECT_EQ(line.substr(0, 6), GetParam().addressAndCount[i]);
        EXPECT_EQ(line.size(), 6 + 2 * std::stoul(line.substr(4, 2), nullptr, 16));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Ranges, CloneFileWriteRanges,
    ::testing::Values(
        RangeCase{{{0x0005, 0x0013}, kRangeEnd}, {"00050B", "001004"}},
        RangeCase{{{0x0010, 0x0010}, {0x3FFE, 0x3FFF}, kRangeEnd}, {"001001", "3FFE02"}},
        RangeCase{{{0x0000, 0x000F}, {0x3FF0, 0x4000}, {0x0020, 0x0021}, kRangeEnd}, {"000010"}},
        RangeCase{{{-1, 5}, {0x0000, 0x000F}, kRangeEnd}, {}},
        RangeCase{{kRangeEnd, {0, 15}, kRangeEnd}, {}}));

TEST_F(CloneFileWrite, ZeroExtraCodeAndMapRevisionAreWrittenPlainly) {
    cmcEeprom image;
    FillPattern(image, 2);
    cmcCloneFile file;
    Configure(file, image);
    file.SetExtraCode(0);
    file.SetMapRevision(12);
    const std::string path = Path("z.t590");
    ASSERT_EQ(file.Write(path, kCloneRanges), cmcCloneFile::Ok);
    const std::vector<std::string> lines = SplitCrLf(Slurp(path));
    EXPECT_EQ(lines[0], "24290000");
    EXPECT_EQ(lines[1], "#Comment=");
    EXPECT_EQ(lines[2], "#MapRev=12");
}

// A comment with line ends or of any length must still give a file the reader takes back.
TEST_F(CloneFileWrite, CommentCannotBreakTheFile) {
    cmcEeprom image;
    FillPattern(image, 3);
    cmcCloneFile file;
    Configure(file, image);
    file.SetComment("two\r\nlines\n#MapRev=8\n" + std::string(2000, 'c'));
    const std::string path = Path("c.t590");
    ASSERT_EQ(file.Write(path, kCloneRanges), cmcCloneFile::Ok);
    const std::vector<std::string> lines = SplitCrLf(Slurp(path));
    ASSERT_EQ(lines.size(), 3u + 722u);
    EXPECT_EQ(lines[1].size(), static_cast<std::size_t>(cmcCloneFile::kMaxLineLength));
    EXPECT_EQ(lines[1].substr(0, 33), "#Comment=two  lines #MapRev=8 ccc");

    cmcEeprom back;
    back.SetSize(MemoryMap::kImageSize);
    cmcCloneFile reader;
    Configure(reader, back);
    EXPECT_EQ(reader.Read(path, kCloneRanges), cmcCloneFile::Ok);
    EXPECT_EQ(reader.GetMapRevision(), 7);
}

// The writer's own header lines: between comment and map revision, always "#" lines of the
// reader's length, never a map revision of their own.
TEST_F(CloneFileWrite, HeaderLinesOfOurOwnCannotBreakTheFile) {
    cmcEeprom image;
    FillPattern(image, 6);
    cmcCloneFile file;
    Configure(file, image);
    file.AddHeaderLine("#Note=kept");
    file.AddHeaderLine("no hash\r\nMapRev=6");
    file.AddHeaderLine("#" + std::string(2000, 'h'));
    const std::string path = Path("h.t590");
    ASSERT_EQ(file.WriteSilently(path, kCloneRanges), cmcCloneFile::Ok);
    const std::vector<std::string> lines = SplitCrLf(Slurp(path));
    ASSERT_EQ(lines.size(), 6u + 722u);
    EXPECT_EQ(lines[1], "#Comment=");
    EXPECT_EQ(lines[2], "#Note=kept");
    EXPECT_EQ(lines[3], "#no hash  MapRev=6");
    EXPECT_EQ(lines[4].size(), static_cast<std::size_t>(cmcCloneFile::kMaxLineLength));
    EXPECT_EQ(lines[5], "#MapRev=7");

    cmcEeprom back;
    back.SetSize(MemoryMap::kImageSize);
    cmcCloneFile reader;
    Configure(reader, back);
    EXPECT_EQ(reader.Read(path, kCloneRanges), cmcCloneFile::Ok);
    EXPECT_EQ(reader.GetMapRevision(), 7);
    EXPECT_EQ(std::memcmp(back.Bytes() + MemoryMap::kCloneFirst,
                          image.Bytes() + MemoryMap::kCloneFirst, MemoryMap::kCloneLength),
              0);
}

TEST_F(CloneFileWrite, WritingSilentlyShowsNoMessageOnFailure) {
    cmcEeprom image;
    FillPattern(image, 4);
    cmcCloneFile file;
    Configure(file, image);
    EXPECT_EQ(file.WriteSilently(Path("missing/dir/a.t590"), kCloneRanges), cmcCloneFile::FileOpen);
    EXPECT_TRUE(host_->Messages().empty());
}

TEST_F(CloneFileWrite, UnopenablePathGivesFileOpenAndCreatesNothing) {
    cmcEeprom image;
    FillPattern(image, 4);
    cmcCloneFile file;
    Configure(file, image);
    EXPECT_EQ(file.Write(Path("missing/dir/a.t590"), kCloneRanges), cmcCloneFile::FileOpen);
    ExpectOnlyMessage(cmcCloneFile::FileOpen);
    host_->Clear();
    EXPECT_EQ(file.Write(Path(""), kCloneRanges), cmcCloneFile::FileOpen);  // the directory
    ExpectOnlyMessage(cmcCloneFile::FileOpen);
    EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(Path("missing"))));
}

TEST_F(CloneFileWrite, WithoutImageIsFatal) {
    cmcCloneFile file;
    EXPECT_THROW(file.Write(Path("n.t590"), kCloneRanges), cmcFatalError);
    EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(Path("n.t590"))));
}

#ifdef PQ_HAVE_FILE_SIZE_LIMIT
// Lowers the file size limit of the process for a scope, so that writes beyond it fail the way
// they do on a full disk.
class ScopedFileSizeLimit {
public:
    explicit ScopedFileSizeLimit(rlim_t bytes) {
        previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &previous_);
        rlimit lower = previous_;
        lower.rlim_cur = bytes;
        ok_ = setrlimit(RLIMIT_FSIZE, &lower) == 0;
    }
    ~ScopedFileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &previous_);
        std::signal(SIGXFSZ, previousHandler_);
    }
    bool ok() const { return ok_; }

private:
    rlimit previous_{};
    void (*previousHandler_)(int) = nullptr;
    bool ok_ = false;
};

TEST_F(CloneFileWrite, FailedWriteKeepsThePreviousFileAndGivesFileAccess) {
    cmcEeprom image;
    FillPattern(image, 6);
    cmcCloneFile file;
    Configure(file, image);
    const std::string path = Path("keep.t590");
    const std::string previous = "the file that was there\r\n";
    Spit(path, previous);

    {
        ScopedFileSizeLimit limit(4096);
        ASSERT_TRUE(limit.ok());
        EXPECT_EQ(file.Write(path, kCloneRanges), cmcCloneFile::FileAccess);
    }
    ExpectOnlyMessage(cmcCloneFile::FileAccess);
    EXPECT_EQ(Slurp(path), previous);
    // No temporary file is left behind either.
    EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files), QStringList{"keep.t590"});

    // And once the disk has room again, the same save succeeds.
    EXPECT_EQ(file.Write(path, kCloneRanges), cmcCloneFile::Ok);
    EXPECT_NE(Slurp(path), previous);
}

#endif  // PQ_HAVE_FILE_SIZE_LIMIT

TEST_F(CloneFileWrite, ImageCommentTakesPrintableBytesWithoutTrailingBlanks) {
    struct Case {
        std::string raw;  // 16 bytes at the comment address
        std::string expected;
    };
    const std::vector<Case> cases = {
        {std::string("MV SEA STAR     "), "MV SEA STAR"},
        {std::string("A\tB\x7F"
                     "C\x80\x1F"
                     "D        ",
                     16),
         "A B C  D"},
        {std::string(16, '\0'), ""},
        {std::string("  lead 0123456~~"), "  lead 0123456~~"},
    };
    for (const Case& c : cases) {
        cmcEeprom image;
        image.SetSize(MemoryMap::kImageSize);
        image.WriteBlock(MemoryMap::kComment, reinterpret_cast<const std::uint8_t*>(c.raw.data()),
                         MemoryMap::kCommentLength);
        EXPECT_EQ(cmcCloneFile::ImageComment(image), c.expected) << c.raw;
    }
    cmcEeprom tiny;
    tiny.SetSize(16);
    EXPECT_EQ(cmcCloneFile::ImageComment(tiny), "");
}
