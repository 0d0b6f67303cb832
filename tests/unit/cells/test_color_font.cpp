#include <gtest/gtest.h>

#include <QFontInfo>
#include <QGuiApplication>

#include "cells/cmcCellFont.h"
#include "cells/cmcColor.h"

namespace {

struct ColorCase {
    const char* name;
    cmcColor value;
};

const ColorCase kColors[] = {
    {"clAqua", 0xFFFF00},
    {"clBlack", 0x000000},
    {"clBlue", 0xFF0000},
    {"clDkGray", 0x808080},
    {"clFuchsia", 0xFF00FF},
    {"clGray", 0x808080},
    {"clGreen", 0x008000},
    {"clLime", 0x00FF00},
    {"clLtGray", 0xC0C0C0},
    {"clMaroon", 0x000080},
    {"clNavy", 0x800000},
    {"clOlive", 0x008080},
    {"clPurple", 0x800080},
    {"clRed", 0x0000FF},
    {"clSilver", 0xC0C0C0},
    {"clTeal", 0x808000},
    {"clWhite", 0xFFFFFF},
    {"clYellow", 0x00FFFF},
    {"clBackground", 0x80000001},
    {"clActiveCaption", 0x80000002},
    {"clInactiveCaption", 0x80000003},
    {"clMenu", 0x80000004},
    {"clWindow", 0x80000005},
    {"clWindowFrame", 0x80000006},
    {"clMenuText", 0x80000007},
    {"clWindowText", 0x80000008},
    {"clCaptionText", 0x80000009},
    {"clActiveBorder", 0x8000000A},
    {"clInactiveBorder", 0x8000000B},
    {"clAppWorkSpace", 0x8000000C},
    {"clHighlight", 0x8000000D},
    {"clHightlightText", 0x8000000E},
    {"clBtnFace", 0x8000000F},
    {"clBtnShadow", 0x80000010},
    {"clGrayText", 0x80000011},
    {"clBtnText", 0x80000012},
    {"clInactiveCaptionText", 0x80000013},
    {"clBtnHighlight", 0x80000014},
};

TEST(Color, EveryNameHasItsValue) {
    ASSERT_EQ(sizeof(kColors) / sizeof(kColors[0]), 38u);
    for (const auto& c : kColors)
        EXPECT_EQ(ColorByName(c.name), c.value) << c.name;
}

TEST(Color, NamesAreExact) {
    for (const char* name : {"clHighlightText", "clred", "clRed ", " clRed", "", "clNone"})
        EXPECT_EQ(ColorByName(name), std::nullopt) << name;
}

TEST(Color, ReferencesConvertAsBlueGreenRed) {
    EXPECT_EQ(ToQColor(0x00123456), QColor(0x56, 0x34, 0x12));
    EXPECT_EQ(ToQColor(clRed), QColor(255, 0, 0));
    EXPECT_EQ(ToQColor(clNavy), QColor(0, 0, 0x80));
}

TEST(Color, SystemColorsComeFromThePalette) {
    QPalette p;
    p.setColor(QPalette::Active, QPalette::Base, QColor(1, 2, 3));
    p.setColor(QPalette::Active, QPalette::Text, QColor(4, 5, 6));
    p.setColor(QPalette::Active, QPalette::Highlight, QColor(7, 8, 9));
    p.setColor(QPalette::Active, QPalette::HighlightedText, QColor(10, 11, 12));
    p.setColor(QPalette::Active, QPalette::Button, QColor(13, 14, 15));
    p.setColor(QPalette::Disabled, QPalette::Text, QColor(16, 17, 18));
    EXPECT_EQ(ToQColor(clWindow, p), QColor(1, 2, 3));
    EXPECT_EQ(ToQColor(clWindowText, p), QColor(4, 5, 6));
    EXPECT_EQ(ToQColor(clHighlight, p), QColor(7, 8, 9));
    EXPECT_EQ(ToQColor(clHightlightText, p), QColor(10, 11, 12));
    EXPECT_EQ(ToQColor(clBtnFace, p), QColor(13, 14, 15));
    EXPECT_EQ(ToQColor(clGrayText, p), QColor(16, 17, 18));
    EXPECT_EQ(ToQColor(0x800000FF, p), QColor(Qt::black));  // no such system colour
    EXPECT_EQ(ToQColor(clWindow),
              QGuiApplication::palette().color(QPalette::Active, QPalette::Base));
}

TEST(Font, NameTables) {
    EXPECT_EQ(CharsetByName("ANSI_CHARSET"), 0);
    EXPECT_EQ(CharsetByName("MAC_CHARSET"), 77);
    EXPECT_EQ(CharsetByName("SHIFTJIS_CHARSET"), 128);
    EXPECT_EQ(CharsetByName("EASTEUROPE_CHARSET"), 238);
    EXPECT_EQ(CharsetByName("OEM_CHARSET"), 255);
    EXPECT_EQ(CharsetByName("oem_charset"), std::nullopt);
    EXPECT_EQ(FontStyleByName("fsStrikeOut"), fsStrikeOut);
    EXPECT_EQ(FontStyleByName("fsbold"), std::nullopt);
    EXPECT_EQ(FontPitchByName("fpFixed"), fpFixed);
    EXPECT_EQ(FontPitchByName("fpNone"), std::nullopt);
}

TEST(Font, SizeAndHeightAreOneQuantity) {
    cmcCellFont f;
    EXPECT_EQ(f.height, -11);
    EXPECT_EQ(f.Size(), 8);
    f.SetSize(9);
    EXPECT_EQ(f.height, -12);
    f.height = -17;
    EXPECT_EQ(f.Size(), 13);  // 12.75 rounds to 13
    f.SetSize(10);
    EXPECT_EQ(f.height, -13);  // 13.33 rounds to 13
}

TEST(Font, ExtremeSizesStayDefined) {
    cmcCellFont f;
    f.SetSize(2147483647);
    EXPECT_EQ(f.height, -2147483647);
    EXPECT_EQ(f.Size(), 1610612735);  // 2147483647 * 72 / 96, rounded
    f.SetSize(-2147483647 - 1);
    EXPECT_EQ(f.height, 2147483647);
    f.height = -2147483647 - 1;
    EXPECT_EQ(ToQFont(f).pixelSize(), 4096);
    f.height = 1 << 20;
    EXPECT_EQ(ToQFont(f).pixelSize(), 4096);
}

TEST(Font, FieldsWithHugeNumbersAreClampedNotOverflowed) {
    cmcCellFont f;
    ApplyFontFields(f, ",,,,99999999999,,");
    EXPECT_EQ(f.height, -2147483647);
    ApplyFontFields(f, ",,,-99999999999,,,");
    EXPECT_EQ(f.height, -2147483647 - 1);
    ApplyFontFields(f, ",,,%300,,,");  // out of range: kept
    EXPECT_EQ(f.height, -2147483647 - 1);
    ApplyFontFields(f, ",,,,%300,,");  // likewise for the size
    EXPECT_EQ(f.height, -2147483647 - 1);
    ApplyFontFields(f, ",,,,%50,,");  // 1610612736 pt halved
    EXPECT_EQ(f.height, -1073741824);
}

TEST(Font, ConvertsToQFont) {
    cmcCellFont f;
    f.face = "DejaVu Sans";
    f.height = -17;
    f.styles = fsBold | fsUnderline;
    QFont q = ToQFont(f);
    EXPECT_EQ(q.pixelSize(), 17);
    EXPECT_TRUE(q.bold());
    EXPECT_FALSE(q.italic());
    EXPECT_TRUE(q.underline());
    EXPECT_FALSE(q.strikeOut());
    EXPECT_EQ(q.family(), QString("DejaVu Sans"));

    f.styles = fsItalic | fsStrikeOut;
    f.pitch = fpFixed;
    f.face.clear();
    q = ToQFont(f);
    EXPECT_TRUE(q.italic());
    EXPECT_TRUE(q.strikeOut());
    EXPECT_FALSE(q.bold());
    EXPECT_TRUE(q.fixedPitch());
    EXPECT_EQ(q.family(), QFont().family());  // no face: the default one
}

}  // namespace
