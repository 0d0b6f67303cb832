#include "cells/cmcCellFont.h"

#include <cstdint>
#include <limits>

#include "cells/cmcCellScan.h"

namespace {

// Multiplies and divides with rounding half away from zero, as the platform's font code did. The
// result is kept within +-INT_MAX so that it can always be negated.
int MulDiv(int a, int b, int c) {
    const std::int64_t p = static_cast<std::int64_t>(a) * b;
    std::int64_t q = (p >= 0 ? p + c / 2 : p - c / 2) / c;
    const std::int64_t limit = std::numeric_limits<int>::max();
    if (q > limit)
        q = limit;
    if (q < -limit)
        q = -limit;
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
    constexpr int kMaxPixels = 4096;
    QFont f;
    if (!font.face.empty())
        f.setFamily(QString::fromLocal8Bit(font.face.c_str()));
    // INT_MIN has no positive counterpart; absurd heights are capped at a size Qt can draw.
    const int pixels = font.height < 0 ? (font.height < -kMaxPixels ? kMaxPixels : -font.height)
                                       : (font.height > kMaxPixels ? kMaxPixels : font.height);
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

namespace {

using namespace cellscan;

// "%p": p percent of value (integer division; 0 becomes 1). A plain number: that number.
// Returns none (keep the value) for 0, an empty or an unreadable field.
std::optional<int> ScaledOrPlain(std::string_view field, int value) {
    field = TrimBlanksView(field);
    if (field.empty())
        return std::nullopt;
    if (field.front() == '%') {
        const std::int64_t scaled =
            static_cast<std::int64_t>(value) * Decimal(field.substr(1)) / 100;
        if (scaled == 0)
            return 1;
        if (scaled > std::numeric_limits<int>::max() || scaled < std::numeric_limits<int>::min())
            return std::nullopt;
        return static_cast<int>(scaled);
    }
    const int v = Decimal(field);
    if (v == 0)
        return std::nullopt;
    return v;
}

}  // namespace

void ApplyFontFields(cmcCellFont& font, std::string_view fields) {
    // At most seven fields, split at commas; an empty or unknown field changes nothing.
    std::string_view f[7];
    int count = 0;
    std::size_t start = 0;
    for (; count < 7; ++count) {
        const std::size_t comma = FindAnyOf(fields, ",", start);
        f[count] = fields.substr(
            start, comma == std::string_view::npos ? std::string_view::npos : comma - start);
        if (comma == std::string_view::npos) {
            ++count;
            break;
        }
        start = comma + 1;
    }

    if (count > 0) {
        if (auto cs = CharsetByName(TrimBlanksView(f[0])))
            font.charset = *cs;
    }
    if (count > 1) {
        std::string_view face = f[1];
        while (!face.empty() && IsBlankOrTab(face.front()))
            face.remove_prefix(1);
        if (!face.empty())
            font.face.assign(face.data(), face.size());
    }
    if (count > 2) {
        if (auto c = ColorByName(f[2]))
            font.color = *c;
    }
    if (count > 3) {
        if (auto h = ScaledOrPlain(f[3], font.height))
            font.height = *h;
    }
    if (count > 4) {
        if (auto s = ScaledOrPlain(f[4], font.Size()))
            font.SetSize(*s);
    }
    if (count > 5) {
        bool cleared = false;
        std::string_view styles = f[5];
        for (std::size_t pos = 0;;) {
            const std::size_t plus = FindAnyOf(styles, "+", pos);
            const std::string_view name = TrimBlanksView(styles.substr(
                pos, plus == std::string_view::npos ? std::string_view::npos : plus - pos));
            if (auto st = FontStyleByName(name)) {
                if (!cleared)
                    font.styles = 0;
                cleared = true;
                font.styles |= *st;
            }
            if (plus == std::string_view::npos)
                break;
            pos = plus + 1;
        }
    }
    if (count > 6) {
        if (auto p = FontPitchByName(TrimBlanksView(f[6])))
            font.pitch = *p;
    }
}
