#pragma once

#include <string_view>

// The two vocabularies by which a cell description names its behaviour: cell categories ("CT_"
// names: which kind of record of the memory image the argument indexes) and cell labels ("CL_"
// names: which field or command). The numbers are fixed; resource files use the names.

// X(name, number, record kind)
#define PQ_CELL_CATEGORIES(X)   \
    X(CT_Null, 0, 0)            \
    X(CT_PopupMenu, 1, 0)       \
    X(CT_UserCh, 2, 1)          \
    X(CT_ItuCh, 3, 2)           \
    X(CT_Edge_Rx, 4, 4)         \
    X(CT_Edge_Itu, 5, 5)        \
    X(CT_Edge_Tx, 6, 6)         \
    X(CT_EMail, 7, 3)           \
    X(CT_ModeReg, 8, 7)         \
    X(CT_DscId, 9, 8)           \
    X(CT_DscRxTx, 10, 9)        \
    X(CT_Dsc1stTel, 11, 10)     \
    X(CT_DscReason, 12, 11)     \
    X(CT_DscNature, 13, 12)     \
    X(CT_DscCate, 14, 13)       \
    X(CT_DscCallSel, 15, 14)    \
    X(CT_Deb_Tx, 16, 0)         \
    X(CT_Deb_DistressRx, 17, 0) \
    X(CT_Deb_DscRx, 18, 0)

// X(name, number). "Flex0" and "CallSheet" are spelled without the "CL_" prefix.
#define PQ_CELL_LABELS(X)             \
    X(CL_Null, 0)                     \
    X(Flex0, 1)                       \
    X(CL_Sel_Mode_U, 2)               \
    X(CL_Sel_Mode_F, 3)               \
    X(CL_FBits, 4)                    \
    X(CL_EeDebugWin_Adr, 5)           \
    X(CL_EeDebugWin_0, 6)             \
    X(CL_EeDebugWin_1, 7)             \
    X(CL_EeDebugWin_2, 8)             \
    X(CL_EeDebugWin_3, 9)             \
    X(CL_EeDebugWin_4, 10)            \
    X(CL_EeDebugWin_5, 11)            \
    X(CL_EeDebugWin_6, 12)            \
    X(CL_EeDebugWin_7, 13)            \
    X(CL_EeDebugWin_8, 14)            \
    X(CL_EeDebugWin_9, 15)            \
    X(CL_EeDebugWin_A, 16)            \
    X(CL_EeDebugWin_B, 17)            \
    X(CL_EeDebugWin_C, 18)            \
    X(CL_EeDebugWin_D, 19)            \
    X(CL_EeDebugWin_E, 20)            \
    X(CL_EeDebugWin_F, 21)            \
    X(CL_Free_Byte_Dec, 22)           \
    X(CL_Free_Byte_Hex, 23)           \
    X(CL_Free_DscId, 24)              \
    X(CL_Menu_File_New, 25)           \
    X(CL_Menu_File_Open, 26)          \
    X(CL_Menu_File_Save, 27)          \
    X(CL_Menu_File_SaveAs, 28)        \
    X(CL_Menu_File_Print_Current, 29) \
    X(CL_Menu_File_Print_All, 30)     \
    X(CL_Menu_File_Recent, 31)        \
    X(CL_Menu_File_Exit, 32)          \
    X(CL_Menu_Edit_Top, 33)           \
    X(CL_Menu_View_FontSize, 34)      \
    X(CL_Menu_View_ToolBar, 35)       \
    X(CL_Menu_Port_Com, 36)           \
    X(CL_Menu_Port_SpeedHigh, 37)     \
    X(CL_Menu_Clone_Read, 38)         \
    X(CL_Menu_Clone_Write, 39)        \
    X(CL_Menu_Clone_Info, 40)         \
    X(CL_Help_About, 41)              \
    X(CL_Help_Contents, 42)           \
    X(CL_Menu_Debug_Compare, 43)      \
    X(CL_Menu_Debug_CorrectComp, 44)  \
    X(CL_Menu_Debug_Window, 45)       \
    X(CL_Menu_Debug_EeWindow, 46)     \
    X(CallSheet, 47)                  \
    X(CL_Check_UserCh, 48)            \
    X(CL_Check_ItuCh, 49)             \
    X(CL_Check_EMail, 50)             \
    X(CL_Check_FreqRange, 51)         \
    X(CL_Check_ModeReg, 52)           \
    X(CL_Check_Dsc_SelfId, 53)        \
    X(CL_Check_Dsc_AdrId, 54)         \
    X(CL_Check_Dsc_RxTxFreq, 55)      \
    X(CL_Check_Dsc_Cate, 56)          \
    X(CL_CloneInfo_Model, 57)         \
    X(CL_CloneInfo_Revision, 58)      \
    X(CL_CloneInfo_Comment, 59)       \
    X(CL_PMenu_NoItem, 60)            \
    X(CL_PMenu_Edit, 61)              \
    X(CL_PMenu_Copy, 62)              \
    X(CL_PMenu_Paste, 63)             \
    X(CL_PMenu_CarryUp, 64)           \
    X(CL_PMenu_CarryDown, 65)         \
    X(CL_PMenu_Clear, 66)             \
    X(CL_PMenu_Delete, 67)            \
    X(CL_PMenu_Insert, 68)            \
    X(CL_Debug_Mtx_AbsCtrl, 69)       \
    X(CL_Debug_Mtx_Write, 70)         \
    X(CL_Debug_Mtx_Itu, 71)           \
    X(CL_Debug_Mtx_Gene, 72)          \
    X(CL_Debug_Mtx_Stmd, 73)          \
    X(CL_Debug_Mtx_Usas, 74)          \
    X(CL_Debug_Mtx_Txvs, 75)          \
    X(CL_Debug_Mtx_Trvs, 76)          \
    X(CL_Debug_Mtx_Amas, 77)          \
    X(CL_Debug_Mtx_Podn, 78)          \
    X(CL_Misc_ChNo_0Base, 79)         \
    X(CL_Misc_ChNo_1Base, 80)         \
    X(CL_Misc_QuarterPillar, 81)      \
    X(CL_CannotEdit, 82)              \
    X(CL_Dummy, 83)                   \
    X(CL_Comm_CloneComm, 84)          \
    X(CL_Comm_TxMeter, 85)            \
    X(CL_Comm_TxPwrSel, 86)           \
    X(CL_Comm_ModeSel2182, 87)        \
    X(CL_Comm_MaxUserChNo, 88)        \
    X(CL_Comm_SitorCh, 89)            \
    X(CL_Comm_ItuDir, 90)             \
    X(CL_Comm_AntTuner, 91)           \
    X(CL_Comm_AtTunUse, 92)           \
    X(CL_Comm_AtTunType, 93)          \
    X(CL_Comm_AlmTimer, 94)           \
    X(CL_Comm_Sel2182Alm, 95)         \
    X(CL_Comm_ScanType, 96)           \
    X(CL_Comm_ScanRef, 97)            \
    X(CL_Comm_ScanSpeed, 98)          \
    X(CL_Comm_IndType, 99)            \
    X(CL_Comm_FskTone, 100)           \
    X(CL_Comm_FskShift, 101)          \
    X(CL_Comm_FskPolar, 102)          \
    X(CL_Comm_CwBkIn, 103)            \
    X(CL_Comm_TxByAcc, 104)           \
    X(CL_Comm_TxByPtt, 105)           \
    X(CL_Comm_MicKey, 106)            \
    X(CL_Comm_MicFunc, 107)           \
    X(CL_Comm_NmeaId, 108)            \
    X(CL_Comm_NmeaIf, 109)            \
    X(CL_Comm_J2bFilt, 110)           \
    X(CL_Comm_F1bFilt, 111)           \
    X(CL_Comm_RemoteMod, 112)         \
    X(CL_Comm_GpsDisp, 113)           \
    X(CL_Comm_OfsTime, 114)           \
    X(CL_Comm_NbLev, 115)             \
    X(CL_Comm_Backlight, 116)         \
    X(CL_Comm_Contrast, 117)          \
    X(CL_Comm_SqlLev, 118)            \
    X(CL_Comm_NonVexaTuner, 119)      \
    X(CL_Comm_VoiceSql, 120)          \
    X(CL_Comm_2182Mode, 121)          \
    X(CL_Comm_ScanEnable, 122)        \
    X(CL_Comm_Comp, 123)              \
    X(CL_Comm_CommDisp, 124)          \
    X(CL_Comm_TenKey, 125)            \
    X(CL_Comm_RfGain, 126)            \
    X(CL_UCh_FreqR, 127)              \
    X(CL_UCh_FreqT, 128)              \
    X(CL_UCh_Mode, 129)               \
    X(CL_UCh_Comment, 130)            \
    X(CL_Ich_ChNo, 131)               \
    X(CL_ICh_Freq, 132)               \
    X(CL_ICh_Mode, 133)               \
    X(CL_ICh_Comment, 134)            \
    X(CL_EMail_FreqR, 135)            \
    X(CL_EMail_FreqT, 136)            \
    X(CL_EMail_Mode, 137)             \
    X(CL_EMail_Filt, 138)             \
    X(CL_EMail_Comment, 139)          \
    X(CL_Exp_CrossChOp, 140)          \
    X(CL_Exp_ItuCh, 141)              \
    X(CL_Exp_FreqProg, 142)           \
    X(CL_EdgeFreq_Low, 143)           \
    X(CL_EdgeFreq_High, 144)          \
    X(CL_ModeReg_Name, 145)           \
    X(CL_ModeReg_Indication, 146)     \
    X(CL_ModeReg_Use, 147)            \
    X(CL_Dsc_Mask, 148)               \
    X(CL_Dsc_SelfId, 149)             \
    X(CL_Dsc_Comm_ItuCh, 150)         \
    X(CL_Dsc_ScanOn, 151)             \
    X(CL_Dsc_Id_Adr, 152)             \
    X(CL_Dsc_Id_Atr, 153)             \
    X(CL_Dsc_Id_FreqR, 154)           \
    X(CL_Dsc_Id_FreqT, 155)           \
    X(CL_Dsc_Id_Comment, 156)         \
    X(CL_Dsc_RxTx_Use, 157)           \
    X(CL_Dsc_RxTx_Rx, 158)            \
    X(CL_Dsc_RxTx_Tx, 159)            \
    X(CL_Dsc_RxTx_Comment, 160)       \
    X(CL_Dsc_Nature_Item, 161)        \
    X(CL_Dsc_Nature_Val, 162)         \
    X(CL_Dsc_CallSel_Item, 163)       \
    X(CL_Dsc_CallSel_Val, 164)        \
    X(CL_Dsc_CallInh, 165)            \
    X(CL_Dsc_Cate_Item, 166)          \
    X(CL_Dsc_Cate_All, 167)           \
    X(CL_Dsc_Cate_Grp, 168)           \
    X(CL_Dsc_Cate_Ind, 169)           \
    X(CL_Dsc_Cate_Pos, 170)           \
    X(CL_Dsc_1stTel_Item, 171)        \
    X(CL_Dsc_1stTel_1st, 172)         \
    X(CL_Dsc_Reason_Item, 173)        \
    X(CL_Dsc_Reason_Val, 174)         \
    X(CL_Deb_Index, 175)              \
    X(CL_Deb_Kind, 176)               \
    X(CL_Deb_Adr, 177)                \
    X(CL_Deb_Id_Caller, 178)          \
    X(CL_Deb_Id_Distress, 179)        \
    X(CL_Deb_Cate, 180)               \
    X(CL_Deb_Tel1, 181)               \
    X(CL_Deb_Tel2, 182)               \
    X(CL_Deb_Mess0, 183)              \
    X(CL_Deb_Mess1, 184)              \
    X(CL_Deb_Mess2, 185)              \
    X(CL_Deb_Mess3, 186)              \
    X(CL_Deb_Mess4, 187)              \
    X(CL_Deb_Mess5, 188)              \
    X(CL_Deb_TimeH, 189)              \
    X(CL_Deb_TimeM, 190)              \
    X(CL_Deb_FreqT0, 191)             \
    X(CL_Deb_FreqT1, 192)             \
    X(CL_Deb_FreqT2, 193)             \
    X(CL_Deb_FreqR0, 194)             \
    X(CL_Deb_FreqR1, 195)             \
    X(CL_Deb_FreqR2, 196)             \
    X(CL_Deb_Form, 197)               \
    X(CL_Deb_Pos0, 198)               \
    X(CL_Deb_Pos1, 199)               \
    X(CL_Deb_Pos2, 200)               \
    X(CL_Deb_Pos3, 201)               \
    X(CL_Deb_Pos4, 202)               \
    X(CL_Deb_Yet, 203)                \
    X(CL_Deb_RxFrqNo, 204)

enum cmcCellCategory : int {
    CT_None = 19,  // no category: a cell's default and the value of an empty name
#define PQ_CATEGORY_ENUM(name, number, kind) name = number,
    PQ_CELL_CATEGORIES(PQ_CATEGORY_ENUM)
#undef PQ_CATEGORY_ENUM
};

enum cmcCellLabel : int {
    CL_None = 205,  // no label: a plain text cell without behaviour
#define PQ_LABEL_ENUM(name, number) name = number,
    PQ_CELL_LABELS(PQ_LABEL_ENUM)
#undef PQ_LABEL_ENUM
};

// The number of a category name; 19 for an empty name. An unknown name is an error of the
// resource file and fatal ("Cannot use the specified category.\n'<name>'").
int CategoryByName(std::string_view name);

// The number of a label name; 205 for an empty name. An unknown name is fatal ("Cannot use the
// specified cell.\n'<name>'").
int LabelByName(std::string_view name);

// The record kind that a category's argument indexes (0 = no record). A category outside 0-19
// is a program error and fatal ("Unknown Cell Category. (<number>)").
int RecordKindOf(int category);

// The resource name of a category or label number, or null when there is none (for messages
// and diagnostics).
const char* CategoryName(int category);
const char* LabelName(int label);
