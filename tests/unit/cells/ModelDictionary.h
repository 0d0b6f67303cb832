#pragma once

#include <gtest/gtest.h>

#include "ScopedMainDictionary.h"
#include "cmcTestHost.h"
#include "text/cmcGTex.h"

// A main dictionary holding the cell models the parser tests use (those of the bit-field
// editor's fragment and a few of our own), installed for the life of a test.
class ModelDictionaryTest : public ::testing::Test {
protected:
    ModelDictionaryTest() {
        static const char* const kLines[] = {
            "#CellModel_Basic",
            "<-(Color=clWindow)(Font=DEFAULT_CHARSET,,clWindowText,-17,,,)(PopupMenu=GI_PMenu_"
            "Edit)",
            "#CellModel_iChI",
            "^-WH(Color=clGray)(Font=,,clWhite,,,fsBold,)",
            "#CellModel_eWh",
            "S<_WHB",
            "#CellModel_iQp",
            "(%CT_Null.CL_Misc_QuarterPillar)",
            "#CellModel_Nested",
            "($eWh)>(Color=clYellow)",
            "#CellModel_Loop",
            "W($Loop)",
            "#End_Of_Ovl",
        };
        dict_.SetLines(kLines, sizeof(kLines) / sizeof(kLines[0]));
    }

    ScopedTestHost host_;
    cmcGTex dict_;
    ScopedMainDictionary mainDictionary_{&dict_};
};
