// The compare window: one line per differing cell, the bytes no sheet shows below, and a line
// activated by mouse or keyboard handed to the program with its sheet and cell.
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>
#include <cstring>

#include "GuiFixture.h"
#include "app/cuiCompareWindow.h"
#include "cells/cmcCellNames.h"
#include "memory/datCh.h"
#include "ui/table/cuiImageCompare.h"

namespace {

class CompareWindow : public GuiFixture {
protected:
    CompareWindow() { other_.CopyFrom(main_->WorkingImage()); }

    cuiImageComparison Compare() {
        return cuiCompareImages(main_.Core(), main_->WorkingImage(), other_);
    }
    // A double click as the window system delivers it (QTest's own does not reach an item view
    // on the offscreen platform): press, release, double click.
    static void DoubleClick(QWidget* viewport, const QPoint& pos) {
        const QPointF p(pos), g = viewport->mapToGlobal(QPointF(pos));
        for (QEvent::Type type :
             {QEvent::MouseButtonPress, QEvent::MouseButtonRelease, QEvent::MouseButtonDblClick}) {
            QMouseEvent e(type, p, g, Qt::LeftButton,
                          type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                          Qt::NoModifier);
            QApplication::sendEvent(viewport, &e);
        }
    }
    static void Opened(void* self, const cuiImageDifference& d) {
        static_cast<CompareWindow*>(self)->opened_.push_back(d);
    }

    cmcEeprom other_;
    std::vector<cuiImageDifference> opened_;
};

TEST_F(CompareWindow, ListsEveryCellAndOpensTheActivatedOne) {
    datCh ch(other_);
    ch.Load(datCh::kUserCh, 1);
    ch.rxFreq = 7000000;
    ch.txFreq = 7000000;
    ch.Save();
    other_.SetByte(MemoryMap::kRfGain, 3);
    other_.SetByte(MemoryMap::kTemplateBlock2A65,
                   uint8_t(other_.GetByte(MemoryMap::kTemplateBlock2A65) + 1));
    cuiCompareWindow window(nullptr, Compare(), "Working image", "ship.t590");
    window.SetOpenCellCallback(&CompareWindow::Opened, this);
    window.show();
    QApplication::setActiveWindow(&window);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

    QTreeWidget* list = window.List();
    ASSERT_EQ(list->topLevelItemCount(), 2);
    EXPECT_EQ(list->headerItem()->text(3), "Working image");
    EXPECT_EQ(list->headerItem()->text(4), "ship.t590");
    const QTreeWidgetItem* first = list->topLevelItem(0);
    EXPECT_EQ(first->text(0), "User channels");
    EXPECT_EQ(first->text(1), "1");
    EXPECT_EQ(first->text(2), "Receive kHz");
    EXPECT_EQ(first->text(3), "2182.0");
    EXPECT_EQ(first->text(4), "7000.0");
    EXPECT_EQ(list->topLevelItem(1)->text(0), "Common settings");
    EXPECT_TRUE(window.UnshownBytes()->isVisible());
    EXPECT_EQ(window.UnshownBytes()->text(), "Bytes no sheet shows differ at 0x2A65.");
    EXPECT_TRUE(window.Summary()->text().startsWith("2 cells differ in 2 sheets"));
    Keep(window, "compare_window");

    // A double click on the second line, then Enter on the first.
    const QRect second = list->visualItemRect(list->topLevelItem(1));
    DoubleClick(list->viewport(), second.center());
    ASSERT_EQ(opened_.size(), 1u);
    EXPECT_EQ(opened_[0].reference, "[St_Common]GI_Sheet_Common");
    EXPECT_EQ(opened_[0].rowCaption, "RF gain");
    list->setFocus();
    list->setCurrentItem(list->topLevelItem(0));
    QTest::keyClick(list, Qt::Key_Return);
    ASSERT_EQ(opened_.size(), 2u);
    EXPECT_EQ(opened_[1].reference, "GI_Sheet_UserCh");
    EXPECT_EQ(opened_[1].label, CL_UCh_FreqR);
    EXPECT_EQ(opened_[1].argument, 1);
    EXPECT_TRUE(window.isVisible());  // Enter opened the cell, not the Close button
}

// Long texts widen the window to its columns, as far as the screen allows.
TEST_F(CompareWindow, TheWindowFitsItsColumnsWhereTheScreenAllows) {
    uint8_t comment[MemoryMap::kCommentLength];
    std::memset(comment, 'W', sizeof comment);
    other_.WriteBlock(MemoryMap::kComment, comment, MemoryMap::kCommentLength);
    cuiCompareWindow narrow(nullptr, Compare(), "Working image", "ship.t590");
    int columns = 0;
    for (int c = 0; c < narrow.List()->columnCount(); ++c)
        columns += narrow.List()->columnWidth(c);
    const int screen = host_->WorkArea().width;
    EXPECT_GE(narrow.width(), std::min(columns, screen));
    EXPECT_LE(narrow.width(), std::max(screen, cuiCompareWindow::kMinimumWidth));

    const std::string longName(200, 'N');
    cuiCompareWindow wide(nullptr, Compare(), "Working image", longName + ".t590");
    EXPECT_GT(wide.width(), cuiCompareWindow::kMinimumWidth);
    EXPECT_LE(wide.width(), std::max(screen, cuiCompareWindow::kMinimumWidth));

    // A work area narrower than the window's least width: the window stays on it.
    host_->SetWorkArea(HostRect{0, 0, 640, 480});
    cuiCompareWindow small(nullptr, Compare(), "Working image", longName + ".t590");
    EXPECT_EQ(small.width(), 640);
}

TEST_F(CompareWindow, EqualImagesSayTheyAreEqual) {
    cuiCompareWindow window(nullptr, Compare(), "Working image", "same.t590");
    window.show();
    EXPECT_EQ(window.List()->topLevelItemCount(), 0);
    EXPECT_FALSE(window.UnshownBytes()->isVisible());
    EXPECT_EQ(window.Summary()->text(), "Working image and same.t590 hold the same image.");
    QTest::mouseClick(window.CloseButton(), Qt::LeftButton);
    EXPECT_FALSE(window.isVisible());
}

}  // namespace
