#pragma once

#include <QKeySequence>
#include <QList>
#include <string>

// The resource file names shortcuts as the original platform's text-to-shortcut conversion reads
// them: modifiers "Shift+", "Ctrl+", "Alt+" (any case, any order) before one key name: a single
// character, "F1".."F12", or one of BkSp, Tab, Esc, Enter, Space, PgUp, PgDn, End, Home, Left,
// Up, Right, Down, Ins, Del. An unknown name gives no shortcut.
//
// The key sequences of a shortcut text: empty for none. "Enter" gives the Enter key first (so that
// a menu shows "Enter", as the resource file says), then the main Return key and the keypad's
// Enter, so that either key works.
QList<QKeySequence> cuiShortcutsFromText(const std::string& text);
// The first of them, or an empty sequence.
QKeySequence cuiShortcutFromText(const std::string& text);
