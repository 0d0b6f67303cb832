// Every cell description of the resource file through the program's own cell
// parser: each line parses without a fatal error, and the parsed cells say what
// the views need them to say.
#include <gtest/gtest.h>

#include <QFontMetrics>

#include <algorithm>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "DefaultImage.h"
#include "OvlKeys.h"
#include "OvlResource.h"
#include "ScopedMainDictionary.h"
#include "cells/cmcCellFont.h"
#include "cells/cmcCellNames.h"
#include "cells/cmcCellObj.h"
#include "cells/cmcCellParser.h"
#include "memory/MemoryMap.h"
#include "memory/cmcEeprom.h"
#include "memory/datCh.h"

namespace {

using Cells = std::vector<std::unique_ptr<cmcCellObj>>;

class OvlCells : public OvlResource {
protected:
    void SetUp() override {
        OvlResource::SetUp();
        // Models are always looked up in the program's main dictionary.
        mainDictionary_ = std::make_unique<ScopedMainDictionary>(&dict_);
    }
    void TearDown() override { mainDictionary_.reset(); }
    std::unique_ptr<ScopedMainDictionary> mainDictionary_;

    // Parses a line as the given kind of body; a fatal error of the parser
    // becomes a failure that names the section and the line.
    bool Parse(const std::string& where, const std::string& line, const cmcCellObj* parent,
               Cells& out, bool wholeRow) {
        try {
            std::string_view rest = line;
            do {
                auto cell = std::make_unique<cmcCellObj>();
                rest = ParseCell(rest, *cell, counters_, parent);
                out.push_back(std::move(cell));
            } while (wholeRow && !rest.empty());
            return true;
        } catch (const cmcFatalError& e) {
            ADD_FAILURE() << where << ": " << e.what() << "\n  in: " << line;
            return false;
        }
    }

    // The basic cell of a view and the cells of its rows (sheets) or items
    // (menus, tree, bar).
    struct View {
        std::unique_ptr<cmcCellObj> basic = std::make_unique<cmcCellObj>();
        Cells cells;
    };

    View Sheet(const std::string& base) {
        View v;
        Cells basic;
        Parse(base + "_BasicCell", dict_.Text(base + "_BasicCell"), nullptr, basic, false);
        if (!basic.empty())
            v.basic = std::move(basic.front());
        for (const std::string& line : Body(base + "_Cells"))
            if (line.empty() || line[0] != ':')
                Parse(base + "_Cells", line, v.basic.get(), v.cells, true);
        return v;
    }

    // Menus and the tree: the text after the first "+" of each line; the tool
    // bar: whole lines.
    View Items(const std::string& base, bool plusLines) {
        View v;
        Cells basic;
        Parse(base + "_BasicCell", dict_.Text(base + "_BasicCell"), nullptr, basic, false);
        if (!basic.empty())
            v.basic = std::move(basic.front());
        for (const std::string& line : Body(base + "_Body")) {
            const std::size_t plus = plusLines ? line.find('+') : std::string::npos;
            const std::string text = plus == std::string::npos ? line : line.substr(plus + 1);
            Parse(base + "_Body", plusLines && plus == std::string::npos ? "" : text, v.basic.get(),
                  v.cells, false);
        }
        return v;
    }

    static std::set<int> Labels(const Cells& cells) {
        std::set<int> labels;
        for (const auto& c : cells)
            labels.insert(c->label);
        return labels;
    }

    // The keys of a selection list: the arguments of its cells that carry the
    // entry label.
    std::vector<int> ListKeys(const std::string& list, int entryLabel) {
        std::vector<int> keys;
        for (const auto& c : Sheet(list).cells)
            if (c->label == entryLabel)
                keys.push_back(c->argument);
        return keys;
    }

    static int EntryLabelOf(const std::string& list) {
        return list == "GI_Sheet_Sel_Mode1_R" ? CL_Sel_Mode_U : Flex0;
    }

    std::int32_t counters_[cmcCellObj::kCounterCount] = {};
};

TEST_F(OvlCells, EveryBodyCellsSectionAndModelParses) {
    std::vector<std::string> sheets = TreeSheetBases();
    sheets.insert(sheets.end(), OvlFixedSheets().begin(), OvlFixedSheets().end());
    sheets.insert(sheets.end(), OvlSelectionLists().begin(), OvlSelectionLists().end());
    int cells = 0;
    for (const std::string& base : sheets)
        cells += int(Sheet(base).cells.size());
    for (const char* base : {"GI_Menu_Main", "GI_Tree_Main", "GI_PMenu_NoItem", "GI_PMenu_Edit"})
        cells += int(Items(base, true).cells.size());
    cells += int(Items("GI_ToolBar_Main", false).cells.size());
    Cells single;
    Parse("GI_Form_Main_BasicCell", dict_.Text("GI_Form_Main_BasicCell"), nullptr, single, false);
    for (const std::string& line : Body("GI_WarningCheckList"))
        Parse("GI_WarningCheckList", line, nullptr, single, false);
    for (const std::string& name : OvlSectionNames())
        if (name.rfind("CellModel_", 0) == 0)
            Parse(name, "{($" + name.substr(10) + ")}", nullptr, single, false);
    EXPECT_GT(cells, 500) << "too few cells parsed to be looking at the views";
}

// Record rows offer the row commands (copy, paste, move, clear, delete,
// insert); settings and item tables, which have no rows to move, offer none.
TEST_F(OvlCells, EditMenuIsOfferedExactlyWhereRowsCanBeEdited) {
    const std::set<std::string> rowSheets = {"GI_Sheet_UserCh", "GI_Sheet_ItuCh",
                                             "GI_Sheet_EMail",  "GI_Sheet_BandEdge",
                                             "GI_Sheet_DscAdr", "GI_Sheet_DscRxTx"};
    for (const std::string& base : TreeSheetBases()) {
        const View v = Sheet(base);
        int editable = 0;
        for (const auto& c : v.cells) {
            if (!(c->state & cmcCellObj::kSelectable))
                continue;
            const std::string* key = c->PopupMenuKey();
            ASSERT_NE(key, nullptr) << base;
            const bool rows = datCh::AllowsChannelOps(RecordKindOf(c->category)) &&
                              c->category != CT_Edge_Rx && c->category != CT_Edge_Itu;
            EXPECT_EQ(*key, rows ? "GI_PMenu_Edit" : "GI_PMenu_NoItem")
                << base << " cell " << (LabelName(c->label) ? LabelName(c->label) : "?");
            editable += rows;
        }
        EXPECT_EQ(editable > 0, rowSheets.count(base) == 1) << base;
    }
}

TEST_F(OvlCells, TreeNodesOpenTheirSheetsAndUseTheTreeImages) {
    const View tree = Items("GI_Tree_Main", true);
    ASSERT_FALSE(tree.cells.empty());
    for (const auto& node : tree.cells) {
        EXPECT_FALSE(node->GetText().empty()) << "a node without caption";
        // Images 4 and 5 are the notice and error marks, not node pictures.
        EXPECT_GE(node->imageIndex, 0) << node->GetText();
        EXPECT_LE(node->imageIndex, 3) << node->GetText();
        if (node->argText)
            EXPECT_EQ(node->label, CallSheet) << node->GetText();
        else
            EXPECT_EQ(node->label, CL_None) << node->GetText();
    }
}

TEST_F(OvlCells, MainMenuCarriesEveryCommandOfTheProduct) {
    const View menu = Items("GI_Menu_Main", true);
    const std::set<int> labels = Labels(menu.cells);
    for (int label : {CL_Menu_File_New, CL_Menu_File_Open, CL_Menu_File_Save, CL_Menu_File_SaveAs,
                      CL_Menu_File_Print_Current, CL_Menu_File_Print_All, CL_Menu_File_Recent,
                      CL_Menu_File_Exit, CL_Menu_Edit_Top, CL_Menu_View_FontSize,
                      CL_Menu_View_ToolBar, CL_Menu_Port_Com, CL_Menu_Clone_Read,
                      CL_Menu_Clone_Write, CL_Menu_Clone_Info, CL_Help_Contents, CL_Help_About})
        EXPECT_EQ(labels.count(label), 1u) << LabelName(label);
    std::set<int> recent, ports;
    for (const auto& item : menu.cells) {
        if (item->label == CL_Menu_File_Recent)
            recent.insert(item->argument);
        if (item->label == CL_Menu_Port_Com)
            ports.insert(item->argument);
        if (item->label == CL_Menu_View_FontSize) {
            EXPECT_GE(item->argument, 25);
            EXPECT_LE(item->argument, 1000);
        }
    }
    EXPECT_EQ(recent, (std::set<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
    // USB cloning cables usually appear as COM5 or above.
    std::set<int> com1To16;
    for (int n = 1; n <= 16; ++n)
        com1To16.insert(n);
    EXPECT_EQ(ports, com1To16);
}

TEST_F(OvlCells, ToolBarButtonsUseTheMainFormImagesAndHints) {
    const View bar = Items("GI_ToolBar_Main", false);
    int buttons = 0;
    for (const auto& b : bar.cells) {
        const std::string& text = b->GetText();
        if (text == "-" || text == "/")
            continue;
        ++buttons;
        EXPECT_GE(b->imageIndex, 0) << text;
        EXPECT_LE(b->imageIndex, 12) << text;
        EXPECT_GE(b->label, CL_Menu_File_New) << text;
        EXPECT_LE(b->label, CL_Menu_Debug_EeWindow) << text;
    }
    EXPECT_EQ(buttons, 10);
}

TEST_F(OvlCells, EditPopupHoldsEveryRowCommand) {
    const View popup = Items("GI_PMenu_Edit", true);
    std::set<int> labels;
    for (const auto& item : popup.cells) {
        if (item->GetText() == "-")
            continue;
        EXPECT_EQ(item->category, CT_PopupMenu) << item->GetText();
        labels.insert(item->label);
    }
    EXPECT_EQ(labels, (std::set<int>{CL_PMenu_Edit, CL_PMenu_Copy, CL_PMenu_Paste, CL_PMenu_CarryUp,
                                     CL_PMenu_CarryDown, CL_PMenu_Clear, CL_PMenu_Delete,
                                     CL_PMenu_Insert}));
    const View none = Items("GI_PMenu_NoItem", true);
    ASSERT_EQ(none.cells.size(), 1u);
    EXPECT_EQ(none.cells[0]->category, CT_PopupMenu);
    EXPECT_EQ(none.cells[0]->label, CL_PMenu_NoItem);
}

// The bit editor builds its own sheet but takes the four models from this file.
TEST_F(OvlCells, BitEditorModelsGiveHeadingsBitsAndSeparators) {
    Cells c;
    ASSERT_TRUE(Parse("models", "{($iChI)}7", nullptr, c, false));
    ASSERT_TRUE(Parse("models", "{($eWh)^(%CL_FBits[1])}9", nullptr, c, false));
    ASSERT_TRUE(Parse("models", "{($iQp)}", nullptr, c, false));
    ASSERT_TRUE(Parse("models", "{($Basic)}", nullptr, c, false));
    EXPECT_EQ(c[0]->HAlignment(), cmcCellObj::kCenter);
    EXPECT_TRUE(c[0]->layout & cmcCellObj::kWiden);
    EXPECT_FALSE(c[0]->state & cmcCellObj::kSelectable);
    EXPECT_TRUE(c[1]->state & cmcCellObj::kSelectable);
    EXPECT_EQ(c[1]->label, CL_FBits);
    EXPECT_EQ(c[2]->label, CL_Misc_QuarterPillar);
    EXPECT_FALSE(c[2]->state & cmcCellObj::kSelectable);
    ASSERT_NE(c[3]->font, nullptr) << "the basic model gives every view its font";
    ASSERT_NE(c[3]->PopupMenuKey(), nullptr);
}

// The memory window lines its hexadecimal columns up only in a fixed-pitch face, whatever fonts
// the platform has.
TEST_F(OvlCells, MemoryWindowFontsAreFixedPitch) {
    for (const char* model : {"DbgHead", "DbgAdr", "DbgByte"}) {
        Cells c;
        ASSERT_TRUE(Parse(model, std::string("{($") + model + ")}00", nullptr, c, false));
        ASSERT_NE(c[0]->font, nullptr) << model;
        const QFontMetrics metrics(ToQFont(*c[0]->font));
        const int width = metrics.horizontalAdvance(QLatin1Char('0'));
        EXPECT_GT(width, 0) << model;
        for (char ch : std::string("0123456789ABCDEFWi "))
            EXPECT_EQ(metrics.horizontalAdvance(QLatin1Char(ch)), width)
                << model << ": '" << ch << "' in " << metrics.fontDpi() << " dpi";
    }
}

struct ChoiceSetting {
    const char* list;
    int address;
};

class OvlDefaultChoices : public OvlCells, public ::testing::WithParamInterface<ChoiceSetting> {};

// The default radio shows a text, not "error", in every choice cell of the
// common settings.
TEST_P(OvlDefaultChoices, DefaultValueIsAnEntryOfItsList) {
    cmcEeprom image;
    DefaultImage::Build(image);
    const ChoiceSetting& p = GetParam();
    const std::vector<int> keys = ListKeys(p.list, Flex0);
    const int value = image.GetByte(p.address);
    EXPECT_NE(std::find(keys.begin(), keys.end(), value), keys.end())
        << p.list << " has no entry for the default " << value;
}

namespace MM = MemoryMap;
INSTANTIATE_TEST_SUITE_P(
    CommonSettings, OvlDefaultChoices,
    ::testing::Values(ChoiceSetting{"GI_Sheet_Sel_Comm_TxMeter", MM::kTxMeter},
                      ChoiceSetting{"GI_Sheet_Sel_Comm_PwrSel", MM::kTxPowerSel},
                      ChoiceSetting{"GI_Sheet_Sel_Misc_OnOff", MM::kModeSel2182},
                      ChoiceSetting{"GI_Sheet_Sel_Misc_OnOff", MM::kSitorChannel},
                      ChoiceSetting{"GI_Sheet_Sel_Comm_ItuDir", MM::kItuDirection},
                      ChoiceSetting{"GI_Sheet_Sel_Comm_Tuner", MM::kAntennaTuner},
                      ChoiceSetting{"GI_Sheet_Sel_Misc_OnOff", MM::kAtTunerUse},
                      ChoiceSetting{"GI_Sheet_Sel_Comm_AtTunType", MM::kAtTunerType},
                      ChoiceSetting{"GI_Sheet_Sel_Misc_OnOff", MM::kSel2182Alarm},
                      ChoiceSetting{"GI_Sheet_Sel_Comm_ScanType", MM::kScanType},
                      ChoiceSetting{"GI_Sheet_Sel_Comm_IndType", MM::kIndicationType},
                      ChoiceSetting{"GI_Sheet_Sel_Comm_FskTone", MM::kFskTone},
                      ChoiceSetting{"GI_Sheet_Sel_Comm_FskShift", MM::kFskShift},
                      ChoiceSetting{"GI_Sheet_Sel_Comm_FskPolar", MM::kFskPolarity},
                      ChoiceSetting{"GI_Sheet_Sel_Comm_BkIn", MM::kCwBreakIn},
                      ChoiceSetting{"GI_Sheet_Sel_Comm_ModSel", MM::kTxByAcc},
                      ChoiceSetting{"GI_Sheet_Sel_Comm_ModSel", MM::kTxByPtt},
                      ChoiceSetting{"GI_Sheet_Sel_Misc_OnOff", MM::kMicKey},
                      ChoiceSetting{"GI_Sheet_Sel_Comm_PKey", MM::kMicFunction},
                      ChoiceSetting{"GI_Sheet_Sel_Comm_NmeaIf", MM::kNmeaInterface},
                      ChoiceSetting{"GI_Sheet_Sel_Comm_FiltJ2B", MM::kJ2bFilter},
                      ChoiceSetting{"GI_Sheet_Sel_Comm_FiltF1B", MM::kF1bFilter},
                      ChoiceSetting{"GI_Sheet_Sel_Comm_RemoteMod", MM::kRemoteMode},
                      ChoiceSetting{"GI_Sheet_Sel_Comm_GpsDisp", MM::kGpsDisplay},
                      ChoiceSetting{"GI_Sheet_Sel_Comm_NVTuner", MM::kNonVexaTuner},
                      ChoiceSetting{"GI_Sheet_Sel_Misc_OnOff", MM::kVoiceSquelch},
                      ChoiceSetting{"GI_Sheet_Sel_Mode0", MM::k2182Mode},
                      ChoiceSetting{"GI_Sheet_Sel_Misc_OnOff", MM::kScanEnable},
                      ChoiceSetting{"GI_Sheet_Sel_Misc_OnOff", MM::kCompressor},
                      ChoiceSetting{"GI_Sheet_Sel_Misc_OnOff", MM::kCommentDisplay},
                      ChoiceSetting{"GI_Sheet_Sel_Misc_Enable_I", MM::kTenKey},
                      ChoiceSetting{"GI_Sheet_Sel_DscMask", MM::kDscMask},
                      ChoiceSetting{"GI_Sheet_Sel_Misc_ItuChSel", MM::kDscItuChannel}));

// Modes, mode use values and DSC call selection values of the default radio are
// entries of the lists their cells show them with.
TEST_F(OvlCells, DefaultRecordValuesAreEntriesOfTheirLists) {
    cmcEeprom image;
    DefaultImage::Build(image);
    datCh ch(image.Bytes());
    auto has = [](const std::vector<int>& keys, int v) {
        return std::find(keys.begin(), keys.end(), v) != keys.end();
    };
    const std::vector<int> modes = ListKeys("GI_Sheet_Sel_Mode1_R", CL_Sel_Mode_U);
    ch.Load(datCh::kUserCh, 1);
    EXPECT_TRUE(has(modes, ch.mode));
    for (int e = 0; e < MM::kItuChannelCount; ++e) {
        ch.Load(datCh::kItuCh, e);
        EXPECT_TRUE(has(modes, ch.mode)) << "ITU channel " << e;
    }
    const std::vector<int> ok = ListKeys("GI_Sheet_Sel_ModeOk", Flex0);
    const std::vector<int> rx = ListKeys("GI_Sheet_Sel_ModeRx", Flex0);
    for (int m = 0; m < MM::kModeCount; ++m) {
        ch.Load(datCh::kModeReg, m);
        EXPECT_TRUE(has(m == 2 ? rx : ok, ch.useValue)) << "mode " << m;
    }
    const std::vector<int> callSel = ListKeys("GI_Sheet_Sel_DscCallSel", Flex0);
    for (int e = 0; e < MM::kItemBitCount; ++e) {
        ch.Load(datCh::kCallSel, e);
        EXPECT_TRUE(has(callSel, ch.callSelection)) << "call selection " << e;
    }
    // Geographic area calls are shown with the receive-only list.
    ch.Load(datCh::kCallSel, 4);
    EXPECT_TRUE(has(ListKeys("GI_Sheet_Sel_DscCallSel_R", Flex0), ch.callSelection));
}

}  // namespace
