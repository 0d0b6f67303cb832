#pragma once

#include <QString>
#include <QStringList>
#include <string>
#include <string_view>

#include "events/cmcEvMan.h"
#include "events/cmcEvent.h"
#include "text/cmcGTex.h"

// A resource text (the dictionary's code page) for a widget.
inline QString cuiLocalText(const std::string& text) {
    return QString::fromLocal8Bit(text.data(), qsizetype(text.size()));
}

// Line n of a section of the program's dictionary (cmcGTex::Main), for a widget: for the windows
// that are given no dictionary of their own.
inline QString cuiMainText(std::string_view key, int n = 0) {
    return cuiLocalText(cmcGTex::Main()->Line(key, n));
}

// A resource text with each "%s" in turn replaced by the next of texts, as FillPlaceholders
// does, for texts that are already a widget's own (a UTF-8 file name, a number as the locale
// writes it); placeholders beyond the texts are left as they stand.
inline QString cuiFillText(const std::string& format, const QStringList& texts) {
    QString out;
    std::size_t from = 0;
    for (const QString& text : texts) {
        const std::size_t at = format.find("%s", from);
        if (at == std::string::npos)
            break;
        out += cuiLocalText(format.substr(from, at - from)) + text;
        from = at + 2;
    }
    return out + cuiLocalText(format.substr(from));
}

// A text in the status bar's message panel, in the normal or the warning colours.
inline void cuiShowStatus(const std::string& text, bool alert) {
    if (cmcEvMan* events = cmcEvMan::Global())
        events->SendEventText(cmcEvKind::StatusMessage,
                              alert ? kStatusTextAlert : kStatusTextNormal,
                              int32_t(alert ? kStatusBackAlert : kStatusBackNormal), text.c_str());
}
