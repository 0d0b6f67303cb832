#include "cells/cmcColor.h"

#include <QGuiApplication>

#include "text/cmcHash.h"

namespace {

const cmcHash& ColorTable() {
    static const cmcHash* table = [] {
        auto* t = new cmcHash(101);
#define PQ_COLOR_ENTRY(name, value) t->Add(#name, static_cast<int>(value));
        PQ_COLOR_NAMES(PQ_COLOR_ENTRY)
#undef PQ_COLOR_ENTRY
        return t;
    }();
    return *table;
}

struct SystemRole {
    QPalette::ColorGroup group;
    QPalette::ColorRole role;
};

// System colour indexes of the original platform and the palette roles that play their part.
const SystemRole kSystemRoles[] = {
    {QPalette::Active, QPalette::Button},           // 0 scroll bar
    {QPalette::Active, QPalette::Dark},             // 1 desktop background
    {QPalette::Active, QPalette::Highlight},        // 2 active caption
    {QPalette::Inactive, QPalette::Mid},            // 3 inactive caption
    {QPalette::Active, QPalette::Window},           // 4 menu
    {QPalette::Active, QPalette::Base},             // 5 window
    {QPalette::Active, QPalette::Shadow},           // 6 window frame
    {QPalette::Active, QPalette::WindowText},       // 7 menu text
    {QPalette::Active, QPalette::Text},             // 8 window text
    {QPalette::Active, QPalette::HighlightedText},  // 9 caption text
    {QPalette::Active, QPalette::Window},           // 10 active border
    {QPalette::Inactive, QPalette::Window},         // 11 inactive border
    {QPalette::Active, QPalette::Mid},              // 12 application work space
    {QPalette::Active, QPalette::Highlight},        // 13 highlight
    {QPalette::Active, QPalette::HighlightedText},  // 14 highlighted text
    {QPalette::Active, QPalette::Button},           // 15 button face
    {QPalette::Active, QPalette::Dark},             // 16 button shadow
    {QPalette::Disabled, QPalette::Text},           // 17 grey text
    {QPalette::Active, QPalette::ButtonText},       // 18 button text
    {QPalette::Inactive, QPalette::WindowText},     // 19 inactive caption text
    {QPalette::Active, QPalette::Light},            // 20 button highlight
    {QPalette::Active, QPalette::Shadow},           // 21 3-D dark shadow
    {QPalette::Active, QPalette::Midlight},         // 22 3-D light
    {QPalette::Active, QPalette::ToolTipText},      // 23 info text
    {QPalette::Active, QPalette::ToolTipBase},      // 24 info background
    {QPalette::Active, QPalette::Button},           // 25 (unused)
    {QPalette::Active, QPalette::Link},             // 26 hot light
    {QPalette::Active, QPalette::Highlight},        // 27 gradient active caption
    {QPalette::Inactive, QPalette::Mid},            // 28 gradient inactive caption
    {QPalette::Active, QPalette::Highlight},        // 29 menu highlight
    {QPalette::Active, QPalette::Window},           // 30 menu bar
};

}  // namespace

std::optional<cmcColor> ColorByName(std::string_view name) {
    const cmcHashEntry* e = ColorTable().Find(name);
    if (!e)
        return std::nullopt;
    return static_cast<cmcColor>(e->value);
}

QColor ToQColor(cmcColor color, const QPalette& palette) {
    if ((color & 0xFF000000u) == kSystemColorBase) {
        const std::uint32_t index = color & 0x00FFFFFFu;
        if (index >= sizeof(kSystemRoles) / sizeof(kSystemRoles[0]))
            return QColor(Qt::black);
        const SystemRole& r = kSystemRoles[index];
        return palette.color(r.group, r.role);
    }
    return QColor(static_cast<int>(color & 0xFF), static_cast<int>((color >> 8) & 0xFF),
                  static_cast<int>((color >> 16) & 0xFF));
}

QColor ToQColor(cmcColor color) {
    return ToQColor(color, QGuiApplication::palette());
}
