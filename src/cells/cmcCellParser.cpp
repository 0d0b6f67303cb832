#include "cells/cmcCellParser.h"

#include <string>

#include "cells/cmcCellObj.h"
#include "cells/cmcCellScan.h"
#include "platform/cmcHost.h"
#include "text/cmcGTex.h"
#include "text/cmcMbcs.h"

namespace {

using namespace cellscan;

// Models may use models; a model that uses itself would recurse for ever.
constexpr int kMaxModelDepth = 32;
thread_local int t_modelDepth = 0;

int CounterValue(const cmcCellObj& cell, int index) {
    return cell.counters ? cell.counters[index] : 0;
}

void ApplyModel(cmcCellObj& cell, std::string_view name) {
    std::string key = "CellModel_";
    key.append(name.data(), name.size());
    cmcGTex* dict = cmcGTex::Main();
    if (!dict)
        FatalError("GTEX Error !\nThe index '" + key + "' was not found.");
    if (t_modelDepth >= kMaxModelDepth)
        FatalError("Cell models nested too deeply.\n'" + key + "'");
    const std::string text = dict->Text(key);
    ++t_modelDepth;
    try {
        ParseAttributes(cell, text);
    } catch (...) {
        --t_modelDepth;
        throw;
    }
    --t_modelDepth;
}

void ApplyCounter(cmcCellObj& cell, std::string_view property) {
    const int index = CounterIndex(property);
    const std::string_view op = property.substr(4);
    if (StartsWith(op, "++")) {
        if (cell.counters)
            cell.counters[index] =
                static_cast<std::int32_t>(static_cast<std::uint32_t>(cell.counters[index]) + 1u);
    } else if (StartsWith(op, "=")) {
        if (cell.counters)
            cell.counters[index] = Decimal(op.substr(1));
    }
}

void SetBit(std::uint8_t& flags, std::uint8_t bit, bool clear) {
    if (clear)
        flags = static_cast<std::uint8_t>(flags & ~bit);
    else
        flags = static_cast<std::uint8_t>(flags | bit);
}

// The attribute and display texts of one cell, reused from cell to cell.
thread_local std::string t_attributes;
thread_local std::string t_display;

}  // namespace

std::string_view ParseCell(std::string_view row, cmcCellObj& cell, std::int32_t* counters,
                           const cmcCellObj* parent, bool splitOnly) {
    cell.parent = parent;
    const std::size_t bar = FindUnescaped(row, '|');
    const std::string_view description = bar == std::string_view::npos ? row : row.substr(0, bar);
    const std::string_view rest =
        bar == std::string_view::npos ? row.substr(row.size()) : row.substr(bar + 1);
    cell.Reset();
    if (splitOnly)
        return rest;

    // Braces cannot be escaped and never reach either text.
    std::string& attributes = t_attributes;
    std::string& display = t_display;
    attributes.clear();
    display.clear();
    bool inBraces = false;
    for (std::size_t i = 0; i < description.size();) {
        const std::size_t n = MbCharLen(description, i);
        const char c = description[i];
        if (n == 1 && !inBraces && c == '{')
            inBraces = true;
        else if (n == 1 && inBraces && c == '}')
            inBraces = false;
        else
            (inBraces ? attributes : display).append(description.data() + i, n);
        i += n;
    }

    struct CounterScope {
        cmcCellObj& cell;
        ~CounterScope() { cell.counters = nullptr; }
    } scope{cell};
    cell.counters = counters;
    // Models are parsed through ParseAttributes, never through here, so the buffers stay put.
    ParseAttributes(cell, attributes);
    ParseDisplayText(cell, display);
    return rest;
}

void ParseAttributes(cmcCellObj& cell, std::string_view text) {
    bool negate = false;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t n = MbCharLen(text, i);
        const bool clear = negate;
        negate = false;
        if (n == 2) {
            i += 2;
            continue;
        }
        switch (text[i]) {
            case '\\':  // the next character is ordinary
                ++i;
                if (i < text.size())
                    i += MbCharLen(text, i);
                continue;
            case '(': {
                const std::size_t close = FindUnescaped(text, ')', i + 1);
                if (close == std::string_view::npos)
                    return;  // an unclosed property is ignored
                ParseProperty(cell, text.substr(i + 1, close - i - 1));
                i = close + 1;
                continue;
            }
            case '!':
                negate = true;
                break;
            case '<':
                cell.SetHAlignment(cmcCellObj::kLeft);
                break;
            case '^':
                cell.SetHAlignment(cmcCellObj::kCenter);
                break;
            case '>':
                cell.SetHAlignment(cmcCellObj::kRight);
                break;
            case '~':
                cell.SetVAlignment(cmcCellObj::kTop);
                break;
            case '-':
                cell.SetVAlignment(cmcCellObj::kMiddle);
                break;
            case '_':
                cell.SetVAlignment(cmcCellObj::kBottom);
                break;
            case 'W':
                SetBit(cell.layout, cmcCellObj::kWiden, clear);
                break;
            case 'H':
                SetBit(cell.layout, cmcCellObj::kHeighten, clear);
                break;
            case '+':
                SetBit(cell.layout, cmcCellObj::kJoinLeft, clear);
                break;
            case 'B':
                SetBit(cell.layout, cmcCellObj::kBottomRule, clear);
                break;
            case 'S':
                SetBit(cell.state, cmcCellObj::kSelectable, clear);
                break;
            case 'T':
                SetBit(cell.state, cmcCellObj::kAttached, clear);
                break;
            default:  // blanks and stray characters
                break;
        }
        ++i;
    }
}

void ParseProperty(cmcCellObj& cell, std::string_view p) {
    if (StartsWith(p, "$")) {
        ApplyModel(cell, p.substr(1));
    } else if (StartsWith(p, "Color")) {
        const std::size_t eq = p.find('=');
        if (eq == std::string_view::npos)
            return;
        if (auto c = ColorByName(p.substr(eq + 1)))
            cell.color = *c;
    } else if (StartsWith(p, "Font")) {
        const std::size_t eq = p.find('=');
        if (eq == std::string_view::npos)
            return;
        if (!cell.font) {
            cell.font = cell.parent && cell.parent->font
                            ? std::make_unique<cmcCellFont>(*cell.parent->font)
                            : std::make_unique<cmcCellFont>();
        }
        ApplyFontFields(*cell.font, p.substr(eq + 1));
    } else if (StartsWith(p, "%")) {
        ParseReference(cell, p.substr(1));
    } else if (StartsWith(p, "@ch")) {
        ApplyCounter(cell, p);
    } else if (StartsWith(p, "ImageIndex")) {
        const std::size_t eq = p.find('=');
        if (eq != std::string_view::npos)
            cell.imageIndex = Decimal(p.substr(eq + 1));
    } else if (StartsWith(p, "PopupMenu")) {
        const std::size_t eq = p.find('=');
        if (eq != std::string_view::npos)
            cell.popupMenuKey = std::string(p.substr(eq + 1));
    } else if (StartsWith(p, "Flag")) {
        if (p.size() == 7 && p[4] >= '0' && p[4] <= '3' && p[5] == '=' &&
            (p[6] == '0' || p[6] == '1'))
            SetBit(cell.state, static_cast<std::uint8_t>(cmcCellObj::kChecked << (p[4] - '0')),
                   p[6] == '0');
    }
}

void ParseReference(cmcCellObj& cell, std::string_view r) {
    // The category separator is looked for only before the argument and the argument text, so
    // that a "." in either is no separator.
    const std::size_t stop = FindAnyOf(r, "[:");
    const std::string_view head = r.substr(0, stop);
    const std::size_t dot = FindUnescaped(head, '.');
    std::size_t labelStart = 0;
    if (dot != std::string_view::npos) {
        cell.category = CategoryByName(head.substr(0, dot));
        labelStart = dot + 1;
    }
    cell.label = LabelByName(head.substr(labelStart));
    if (stop == std::string_view::npos)
        return;

    std::size_t pos = stop;
    if (r[pos] == '[') {
        const std::size_t close = r.find(']', pos + 1);
        const std::string_view arg = r.substr(
            pos + 1, close == std::string_view::npos ? std::string_view::npos : close - pos - 1);
        if (StartsWith(arg, "@ch"))
            cell.argument = CounterValue(cell, CounterIndex(arg));
        else
            cell.argument = Decimal(arg);
        if (close == std::string_view::npos)
            return;
        pos = FindAnyOf(r, ":", close + 1);
        if (pos == std::string_view::npos)
            return;
    }
    // r[pos] is ":": the rest, with every backslash removed and the character after it kept.
    std::string text;
    for (std::size_t i = pos + 1; i < r.size();) {
        if (r[i] == '\\') {
            ++i;
            if (i >= r.size())
                break;
        }
        const std::size_t n = MbCharLen(r, i);
        text.append(r.data() + i, n);
        i += n;
    }
    cell.argText = std::move(text);
}

void ParseDisplayText(cmcCellObj& cell, std::string_view t) {
    while (!t.empty() && static_cast<unsigned char>(t.front()) <= 32)
        t.remove_prefix(1);
    while (!t.empty() && static_cast<unsigned char>(t.back()) <= 32)
        t.remove_suffix(1);
    if (t.empty())
        return;  // an inherited display text stays

    std::string out;
    out.reserve(t.size());
    for (std::size_t i = 0; i < t.size();) {
        const std::size_t n = MbCharLen(t, i);
        if (n == 2 || t[i] != '\\') {
            out.append(t.data() + i, n);
            i += n;
            continue;
        }
        if (i + 1 >= t.size())
            break;  // a lone backslash at the end shows nothing
        const char e = t[i + 1];
        if (e == 'N' || e == 'n') {
            out += '\n';
            i += 2;
        } else if (e == '_') {
            out += ' ';
            i += 2;
        } else if (e == '(' && t.find(')', i + 2) != std::string_view::npos) {
            const std::size_t close = t.find(')', i + 2);
            std::string ref;
            for (char c : t.substr(i + 2, close - i - 2)) {
                if (!IsBlankOrTab(c))
                    ref += c;
            }
            const int index = CounterIndex(ref);
            std::int64_t value = CounterValue(cell, index);
            if (ref.size() > 4 && ref[4] == '+')
                value += Decimal(std::string_view(ref).substr(5));
            out += std::to_string(value).substr(0, 6);
            i = close + 1;
        } else {
            // Any other escaped character stands for itself; an unclosed "\(" shows "(".
            const std::size_t m = MbCharLen(t, i + 1);
            out.append(t.data() + i + 1, m);
            i += 1 + m;
        }
    }
    cell.displayText = std::move(out);
}
