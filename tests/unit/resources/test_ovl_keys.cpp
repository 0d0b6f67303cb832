// The resource file against the keys the program asks for: every key is there, every text has
// the form its reader expects, and the file keeps the limits of the dictionary.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "OvlKeys.h"
#include "OvlResource.h"
#include "TestPaths.h"
#include "cells/cmcCellNames.h"
#include "text/cmcGTex.h"
#include "text/cmcTextUtil.h"

namespace {

std::string Joined(const std::vector<std::string>& items) {
    std::string s;
    for (const std::string& i : items)
        s += "\n  " + i;
    return s;
}

int CountOf(const std::string& text, char c) {
    return int(std::count(text.begin(), text.end(), c));
}

bool IsDecimal(const std::string& text) {
    return !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
}

using OvlKeys = OvlResource;

TEST_F(OvlKeys, EveryKeyTheProgramAsksForExists) {
    std::vector<std::string> wanted = OvlDirectKeys();
    for (const std::string& list : OvlSelectionLists())
        for (const std::string& s : SheetSections(list))
            wanted.push_back(s);
    for (const std::string& sheet : OvlFixedSheets())
        for (const std::string& s : SheetSections(sheet))
            wanted.push_back(s);
    for (const std::string& base : OvlMenuBases()) {
        wanted.push_back(base + "_BasicCell");
        wanted.push_back(base + "_Body");
    }
    std::vector<std::string> missing;
    for (const std::string& key : wanted)
        if (!Has(key))
            missing.push_back(key);
    EXPECT_TRUE(missing.empty()) << "missing sections:" << Joined(missing);
}

TEST_F(OvlKeys, EverySheetOfTheTreeHasItsThreeSections) {
    const std::vector<std::string> refs = TreeSheetReferences();
    // One node per sheet: channels, settings, DSC tables.
    EXPECT_EQ(refs.size(), 15u);
    EXPECT_EQ(std::set<std::string>(refs.begin(), refs.end()).size(), refs.size())
        << "two nodes open the same sheet";
    std::vector<std::string> missing;
    for (const std::string& ref : refs)
        for (const std::string& s : SheetSections(SheetBase(ref)))
            if (!Has(s))
                missing.push_back(s + " (tree node " + ref + ")");
    EXPECT_TRUE(missing.empty()) << Joined(missing);
    EXPECT_NE(std::find(refs.begin(), refs.end(), "[St_Common]GI_Sheet_Common"), refs.end())
        << "the common settings sheet must be opened as its own kind";
}

TEST_F(OvlKeys, WarningChecksMarkSheetsOfTheTree) {
    const std::vector<std::string> refs = TreeSheetReferences();
    const std::vector<std::string> checks = {
        "CL_Check_UserCh",    "CL_Check_ItuCh",        "CL_Check_EMail",
        "CL_Check_FreqRange", "CL_Check_ModeReg",      "CL_Check_Dsc_SelfId",
        "CL_Check_Dsc_AdrId", "CL_Check_Dsc_RxTxFreq", "CL_Check_Dsc_Cate"};
    const std::vector<std::string> lines = Body("GI_WarningCheckList");
    ASSERT_EQ(lines.size(), checks.size());
    for (const std::string& check : checks) {
        const auto line = std::find_if(lines.begin(), lines.end(), [&](const std::string& l) {
            return l.find("." + check + ":") != std::string::npos;
        });
        ASSERT_NE(line, lines.end()) << check << " is not in the warning check list";
        const std::string ref = ArgumentTextOf(*line, check);
        EXPECT_NE(std::find(refs.begin(), refs.end(), ref), refs.end())
            << check << " marks '" << ref << "', which no tree node opens";
    }
}

TEST_F(OvlKeys, CloneErrorHeadHasOneLinePerStatusAndThePortFormatOnLineTwo) {
    const std::vector<std::string> head = Body("GI_Mess_CloneErr_Head");
    ASSERT_EQ(head.size(), 18u) << "statuses 0-17";
    for (int s = 0; s < int(head.size()); ++s) {
        EXPECT_FALSE(head[s].empty()) << "status " << s;
        if (s == 2) {
            EXPECT_EQ(CountOf(head[s], '%'), 1) << head[s];
            EXPECT_NE(head[s].find("%d"), std::string::npos) << head[s];
        } else {
            EXPECT_EQ(CountOf(head[s], '%'), 0) << "status " << s << ": " << head[s];
        }
    }
    const std::vector<std::string> check = Body("GI_Mess_CloneErr_Check");
    ASSERT_EQ(check.size(), 6u);
    for (const std::string& line : check)
        EXPECT_EQ(CountOf(line, '%'), 0) << line;
}

// The advice for a port the system refuses: the group named in the text and in the command.
TEST_F(OvlKeys, GroupAdviceHasTwoLinesWithOneGroupPlaceholderEach) {
    const std::vector<std::string> lines = Body("GI_Mess_CloneErr_Group");
    ASSERT_EQ(lines.size(), 2u);
    for (const std::string& line : lines) {
        EXPECT_EQ(CountOf(line, '%'), 1) << line;
        EXPECT_NE(line.find("%s"), std::string::npos) << line;
    }
    EXPECT_NE(lines[1].find("usermod -aG %s $USER"), std::string::npos) << lines[1];
}

TEST_F(OvlKeys, FileQuestionAndBackupMessageHaveExactlyOneFileNamePlaceholder) {
    for (const char* key : {"GI_Mess_Confirm_WriteFile", "GI_Mess_CloneWrite_Backup"}) {
        const std::vector<std::string> lines = Body(key);
        ASSERT_EQ(lines.size(), 1u) << key << ": the name goes into one line";
        EXPECT_EQ(CountOf(lines[0], '%'), 1) << lines[0];
        EXPECT_NE(lines[0].find("%s"), std::string::npos) << lines[0];
    }
}

// The write's own messages: a count in the preview, a count and an address in the read back's
// report, each as one "%s"; the other lines hold none.
TEST_F(OvlKeys, WriteCheckAndPreviewFormatsHaveTheirPlaceholders) {
    const std::vector<std::string> count = Body("GI_Mess_Preview_Count");
    ASSERT_EQ(count.size(), 1u);
    EXPECT_EQ(CountOf(count[0], '%'), 1) << count[0];
    EXPECT_NE(count[0].find("%s"), std::string::npos) << count[0];
    const std::vector<std::string> differs = Body("GI_Mess_WriteCheck_Differs");
    ASSERT_EQ(differs.size(), 4u);
    for (std::size_t i = 0; i < differs.size(); ++i) {
        const int wanted = i == 0 || i == 2 ? 1 : 0;
        EXPECT_EQ(CountOf(differs[i], '%'), wanted) << differs[i];
        if (wanted == 1) {
            EXPECT_NE(differs[i].find("%s"), std::string::npos) << differs[i];
        }
    }
    EXPECT_EQ(Body("GI_Mess_CloneErr_ReadHead").size(), Body("GI_Mess_CloneErr_Head").size())
        << "one line per clone status";
    EXPECT_EQ(Body("GI_Mess_Preview_Columns").size(), 5u);
}

// The transfer's progress lines: the port in what it does, then the bytes done, the bytes in all
// and the percentage, whose sign follows as the one "%" that is no placeholder.
TEST_F(OvlKeys, TransferLinesHoldThePortAndTheBytes) {
    const std::vector<std::string> lines = Body("GI_Mess_Transfer");
    ASSERT_EQ(lines.size(), 3u);
    for (std::size_t i = 0; i < 2; ++i) {
        EXPECT_EQ(CountOf(lines[i], '%'), 1) << lines[i];
        EXPECT_NE(lines[i].find("%s"), std::string::npos) << lines[i];
    }
    EXPECT_EQ(CountOf(lines[2], '%'), 4) << lines[2];
    EXPECT_EQ(FillPlaceholders(lines[2], {"1", "2", "3"}).find("%s"), std::string::npos);
    EXPECT_NE(lines[2].find("%s %)"), std::string::npos) << lines[2];
}

// The undo step names: two menu formats with one "%s", the place format with two, then names
// without any.
TEST_F(OvlKeys, UndoStepsHaveTheirFormatsAndOneNamePerStepKind) {
    const std::vector<std::string> lines = Body("GI_AppMess_UndoSteps");
    ASSERT_EQ(lines.size(), 15u);
    EXPECT_EQ(CountOf(lines[0], '%'), 1) << lines[0];
    EXPECT_NE(lines[0].find("%s"), std::string::npos) << lines[0];
    EXPECT_EQ(CountOf(lines[1], '%'), 1) << lines[1];
    EXPECT_NE(lines[1].find("%s"), std::string::npos) << lines[1];
    EXPECT_EQ(CountOf(lines[2], '%'), 2) << lines[2];
    EXPECT_NE(lines[2].find("%s"), lines[2].rfind("%s")) << lines[2];
    std::set<std::string> names;
    for (std::size_t i = 3; i < lines.size(); ++i) {
        EXPECT_EQ(CountOf(lines[i], '%'), 0) << lines[i];
        EXPECT_FALSE(lines[i].empty()) << "line " << i;
        names.insert(lines[i]);
    }
    EXPECT_EQ(names.size(), lines.size() - 3) << "two kinds of step share a name";
}

// The status bar's, the table messages' and the fleet's progress formats: only "%s" placeholders
// (filled one by one with texts, never handed to printf), as many as their callers give.
TEST_F(OvlKeys, StatusFormatsHoldOnlyTheirPlaceholders) {
    const std::vector<std::pair<const char*, std::vector<int>>> formats = {
        {"GI_AppMess_Typed", {2, 3, 3, 2, 3, 2, 3, 3, 1, 0}},
        {"GI_AppMess_TypedForms", {0, 2, 0, 0}},
        {"GI_AppMess_RowsRefused", {2, 0, 0, 0, 0, 4}},
        {"GI_Fleet_Changes", {0, 1}},
        {"GI_Fleet_Radio", {3, 7, 3, 1, 0}},
        {"GI_AppMess_Done", {2, 2, 1, 3, 3, 2, 2, 2, 1}},
        {"GI_AppMess_Table", {1, 1, 1, 2}},
        {"GI_AppMess_TableFile", {1, 1, 3, 4}},
        {"GI_AppMess_TableIssue",
         {1, 2, 1, 2, 2, 3, 1, 2, 4, 2, 3, 3, 4, 3, 3, 3, 3, 4, 3, 4, 3, 2}},
        {"GI_AppMess_TableWords", {1, 1, 1, 1, 1, 1, 1, 1, 2, 1, 0, 1}},
        {"GI_App_About_Text", {1, 2}},
        {"GI_Compare_Window", {2, 2, 6, 0, 0, 0, 0, 0, 0, 0, 0}},
        {"GI_Port_Window", {1, 1, 0, 0, 0}},
        {"GI_Fleet_Who", {1, 1}},
        {"GI_Fleet_Values", {0, 1, 0, 1, 0}},
        {"GI_Fleet_Progress", {4, 2, 0, 0, 0}},
        {"GI_AppMess_HandedFile", {1}}};
    for (const auto& [key, counts] : formats) {
        const std::vector<std::string> lines = Body(key);
        ASSERT_EQ(lines.size(), counts.size()) << key;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            EXPECT_EQ(CountOf(lines[i], '%'), counts[i]) << key << ": " << lines[i];
            size_t placeholders = 0;
            for (size_t at = lines[i].find("%s"); at != std::string::npos;
                 at = lines[i].find("%s", at + 2))
                ++placeholders;
            EXPECT_EQ(int(placeholders), counts[i]) << key << ": " << lines[i];
        }
    }
}

// Texts that reach message boxes, the status bar and cells verbatim: a "%" in them could be
// taken for a format by a careless reader, and none is needed.
TEST_F(OvlKeys, PlainTextsHoldNoFormatCharacters) {
    const std::set<std::string> formats = {"GI_Mess_Confirm_WriteFile",
                                           "GI_Mess_CloneErr_Head",
                                           "GI_Mess_CloneWrite_Backup",
                                           "GI_AppMess_UndoSteps",
                                           "GI_Menu_Port_Device",
                                           "GI_Mess_CloneErr_Group",
                                           "GI_Fleet_Prompt",
                                           "GI_Fleet_WriteAgain",
                                           "GI_Fleet_Radio",
                                           "GI_Fleet_Changes",
                                           "GI_Mess_NotHanded",
                                           "GI_Fleet_Summary",
                                           "GI_Fleet_Window",
                                           "GI_Fleet_Progress",
                                           "GI_Mess_Preview_Count",
                                           "GI_Mess_WriteCheck_Differs",
                                           "GI_Mess_Preview_Unshown",
                                           "GI_Find_Count",
                                           "GI_Find_NotFound",
                                           "GI_Find_Match",
                                           "GI_Sort_Dialog",
                                           "GI_Sort_Messages",
                                           "GI_AppMess_Typed",
                                           "GI_AppMess_TypedForms",
                                           "GI_AppMess_RowsRefused",
                                           "GI_AppMess_Done",
                                           "GI_AppMess_Table",
                                           "GI_AppMess_TableFile",
                                           "GI_AppMess_TableIssue",
                                           "GI_AppMess_TableWords",
                                           "GI_App_About_Text",
                                           "GI_Compare_Window",
                                           "GI_Port_Window",
                                           "GI_Mess_Transfer",
                                           "GI_Fleet_Who",
                                           "GI_Fleet_Values",
                                           "GI_AppMess_HandedFile"};
    for (const std::string& key : OvlDirectKeys()) {
        // Cell descriptions name behaviours with "(%": they are no texts of this kind.
        if (formats.count(key) || key.find("BasicCell") != std::string::npos ||
            key.rfind("CellModel_", 0) == 0 || key == "GI_WarningCheckList" ||
            key == "GI_Sheet_FBitsR_PMenu")
            continue;
        for (const std::string& line : Body(key))
            EXPECT_EQ(CountOf(line, '%'), 0) << key << ": " << line;
    }
}

struct LineCount {
    const char* key;
    int min;
    int max;
};

class OvlLineCounts : public OvlKeys, public ::testing::WithParamInterface<LineCount> {};

TEST_P(OvlLineCounts, ListHasTheLinesItsReadersAskFor) {
    const LineCount& p = GetParam();
    const std::vector<std::string> lines = Body(p.key);
    EXPECT_GE(int(lines.size()), p.min) << p.key;
    EXPECT_LE(int(lines.size()), p.max) << p.key;
    for (const std::string& line : lines)
        EXPECT_FALSE(line.empty()) << p.key << " has an empty line";
}

INSTANTIATE_TEST_SUITE_P(
    ItemListsAndDialogs, OvlLineCounts,
    ::testing::Values(
        LineCount{"GI_AppInd_Mode", 6, 6}, LineCount{"GI_AppInd_Band", 8, 8},
        // The item tables are 16-bit words; items the radio fixes (call selection
        // 0, 5 and 6) must have captions.
        LineCount{"GI_AppInd_CallSelItem", 7, 16}, LineCount{"GI_AppInd_CateItem", 4, 4},
        LineCount{"GI_AppInd_NatureItem", 1, 16}, LineCount{"GI_AppInd_1stTelItem", 1, 16},
        LineCount{"GI_AppInd_ReasonItem", 1, 16}, LineCount{"GI_AppInd_Button_OkCancel", 2, 2},
        LineCount{"GI_Sys_Printer_PrintingDialog", 3, 3}, LineCount{"GI_Sys_Dialog_FOpen", 2, 2},
        // What the program adds to menus and windows: one line per text its reader asks for.
        LineCount{"GI_Sys_Dialog_Table", 3, 3}, LineCount{"GI_Sys_Dialog_Title", 2, 2},
        LineCount{"GI_Menu_Edit_Undo", 2, 2}, LineCount{"GI_Menu_File_Preview", 2, 2},
        LineCount{"GI_Menu_File_Table", 3, 3}, LineCount{"GI_Menu_Debug", 4, 4},
        LineCount{"GI_Debug_Window", 6, 6}, LineCount{"GI_Compare_Columns", 3, 3},
        LineCount{"GI_Port_Columns", 4, 4}),
    [](const ::testing::TestParamInfo<LineCount>& info) { return std::string(info.param.key); });

TEST_F(OvlKeys, BandNamesFollowTheMaritimeBands) {
    EXPECT_EQ(Body("GI_AppInd_Band"),
              (std::vector<std::string>{"4", "6", "8", "12", "16", "18/19", "22", "25/26"}));
}

TEST_F(OvlKeys, NumbersThatThePrintingAndTheTreeReadAreNumbers) {
    for (const char* key :
         {"GI_Sys_TreeChangeDelay", "GI_Sys_Printer_FontPoints", "GI_Sys_Printer_FrameFont"}) {
        const std::string text = dict_.Text(key);
        EXPECT_TRUE(IsDecimal(text) && std::atoi(text.c_str()) > 0) << key << ": " << text;
    }
    const std::string margins = dict_.Text("GI_Sys_Printer_Margins");
    for (int i = 0; i < 4; ++i) {
        std::string field = FieldAt(margins, ',', i).value_or("");
        field.erase(0, field.find_first_not_of(' '));
        field.erase(field.find_last_not_of(' ') + 1);
        EXPECT_TRUE(IsDecimal(field)) << "margin " << i << " of '" << margins << "'";
    }
    EXPECT_FALSE(FieldAt(margins, ',', 4).has_value()) << "four margins: " << margins;
}

TEST_F(OvlKeys, InitialFileIsAT590CloneFileThatShipsWithTheResources) {
    const std::string name = dict_.Text("GI_App_InitialFile");
    ASSERT_GT(name.size(), 5u);
    EXPECT_EQ(name.substr(name.size() - 5), ".t590");
    EXPECT_EQ(name.find_first_of("/\\"), std::string::npos) << "a name beside the executable";
    EXPECT_TRUE(std::ifstream(ResourcePath(name)).good()) << name;
}

// Every word of the text after each occurrence of marker up to the next ")".
std::vector<std::string> NamesAfter(const std::string& line, const std::string& marker) {
    std::vector<std::string> names;
    for (std::size_t at = line.find(marker); at != std::string::npos;
         at = line.find(marker, at + 1)) {
        const std::size_t from = at + marker.size();
        names.push_back(line.substr(from, line.find(')', from) - from));
    }
    return names;
}

TEST_F(OvlKeys, EverySectionIsOneTheProgramReads) {
    std::set<std::string> reached(OvlDirectKeys().begin(), OvlDirectKeys().end());
    std::vector<std::string> pending;
    auto reach = [&](const std::string& key) {
        if (reached.insert(key).second)
            pending.push_back(key);
    };
    auto sheet = [&](const std::string& base) {
        for (const std::string& s : SheetSections(base))
            reach(s);
    };
    for (const std::string& key : OvlDirectKeys())
        pending.push_back(key);
    for (const std::string& list : OvlSelectionLists())
        sheet(list);
    for (const std::string& fixed : OvlFixedSheets())
        sheet(fixed);
    for (const std::string& ref : TreeSheetReferences())
        sheet(SheetBase(ref));
    for (const std::string& base : OvlMenuBases()) {
        reach(base + "_BasicCell");
        reach(base + "_Body");
    }
    // Cells lead on to the models and pop-up menus they name.
    std::vector<std::string> missing;
    while (!pending.empty()) {
        const std::string key = pending.back();
        pending.pop_back();
        if (!Has(key)) {
            missing.push_back(key);
            continue;
        }
        for (const std::string& line : Body(key)) {
            for (const std::string& model : NamesAfter(line, "($"))
                reach("CellModel_" + model);
            for (const std::string& popup : NamesAfter(line, "(PopupMenu=")) {
                reach(popup + "_BasicCell");
                reach(popup + "_Body");
            }
        }
    }
    std::vector<std::string> unread;
    for (const std::string& name : OvlSectionNames())
        if (name != "End_Of_Ovl" && !reached.count(name))
            unread.push_back(name);
    EXPECT_TRUE(unread.empty()) << "sections nothing reads:" << Joined(unread);
    EXPECT_TRUE(missing.empty()) << "sections named but missing:" << Joined(missing);
}

// Every behaviour reference "(%category.label[argument]:text)" of every line the program reads
// names a category and a label of the program's tables.
TEST_F(OvlKeys, EveryBehaviourReferenceNamesAKnownCategoryAndLabel) {
    std::vector<std::string> keys;
    for (const std::string& name : OvlSectionNames())
        if (name != "End_Of_Ovl")
            keys.push_back(name);
    int references = 0;
    for (const std::string& key : keys) {
        for (const std::string& line : Body(key)) {
            for (const std::string& ref : NamesAfter(line, "(%")) {
                // A message's placeholder in brackets ("(%s bytes)") is no reference.
                if (ref == "s" || ref.rfind("s ", 0) == 0)
                    continue;
                ++references;
                std::string label = ref;
                const std::size_t dot = ref.find('.');
                if (dot != std::string::npos) {
                    const std::string category = ref.substr(0, dot);
                    EXPECT_NO_THROW(CategoryByName(category)) << key << ": " << line;
                    label = ref.substr(dot + 1);
                }
                label = label.substr(0, label.find_first_of("[:"));
                EXPECT_NO_THROW(LabelByName(label)) << key << ": " << line;
            }
        }
    }
    EXPECT_GT(references, 300) << "the scan found too few references to be looking";
}

TEST_F(OvlKeys, HelpFileShipsWithTheResources) {
    const std::string name = dict_.Text("GI_Sys_MyHelpFile");
    EXPECT_EQ(name.find_first_of("/\\"), std::string::npos) << "a name beside the executable";
    std::ifstream in(ResourcePath(name));
    ASSERT_TRUE(in.good()) << name;
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_NE(text.find("<title>"), std::string::npos);
}

TEST(OvlFile, StaysWithinTheLineLimitAndEndsWithTheEndMarker) {
    const std::vector<std::string> lines = OvlRawLines();
    ASSERT_FALSE(lines.empty());
    for (std::size_t i = 0; i < lines.size(); ++i) {
        EXPECT_LT(lines[i].size(), cmcGTex::kMaxLine) << "line " << i + 1;
        EXPECT_EQ(lines[i].find('\r'), std::string::npos) << "line " << i + 1;
        for (unsigned char c : lines[i])
            EXPECT_TRUE(c == '\t' || (c >= 32 && c <= 126))
                << "line " << i + 1 << " holds byte " << int(c);
    }
    EXPECT_EQ(lines.back(), "#End_Of_Ovl");
}

TEST(OvlFile, NoSectionNameIsUsedTwice) {
    // The dictionary returns the first of two sections with one name; the second would be dead.
    std::vector<std::string> names = OvlSectionNames();
    std::sort(names.begin(), names.end());
    std::vector<std::string> twice;
    for (std::size_t i = 1; i < names.size(); ++i)
        if (names[i] == names[i - 1])
            twice.push_back(names[i]);
    EXPECT_TRUE(twice.empty()) << Joined(twice);
}

}  // namespace
