#include "cells/cmcCellFont.h"

#include <cstdint>

namespace {

// Multiplies and divides with rounding half away from zero, as the platform's font code did.
int MulDiv(int a, int b, int c) {
    const std::int64_t p = static_cast<std::int64_t>(a) * b;
    const std::int64_t q = (p >= 0 ? p + c / 2 : p - c / 2) / c;
    return static_cast<int>(q);
}

template <typename T>
struct NamedValue {
    const char* name;
    T value;
};

const NamedValue<int> kCharsets[] = {
    {"ANSI_CHARSET", 0},      {"DEFAULT_CHARSET", 1},    {"SYMBOL_CHARSET", 2},
    {"MAC_CHARSET", 77},      {"SHIFTJIS_CHARSET", 128}, {"HANGEUL_CHARSET", 129},
    {"JOHAB_CHARSET", 130},   {"GB2312_CHARSET", 134},   {"CHINESEBIG5_CHARSET", 136},
    {"GREEK_CHARSET", 161},   {"TURKISH_CHARSET", 162},  {"VIETNAMESE_CHARSET", 163},
    {"HEBREW_CHARSET", 177},  {"ARABIC_CHARSET", 178},   {"BALTIC_CHARSET", 186},
    {"RUSSIAN_CHARSET", 204}, {"THAI_CHARSET", 222},     {"EASTEUROPE_CHARSET", 238},
    {"OEM_CHARSET", 255},
};

const NamedValue<unsigned> kStyles[] = {{"fsBold", fsBold},
                                        {"fsItalic", fsItalic},
                                        {"fsUnderline", fsUnderline},
                                        {"fsStrikeOut", fsStrikeOut}};

const NamedValue<int> kPitches[] = {
    {"fpDefault", fpDefault}, {"fpFixed", fpFixed}, {"fpVariable", fpVariable}};

template <typename T, std::size_t N>
std::optional<T> Lookup(const NamedValue<T> (&table)[N], std::string_view name) {
    for (const auto& e : table) {
        if (name == e.name)
            return e.value;
    }
    return std::nullopt;
}

}  // namespace

int cmcCellFont::Size() const {
    return -MulDiv(height, 72, kPixelsPerInch);
}

void cmcCellFont::SetSize(int points) {
    height = -MulDiv(points, kPixelsPerInch, 72);
}

std::optional<int> CharsetByName(std::string_view name) {
    return Lookup(kCharsets, name);
}

std::optional<unsigned> FontStyleByName(std::string_view name) {
    return Lookup(kStyles, name);
}

std::optional<int> FontPitchByName(std::string_view name) {
    return Lookup(kPitches, name);
}

QFont ToQFont(const cmcCellFont& font) {
    QFont f;
    if (!font.face.empty())
        f.setFamily(QString::fromLocal8Bit(font.face.c_str()));
    const int pixels = font.height < 0 ? -font.height : font.height;
    if (pixels > 0)
        f.setPixelSize(pixels);
    f.setBold((font.styles & fsBold) != 0);
    f.setItalic((font.styles & fsItalic) != 0);
    f.setUnderline((font.styles & fsUnderline) != 0);
    f.setStrikeOut((font.styles & fsStrikeOut) != 0);
    if (font.pitch == fpFixed) {
        f.setFixedPitch(true);
        f.setStyleHint(QFont::Monospace);
    } else if (font.pitch == fpVariable) {
        f.setFixedPitch(false);
    }
    return f;
}
