// Menu, tool-bar and tree commands. Evaluated with Enter a command cell runs its command through
// the main controller; evaluated for an update (key 0) it reports its state in the cell's state
// bits: check mark, hidden, disabled, display text replaced.
#include <string>

#include "cells/BehaveSettings.h"
#include "cells/BehaveUtil.h"
#include "cells/cmcCellCapsule.h"
#include "cells/cmcCellNames.h"
#include "cells/cmcCellObj.h"
#include "cells/cuiMainCore.h"
#include "cells/indBehave.h"
#include "memory/datCh.h"
#include "memory/datClipCh.h"
#include "platform/cmcHost.h"
#include "platform/cmcResourceDir.h"

using indBehaveUtil::SetState;

namespace {

bool IsEnter(const indBehaveCall& call) {
    return call.capsule.EffectiveKey() == kKeyEnter;
}

// The update of a command cell: key 0 (display). Any other key does nothing to the state.
bool IsUpdate(const indBehaveCall& call) {
    return call.capsule.key == kKeyDisplay;
}

void FileNew(indBehaveCall& call) {
    if (IsEnter(call))
        call.core.commands.FileNew();
}

void FileOpen(indBehaveCall& call) {
    if (IsEnter(call))
        call.core.commands.FileOpen();
}

void FileSave(indBehaveCall& call) {
    if (!IsEnter(call))
        return;
    if (call.core.commands.IsUntitled())
        call.core.commands.FileSaveAs();
    else
        call.core.commands.SaveFile(call.core.commands.CurrentFileName());
}

void FileSaveAs(indBehaveCall& call) {
    if (IsEnter(call))
        call.core.commands.FileSaveAs();
}

void PrintCurrent(indBehaveCall& call) {
    const bool printable = call.core.views.CanPrintOpenSheet();
    if (IsEnter(call)) {
        if (printable)
            call.core.views.Print(false);
    } else if (IsUpdate(call)) {
        SetState(call.cell, cmcCellObj::kDisabled, !printable);
    }
}

void PrintAll(indBehaveCall& call) {
    if (IsEnter(call))
        call.core.views.Print(true);
}

// A menu caption shows "&" as the mark of the next character's shortcut; a file name's own "&"
// must be doubled to be shown as it is.
std::string MenuEscaped(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (char ch : text) {
        out.push_back(ch);
        if (ch == '&')
            out.push_back('&');
    }
    return out;
}

void FileRecent(indBehaveCall& call) {
    const int n = call.argument;
    if (IsEnter(call)) {
        const std::string path = call.core.commands.RecentFileText(n, true);
        if (!path.empty())  // an empty slot is disabled; a stray Enter must not open ""
            call.core.commands.OpenFile(path);
        return;
    }
    if (!IsUpdate(call))
        return;
    const std::string shown = call.core.commands.RecentFileText(n, false);
    const bool empty = shown.empty();
    SetState(call.cell, cmcCellObj::kDisabled, empty);
    SetState(call.cell, cmcCellObj::kHidden, empty && n != 0);
    SetState(call.cell, cmcCellObj::kTextReplaced, !empty);
    if (!empty && call.cell != nullptr)
        call.cell->SetText("&" + std::to_string(n + 1) + " " + MenuEscaped(shown));
}

void FileExit(indBehaveCall& call) {
    if (IsEnter(call))
        call.core.views.CloseMainWindow();
}

// The Edit menu mirrors the current sheet's popup menu; while it holds nothing (no sheet has
// filled it yet) it gets the single "No item" entry, so that it never opens empty. Asking only
// while it is empty keeps repeated refreshes from piling up entries.
void EditTop(indBehaveCall& call) {
    if (!IsUpdate(call))
        return;
    if (call.core.views.MainMenuItemCount(CL_Menu_Edit_Top) == 0)
        call.core.views.MirrorIntoMainMenu(CL_Menu_Edit_Top, "GI_PMenu_NoItem");
}

void ViewFontSize(indBehaveCall& call) {
    if (IsEnter(call)) {
        call.core.views.SetFontSizeSetting(call.argument);
        call.core.views.CloseSheet();  // reopened by the periodic task, built in the new size
    } else if (IsUpdate(call)) {
        SetState(call.cell, cmcCellObj::kChecked,
                 call.argument == call.core.views.FontSizeSetting());
    }
}

void ViewToolBar(indBehaveCall& call) {
    if (IsEnter(call))
        call.core.views.ToggleToolBar();
    else if (IsUpdate(call))
        SetState(call.cell, cmcCellObj::kChecked, call.core.views.ToolBarVisible());
}

void PortCom(indBehaveCall& call) {
    if (IsEnter(call)) {
        call.core.commands.SetComPortSetting(call.argument);
        indBehaveUtil::Send(cmcEvKind::CommandSetChanged);
    } else if (IsUpdate(call)) {
        SetState(call.cell, cmcCellObj::kChecked,
                 call.argument == call.core.commands.ComPortSetting());
    }
}

void CloneRead(indBehaveCall& call) {
    if (IsEnter(call))
        call.core.commands.CloneRead();
}

void CloneWrite(indBehaveCall& call) {
    if (IsEnter(call))
        call.core.commands.CloneWrite();
}

void CloneInfo(indBehaveCall& call) {
    if (IsEnter(call))
        call.core.commands.CloneInformation();
}

void HelpAbout(indBehaveCall& call) {
    if (IsEnter(call))
        indBehaveUtil::Post(cmcEvKind::ShowAbout);
}

void HelpContents(indBehaveCall& call) {
    if (!IsEnter(call))
        return;
    // The help is installed with the other resources: beside the program or in its data folder.
    const std::string file = indBehaveUtil::DictionaryText(call, "GI_Sys_MyHelpFile");
    call.core.views.ShowHelp(cmcResourceDir(file) + file);
}

void OpenTreeSheet(indBehaveCall& call) {
    if (!IsEnter(call) || call.cell == nullptr || !call.cell->argText)
        return;
    call.core.views.OpenSheet(*call.cell->argText);
}

// ---- Popup menu items: their commands run in the dispatcher's popup step; this is their state.

void PMenuNoItem(indBehaveCall& call) {
    if (!IsUpdate(call))
        return;
    SetState(call.cell, cmcCellObj::kDisabled, true);
    SetState(call.cell, cmcCellObj::kHidden,
             call.core.views.MainMenuItemCount(CL_Menu_Edit_Top) != 1);
}

void PMenuPaste(indBehaveCall& call) {
    if (IsUpdate(call))
        SetState(call.cell, cmcCellObj::kDisabled,
                 !call.core.document.Clipboard().CanPaste(call.kind));
}

void PMenuRowEdit(indBehaveCall& call) {
    if (IsUpdate(call))
        SetState(call.cell, cmcCellObj::kDisabled, !datCh::AllowsChannelOps(call.kind));
}

}  // namespace

void indRegisterCommandBehaviours(indBehaveTable& table) {
    table.Set(CL_Menu_File_New, FileNew);
    table.Set(CL_Menu_File_Open, FileOpen);
    table.Set(CL_Menu_File_Save, FileSave);
    table.Set(CL_Menu_File_SaveAs, FileSaveAs);
    table.Set(CL_Menu_File_Print_Current, PrintCurrent);
    table.Set(CL_Menu_File_Print_All, PrintAll);
    table.Set(CL_Menu_File_Recent, FileRecent);
    table.Set(CL_Menu_File_Exit, FileExit);
    table.Set(CL_Menu_Edit_Top, EditTop);
    table.Set(CL_Menu_View_FontSize, ViewFontSize);
    table.Set(CL_Menu_View_ToolBar, ViewToolBar);
    table.Set(CL_Menu_Port_Com, PortCom);
    table.Set(CL_Menu_Clone_Read, CloneRead);
    table.Set(CL_Menu_Clone_Write, CloneWrite);
    table.Set(CL_Menu_Clone_Info, CloneInfo);
    table.Set(CL_Help_About, HelpAbout);
    table.Set(CL_Help_Contents, HelpContents);
    table.Set(CallSheet, OpenTreeSheet);
    table.Set(CL_PMenu_NoItem, PMenuNoItem);
    table.Set(CL_PMenu_Paste, PMenuPaste);
    for (int label :
         {CL_PMenu_CarryUp, CL_PMenu_CarryDown, CL_PMenu_Clear, CL_PMenu_Delete, CL_PMenu_Insert})
        table.Set(label, PMenuRowEdit);
}
