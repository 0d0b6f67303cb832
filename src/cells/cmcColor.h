#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include <QColor>
#include <QPalette>

// Colours are kept as the resource file and the drawing code know them: a colour reference
// 0x00BBGGRR, or a system colour 0x80000000 plus the system colour index.
using cmcColor = std::uint32_t;

// X(name, value): every colour name a resource file may use. "clHightlightText" is spelled so.
#define PQ_COLOR_NAMES(X)             \
    X(clAqua, 0x00FFFF00u)            \
    X(clBlack, 0x00000000u)           \
    X(clBlue, 0x00FF0000u)            \
    X(clDkGray, 0x00808080u)          \
    X(clFuchsia, 0x00FF00FFu)         \
    X(clGray, 0x00808080u)            \
    X(clGreen, 0x00008000u)           \
    X(clLime, 0x0000FF00u)            \
    X(clLtGray, 0x00C0C0C0u)          \
    X(clMaroon, 0x00000080u)          \
    X(clNavy, 0x00800000u)            \
    X(clOlive, 0x00008080u)           \
    X(clPurple, 0x00800080u)          \
    X(clRed, 0x000000FFu)             \
    X(clSilver, 0x00C0C0C0u)          \
    X(clTeal, 0x00808000u)            \
    X(clWhite, 0x00FFFFFFu)           \
    X(clYellow, 0x0000FFFFu)          \
    X(clBackground, 0x80000001u)      \
    X(clActiveCaption, 0x80000002u)   \
    X(clInactiveCaption, 0x80000003u) \
    X(clMenu, 0x80000004u)            \
    X(clWindow, 0x80000005u)          \
    X(clWindowFrame, 0x80000006u)     \
    X(clMenuText, 0x80000007u)        \
    X(clWindowText, 0x80000008u)      \
    X(clCaptionText, 0x80000009u)     \
    X(clActiveBorder, 0x8000000Au)    \
    X(clInactiveBorder, 0x8000000Bu)  \
    X(clAppWorkSpace, 0x8000000Cu)    \
    X(clHighlight, 0x8000000Du)       \
    X(clHightlightText, 0x8000000Eu)  \
    X(clBtnFace, 0x8000000Fu)         \
    X(clBtnShadow, 0x80000010u)       \
    X(clGrayText, 0x80000011u)        \
    X(clBtnHighlight, 0x80000014u)    \
    X(clBtnText, 0x80000012u)         \
    X(clInactiveCaptionText, 0x80000013u)

#define PQ_COLOR_CONSTANT(name, value) constexpr cmcColor name = value;
PQ_COLOR_NAMES(PQ_COLOR_CONSTANT)
#undef PQ_COLOR_CONSTANT

constexpr cmcColor kSystemColorBase = 0x80000000u;

// The value of a colour name (exact, case-sensitive), or none for an unknown name. The names are
// held in a hash table of 101 buckets, filled on first use.
std::optional<cmcColor> ColorByName(std::string_view name);

// The one conversion to a QColor. System colours come from the palette's roles; a colour
// reference takes its low three bytes.
QColor ToQColor(cmcColor color, const QPalette& palette);
QColor ToQColor(cmcColor color);  // with the application's palette
