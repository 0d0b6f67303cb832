// Mode selection entries and mode registration.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "SettingsBehaveTest.h"
#include "memory/MemoryMap.h"

namespace MM = MemoryMap;
using namespace ConvTest;

namespace {

class BehaveMode : public SettingsBehaveTest {
protected:
    void SetIndication(int mode, const char* three) {
        std::memcpy(image_ + MM::kModeIndications + 3 * mode, three, 3);
    }
    std::string Indication(int mode) const {
        return std::string(reinterpret_cast<char*>(image_) + MM::kModeIndications + 3 * mode, 3);
    }
};

TEST_F(BehaveMode, SelectionEntriesShowTheModeNameAndItsAvailability) {
    SetIndication(3, "CW ");
    image_[MM::kModeEnable + 3] = 1;
    Result r = Show(CT_Null, CL_Sel_Mode_U, 3);
    EXPECT_EQ(r.text, "CW");
    EXPECT_FALSE(r.Error());
    image_[MM::kModeEnable + 3] = 0;
    EXPECT_TRUE(Show(CT_Null, CL_Sel_Mode_U, 3).Error());

    SetIndication(4, "F\x01K");  // unprintable bytes never reach the screen
    EXPECT_EQ(Show(CT_Null, CL_Sel_Mode_U, 4).text, "F K");
    EXPECT_EQ(Indication(4), "F\x01K");  // and showing changes nothing

    EXPECT_TRUE(Show(CT_Null, CL_Sel_Mode_U, 6).Error());  // no such mode
    EXPECT_EQ(Show(CT_Null, CL_Sel_Mode_F, 2).text, "(AM)");
    EXPECT_EQ(Show(CT_ModeReg, CL_ModeReg_Name, 5).text, "J2B");
}

TEST_F(BehaveMode, IndicationsAreEditedInExpertModeOnly) {
    SetIndication(0, "LSB");
    const Result refused = Press(CT_ModeReg, CL_ModeReg_Indication, 0, 'X');
    EXPECT_EQ(refused.action, kActNone);
    EXPECT_EQ(refused.key, 0);
    EXPECT_EQ(StatusTexts(), std::vector<std::string>{"Cannot edit"});
    EXPECT_EQ(Indication(0), "LSB");
    main_->SetExpertMode(true);
    const Result opened = Press(CT_ModeReg, CL_ModeReg_Indication, 0, 'X');
    EXPECT_EQ(opened.action, kActEdit);
    EXPECT_EQ(opened.text, "X");
    Type(CT_ModeReg, CL_ModeReg_Indication, 0, "H3EXX");
    EXPECT_EQ(Indication(0), "H3E");
    const Result shown = Show(CT_ModeReg, CL_ModeReg_Indication, 0);
    EXPECT_EQ(shown.text, "H3E");
    EXPECT_FALSE(shown.Notice());
    EXPECT_EQ(shown.markPosition, kMarkPosRight);
}

TEST_F(BehaveMode, BlankIndicationCarriesTheNotice) {
    SetIndication(2, "   ");
    EXPECT_TRUE(Show(CT_ModeReg, CL_ModeReg_Indication, 2).Notice());
    SetIndication(2, " A ");
    EXPECT_FALSE(Show(CT_ModeReg, CL_ModeReg_Indication, 2).Notice());
}

TEST_F(BehaveMode, UseColumnListsAndTheFixedEntry) {
    struct Row {
        int entry;
        const char* list;
    };
    for (const Row& row : {Row{0, "GI_Sheet_Sel_ModeOk"}, Row{2, "GI_Sheet_Sel_ModeRx"},
                           Row{5, "GI_Sheet_Sel_ModeOk"}}) {
        SCOPED_TRACE(row.entry);
        image_[MM::kModeEnable + row.entry] = 0;
        EXPECT_EQ(Show(CT_ModeReg, CL_ModeReg_Use, row.entry).text, EntryText(row.list, 0));
        Press(CT_ModeReg, CL_ModeReg_Use, row.entry, kKeySpace);
        EXPECT_EQ(image_[MM::kModeEnable + row.entry], 1);
        Press(CT_ModeReg, CL_ModeReg_Use, row.entry, kKeyEnter);
        EXPECT_EQ(main_->ChoiceLists().back().listKey, row.list);
    }
    // Entry 1 cannot be switched off: every typed key is refused with the status message.
    image_[MM::kModeEnable + 1] = 1;
    const Result r = Press(CT_ModeReg, CL_ModeReg_Use, 1, kKeySpace);
    EXPECT_EQ(r.key, 0);
    EXPECT_EQ(image_[MM::kModeEnable + 1], 1);
    EXPECT_EQ(StatusTexts(), std::vector<std::string>{"Cannot edit"});
}

}  // namespace
