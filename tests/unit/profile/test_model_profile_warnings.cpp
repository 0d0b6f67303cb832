#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ProfileFixture.h"

namespace MM = MemoryMap;

namespace {

struct ModesCase {
    std::vector<std::string> arguments;
    bool expert, gene;
    const char* mark;
};

class Profile : public ProfileTest {};

TEST_F(Profile, CommandLineModes) {
    const ModesCase cases[] = {
        {{"C:\\pq\\pqt590.exe"}, false, false, ""},
        {{"pqt590", "/EXPERT", "/gene"}, true, true, "[ EXPERT ][ GENE ]"},
        {{"pqt590", "/Gene", "/expert"}, true, true, "[ GENE ][ EXPERT ]"},
        {{"pqt590", "/gene", "/gene"}, false, true, "[ GENE ][ GENE ]"},
        {{"pqt590", "/expertx", "expert", "-gene", "/ gene"}, false, false, ""},
        // The program path itself is compared too.
        {{"/expert"}, true, false, "[ EXPERT ]"},
    };
    for (const ModesCase& k : cases) {
        const ModelProfile::CommandLineModes m = ModelProfile::ReadCommandLine(k.arguments, dict);
        EXPECT_EQ(m.expert, k.expert) << k.mark;
        EXPECT_EQ(m.generalCoverage, k.gene) << k.mark;
        EXPECT_EQ(m.markText, k.mark);
    }
}

class WarningCheck : public ProfileTest {
protected:
    WarningCheck() {
        main->WorkingImage().CopyFrom(image);
        work = &main->WorkingImage();
    }
    cmcEeprom* work = nullptr;
};

TEST_F(WarningCheck, ACleanImageHasNoWarnings) {
    const ModelProfile::WarningLists lists = RunWarningCheck(dict);
    EXPECT_TRUE(lists.errors.empty());
    EXPECT_TRUE(lists.notices.empty());
    EXPECT_TRUE(lists.marksTree);
}

TEST_F(WarningCheck, ErrorsNameTheSheetsOfTheirChecksInListOrder) {
    SetEdge(*work, datCh::kTxEdge, 4, 8000000, -1);  // half an edge
    Put(*work, datCh::kUserCh, 17, 20000, 20000);    // below the receive edge
    ModelProfile::WarningLists lists = RunWarningCheck(dict);
    EXPECT_EQ(lists.errors, (std::vector<std::string>{"GI_Sheet_UserCh", "GI_Sheet_BandEdge"}));
    EXPECT_TRUE(lists.notices.empty());

    // The check reads the working image as it is now.
    Put(*work, datCh::kUserCh, 17, 2182000, 2182000);
    lists = RunWarningCheck(dict);
    EXPECT_EQ(lists.errors, (std::vector<std::string>{"GI_Sheet_BandEdge"}));
    // With general coverage a transmit frequency inside the receive edge is fine.
    Put(*work, datCh::kEMailCh, 0, 7000000, 7000000);
    SetEdge(*work, datCh::kTxEdge, 4, -1, -1);
    SetEdge(*work, datCh::kTxEdge, 0, 1600000, 2200000);
    lists = RunWarningCheck(dict);
    EXPECT_EQ(lists.errors, (std::vector<std::string>{"GI_Sheet_EMail"}));
    main->SetGeneralCoverageMode(true);
    EXPECT_TRUE(RunWarningCheck(dict).errors.empty());
}

TEST_F(WarningCheck, NoticesAreListedApartFromErrors) {
    std::memcpy(work->Bytes() + MM::kModeIndications + 3, "   ", 3);
    ModelProfile::WarningLists lists = RunWarningCheck(dict);
    EXPECT_TRUE(lists.errors.empty());
    EXPECT_EQ(lists.notices, (std::vector<std::string>{"GI_Sheet_ModeReg"}));
    Put(*work, datCh::kUserCh, 17, 20000, 20000);
    lists = RunWarningCheck(dict);
    EXPECT_EQ(lists.errors, (std::vector<std::string>{"GI_Sheet_UserCh"}));
    EXPECT_EQ(lists.notices, (std::vector<std::string>{"GI_Sheet_ModeReg"}));
}

TEST_F(WarningCheck, AnEmptyListMarksNothing) {
    static const char* const kLines[] = {"#GI_WarningCheckList", "#", "#End_Of_Ovl"};
    cmcGTex empty;
    empty.SetLines(kLines, 3);
    Put(*work, datCh::kUserCh, 17, 20000, 20000);
    const ModelProfile::WarningLists lists = RunWarningCheck(empty);
    EXPECT_TRUE(lists.errors.empty());
    EXPECT_FALSE(lists.marksTree);
}

TEST_F(WarningCheck, AMissingListIsAResourceError) {
    static const char* const kLines[] = {"#Other", "x", "#End_Of_Ovl"};
    cmcGTex other;
    other.SetLines(kLines, 3);
    EXPECT_THROW(RunWarningCheck(other), cmcFatalError);
}

}  // namespace
