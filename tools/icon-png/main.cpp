// t590-icon-png: one SVG drawing as square PNG pictures.
//
//   t590-icon-png SVG SIZE OUTPUT.png [SIZE OUTPUT.png]...
//
// Each picture is the whole drawing scaled to SIZE by SIZE pixels on a transparent background.
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QString>
#include <QSvgRenderer>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (argc < 4 || argc % 2 != 0) {
        std::fprintf(stderr, "usage: t590-icon-png SVG SIZE OUTPUT.png [SIZE OUTPUT.png]...\n");
        return 1;
    }
    // Drawing needs no screen: the build machine may have none.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QSvgRenderer svg(QString::fromLocal8Bit(argv[1]));
    if (!svg.isValid()) {
        std::fprintf(stderr, "t590-icon-png: %s is not an SVG drawing\n", argv[1]);
        return 1;
    }
    for (int i = 2; i + 1 < argc; i += 2) {
        char* end = nullptr;
        const long size = std::strtol(argv[i], &end, 10);
        if (*end != '\0' || size < 1 || size > 4096) {
            std::fprintf(stderr, "t590-icon-png: '%s' is not a size in pixels\n", argv[i]);
            return 1;
        }
        const int n = static_cast<int>(size);
        QImage image(n, n, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        {
            QPainter painter(&image);
            painter.setRenderHint(QPainter::Antialiasing);
            svg.render(&painter, QRectF(0, 0, n, n));
        }
        if (!image.save(QString::fromLocal8Bit(argv[i + 1]), "PNG")) {
            std::fprintf(stderr, "t590-icon-png: cannot write %s\n", argv[i + 1]);
            return 1;
        }
    }
    return 0;
}
