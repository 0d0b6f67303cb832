#pragma once

#include "ScopedMainDictionary.h"
#include "text/cmcGTex.h"

// A dictionary fragment with the clone messages, installed as the main dictionary for a scope.
// The head lines carry printf conversions on purpose: they must come out literally.
class ScopedCloneTexts {
public:
    ScopedCloneTexts() { gtex_.SetLines(kLines, sizeof kLines / sizeof kLines[0]); }

    static constexpr const char* kLines[] = {
        "#GI_Sys_AppTitle",
        "Title",
        "#GI_Mess_CloneErr_Head",
        "H0",
        "H1",
        "Port COM%d fails (100%%) %s %n",
        "H3",
        "H4 echo %s",
        "H5",
        "H6",
        "H7",
        "H8",
        "H9",
        "H10",
        "H11",
        "H12",
        "H13",
        "H14",
        "H15",
        "H16",
        "H17",
        "#",
        "#GI_Mess_CloneErr_Group",
        "Join %s (%d %%s)",
        "  usermod -aG %s $USER %s",
        "#GI_Mess_CloneErr_Check",
        "C0",
        "C1",
        "C2",
        "C3",
        "C4",
        "C5",
        "#End_Of_Ovl",
    };

private:
    cmcGTex gtex_;
    ScopedMainDictionary main_{&gtex_};
};
