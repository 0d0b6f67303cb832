#pragma once

#include <QString>
#include <string>

#include "events/cmcEvMan.h"
#include "events/cmcEvent.h"

// A resource text (the dictionary's code page) for a widget.
inline QString cuiLocalText(const std::string& text) {
    return QString::fromLocal8Bit(text.data(), qsizetype(text.size()));
}

// A text in the status bar's message panel, in the normal or the warning colours.
inline void cuiShowStatus(const std::string& text, bool alert) {
    if (cmcEvMan* events = cmcEvMan::Global())
        events->SendEventText(cmcEvKind::StatusMessage,
                              alert ? kStatusTextAlert : kStatusTextNormal,
                              int32_t(alert ? kStatusBackAlert : kStatusBackNormal), text.c_str());
}
