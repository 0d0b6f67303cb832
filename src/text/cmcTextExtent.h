#pragma once

#include <string_view>

#include <QFontMetrics>
#include <QSize>

// Width of the widest line and the sum of the line heights of a text split at line feeds, as
// drawn with the given metrics (a painter's, a widget's or a printer's). The text is bytes in the
// resource file's code page. An empty text measures 0 by 0.
QSize TextExtent(const QFontMetrics& metrics, std::string_view text);
