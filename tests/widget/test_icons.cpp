// The image lists: every picture is there in its fixed place, drawn at whatever size a view asks.
#include <gtest/gtest.h>

#include <QIcon>
#include <QImage>

#include "ui/sheet/cuiImageList.h"

namespace {

// Pixels a picture covers (alpha above half), those of them that stand out from a light
// background, and those in colour.
struct Coverage {
    int opaque = 0;
    int dark = 0;
    int coloured = 0;
};

Coverage CoverageOf(const QIcon& icon, int size, QIcon::Mode mode = QIcon::Normal) {
    const QImage image = icon.pixmap(size, size, mode).toImage();
    Coverage c;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor p = image.pixelColor(x, y);
            if (p.alpha() < 128)
                continue;
            ++c.opaque;
            if (qGray(p.rgb()) < 200)
                ++c.dark;
            if (std::abs(p.red() - p.green()) > 40 || std::abs(p.green() - p.blue()) > 40)
                ++c.coloured;
        }
    }
    return c;
}

TEST(ImageLists, HoldThePicturesInTheirFixedOrder) {
    const cuiImageList tree = cuiImageList::TreeImages();
    ASSERT_EQ(tree.Count(), 6);
    EXPECT_TRUE(tree.Path(cuiImageList::kTreeRadio).endsWith(QStringLiteral("tree-radio.svg")));
    EXPECT_TRUE(tree.Path(cuiImageList::kTreeFolder).endsWith(QStringLiteral("tree-folder.svg")));
    EXPECT_TRUE(tree.Path(cuiImageList::kTreeMarkNotice).endsWith(QStringLiteral("notice.svg")));
    EXPECT_TRUE(tree.Path(cuiImageList::kTreeMarkError).endsWith(QStringLiteral("error.svg")));
    const cuiImageList bar = cuiImageList::ToolBarImages();
    ASSERT_EQ(bar.Count(), 13);
    EXPECT_TRUE(bar.Path(cuiImageList::kToolFileSave).endsWith(QStringLiteral("file-save.svg")));
    for (int n = 0; n < 4; ++n)
        EXPECT_TRUE(bar.Path(cuiImageList::kToolCom1 + n)
                        .endsWith(QStringLiteral("port-com%1.svg").arg(n + 1)));
    EXPECT_TRUE(bar.Path(cuiImageList::kToolSlider).endsWith(QStringLiteral("tool-slider.svg")));
    EXPECT_TRUE(bar.Icon(-1).isNull());
    EXPECT_TRUE(bar.Icon(13).isNull());
    EXPECT_TRUE(bar.Path(13).isEmpty());
}

class EveryPicture : public ::testing::TestWithParam<int> {};

TEST_P(EveryPicture, IsDrawnAtEverySize) {
    const cuiImageList tree = cuiImageList::TreeImages();
    const cuiImageList bar = cuiImageList::ToolBarImages();
    for (const cuiImageList* list : {&tree, &bar}) {
        for (int i = 0; i < list->Count(); ++i) {
            SCOPED_TRACE(list->Path(i).toStdString());
            const QIcon icon = list->Icon(i);
            const QPixmap pm = icon.pixmap(GetParam(), GetParam());
            ASSERT_EQ(pm.size(), QSize(GetParam(), GetParam()));
            const Coverage c = CoverageOf(icon, GetParam());
            const int area = GetParam() * GetParam();
            // The marks cover a corner only; every other picture a fair part of its square.
            EXPECT_GT(c.opaque, area / (i >= 4 && list == &tree ? 16 : 8));
            EXPECT_GT(c.dark, c.opaque / 6);
        }
    }
    EXPECT_GT(CoverageOf(cuiImageList::AppIcon(), GetParam()).opaque, GetParam() * GetParam() / 2);
}

INSTANTIATE_TEST_SUITE_P(Sizes, EveryPicture, ::testing::Values(16, 24, 48, 96));

TEST(ImageLists, ACommandOutOfReachIsDrawnGrey) {
    const QIcon save = cuiImageList::ToolBarImages().Icon(cuiImageList::kToolFileSave);
    const Coverage normal = CoverageOf(save, 24);
    const QImage disabled = save.pixmap(24, 24, QIcon::Disabled).toImage();
    int coloured = 0;
    int drawn = 0;
    for (int y = 0; y < 24; ++y) {
        for (int x = 0; x < 24; ++x) {
            const QColor p = disabled.pixelColor(x, y);
            if (p.alpha() == 0)
                continue;
            ++drawn;
            if (p.red() != p.green() || p.green() != p.blue())
                ++coloured;
        }
    }
    EXPECT_GT(normal.coloured, 0);
    EXPECT_GT(drawn, 0);
    EXPECT_EQ(coloured, 0);
}

TEST(ImageLists, ACompositeIsTheMarkOverThePicture) {
    const cuiImageList tree = cuiImageList::TreeImages();
    const QImage plain = tree.Icon(cuiImageList::kTreeFolder).pixmap(32, 32).toImage();
    const QImage marked = tree.Composite(cuiImageList::kTreeFolder, cuiImageList::kTreeMarkError)
                              .pixmap(32, 32)
                              .toImage();
    // Top left: the folder alone; bottom right: the red disc.
    EXPECT_EQ(marked.pixelColor(4, 10), plain.pixelColor(4, 10));
    EXPECT_NE(marked.pixelColor(22, 28), plain.pixelColor(22, 28));
    EXPECT_GT(marked.pixelColor(22, 28).red(), 180);
    // Without a valid mark, the picture alone.
    EXPECT_EQ(tree.Composite(cuiImageList::kTreeFolder, 17).pixmap(32, 32).toImage(), plain);
}

}  // namespace
