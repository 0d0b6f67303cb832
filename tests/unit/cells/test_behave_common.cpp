// Common settings and mode cells: each label on its own byte, with its own list or bounds.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "SettingsBehaveTest.h"
#include "cells/indBehave.h"
#include "memory/MemoryMap.h"

namespace MM = MemoryMap;
using namespace ConvTest;

namespace {

class BehaveCommon : public SettingsBehaveTest {};

struct ChoiceRow {
    int label;
    int address;
    const char* list;
};

const ChoiceRow kChoices[] = {
    {CL_Comm_TxMeter, 0x1D82, "GI_Sheet_Sel_Comm_TxMeter"},
    {CL_Comm_TxPwrSel, 0x1DA1, "GI_Sheet_Sel_Comm_PwrSel"},
    {CL_Comm_ModeSel2182, 0x1D9E, "GI_Sheet_Sel_Misc_OnOff"},
    {CL_Comm_SitorCh, 0x1D84, "GI_Sheet_Sel_Misc_OnOff"},
    {CL_Comm_ItuDir, 0x1DA0, "GI_Sheet_Sel_Comm_ItuDir"},
    {CL_Comm_AntTuner, 0x1D85, "GI_Sheet_Sel_Comm_Tuner"},
    {CL_Comm_AtTunUse, 0x1D86, "GI_Sheet_Sel_Misc_OnOff"},
    {CL_Comm_AtTunType, 0x1DA3, "GI_Sheet_Sel_Comm_AtTunType"},
    {CL_Comm_Sel2182Alm, 0x1DA5, "GI_Sheet_Sel_Misc_OnOff"},
    {CL_Comm_ScanType, 0x1D87, "GI_Sheet_Sel_Comm_ScanType"},
    {CL_Comm_IndType, 0x1D89, "GI_Sheet_Sel_Comm_IndType"},
    {CL_Comm_FskTone, 0x1D8A, "GI_Sheet_Sel_Comm_FskTone"},
    {CL_Comm_FskShift, 0x1D8B, "GI_Sheet_Sel_Comm_FskShift"},
    {CL_Comm_FskPolar, 0x1D8C, "GI_Sheet_Sel_Comm_FskPolar"},
    {CL_Comm_CwBkIn, 0x1D8D, "GI_Sheet_Sel_Comm_BkIn"},
    {CL_Comm_TxByAcc, 0x1DAB, "GI_Sheet_Sel_Comm_ModSel"},
    {CL_Comm_TxByPtt, 0x1DAA, "GI_Sheet_Sel_Comm_ModSel"},
    {CL_Comm_MicKey, 0x1D8E, "GI_Sheet_Sel_Misc_OnOff"},
    {CL_Comm_MicFunc, 0x1D8F, "GI_Sheet_Sel_Comm_PKey"},
    {CL_Comm_NmeaIf, 0x1D92, "GI_Sheet_Sel_Comm_NmeaIf"},
    {CL_Comm_J2bFilt, 0x1D93, "GI_Sheet_Sel_Comm_FiltJ2B"},
    {CL_Comm_F1bFilt, 0x1D94, "GI_Sheet_Sel_Comm_FiltF1B"},
    {CL_Comm_RemoteMod, 0x1D95, "GI_Sheet_Sel_Comm_RemoteMod"},
    {CL_Comm_GpsDisp, 0x1D96, "GI_Sheet_Sel_Comm_GpsDisp"},
    {CL_Comm_NonVexaTuner, 0x1DA2, "GI_Sheet_Sel_Comm_NVTuner"},
    {CL_Comm_VoiceSql, 0x1D90, "GI_Sheet_Sel_Misc_OnOff"},
    {CL_Comm_2182Mode, 0x1D9F, "GI_Sheet_Sel_Mode0"},
    {CL_Comm_ScanEnable, 0x1DA6, "GI_Sheet_Sel_Misc_OnOff"},
    {CL_Comm_Comp, 0x1DA8, "GI_Sheet_Sel_Misc_OnOff"},
    {CL_Comm_CommDisp, 0x1DA9, "GI_Sheet_Sel_Misc_OnOff"},
    {CL_Comm_TenKey, 0x1DAC, "GI_Sheet_Sel_Misc_Enable_I"},
};

// Every choice setting shows its own byte through its own list, steps it with space and
// backspace (wrapping) and opens its own list with Enter; no other byte of the image changes.
TEST_F(BehaveCommon, ChoiceSettingsUseTheirByteAndList) {
    for (const ChoiceRow& row : kChoices) {
        SCOPED_TRACE(LabelName(row.label));
        std::vector<uint8_t> before(image_, image_ + MM::kImageSize);
        image_[row.address] = 1;
        EXPECT_EQ(Show(CT_Null, row.label, 0).text, EntryText(row.list, 1));

        Press(CT_Null, row.label, 0, kKeySpace);
        EXPECT_EQ(image_[row.address], 2);
        Press(CT_Null, row.label, 0, kKeySpace);
        EXPECT_EQ(image_[row.address], 0);  // wraps to the first entry
        Press(CT_Null, row.label, 0, kKeyBackspace);
        EXPECT_EQ(image_[row.address], 2);  // and back to the last

        const size_t opened = main_->ChoiceLists().size();
        EXPECT_EQ(Press(CT_Null, row.label, 0, kKeyEnter).action, kActDone);
        ASSERT_EQ(main_->ChoiceLists().size(), opened + 1);
        EXPECT_EQ(main_->ChoiceLists().back().listKey, row.list);
        EXPECT_EQ(main_->ChoiceLists().back().currentValue, 2);

        image_[row.address] = before[size_t(row.address)];
        EXPECT_TRUE(std::equal(before.begin(), before.end(), image_));
    }
}

struct NumberRow {
    int label;
    int address;
    int min;
    int max;
};

const NumberRow kNumbers[] = {
    {CL_Comm_MaxUserChNo, 0x1D83, 1, 160}, {CL_Comm_AlmTimer, 0x1DA4, 1, 99},
    {CL_Comm_ScanSpeed, 0x1D88, 1, 10},    {CL_Comm_NbLev, 0x1D7E, 1, 10},
    {CL_Comm_Backlight, 0x1D7F, 0, 10},    {CL_Comm_Contrast, 0x1D80, 1, 10},
    {CL_Comm_SqlLev, 0x1D81, 1, 100},      {CL_Comm_RfGain, 0x1DAD, 0, 9},
    {CL_Comm_NmeaId, 0x1D91, 1, 99},
};

// Numbers are limited to their bounds when typed and wrap around when stepped.
TEST_F(BehaveCommon, NumberSettingsKeepTheirBounds) {
    for (const NumberRow& row : kNumbers) {
        SCOPED_TRACE(LabelName(row.label));
        Type(CT_Null, row.label, 0, "250");
        EXPECT_EQ(image_[row.address], row.max);
        Press(CT_Null, row.label, 0, kKeySpace);
        EXPECT_EQ(image_[row.address], row.min);
        Press(CT_Null, row.label, 0, kKeyBackspace);
        EXPECT_EQ(image_[row.address], row.max);
        Type(CT_Null, row.label, 0, "-3");
        EXPECT_EQ(image_[row.address], row.min);
        Type(CT_Null, row.label, 0, "abc");  // no digit: nothing changes
        EXPECT_EQ(image_[row.address], row.min);
        image_[row.address] = 0;
    }
}

TEST_F(BehaveCommon, NumberEdgeCases) {
    image_[MM::kRfGain] = 9;
    Press(CT_Null, CL_Comm_RfGain, 0, kKeySpace);
    EXPECT_EQ(image_[MM::kRfGain], 0);

    image_[MM::kMaxUserChannel] = 1;
    Press(CT_Null, CL_Comm_MaxUserChNo, 0, kKeyBackspace);
    EXPECT_EQ(image_[MM::kMaxUserChannel], 160);
    EXPECT_EQ(Show(CT_Null, CL_Comm_MaxUserChNo, 0).text, "160");
}

TEST_F(BehaveCommon, ScanReferenceIsStoredInTenths) {
    Type(CT_Null, CL_Comm_ScanRef, 0, "155");  // rounded half up to a step of 10
    EXPECT_EQ(image_[MM::kScanReference], 16);
    EXPECT_EQ(Show(CT_Null, CL_Comm_ScanRef, 0).text, "160");
    Type(CT_Null, CL_Comm_ScanRef, 0, "999");
    EXPECT_EQ(image_[MM::kScanReference], 20);
    Press(CT_Null, CL_Comm_ScanRef, 0, kKeySpace);  // 200 + 10 wraps to 100
    EXPECT_EQ(image_[MM::kScanReference], 10);
    Press(CT_Null, CL_Comm_ScanRef, 0, kKeyBackspace);
    EXPECT_EQ(image_[MM::kScanReference], 20);
}

TEST_F(BehaveCommon, NmeaIdShowsTwoDigitsButEditsThePlainNumber) {
    image_[MM::kNmeaId] = 7;
    EXPECT_EQ(Show(CT_Null, CL_Comm_NmeaId, 0).text, "07");
    const Result r = Press(CT_Null, CL_Comm_NmeaId, 0, kKeyEnter);
    EXPECT_EQ(r.action, kActEdit);
    EXPECT_EQ(r.text, "7");
    const Result typed = Press(CT_Null, CL_Comm_NmeaId, 0, '4');
    EXPECT_EQ(typed.action, kActEdit);
    EXPECT_EQ(typed.text, "4");
    image_[MM::kNmeaId] = 42;
    EXPECT_EQ(Show(CT_Null, CL_Comm_NmeaId, 0).text, "42");
}

TEST_F(BehaveCommon, CloneCommentIsSixteenPrintableCharacters) {
    std::memcpy(image_ + MM::kComment,
                "AB\x01\x7F"
                "CD            ",
                16);
    image_[MM::kComment + 16] = 0x5A;  // the first byte after the comment
    EXPECT_EQ(Show(CT_Null, CL_Comm_CloneComm, 0).text, "AB  CD");
    EXPECT_EQ(image_[MM::kComment + 2], ' ');  // cleaned in the image itself

    Type(CT_Null, CL_Comm_CloneComm, 0, "Ship radio 1 with a long name");
    EXPECT_EQ(std::string(reinterpret_cast<char*>(image_) + MM::kComment, 16), "Ship radio 1 wit");
    EXPECT_EQ(image_[MM::kComment + 16], 0x5A);
    Type(CT_Null, CL_Comm_CloneComm, 0, "x");
    EXPECT_EQ(std::string(reinterpret_cast<char*>(image_) + MM::kComment, 16), "x               ");
}

TEST_F(BehaveCommon, TimeOffsetInTensOfMinutes) {
    image_[MM::kTimeOffset] = 72;
    EXPECT_EQ(Show(CT_Null, CL_Comm_OfsTime, 0).text, "0:00");
    Type(CT_Null, CL_Comm_OfsTime, 0, "-5:35");
    EXPECT_EQ(image_[MM::kTimeOffset], 39);
    EXPECT_EQ(Show(CT_Null, CL_Comm_OfsTime, 0).text, "-5:30");
    Type(CT_Null, CL_Comm_OfsTime, 0, "13:00");  // beyond 12 hours: refused
    EXPECT_EQ(image_[MM::kTimeOffset], 39);
}

TEST_F(BehaveCommon, AnEditMarksTheImageModified) {
    EXPECT_FALSE(main_->IsModified());
    Press(CT_Null, CL_Comm_RfGain, 0, kKeySpace);
    EXPECT_TRUE(main_->IsModified());
}

}  // namespace

namespace {

// Every label of the settings and DSC families has its behaviour; the labels the program leaves
// without one (high speed port, debug commands) keep showing "*Yet*".
TEST(BehaveRegistry, SettingsAndDscLabelsHaveBehaviours) {
    std::vector<int> labels = {
        CL_Sel_Mode_U,      CL_Sel_Mode_F,         CL_EeDebugWin_Adr,    CL_Free_Byte_Dec,
        CL_Free_Byte_Hex,   CL_Free_DscId,         CL_Menu_Clone_Read,   CL_Menu_Clone_Write,
        CL_Menu_Clone_Info, CL_Help_About,         CL_Help_Contents,     CallSheet,
        CL_CloneInfo_Model, CL_CloneInfo_Revision, CL_CloneInfo_Comment, CL_PMenu_NoItem};
    for (int l = CL_EeDebugWin_0; l <= CL_EeDebugWin_F; ++l)
        labels.push_back(l);
    for (int l = CL_Menu_File_New; l <= CL_Menu_Port_Com; ++l)
        labels.push_back(l);
    for (int l = CL_Check_Dsc_SelfId; l <= CL_Check_Dsc_Cate; ++l)
        labels.push_back(l);
    for (int l = CL_PMenu_Paste; l <= CL_PMenu_Insert; ++l)
        labels.push_back(l);
    for (int l = CL_Comm_CloneComm; l <= CL_Comm_RfGain; ++l)
        labels.push_back(l);
    for (int l = CL_ModeReg_Name; l <= CL_Dsc_Reason_Val; ++l)
        labels.push_back(l);
    const indBehaveTable& table = indBehaveTable::Instance();
    for (int label : labels)
        EXPECT_NE(table.Get(label), nullptr) << LabelName(label);
    for (int label : {CL_Menu_Port_SpeedHigh, CL_Menu_Debug_Compare, CL_Menu_Debug_CorrectComp,
                      CL_Menu_Debug_Window, CL_Menu_Debug_EeWindow, CL_PMenu_Edit, CL_PMenu_Copy})
        EXPECT_EQ(table.Get(label), nullptr) << LabelName(label);
}

}  // namespace
