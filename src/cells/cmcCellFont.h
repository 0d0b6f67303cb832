#pragma once

#include <optional>
#include <string>
#include <string_view>

#include <QFont>

#include "cells/cmcColor.h"

enum cmcFontStyle : unsigned { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
enum cmcFontPitch : int { fpDefault = 0, fpFixed = 1, fpVariable = 2 };

// The font of a cell as the resource file describes it. Height and size are one quantity, as on
// the original platform: the height is stored, the size in points is derived from it at
// 96 pixels per inch.
struct cmcCellFont {
    static constexpr int kPixelsPerInch = 96;
    static constexpr int kDefaultCharset = 1;  // DEFAULT_CHARSET

    int charset = kDefaultCharset;
    std::string face;  // empty: the platform's default face
    cmcColor color = clWindowText;
    int height = -11;     // negative: character height in pixels; positive: cell height
    unsigned styles = 0;  // cmcFontStyle bits
    int pitch = fpDefault;

    int Size() const;          // points
    void SetSize(int points);  // sets the height
};

// Name tables of the font fields of a description; none for an unknown name.
std::optional<int> CharsetByName(std::string_view name);
std::optional<unsigned> FontStyleByName(std::string_view name);
std::optional<int> FontPitchByName(std::string_view name);

// Applies the fields of a "Font=" property (the text after "="): at most seven fields split at
// commas: character set, face, colour, height (or "%p" percent of it), size in points (or
// "%p"), styles joined by "+", pitch. An empty or unrecognised field changes nothing.
void ApplyFontFields(cmcCellFont& font, std::string_view fields);

// The one conversion to a QFont: a negative height is the pixel size of the characters; a
// positive one (a cell height) is taken as the pixel size too. The colour is not part of a
// QFont; the drawing code takes it with ToQColor.
QFont ToQFont(const cmcCellFont& font);
