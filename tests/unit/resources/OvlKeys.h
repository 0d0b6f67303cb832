#pragma once

#include <string>
#include <vector>

// The sections the program asks the resource file for by name.

// Keys read directly (single texts, messages, item lists, basic cells).
inline const std::vector<std::string>& OvlDirectKeys() {
    static const std::vector<std::string> keys = {
        // system
        "GI_Sys_AppTitle", "GI_Sys_AppTitleRev", "GI_Sys_Maker", "GI_Sys_RadioName",
        "GI_Sys_MyHelpFile", "GI_Sys_TreeChangeDelay", "GI_Sys_Dialog_FOpen",
        "GI_Sys_Printer_NoPrinter", "GI_Sys_Printer_PrintingDialog", "GI_Sys_Printer_Margins",
        "GI_Sys_Printer_FontPoints", "GI_Sys_Printer_FrameFont", "GI_Sys_Printer_Failed",
        // main window
        "GI_Form_Main_BasicCell", "GI_StatusPanel_Expert", "GI_Menu_Port_Device",
        "GI_Form_Main_NoSheet", "GI_WarningCheckList", "GI_App_InitialFile", "GI_App_About_Caption",
        "GI_App_About_Button",
        // messages
        "GI_Mess_Confirm_WriteAnother", "GI_Mess_Confirm_WriteFile", "GI_Mess_Confirm_SaveChanges",
        "GI_Mess_Confirm_CloneWrite", "GI_Mess_CloneWrite_Succeeded", "GI_Mess_CloneWrite_Backup",
        "GI_Mess_DataError", "GI_Mess_CloneErr_Head", "GI_Mess_CloneErr_Check",
        "GI_Mess_CloneErr_Group", "GI_Mess_FileErr_Headline", "GI_Mess_FileErr_FileOpen",
        "GI_Mess_FileErr_FileAccess", "GI_Mess_FileErr_Format", "GI_Mess_FileErr_Model",
        "GI_Mess_FileErr_MapRev", "GI_Mess_FileErr_Newer", "GI_Mess_FileErr_Data",
        "GI_Mess_FileErr_Coverage", "GI_Mess_FileErr_Extra",
        // the fleet run, its window and the command-line tool's fleet
        "GI_Fleet_Status", "GI_Fleet_Prompt", "GI_Fleet_WriteAgain", "GI_Fleet_Radio",
        "GI_Fleet_Words", "GI_Fleet_Changes", "GI_Fleet_Summary", "GI_Fleet_Window",
        "GI_Fleet_Columns", "GI_Fleet_Steps", "GI_Fleet_Progress", "GI_Menu_Clone_Fleet",
        "GI_Mess_Confirm_PreviewWrite", "GI_Mess_Confirm_WriteWithoutPreview",
        "GI_Mess_Preview_Same", "GI_Mess_Preview_Count", "GI_Mess_Preview_Title",
        "GI_Mess_Preview_Write", "GI_Mess_Preview_Cancel", "GI_Mess_Preview_Columns",
        "GI_Mess_Preview_Unshown", "GI_Menu_Clone_Verify", "GI_Menu_Edit_Find", "GI_Find_Window",
        "GI_Find_Columns", "GI_Find_Count", "GI_Find_NotFound", "GI_Find_Match", "GI_Find_Wrapped",
        "GI_Sort_Dialog", "GI_Sort_Messages", "GI_Mess_WriteCheck_Matched",
        "GI_Mess_WriteCheck_ReadFailed", "GI_Mess_WriteCheck_Differs",
        "GI_Mess_WriteCheck_IdentityKept", "GI_Mess_CloneErr_ReadHead",
        "GI_Mess_CloneErr_NothingWritten", "GI_Mess_NotHanded",
        // what the program adds to the resource file's menus, its windows and reports
        "GI_Sys_Dialog_Table", "GI_Sys_Dialog_Title", "GI_App_About_Text",
        "GI_Mess_Confirm_Recovery", "GI_Menu_Edit_Undo", "GI_Menu_File_Preview",
        "GI_Menu_File_Table", "GI_Menu_Debug", "GI_Debug_Window", "GI_Compare_Window",
        "GI_Compare_Columns", "GI_Port_Window", "GI_Port_Columns", "GI_Mess_Transfer",
        "GI_Fleet_Who", "GI_Fleet_Values", "GI_AppMess_TableFile", "GI_AppMess_TableIssue",
        "GI_AppMess_TableWords", "GI_Sheet_FBitsR_PMenu",
        // edit messages and status texts
        "GI_AppMess_S_Copy", "GI_AppMess_S_Paste", "GI_AppMess_S_Clear", "GI_AppMess_S_Delete",
        "GI_AppMess_S_Insert", "GI_AppMess_Conv_Overwrite", "GI_AppMess_Conv_Clear",
        "GI_AppMess_Conv_Delete", "GI_AppMess_Conv_Overflow", "GI_Botttom_ScanFull",
        "GI_Botttom_EditRestrected", "GI_AppMess_UndoSteps", "GI_AppMess_Typed",
        "GI_AppMess_TypedForms", "GI_AppMess_RowsRefused", "GI_AppMess_Done", "GI_AppMess_Table",
        "GI_AppMess_HandedFile",
        // item lists shown by cells
        "GI_AppInd_Mode", "GI_AppInd_Band", "GI_AppInd_NatureItem", "GI_AppInd_CallSelItem",
        "GI_AppInd_CateItem", "GI_AppInd_1stTelItem", "GI_AppInd_ReasonItem",
        "GI_AppInd_DscRxTxNoUse", "GI_AppInd_Dsc_SelfIdOff", "GI_AppInd_TimerOff",
        "GI_AppInd_Button_OkCancel",
        // the models the bit editor's generated sheet refers to
        "CellModel_iChI", "CellModel_eWh", "CellModel_iQp", "CellModel_Basic"};
    return keys;
}

// Selection lists: sheets shown as choice lists, and parsed by the section cache.
inline const std::vector<std::string>& OvlSelectionLists() {
    static const std::vector<std::string> lists = {
        "GI_Sheet_Sel_Mode0",          "GI_Sheet_Sel_Mode1_R",
        "GI_Sheet_Sel_ModeOk",         "GI_Sheet_Sel_ModeRx",
        "GI_Sheet_Sel_FProg",          "GI_Sheet_Sel_DscCallSel",
        "GI_Sheet_Sel_DscCallSel_R",   "GI_Sheet_Sel_DscMask",
        "GI_Sheet_Sel_EMailFilt",      "GI_Sheet_Sel_Misc_OnOff",
        "GI_Sheet_Sel_Misc_Enable_I",  "GI_Sheet_Sel_Misc_TinyEnable",
        "GI_Sheet_Sel_Misc_ItuChSel",  "GI_Sheet_Sel_Misc_Dsc_AdrType",
        "GI_Sheet_Sel_Misc_Dsc_Use1",  "GI_Sheet_Sel_Misc_Dsc_Use2",
        "GI_Sheet_Sel_Comm_AtTunType", "GI_Sheet_Sel_Comm_BkIn",
        "GI_Sheet_Sel_Comm_FiltF1B",   "GI_Sheet_Sel_Comm_FiltJ2B",
        "GI_Sheet_Sel_Comm_FskPolar",  "GI_Sheet_Sel_Comm_FskShift",
        "GI_Sheet_Sel_Comm_FskTone",   "GI_Sheet_Sel_Comm_GpsDisp",
        "GI_Sheet_Sel_Comm_IndType",   "GI_Sheet_Sel_Comm_ItuDir",
        "GI_Sheet_Sel_Comm_ModSel",    "GI_Sheet_Sel_Comm_NVTuner",
        "GI_Sheet_Sel_Comm_NmeaIf",    "GI_Sheet_Sel_Comm_PKey",
        "GI_Sheet_Sel_Comm_PwrSel",    "GI_Sheet_Sel_Comm_RemoteMod",
        "GI_Sheet_Sel_Comm_ScanType",  "GI_Sheet_Sel_Comm_Tuner",
        "GI_Sheet_Sel_Comm_TxMeter",
    };
    return lists;
}

// Sheets the program opens by name besides those of the tree and the selection lists: the clone
// information, the memory dump and the bit editor of the memory dump.
inline const std::vector<std::string>& OvlFixedSheets() {
    static const std::vector<std::string> sheets = {"GI_Sheet_CloneInfo", "GI_Sheet_EeDebugWin",
                                                    "GI_Sheet_Sel_Bit_EeDebugWin"};
    return sheets;
}

// Menus, pop-up menus, the tool bar and the tree: a basic cell and a body each.
inline const std::vector<std::string>& OvlMenuBases() {
    static const std::vector<std::string> bases = {
        "GI_Menu_Main", "GI_ToolBar_Main", "GI_Tree_Main", "GI_PMenu_NoItem", "GI_PMenu_Edit"};
    return bases;
}

// The sections that make one sheet.
inline std::vector<std::string> SheetSections(const std::string& base) {
    return {base + "_Style", base + "_BasicCell", base + "_Cells"};
}
