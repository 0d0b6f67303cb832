#include <gtest/gtest.h>

#include <string>

#include "cells/cmcCellNames.h"
#include "cmcTestHost.h"

namespace {

// Every label name in number order, as resource files write them.
const char* const kLabelNames[] = {
    "CL_Null",
    "Flex0",
    "CL_Sel_Mode_U",
    "CL_Sel_Mode_F",
    "CL_FBits",
    "CL_EeDebugWin_Adr",
    "CL_EeDebugWin_0",
    "CL_EeDebugWin_1",
    "CL_EeDebugWin_2",
    "CL_EeDebugWin_3",
    "CL_EeDebugWin_4",
    "CL_EeDebugWin_5",
    "CL_EeDebugWin_6",
    "CL_EeDebugWin_7",
    "CL_EeDebugWin_8",
    "CL_EeDebugWin_9",
    "CL_EeDebugWin_A",
    "CL_EeDebugWin_B",
    "CL_EeDebugWin_C",
    "CL_EeDebugWin_D",
    "CL_EeDebugWin_E",
    "CL_EeDebugWin_F",
    "CL_Free_Byte_Dec",
    "CL_Free_Byte_Hex",
    "CL_Free_DscId",
    "CL_Menu_File_New",
    "CL_Menu_File_Open",
    "CL_Menu_File_Save",
    "CL_Menu_File_SaveAs",
    "CL_Menu_File_Print_Current",
    "CL_Menu_File_Print_All",
    "CL_Menu_File_Recent",
    "CL_Menu_File_Exit",
    "CL_Menu_Edit_Top",
    "CL_Menu_View_FontSize",
    "CL_Menu_View_ToolBar",
    "CL_Menu_Port_Com",
    "CL_Menu_Port_SpeedHigh",
    "CL_Menu_Clone_Read",
    "CL_Menu_Clone_Write",
    "CL_Menu_Clone_Info",
    "CL_Help_About",
    "CL_Help_Contents",
    "CL_Menu_Debug_Compare",
    "CL_Menu_Debug_CorrectComp",
    "CL_Menu_Debug_Window",
    "CL_Menu_Debug_EeWindow",
    "CallSheet",
    "CL_Check_UserCh",
    "CL_Check_ItuCh",
    "CL_Check_EMail",
    "CL_Check_FreqRange",
    "CL_Check_ModeReg",
    "CL_Check_Dsc_SelfId",
    "CL_Check_Dsc_AdrId",
    "CL_Check_Dsc_RxTxFreq",
    "CL_Check_Dsc_Cate",
    "CL_CloneInfo_Model",
    "CL_CloneInfo_Revision",
    "CL_CloneInfo_Comment",
    "CL_PMenu_NoItem",
    "CL_PMenu_Edit",
    "CL_PMenu_Copy",
    "CL_PMenu_Paste",
    "CL_PMenu_CarryUp",
    "CL_PMenu_CarryDown",
    "CL_PMenu_Clear",
    "CL_PMenu_Delete",
    "CL_PMenu_Insert",
    "CL_Debug_Mtx_AbsCtrl",
    "CL_Debug_Mtx_Write",
    "CL_Debug_Mtx_Itu",
    "CL_Debug_Mtx_Gene",
    "CL_Debug_Mtx_Stmd",
    "CL_Debug_Mtx_Usas",
    "CL_Debug_Mtx_Txvs",
    "CL_Debug_Mtx_Trvs",
    "CL_Debug_Mtx_Amas",
    "CL_Debug_Mtx_Podn",
    "CL_Misc_ChNo_0Base",
    "CL_Misc_ChNo_1Base",
    "CL_Misc_QuarterPillar",
    "CL_CannotEdit",
    "CL_Dummy",
    "CL_Comm_CloneComm",
    "CL_Comm_TxMeter",
    "CL_Comm_TxPwrSel",
    "CL_Comm_ModeSel2182",
    "CL_Comm_MaxUserChNo",
    "CL_Comm_SitorCh",
    "CL_Comm_ItuDir",
    "CL_Comm_AntTuner",
    "CL_Comm_AtTunUse",
    "CL_Comm_AtTunType",
    "CL_Comm_AlmTimer",
    "CL_Comm_Sel2182Alm",
    "CL_Comm_ScanType",
    "CL_Comm_ScanRef",
    "CL_Comm_ScanSpeed",
    "CL_Comm_IndType",
    "CL_Comm_FskTone",
    "CL_Comm_FskShift",
    "CL_Comm_FskPolar",
    "CL_Comm_CwBkIn",
    "CL_Comm_TxByAcc",
    "CL_Comm_TxByPtt",
    "CL_Comm_MicKey",
    "CL_Comm_MicFunc",
    "CL_Comm_NmeaId",
    "CL_Comm_NmeaIf",
    "CL_Comm_J2bFilt",
    "CL_Comm_F1bFilt",
    "CL_Comm_RemoteMod",
    "CL_Comm_GpsDisp",
    "CL_Comm_OfsTime",
    "CL_Comm_NbLev",
    "CL_Comm_Backlight",
    "CL_Comm_Contrast",
    "CL_Comm_SqlLev",
    "CL_Comm_NonVexaTuner",
    "CL_Comm_VoiceSql",
    "CL_Comm_2182Mode",
    "CL_Comm_ScanEnable",
    "CL_Comm_Comp",
    "CL_Comm_CommDisp",
    "CL_Comm_TenKey",
    "CL_Comm_RfGain",
    "CL_UCh_FreqR",
    "CL_UCh_FreqT",
    "CL_UCh_Mode",
    "CL_UCh_Comment",
    "CL_Ich_ChNo",
    "CL_ICh_Freq",
    "CL_ICh_Mode",
    "CL_ICh_Comment",
    "CL_EMail_FreqR",
    "CL_EMail_FreqT",
    "CL_EMail_Mode",
    "CL_EMail_Filt",
    "CL_EMail_Comment",
    "CL_Exp_CrossChOp",
    "CL_Exp_ItuCh",
    "CL_Exp_FreqProg",
    "CL_EdgeFreq_Low",
    "CL_EdgeFreq_High",
    "CL_ModeReg_Name",
    "CL_ModeReg_Indication",
    "CL_ModeReg_Use",
    "CL_Dsc_Mask",
    "CL_Dsc_SelfId",
    "CL_Dsc_Comm_ItuCh",
    "CL_Dsc_ScanOn",
    "CL_Dsc_Id_Adr",
    "CL_Dsc_Id_Atr",
    "CL_Dsc_Id_FreqR",
    "CL_Dsc_Id_FreqT",
    "CL_Dsc_Id_Comment",
    "CL_Dsc_RxTx_Use",
    "CL_Dsc_RxTx_Rx",
    "CL_Dsc_RxTx_Tx",
    "CL_Dsc_RxTx_Comment",
    "CL_Dsc_Nature_Item",
    "CL_Dsc_Nature_Val",
    "CL_Dsc_CallSel_Item",
    "CL_Dsc_CallSel_Val",
    "CL_Dsc_CallInh",
    "CL_Dsc_Cate_Item",
    "CL_Dsc_Cate_All",
    "CL_Dsc_Cate_Grp",
    "CL_Dsc_Cate_Ind",
    "CL_Dsc_Cate_Pos",
    "CL_Dsc_1stTel_Item",
    "CL_Dsc_1stTel_1st",
    "CL_Dsc_Reason_Item",
    "CL_Dsc_Reason_Val",
    "CL_Deb_Index",
    "CL_Deb_Kind",
    "CL_Deb_Adr",
    "CL_Deb_Id_Caller",
    "CL_Deb_Id_Distress",
    "CL_Deb_Cate",
    "CL_Deb_Tel1",
    "CL_Deb_Tel2",
    "CL_Deb_Mess0",
    "CL_Deb_Mess1",
    "CL_Deb_Mess2",
    "CL_Deb_Mess3",
    "CL_Deb_Mess4",
    "CL_Deb_Mess5",
    "CL_Deb_TimeH",
    "CL_Deb_TimeM",
    "CL_Deb_FreqT0",
    "CL_Deb_FreqT1",
    "CL_Deb_FreqT2",
    "CL_Deb_FreqR0",
    "CL_Deb_FreqR1",
    "CL_Deb_FreqR2",
    "CL_Deb_Form",
    "CL_Deb_Pos0",
    "CL_Deb_Pos1",
    "CL_Deb_Pos2",
    "CL_Deb_Pos3",
    "CL_Deb_Pos4",
    "CL_Deb_Yet",
    "CL_Deb_RxFrqNo",
};

struct CategoryCase {
    const char* name;
    int number;
    int recordKind;
};

const CategoryCase kCategoryCases[] = {
    {"CT_Null", 0, 0},         {"CT_PopupMenu", 1, 0},   {"CT_UserCh", 2, 1},
    {"CT_ItuCh", 3, 2},        {"CT_Edge_Rx", 4, 4},     {"CT_Edge_Itu", 5, 5},
    {"CT_Edge_Tx", 6, 6},      {"CT_EMail", 7, 3},       {"CT_ModeReg", 8, 7},
    {"CT_DscId", 9, 8},        {"CT_DscRxTx", 10, 9},    {"CT_Dsc1stTel", 11, 10},
    {"CT_DscReason", 12, 11},  {"CT_DscNature", 13, 12}, {"CT_DscCate", 14, 13},
    {"CT_DscCallSel", 15, 14}, {"CT_Deb_Tx", 16, 0},     {"CT_Deb_DistressRx", 17, 0},
    {"CT_Deb_DscRx", 18, 0},
};

TEST(CellNames, EveryCategoryHasItsNumberAndRecordKind) {
    ScopedTestHost host;
    for (const auto& c : kCategoryCases) {
        EXPECT_EQ(CategoryByName(c.name), c.number) << c.name;
        EXPECT_EQ(RecordKindOf(c.number), c.recordKind) << c.name;
        EXPECT_STREQ(CategoryName(c.number), c.name);
    }
    EXPECT_EQ(RecordKindOf(CT_None), 0);
    EXPECT_EQ(CategoryName(CT_None), nullptr);
}

TEST(CellNames, EveryLabelHasItsNumber) {
    ScopedTestHost host;
    ASSERT_EQ(sizeof(kLabelNames) / sizeof(kLabelNames[0]), 205u);
    for (int i = 0; i < 205; ++i) {
        EXPECT_EQ(LabelByName(kLabelNames[i]), i) << kLabelNames[i];
        EXPECT_STREQ(LabelName(i), kLabelNames[i]);
    }
    EXPECT_EQ(LabelName(CL_None), nullptr);
    // A few enumerators against their published numbers.
    EXPECT_EQ(Flex0, 1);
    EXPECT_EQ(CallSheet, 47);
    EXPECT_EQ(CL_UCh_FreqR, 127);
    EXPECT_EQ(CL_Deb_RxFrqNo, 204);
}

TEST(CellNames, EmptyNamesMeanNone) {
    ScopedTestHost host;
    EXPECT_EQ(CategoryByName(""), CT_None);
    EXPECT_EQ(LabelByName(""), CL_None);
}

struct FatalNameCase {
    bool category;
    std::string name;
    std::string message;
};

class CellNamesFatal : public ::testing::TestWithParam<FatalNameCase> {};

TEST_P(CellNamesFatal, UnknownNamesEndTheProgram) {
    ScopedTestHost host;
    const auto& c = GetParam();
    if (c.category)
        EXPECT_THROW(CategoryByName(c.name), cmcFatalError);
    else
        EXPECT_THROW(LabelByName(c.name), cmcFatalError);
    ASSERT_EQ(host->Fatals().size(), 1u);
    EXPECT_EQ(host->Fatals()[0], c.message);
}

INSTANTIATE_TEST_SUITE_P(
    Table, CellNamesFatal,
    ::testing::Values(
        FatalNameCase{true, "CT_usercH", "Cannot use the specified category.\n'CT_usercH'"},
        FatalNameCase{false, "CL_uch_freqr", "Cannot use the specified cell.\n'CL_uch_freqr'"},
        FatalNameCase{false, "CL_Flex0", "Cannot use the specified cell.\n'CL_Flex0'"},
        FatalNameCase{true, "CT_UserCh ", "Cannot use the specified category.\n'CT_UserCh '"},
        // The names share one table, but a label is no category and a category no label.
        FatalNameCase{true, "CL_UCh_FreqR", "Cannot use the specified category.\n'CL_UCh_FreqR'"},
        FatalNameCase{false, "CT_UserCh", "Cannot use the specified cell.\n'CT_UserCh'"},
        FatalNameCase{true, "%s%n", "Cannot use the specified category.\n'%s%n'"}));

TEST(CellNames, RecordKindOfOutOfRangeCategoryIsFatal) {
    ScopedTestHost host;
    EXPECT_THROW(RecordKindOf(20), cmcFatalError);
    EXPECT_THROW(RecordKindOf(-1), cmcFatalError);
    ASSERT_EQ(host->Fatals().size(), 2u);
    EXPECT_EQ(host->Fatals()[0], "Unknown Cell Category. (20)");
    EXPECT_EQ(host->Fatals()[1], "Unknown Cell Category. (-1)");
}

}  // namespace
