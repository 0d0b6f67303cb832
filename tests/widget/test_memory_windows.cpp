// The memory dump window (its sheet, buttons, events 23 and 24, F3 and the bit editor on a byte)
// and the free debug window collecting event 22 texts.
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>

#include "DialogTestSupport.h"
#include "memory/cmcEeprom.h"
#include "ui/windows/cuiDebugWin.h"
#include "ui/windows/cuiEeDebugWin.h"

namespace {

// Counts the paint events a widget receives.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget* w) { w->installEventFilter(this); }
    int count = 0;

protected:
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint)
            ++count;
        return false;
    }
};

class MemoryWindow : public DialogTest {
protected:
    MemoryWindow() {
        host_->SetWorkArea(HostRect{0, 0, 1280, 1024});
        main_->ReferenceImage().CopyFrom(main_->WorkingImage());
        Show();
        memory_ = new cuiEeDebugWin(core_, window_.get(), dict_.Text("GI_Sys_AppTitle"), dict_,
                                    cuiEeDebugWin::kBaseName, &images_);
        QApplication::processEvents();
        events.clear();
    }
    ~MemoryWindow() override { delete memory_.data(); }

    std::pair<int, int> MemoryCursor() {
        return {memory_->Sheet()->CursorCol(), memory_->Sheet()->CursorRow()};
    }
    QWidget* MemoryViewport() { return memory_->Sheet()->Grid()->viewport(); }

    QPointer<cuiEeDebugWin> memory_;
};

TEST_F(MemoryWindow, ShowsSixteenBytesARowWithAVerticalBarOnly) {
    ASSERT_FALSE(memory_.isNull());
    EXPECT_TRUE(memory_->isVisible());
    EXPECT_EQ(memory_->windowTitle().toStdString(), dict_.Text("GI_Sys_AppTitle"));
    EXPECT_TRUE(window_->isEnabled());  // modeless
    cuiSheet& s = *memory_->Sheet();
    EXPECT_EQ(s.CellAt(3, 3).label, CL_EeDebugWin_0);
    EXPECT_EQ(s.CellAt(33, 3).label, CL_EeDebugWin_F);
    cuiGrid& grid = *s.Grid();
    EXPECT_TRUE(grid.verticalScrollBar()->isVisible());
    EXPECT_FALSE(grid.horizontalScrollBar()->isVisible());
    // Every column in view; the panel no higher than half the work area.
    EXPECT_GE(grid.viewport()->width(), grid.ContentWidth());
    EXPECT_LE(memory_->Panel()->height(), 512 + 20);
    EXPECT_LT(grid.viewport()->height(), grid.ContentHeight());
    // OK at the right, then Set Comp and Redraw, 5 pixels apart and from the edges, one size.
    const QRect ok = memory_->OkButton()->geometry();
    const QRect comp = memory_->SetCompButton()->geometry();
    const QRect redraw = memory_->RedrawButton()->geometry();
    EXPECT_EQ(memory_->width() - (ok.right() + 1), 5);
    EXPECT_EQ(memory_->height() - (ok.bottom() + 1), 5);
    EXPECT_EQ(ok.left() - (comp.right() + 1), 5);
    EXPECT_EQ(comp.left() - (redraw.right() + 1), 5);
    EXPECT_EQ(comp.size(), ok.size());
    EXPECT_EQ(redraw.size(), ok.size());
    for (QPushButton* b : {memory_->OkButton(), memory_->SetCompButton(), memory_->RedrawButton()})
        EXPECT_FALSE(b->isDefault() || b->autoDefault());
    Keep(*memory_, "memory_window");
}

struct CursorCase {
    const char* name;
    int address;
    int col, row;  // -1: the cursor stays
};

class MemoryCursorMoves : public MemoryWindow, public ::testing::WithParamInterface<CursorCase> {};

TEST_P(MemoryCursorMoves, ToTheByteEventTwentyFourNames) {
    const CursorCase& c = GetParam();
    const auto before = MemoryCursor();
    events_.PostEvent(cmcEvKind::MemoryDebugCursor, 0, c.address);
    Deliver();
    const std::pair<int, int> expected = c.col < 0 ? before : std::make_pair(c.col, c.row);
    EXPECT_EQ(MemoryCursor(), expected);
}

INSTANTIATE_TEST_SUITE_P(Addresses, MemoryCursorMoves,
                         ::testing::Values(CursorCase{"Example", 0x123, 9, 21},
                                           CursorCase{"First", 0x000, 3, 3},
                                           CursorCase{"EndOfARow", 0x01F, 33, 4},
                                           CursorCase{"LastOfTheImage", 0x3FFF, 33, 1026},
                                           CursorCase{"BeyondTheImage", 0x4000, -1, -1},
                                           CursorCase{"Negative", -1, -1, -1}),
                         [](const ::testing::TestParamInfo<CursorCase>& info) {
                             return info.param.name;
                         });

TEST_F(MemoryWindow, FThreeFindsTheNextDifferenceFromTheReference) {
    image_[0x123] ^= 0xFF;
    QTest::keyClick(MemoryViewport(), Qt::Key_F3);
    Deliver();
    EXPECT_EQ(MemoryCursor(), (std::pair<int, int>{9, 21}));
    QTest::keyClick(MemoryViewport(), Qt::Key_F3);  // none after it
    Deliver();
    EXPECT_EQ(MemoryCursor(), (std::pair<int, int>{9, 21}));
}

TEST_F(MemoryWindow, SetCompSendsEightThenPostsTwentyThreeWhichRepaints) {
    PaintCounter paints(MemoryViewport());
    QTest::mouseClick(memory_->SetCompButton(), Qt::LeftButton);
    ASSERT_EQ(EventsOf(cmcEvKind::SetCompareReference).size(), 1u);
    EXPECT_TRUE(EventsOf(cmcEvKind::MemoryDebugRefresh).empty());  // posted, not yet delivered
    QApplication::processEvents();
    paints.count = 0;
    Deliver();
    EXPECT_EQ(EventsOf(cmcEvKind::MemoryDebugRefresh).size(), 1u);
    EXPECT_GT(paints.count, 0);
    EXPECT_TRUE(EventsOf(cmcEvKind::RedrawRequest).empty());
    QTest::mouseClick(memory_->RedrawButton(), Qt::LeftButton);
    EXPECT_EQ(EventsOf(cmcEvKind::RedrawRequest).size(), 1u);
}

TEST_F(MemoryWindow, OkAndEscapeClose) {
    QTest::mouseClick(memory_->OkButton(), Qt::LeftButton);
    Settle();
    EXPECT_TRUE(memory_.isNull());
    memory_ =
        new cuiEeDebugWin(core_, window_.get(), "T", dict_, cuiEeDebugWin::kBaseName, &images_);
    QTest::keyClick(MemoryViewport(), Qt::Key_Escape);
    Settle();
    EXPECT_TRUE(memory_.isNull());
}

TEST_F(MemoryWindow, EnterOnAByteEditsItsBitsAndTheDumpShowsTheNewValue) {
    image_[0x123] = 0x5A;
    memory_->Sheet()->MoveTo(9, 21);
    QTest::keyClick(MemoryViewport(), Qt::Key_Return);
    QApplication::processEvents();
    cuiFBitsR* editor = BitEditor();
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->Sheet()->BaseName(), cmcCellCapsule::kBitEditorSheet);
    QTest::keyClick(editor->Sheet()->Grid()->viewport(), Qt::Key_Space);
    QTest::mouseClick(editor->OkButton(), Qt::LeftButton);
    Settle();
    EXPECT_EQ(BitEditor(), nullptr);
    EXPECT_EQ(image_[0x123], 0xDA);
    Deliver();
    cmcCellCapsule k;
    memory_->Sheet()->FillCapsule(9, 21, k);
    indActiveCell(core_).Evaluate(k, false);
    EXPECT_EQ(k.outputText, "DA");
}

// ---- The free debug window.

class DebugWindow : public DialogTest {
protected:
    DebugWindow() {
        host_->SetWorkArea(HostRect{0, 0, 1280, 1024});
        window_->setGeometry(100, 80, 900, 600);
        Show();
    }
};

TEST_F(DebugWindow, OpensCentredAtFourFifthsOfTheMainWindowsHeight) {
    QPointer<cuiDebugWin> debug = new cuiDebugWin(window_.get());
    EXPECT_TRUE(debug->isVisible());
    EXPECT_EQ(debug->windowTitle(), QStringLiteral("Free Debug Window"));
    EXPECT_EQ(debug->height(), 480);
    const QPoint d = debug->frameGeometry().center() - window_->frameGeometry().center();
    EXPECT_LE(std::abs(d.x()), 2);
    EXPECT_LE(std::abs(d.y()), 2);
    EXPECT_EQ(debug->TextArea()->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_EQ(debug->TextArea()->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    debug->close();
    Settle();
    EXPECT_TRUE(debug.isNull());
    // A low main window still gives a usable one.
    window_->resize(900, 60);
    debug = new cuiDebugWin(window_.get());
    EXPECT_EQ(debug->height(), cuiDebugWin::kMinHeight);
    delete debug.data();
}

TEST_F(DebugWindow, CollectsTraceTextsButDropsThoseSentWhileItsTextAreaHasTheFocus) {
    auto* debug = new cuiDebugWin(window_.get());
    events_.SendEventText(cmcEvKind::DebugText, 0, 0, "first");
    events_.PostEventText(cmcEvKind::DebugText, 0, 0, "second");
    Deliver();
    EXPECT_EQ(debug->TextArea()->toPlainText(), QStringLiteral("first\nsecond"));
    QApplication::setActiveWindow(debug);
    debug->TextArea()->setFocus(Qt::OtherFocusReason);
    ASSERT_TRUE(debug->TextArea()->hasFocus());
    events_.SendEventText(cmcEvKind::DebugText, 0, 0, "dropped");
    EXPECT_EQ(debug->TextArea()->toPlainText(), QStringLiteral("first\nsecond"));
    Show();  // the focus goes back to the main window
    ASSERT_FALSE(debug->TextArea()->hasFocus());
    events_.SendEventText(cmcEvKind::DebugText, 0, 0, "third");
    EXPECT_EQ(debug->TextArea()->toPlainText(), QStringLiteral("first\nsecond\nthird"));
    // Other events are not its business.
    events_.SendEventText(cmcEvKind::StatusMessage, 0, 0, "status");
    EXPECT_EQ(debug->TextArea()->toPlainText(), QStringLiteral("first\nsecond\nthird"));
    Keep(*debug, "free_debug_window");
    delete debug;
}

}  // namespace
