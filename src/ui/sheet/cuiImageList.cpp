#include "ui/sheet/cuiImageList.h"

#include <QIconEngine>
#include <QPainter>
#include <QPixmap>
#include <QPixmapCache>
#include <QSvgRenderer>

namespace {

// Renders its layers at the size asked for; pixmaps are cached by layers, size and mode, so a
// tree of many nodes renders each picture once.
class LayeredIconEngine : public QIconEngine {
public:
    explicit LayeredIconEngine(QStringList layers) : layers_(std::move(layers)) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
               QIcon::State state) override {
        const qreal dpr = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
        QPixmap pm = Render(rect.size(), dpr, mode, state);
        painter->drawPixmap(rect, pm);
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return Render(size, 1.0, mode, state);
    }

    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state,
                         qreal scale) override {
        return Render(size, scale, mode, state);
    }

    QIconEngine* clone() const override { return new LayeredIconEngine(layers_); }
    QString key() const override { return QStringLiteral("pqLayeredSvg"); }
    bool isNull() override { return layers_.isEmpty(); }

    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        (void)mode;
        (void)state;
        const int side = qMin(size.width(), size.height());
        return QSize(side, side);
    }

private:
    QPixmap Render(const QSize& size, qreal dpr, QIcon::Mode mode, QIcon::State state) {
        (void)state;
        const int side = qMin(size.width(), size.height());
        if (side <= 0)
            return QPixmap();
        const QSize device(qRound(side * dpr), qRound(side * dpr));
        const QString cacheKey = QStringLiteral("pqicon:%1:%2:%3")
                                     .arg(layers_.join(QLatin1Char('+')))
                                     .arg(device.width())
                                     .arg(int(mode));
        QPixmap pm;
        if (QPixmapCache::find(cacheKey, &pm))
            return pm;
        QImage image(device, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        {
            QPainter p(&image);
            p.setRenderHint(QPainter::Antialiasing);
            for (const QString& layer : layers_) {
                QSvgRenderer renderer(layer);
                if (renderer.isValid())
                    renderer.render(&p, QRectF(QPointF(0, 0), QSizeF(device)));
            }
        }
        if (mode == QIcon::Disabled)
            image = Greyed(image);
        pm = QPixmap::fromImage(image);
        pm.setDevicePixelRatio(dpr);
        QPixmapCache::insert(cacheKey, pm);
        return pm;
    }

    // A disabled command: its picture in grey, faded, so that it reads as unavailable.
    static QImage Greyed(const QImage& in) {
        QImage out = in.convertToFormat(QImage::Format_ARGB32);
        for (int y = 0; y < out.height(); ++y) {
            QRgb* line = reinterpret_cast<QRgb*>(out.scanLine(y));
            for (int x = 0; x < out.width(); ++x) {
                const QRgb c = line[x];
                const int a = qAlpha(c);
                if (a == 0)
                    continue;
                // Un-premultiplied grey, lightened towards white, at 45 % opacity.
                const int g = qGray(c);
                const int light = 110 + g * 145 / 255;
                line[x] = qRgba(light, light, light, a * 45 / 100);
            }
        }
        return out;
    }

    QStringList layers_;
};

QString IconPath(const char* name) {
    return QStringLiteral(":/icons/") + QLatin1String(name) + QStringLiteral(".svg");
}

}  // namespace

QIcon cuiLayeredIcon(const QStringList& layers) {
    return QIcon(new LayeredIconEngine(layers));
}

cuiImageList cuiImageList::TreeImages() {
    return cuiImageList({IconPath("tree-radio"), IconPath("tree-folder"),
                         IconPath("tree-note-list"), IconPath("tree-note-settings"),
                         IconPath("mark-notice"), IconPath("mark-error")});
}

cuiImageList cuiImageList::ToolBarImages() {
    return cuiImageList({IconPath("file-new"), IconPath("file-open"), IconPath("file-save"),
                         IconPath("port-com1"), IconPath("port-com2"), IconPath("port-com3"),
                         IconPath("port-com4"), IconPath("clone-read"), IconPath("clone-write"),
                         IconPath("clone-info"), IconPath("tool-pen"), IconPath("tool-fill"),
                         IconPath("tool-slider")});
}

QString cuiImageList::AppIconPath() {
    return IconPath("pqt590");
}

QIcon cuiImageList::AppIcon() {
    return cuiLayeredIcon({AppIconPath()});
}

QIcon cuiImageList::Icon(int index) const {
    if (!Has(index))
        return QIcon();
    return cuiLayeredIcon({Path(index)});
}

QIcon cuiImageList::Composite(int index, int overlayIndex) const {
    if (!Has(index))
        return QIcon();
    if (!Has(overlayIndex))
        return Icon(index);
    return cuiLayeredIcon({Path(index), Path(overlayIndex)});
}
