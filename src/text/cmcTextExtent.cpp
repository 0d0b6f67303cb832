#include "text/cmcTextExtent.h"

#include <QString>
#include <algorithm>

QSize TextExtent(const QFontMetrics& metrics, std::string_view text) {
    int width = 0;
    int height = 0;
    if (text.empty())
        return QSize(0, 0);  // no line at all, so nothing to make room for
    std::size_t start = 0;
    for (;;) {
        const std::size_t lf = text.find('\n', start);
        const std::string_view line =
            text.substr(start, lf == std::string_view::npos ? std::string_view::npos : lf - start);
        const QString s = QString::fromLocal8Bit(line.data(), static_cast<qsizetype>(line.size()));
        width = std::max(width, metrics.horizontalAdvance(s));
        height += metrics.height();
        if (lf == std::string_view::npos)
            break;
        start = lf + 1;
    }
    return QSize(width, height);
}
