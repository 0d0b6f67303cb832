#include "ui/cuiImageList.h"

#include <QPainter>

#include "ui/cuiCellPainter.h"

void cuiImageList::Set(int index, const QIcon& icon) {
    if (index < 0)
        return;
    if (index >= Count())
        icons_.resize(size_t(index) + 1);
    icons_[size_t(index)] = icon;
}

bool cuiImageList::Has(int index) const {
    return index >= 0 && index < Count() && !icons_[size_t(index)].isNull();
}

QPixmap cuiImageList::Pixmap(int index, qreal devicePixelRatio) const {
    if (!Has(index))
        return QPixmap();
    return icons_[size_t(index)].pixmap(QSize(size_, size_), devicePixelRatio);
}

namespace {

// One mark drawn at a pixel size large enough to stay crisp when scaled down.
QIcon DrawnMark(bool error, int size) {
    QIcon icon;
    for (int s : {size, 2 * size}) {
        QPixmap pixmap(s, s);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        if (error)
            cuiMarkShapes::DrawError(painter, 0, 0, s, QColor(0xD0, 0x10, 0x10),
                                     QColor(0x70, 0x00, 0x00));
        else
            cuiMarkShapes::DrawNotice(painter, 0, 0, s, QColor(0xFF, 0xD0, 0x20),
                                      QColor(0x20, 0x20, 0x20));
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

}  // namespace

cuiImageList cuiImageList::WithDrawnMarks(int size) {
    cuiImageList list(size);
    list.Set(kNoticeMark, DrawnMark(false, size));
    list.Set(kErrorMark, DrawnMark(true, size));
    return list;
}
