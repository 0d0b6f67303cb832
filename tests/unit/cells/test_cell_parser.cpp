#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "ModelDictionary.h"
#include "cells/cmcCellObj.h"
#include "cells/cmcCellParser.h"
#include "text/cmcMbcs.h"

namespace {

// What a parsed cell must hold, field by field; built fluently from the defaults.
struct Expect {
    std::string description;
    int category = CT_None;
    int label = CL_None;
    int argument = 0;
    std::optional<std::string> argText;
    int hAlign = 0;
    int vAlign = 0;
    std::uint8_t layoutBits = 0;  // bits 4-7
    std::uint8_t state = 0;
    cmcColor color = clWindow;
    int imageIndex = -1;
    std::optional<std::string> popup;
    std::optional<std::string> display;

    explicit Expect(std::string d) : description(std::move(d)) {}
    Expect& Ref(int c, int l, int a = 0) {
        category = c, label = l, argument = a;
        return *this;
    }
    Expect& ArgText(std::string t) {
        argText = std::move(t);
        return *this;
    }
    Expect& Align(int h, int v) {
        hAlign = h, vAlign = v;
        return *this;
    }
    Expect& Layout(std::uint8_t bits) {
        layoutBits = bits;
        return *this;
    }
    Expect& State(std::uint8_t s) {
        state = s;
        return *this;
    }
    Expect& Color(cmcColor c) {
        color = c;
        return *this;
    }
    Expect& Image(int i) {
        imageIndex = i;
        return *this;
    }
    Expect& Popup(std::string p) {
        popup = std::move(p);
        return *this;
    }
    Expect& Display(std::string t) {
        display = std::move(t);
        return *this;
    }
};

void PrintTo(const Expect& e, std::ostream* os) {
    *os << "\"" << e.description << "\"";
}

void CheckCell(const cmcCellObj& c, const Expect& e) {
    EXPECT_EQ(c.category, e.category);
    EXPECT_EQ(c.label, e.label);
    EXPECT_EQ(c.argument, e.argument);
    EXPECT_EQ(c.argText, e.argText);
    EXPECT_EQ(c.HAlignment(), e.hAlign);
    EXPECT_EQ(c.VAlignment(), e.vAlign);
    EXPECT_EQ(c.layout & 0xF0, e.layoutBits);
    EXPECT_EQ(c.state, e.state);
    EXPECT_EQ(c.color, e.color);
    EXPECT_EQ(c.imageIndex, e.imageIndex);
    EXPECT_EQ(c.popupMenuKey, e.popup);
    EXPECT_EQ(c.displayText, e.display);
}

class ParseOneCell : public ModelDictionaryTest, public ::testing::WithParamInterface<Expect> {};

TEST_P(ParseOneCell, FillsEveryField) {
    const Expect& e = GetParam();
    std::int32_t counters[10] = {12, 0, 42};
    cmcCellObj cell;
    const std::string_view rest = ParseCell(e.description, cell, counters, nullptr);
    EXPECT_TRUE(rest.empty());
    CheckCell(cell, e);
    EXPECT_EQ(cell.counters, nullptr);  // attached only while parsing
}

using C = cmcCellObj;

INSTANTIATE_TEST_SUITE_P(
    Table, ParseOneCell,
    ::testing::Values(
        Expect(""), Expect("plain").Display("plain"),
        // attribute letters
        Expect("{S}").State(C::kSelectable), Expect("{ST}").State(C::kSelectable | C::kAttached),
        Expect("{($eWh)!S}").Align(0, 2).Layout(C::kWiden | C::kHeighten | C::kBottomRule),
        Expect("{^}").Align(1, 0), Expect("{>_}").Align(2, 2), Expect("{>-<}").Align(0, 1),
        Expect("{>!^}").Align(1, 0),  // "!" does not act on alignment characters
        Expect("{W H + B}").Layout(C::kWiden | C::kHeighten | C::kJoinLeft | C::kBottomRule),
        Expect("{WH!W}").Layout(C::kHeighten), Expect("{!!S}"),
        Expect("{\\S}"),  // an escaped letter is ordinary
        Expect("{!}S").Display("S"), Expect("{xyz?#}"),
        Expect("{S}{T}").State(C::kSelectable | C::kAttached),
        Expect("{S").State(C::kSelectable),  // an unclosed brace runs to the end
        // properties
        Expect("{(Color=clRed)}").Color(0x0000FF), Expect("{(Color=clred)}"),
        Expect("{(Color=clHightlightText)}").Color(0x8000000E),
        Expect("{(Colorful=clLime)}").Color(0x00FF00),  // "Color" is a prefix
        Expect("{(Color)}"), Expect("{(ImageIndex=7)}").Image(7), Expect("{(ImageIndex7)}"),
        Expect("{(PopupMenu=GI_PMenu_Edit)}").Popup("GI_PMenu_Edit"),
        Expect("{(Flag0=1)(Flag2=1)}").State(C::kChecked | C::kDisabled),
        Expect("{(Flag3=1)(Flag3=0)}"), Expect("{(Flag1=1)}").State(C::kHidden),
        Expect("{(Flag4=1)}"), Expect("{(Flag0=2)}"), Expect("{(Flag0=1 )}"),
        Expect("{(Unknown=1)S}").State(C::kSelectable), Expect("{(S}"),  // unclosed: ignored
        Expect("{(PopupMenu=a\\)b)}").Popup("a\\)b"),  // backslashes stay in a property
        Expect("{(S)}"),
        // references
        Expect("{(%CT_UserCh.CL_UCh_FreqR[5])}").Ref(2, 127, 5),
        Expect("{(%.CL_UCh_Mode)}").Ref(19, 129), Expect("{(%CT_PopupMenu.)}").Ref(1, 205),
        Expect("{(%CT_PopupMenu.CL_PMenu_Edit:Enter)}").Ref(1, 61).ArgText("Enter"),
        Expect("{(%CL_PMenu_Edit:Save a\\:b\\\\c.txt)}").Ref(19, 61).ArgText("Save a:b\\c.txt"),
        Expect("{(%CL_PMenu_Edit[3]:x.y)}").Ref(19, 61, 3).ArgText("x.y"),
        Expect("{(%CL_PMenu_Edit:)}").Ref(19, 61).ArgText(""),
        Expect("{(%Flex0[@ch2])}").Ref(19, 1, 42), Expect("{(%Flex0[-7])}").Ref(19, 1, -7),
        Expect("{(%Flex0[x])}").Ref(19, 1, 0), Expect("{(%Flex0[12)}").Ref(19, 1, 12),
        Expect("{($iQp)}").Ref(0, 81),
        // models
        Expect("{($Basic)}").Align(0, 1).Popup("GI_PMenu_Edit"),
        Expect("{($Basic)(PopupMenu=GI_PMenu_NoItem)}").Align(0, 1).Popup("GI_PMenu_NoItem"),
        Expect("{($iChI)}%d")
            .Align(1, 1)
            .Layout(C::kWiden | C::kHeighten)
            .Color(0x808080)
            .Display("%d"),
        Expect("{($Nested)}")
            .Align(2, 2)
            .Layout(C::kWiden | C::kHeighten | C::kBottomRule)
            .State(C::kSelectable)
            .Color(0x00FFFF),
        // display texts
        Expect("  a  b  ").Display("a  b"), Expect("\\_x\\_").Display(" x "),
        Expect("a\\Nb\\nc").Display("a\nb\nc"), Expect("a\\|b").Display("a|b"),
        Expect("\\\\").Display("\\"), Expect("x\\").Display("x"), Expect("\\q").Display("q"),
        Expect("a{S}b").State(C::kSelectable).Display("ab"), Expect("\\(@ch0+1)").Display("13"),
        Expect("\\( @ch0 + 1 )").Display("13"), Expect("\\(@ch2)").Display("42"),
        Expect("\\(@ch0-1)").Display("12"), Expect("#\\(@ch1+100)#").Display("#100#"),
        Expect("\\(@ch0").Display("(@ch0"), Expect("\\{S}").State(C::kSelectable).Display("")));

TEST_F(ModelDictionaryTest, RowsSplitAtUnescapedBars) {
    struct RowCase {
        std::string row;
        std::vector<std::string> displays;  // "-" for a cell without display text
    };
    const RowCase cases[] = {
        {"|{($iChI)}%d|", {"-", "%d"}},
        {"a\\|b", {"a|b"}},
        {"a|b", {"a", "b"}},
        {"|", {"-"}},
        {"a||b|", {"a", "-", "b"}},
        {"{(Color=a|b)}c", {"-", "b)}c"}},  // a bar inside braces still splits
    };
    for (const auto& c : cases) {
        std::vector<std::string> got;
        std::string_view rest = c.row;
        cmcCellObj cell;
        do {
            rest = ParseCell(rest, cell, nullptr, nullptr);
            got.push_back(cell.displayText.value_or("-"));
        } while (!rest.empty());
        EXPECT_EQ(got, c.displays) << c.row;
    }
}

TEST_F(ModelDictionaryTest, EmptyDescriptionCopiesTheParentWithoutFontAndPopup) {
    std::int32_t counters[10] = {};
    cmcCellObj basic;
    ParseCell("{($Basic)S(%CT_UserCh.CL_UCh_Comment[9]:note)}Caption", basic, counters, nullptr);
    ASSERT_TRUE(basic.font);
    cmcCellObj cell;
    ParseCell("", cell, counters, &basic);
    EXPECT_EQ(cell.parent, &basic);
    EXPECT_EQ(cell.category, CT_UserCh);
    EXPECT_EQ(cell.label, CL_UCh_Comment);
    EXPECT_EQ(cell.argument, 9);
    EXPECT_EQ(cell.argText, std::optional<std::string>("note"));
    EXPECT_EQ(cell.layout, basic.layout);
    EXPECT_EQ(cell.state, cmcCellObj::kSelectable);
    EXPECT_EQ(cell.color, clWindow);
    EXPECT_EQ(cell.displayText, std::optional<std::string>("Caption"));
    EXPECT_FALSE(cell.font);
    EXPECT_FALSE(cell.popupMenuKey);
    ASSERT_NE(cell.PopupMenuKey(), nullptr);  // offered through the parent
    EXPECT_EQ(*cell.PopupMenuKey(), "GI_PMenu_Edit");

    cmcCellObj child;  // a reference without "." keeps the inherited category
    ParseCell("{(%CL_FBits[3])!S}9", child, counters, &basic);
    EXPECT_EQ(child.category, CT_UserCh);
    EXPECT_EQ(child.label, CL_FBits);
    EXPECT_EQ(child.argument, 3);
    EXPECT_EQ(child.argText, std::optional<std::string>("note"));
    EXPECT_EQ(child.state, 0);
    EXPECT_EQ(child.displayText, std::optional<std::string>("9"));
}

TEST_F(ModelDictionaryTest, FontFieldsApplyToACopyOfTheParentFont) {
    cmcCellObj parent;
    ParseCell("{(Font=ANSI_CHARSET,Arial,clNavy,-12,,fsUnderline,fpVariable)}", parent, nullptr,
              nullptr);
    ASSERT_TRUE(parent.font);
    EXPECT_EQ(parent.font->charset, 0);
    EXPECT_EQ(parent.font->face, "Arial");
    EXPECT_EQ(parent.font->color, clNavy);
    EXPECT_EQ(parent.font->height, -12);
    EXPECT_EQ(parent.font->styles, fsUnderline);
    EXPECT_EQ(parent.font->pitch, fpVariable);

    struct FontCase {
        const char* description;
        int height;
        unsigned styles;
        const char* face;
        int charset;
        cmcColor color;
        int pitch;
    };
    const FontCase cases[] = {
        {"{(Font=,,,%150,,,)}", -18, fsUnderline, "Arial", 0, clNavy, fpVariable},
        {"{(Font=,,,,,fsBold+fsItalic,)}", -12, fsBold | fsItalic, "Arial", 0, clNavy, 2},
        {"{(Font=,,,,,fsNothing,)}", -12, fsUnderline, "Arial", 0, clNavy, 2},
        {"{(Font=,,,,,fsNothing+fsStrikeOut,)}", -12, fsStrikeOut, "Arial", 0, clNavy, 2},
        {"{(Font=,,,0,,,)}", -12, fsUnderline, "Arial", 0, clNavy, 2},
        {"{(Font=,,,%1,,,)}", 1, fsUnderline, "Arial", 0, clNavy, 2},      // 0 becomes 1
        {"{(Font=,,,,%200,,)}", -24, fsUnderline, "Arial", 0, clNavy, 2},  // 9 pt -> 18 pt
        {"{(Font=,,,,10,,)}", -13, fsUnderline, "Arial", 0, clNavy, 2},
        {"{(Font= SHIFTJIS_CHARSET ,  Courier New,clRed,-20,,,fpFixed)}", -20, fsUnderline,
         "Courier New", 128, clRed, fpFixed},
        {"{(Font=bogus,,clBogus,abc,,,fpBogus)}", -12, fsUnderline, "Arial", 0, clNavy, 2},
        {"{(Font=,,,,,,,,,-30)}", -12, fsUnderline, "Arial", 0, clNavy, 2},  // 7 fields at most
        {"{(Font=,,, clRed)}", -12, fsUnderline, "Arial", 0, clNavy, 2},     // colour name exact
    };
    for (const auto& c : cases) {
        cmcCellObj cell;
        ParseCell(c.description, cell, nullptr, &parent);
        ASSERT_TRUE(cell.font) << c.description;
        EXPECT_EQ(cell.font->height, c.height) << c.description;
        EXPECT_EQ(cell.font->styles, c.styles) << c.description;
        EXPECT_EQ(cell.font->face, c.face) << c.description;
        EXPECT_EQ(cell.font->charset, c.charset) << c.description;
        EXPECT_EQ(cell.font->color, c.color) << c.description;
        EXPECT_EQ(cell.font->pitch, c.pitch) << c.description;
    }
    EXPECT_EQ(parent.font->height, -12);  // the parent's own font is never touched

    cmcCellObj fresh;  // without a parent font the platform defaults apply
    ParseCell("{(Font=,,,%200,,,)}", fresh, nullptr, nullptr);
    ASSERT_TRUE(fresh.font);
    EXPECT_EQ(fresh.font->height, -22);
    EXPECT_EQ(fresh.font->color, clWindowText);
}

TEST_F(ModelDictionaryTest, ChannelCountersAdvanceAndShow) {
    std::int32_t counters[10] = {};
    cmcCellObj cell;
    const char* row =
        "{(@ch1=5)}|{(@ch1++)}\\(@ch1)|{(@ch1++)(%Flex0[@ch1])}\\(@ch1+10)|{(@ch9= -3)}";
    std::string_view rest = row;
    std::vector<std::string> shown;
    std::vector<int> arguments;
    do {
        rest = ParseCell(rest, cell, counters, nullptr);
        shown.push_back(cell.GetText());
        arguments.push_back(cell.argument);
    } while (!rest.empty());
    EXPECT_EQ(shown, (std::vector<std::string>{"", "6", "17", ""}));
    // The cell object is reused without a parent: Reset keeps category and argument.
    EXPECT_EQ(arguments, (std::vector<int>{0, 0, 7, 7}));
    EXPECT_EQ(counters[1], 7);
    EXPECT_EQ(counters[9], -3);

    counters[0] = 1234567;  // only the first six characters of the number are shown
    ParseCell("\\(@ch0)", cell, counters, nullptr);
    EXPECT_EQ(cell.GetText(), "123456");
    counters[0] = -1234567;
    ParseCell("\\(@ch0)", cell, counters, nullptr);
    EXPECT_EQ(cell.GetText(), "-12345");

    // Without counters (menus, trees) counter properties change nothing and read as 0.
    ParseCell("{(@ch3++)(%Flex0[@ch3])}\\(@ch3+2)", cell, nullptr, nullptr);
    EXPECT_EQ(cell.argument, 0);
    EXPECT_EQ(cell.GetText(), "2");
}

TEST_F(ModelDictionaryTest, ResourceErrorsAreFatal) {
    struct FatalCase {
        const char* description;
        std::string message;
    };
    const FatalCase cases[] = {
        {"{(@ch12++)}", "Ch No. Error"},
        {"{(@chx=1)}", "Ch No. Error"},
        {"{(@ch)}", "Ch No. Error"},
        {"{(%Flex0[@ch10])}", "Ch No. Error"},
        {"\\(@ch)", "Ch No. Error"},
        {"\\(abc)", "Ch No. Error"},
        {"{(%CT_usercH.CL_UCh_Mode)}", "Cannot use the specified category.\n'CT_usercH'"},
        {"{(%CT_UserCh.CL_Nope)}", "Cannot use the specified cell.\n'CL_Nope'"},
        {"{(%CL_Nope%s)}", "Cannot use the specified cell.\n'CL_Nope%s'"},
        {"{($Missing)}", "GTEX Error !\nThe index 'CellModel_Missing' was not found."},
        {"{($Loop)}", "Cell models nested too deeply.\n'CellModel_Loop'"},
    };
    std::int32_t counters[10] = {};
    for (const auto& c : cases) {
        host_->Clear();
        cmcCellObj cell;
        EXPECT_THROW(ParseCell(c.description, cell, counters, nullptr), cmcFatalError)
            << c.description;
        ASSERT_EQ(host_->Fatals().size(), 1u) << c.description;
        EXPECT_EQ(host_->Fatals()[0], c.message);
        EXPECT_EQ(cell.counters, nullptr);
    }
    // The parser is usable again after a fatal path was taken (the model depth was unwound).
    cmcCellObj cell;
    ParseCell("{($Nested)}", cell, counters, nullptr);
    EXPECT_EQ(cell.color, clYellow);
}

// The bit-field editor's rows and popup menu, as its fragment describes them.
TEST_F(ModelDictionaryTest, WorkedExampleOfTheBitEditorFragment) {
    std::int32_t counters[10] = {};
    cmcCellObj basic;
    ParseCell("{($Basic)(PopupMenu=GI_PMenu_NoItem)}", basic, counters, nullptr);
    EXPECT_EQ(basic.HAlignment(), cmcCellObj::kLeft);
    EXPECT_EQ(basic.VAlignment(), cmcCellObj::kMiddle);
    EXPECT_EQ(basic.color, clWindow);
    ASSERT_TRUE(basic.font);
    EXPECT_EQ(basic.font->charset, 1);
    EXPECT_EQ(basic.font->color, clWindowText);
    EXPECT_EQ(basic.font->height, -17);
    EXPECT_EQ(*basic.PopupMenuKey(), "GI_PMenu_NoItem");

    // Heading row "|{($iChI)}%d|" with the column number formatted in.
    std::string_view rest = "|{($iChI)}5|";
    cmcCellObj empty, heading;
    rest = ParseCell(rest, empty, counters, &basic);
    rest = ParseCell(rest, heading, counters, &basic);
    EXPECT_TRUE(rest.empty());
    EXPECT_FALSE(empty.displayText);
    EXPECT_EQ(heading.GetText(), "5");
    EXPECT_EQ(heading.HAlignment(), cmcCellObj::kCenter);
    EXPECT_EQ(heading.color, clGray);
    ASSERT_TRUE(heading.font);
    EXPECT_EQ(heading.font->color, clWhite);
    EXPECT_EQ(heading.font->styles, fsBold);
    EXPECT_EQ(heading.font->height, -17);  // taken over from the basic cell's font

    // Data row: two bits with a quarter pillar between them, the category inherited.
    basic.category = CT_DscId;
    const std::string row = "|{($eWh)^(%CL_FBits[1])}9|{($iQp)}|{($eWh)^(%CL_FBits[0])}9|";
    rest = row;
    std::vector<std::pair<int, int>> behaviour;
    cmcCellObj cell;
    while (!rest.empty()) {
        rest = ParseCell(rest, cell, counters, &basic);
        behaviour.emplace_back(cell.label, cell.argument);
        if (cell.label == CL_FBits) {
            EXPECT_EQ(cell.category, CT_DscId);
            EXPECT_EQ(cell.GetText(), "9");
            EXPECT_EQ(cell.HAlignment(), cmcCellObj::kCenter);
            EXPECT_EQ(cell.VAlignment(), cmcCellObj::kBottom);
            EXPECT_TRUE(cell.state & cmcCellObj::kSelectable);
            EXPECT_TRUE(cell.layout & cmcCellObj::kWiden);
        }
    }
    EXPECT_EQ(behaviour,
              (std::vector<std::pair<int, int>>{
                  {CL_None, 0}, {CL_FBits, 1}, {CL_Misc_QuarterPillar, 0}, {CL_FBits, 0}}));

    // Popup menu: a basic cell in CT_PopupMenu without label, then an item line (after the
    // menu syntax has taken its leading "+").
    cmcCellObj menuBasic, item;
    ParseCell("{($Basic)(%CT_PopupMenu.)}", menuBasic, nullptr, nullptr);
    EXPECT_EQ(menuBasic.category, CT_PopupMenu);
    EXPECT_EQ(menuBasic.label, CL_None);
    ParseCell("Edit...\t{(%CT_PopupMenu.CL_PMenu_Edit:Enter)}", item, nullptr, &menuBasic);
    EXPECT_EQ(item.GetText(), "Edit...");
    EXPECT_EQ(item.label, CL_PMenu_Edit);
    EXPECT_EQ(item.argText, std::optional<std::string>("Enter"));
}

TEST_F(ModelDictionaryTest, WithoutAMainDictionaryAModelIsNotFound) {
    cmcGTex::SetMain(nullptr);
    cmcCellObj cell;
    EXPECT_THROW(ParseCell("{($Basic)}", cell, nullptr, nullptr), cmcFatalError);
    EXPECT_EQ(host_->Fatals().at(0), "GTEX Error !\nThe index 'CellModel_Basic' was not found.");
}

TEST_F(ModelDictionaryTest, SplitOnlyResetsFromTheParent) {
    cmcCellObj parent;
    ParseCell("{S(%CT_ItuCh.CL_ICh_Freq[4])}P", parent, nullptr, nullptr);
    cmcCellObj cell;
    const std::string_view rest = ParseCell("{T}own|next", cell, nullptr, &parent, true);
    EXPECT_EQ(rest, "next");
    EXPECT_EQ(cell.state, cmcCellObj::kSelectable);
    EXPECT_EQ(cell.label, CL_ICh_Freq);
    EXPECT_EQ(cell.GetText(), "P");
}

class ScopedCodePage {
public:
    explicit ScopedCodePage(int cp) : saved_(MbCodePage()) { SetMbCodePage(cp); }
    ~ScopedCodePage() { SetMbCodePage(saved_); }

private:
    int saved_;
};

TEST_F(ModelDictionaryTest, DoubleByteTrailBytesAreNeverSpecial) {
    ScopedCodePage sjis(932);
    // 0x95 0x5C ends in "\", 0x83 0x7C in "|", 0x83 0x7D in "}", 0x83 0x5F in "_".
    cmcCellObj cell;
    std::string_view rest = ParseCell("\x95\x5C|x", cell, nullptr, nullptr);
    EXPECT_EQ(cell.GetText(), "\x95\x5C");
    EXPECT_EQ(rest, "x");

    rest = ParseCell(
        "a\x83\x7C"
        "b",
        cell, nullptr, nullptr);
    EXPECT_EQ(cell.GetText(),
              "a\x83\x7C"
              "b");
    EXPECT_TRUE(rest.empty());

    // In the argument text: a "}" trail byte, a "\" trail byte, then an escaped backslash.
    ParseCell("{(%Flex0:\x83\x7D\x95\x5C\x5C\x5C)S}t", cell, nullptr, nullptr);
    EXPECT_EQ(cell.argText, std::optional<std::string>("\x83\x7D\x95\x5C\x5C"));
    EXPECT_EQ(cell.state, cmcCellObj::kSelectable);
    EXPECT_EQ(cell.GetText(), "t");

    ParseCell("\\\x83\x5F", cell, nullptr, nullptr);  // an escaped double-byte character
    EXPECT_EQ(cell.GetText(), "\x83\x5F");
}

}  // namespace
