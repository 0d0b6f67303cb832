// The file side of the file commands: opening with every check (exactly one message for each
// failure), saving with the image's comment, and the initial file that the program needs.
#include <gtest/gtest.h>

#include <QDir>
#include <cstring>

#include "CloneFileFixture.h"
#include "ScopedMainDictionary.h"
#include "memory/cmcRange.h"
#include "profile/FileCommands.h"

namespace {

class FileCommandsTest : public CloneFileFixture {
protected:
    // A file of this radio with a valid image of the pattern.
    std::string GoodFile(const std::string& name, cmcEeprom& image) {
        FillPattern(image, 5);
        image.SetByte(MemoryMap::kMapRevision, MemoryMap::kMapRevisionValue);
        const std::string path = Path(name);
        EXPECT_EQ(FileCommands::SaveCloneFile(path, image), 0);
        return path;
    }
};

TEST_F(FileCommandsTest, OpensAGoodFileWithoutAMessage) {
    cmcEeprom written, opened;
    const std::string path = GoodFile("good.t590", written);
    opened.SetSize(100);
    EXPECT_EQ(FileCommands::OpenCloneFile(path, opened), 0);
    EXPECT_TRUE(host_->Messages().empty());
    ASSERT_EQ(opened.GetSize(), MemoryMap::kImageSize);
    EXPECT_EQ(std::memcmp(opened.Bytes() + MemoryMap::kCloneFirst,
                          written.Bytes() + MemoryMap::kCloneFirst, MemoryMap::kCloneLength),
              0);
    // Outside the clone range the image is zero, whatever it held before.
    EXPECT_EQ(opened.GetByte(0), 0);
    EXPECT_EQ(opened.GetByte(MemoryMap::kCloneLast + 1), 0);
}

// A file damaged after it was written, and the result the open command gives.
struct Damage {
    const char* name;
    void (*edit)(std::string& text);
    int result;
};

void PrintTo(const Damage& d, std::ostream* os) {
    *os << d.name;
}

class FileCommandsDamage : public FileCommandsTest, public ::testing::WithParamInterface<Damage> {};

TEST_P(FileCommandsDamage, GivesItsResultWithExactlyOneMessage) {
    cmcEeprom written, opened;
    const std::string path = GoodFile("damaged.t590", written);
    std::string text = Slurp(path);
    GetParam().edit(text);
    Spit(path, text);
    EXPECT_EQ(FileCommands::OpenCloneFile(path, opened), GetParam().result);
    ExpectOnlyMessage(GetParam().result);
}

INSTANTIATE_TEST_SUITE_P(
    Files, FileCommandsDamage,
    ::testing::Values(
        // The format is right, the image is another layout: the model check refuses it.
        Damage{"MapRevisionByte6",
               [](std::string& t) { t.replace(t.find("\r\n027010") + 8, 2, "06"); },
               cmcCloneFile::Data},
        Damage{"LineMissing",
               [](std::string& t) {
                   const size_t at = t.find("\r\n0280");
                   t.erase(at, t.find("\r\n", at + 2) - at);
               },
               cmcCloneFile::Coverage},
        Damage{"DataBeforeTheCloneRange", [](std::string& t) { t += "01000401020304\r\n"; },
               cmcCloneFile::Data},
        Damage{"EmptyFile", [](std::string& t) { t.clear(); }, cmcCloneFile::Format}),
    [](const ::testing::TestParamInfo<Damage>& i) { return std::string(i.param.name); });

TEST_F(FileCommandsTest, AMissingFileCannotBeOpened) {
    cmcEeprom image;
    EXPECT_EQ(FileCommands::OpenCloneFile(Path("none.t590"), image), cmcCloneFile::FileOpen);
    ExpectOnlyMessage(cmcCloneFile::FileOpen);
}

TEST_F(FileCommandsTest, SavesThePrintableCommentWithoutTrailingBlanks) {
    cmcEeprom image;
    FillPattern(image, 1);
    image.SetByte(MemoryMap::kMapRevision, MemoryMap::kMapRevisionValue);
    const std::uint8_t comment[MemoryMap::kCommentLength] = {'A', 'B', 'C', 1, 2, ' ', ' ', 0x7F,
                                                             0,   0,   0,   0, 0, 0,   0,   0};
    image.WriteBlock(MemoryMap::kComment, comment, MemoryMap::kCommentLength);
    const std::string path = Path("comment.t590");
    ASSERT_EQ(FileCommands::SaveCloneFile(path, image), 0);
    const std::string text = Slurp(path);
    EXPECT_EQ(text.rfind("24290001\r\n#Comment=ABC\r\n#MapRev=7\r\n", 0), 0u) << text;
}

TEST_F(FileCommandsTest, ASaveThatFailsKeepsTheOldFile) {
    cmcEeprom image;
    const std::string path = GoodFile("kept.t590", image);
    const std::string before = Slurp(path);
    host_->Clear();
    // A directory cannot be replaced by a file.
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(Path("dir.t590"))));
    EXPECT_NE(FileCommands::SaveCloneFile(Path("dir.t590"), image), 0);
    EXPECT_EQ(host_->Messages().size(), 1u);
    EXPECT_EQ(Slurp(path), before);
}

// The initial file: named by the dictionary, fatal when missing or not of this layout.
class TemplateTest : public CloneFileFixture {
protected:
    void SetUp() override {
        CloneFileFixture::SetUp();
        static const char* const kLines[] = {"#GI_App_InitialFile",
                                             "init.t590",
                                             "#GI_Sys_AppTitle",
                                             "PQ-T590",
                                             "#GI_Mess_FileErr_Headline",
                                             "File error.",
                                             "#GI_Mess_FileErr_FileOpen",
                                             "cannot open",
                                             "#End_Of_Ovl",
                                             nullptr};
        dictionary_.SetLines(kLines);
        dir = Path("") + "/";
    }
    cmcGTex dictionary_;
    ScopedMainDictionary mainDictionary_{&dictionary_};  // over the fixture's texts
    std::string dir;
};

TEST_F(TemplateTest, LoadsTheInitialFile) {
    cmcEeprom image, loaded;
    FillPattern(image, 9);
    image.SetByte(MemoryMap::kMapRevision, MemoryMap::kMapRevisionValue);
    ASSERT_EQ(FileCommands::SaveCloneFile(dir + "init.t590", image), 0);
    FileCommands::LoadTemplate(dir, loaded);
    EXPECT_EQ(std::memcmp(loaded.Bytes() + MemoryMap::kCloneFirst,
                          image.Bytes() + MemoryMap::kCloneFirst, MemoryMap::kCloneLength),
              0);
}

TEST_F(TemplateTest, AMissingInitialFileIsFatal) {
    cmcEeprom loaded;
    try {
        FileCommands::LoadTemplate(dir, loaded);
        FAIL() << "no fatal error";
    } catch (const cmcFatalError& e) {
        EXPECT_EQ(std::string(e.what()), "Cannot open '" + dir + "init.t590'.");
    }
}

TEST_F(TemplateTest, AnInitialFileOfAnotherLayoutIsFatal) {
    cmcEeprom image, loaded;
    FillPattern(image, 9);
    image.SetByte(MemoryMap::kMapRevision, 6);
    ASSERT_EQ(FileCommands::SaveCloneFile(dir + "init.t590", image), 0);
    EXPECT_THROW(FileCommands::LoadTemplate(dir, loaded), cmcFatalError);
}

}  // namespace
