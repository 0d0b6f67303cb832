// The GUI controller's first window: at a first start (no bounds stored) the main window takes
// the size at which the tree's captions and the widest sheet show whole, where the work area
// has room for it, and the tree panel the width of its widest caption.
#include <QLayout>
#include <QScrollBar>
#include <QSplitter>
#include <QTreeWidget>
#include <algorithm>
#include <vector>

#include "app/TForm1.h"
#include "app/cuiMain.h"
#include "memory/cmcEnviron.h"
#include "platform/cmcHost.h"
#include "ui/chrome/cuiTree.h"
#include "ui/sheet/cuiGrid.h"
#include "ui/sheet/cuiSheet.h"
#include "ui/table/cuiSheetTable.h"
#include "ui/windows/cuiPlacement.h"

namespace {

// What a panel's frame and layout take around what it holds, across and down.
QSize PanelChrome(const QWidget* panel) {
    QMargins m = panel->contentsMargins();
    if (panel->layout() != nullptr)
        m += panel->layout()->contentsMargins();
    return QSize(m.left() + m.right(), m.top() + m.bottom());
}

// A sheet's size as it is built offscreen, and the width of its grid's vertical scroll bar.
struct SheetSize {
    int width = 0;
    int height = 0;
    int bar = 0;
};

}  // namespace

void cuiMain::FitFirstWindow(TForm1& form) {
    if (!splitter_ || !leftPanel_ || !rightPanel_ || !tree_ || !tree_->View())
        return;
    // What the window takes around the splitter (menu, tool bar, status bar, frame), as its
    // layout places them at the size it has now.
    if (form.layout() != nullptr)
        form.layout()->activate();
    const QSize around = form.size() - splitter_->size();
    const int handle = splitter_->handleWidth();

    const QSize treeChrome = PanelChrome(leftPanel_);
    const QSize tree = tree_->FullSize() + treeChrome;
    const QSize sheetChrome = PanelChrome(rightPanel_);
    std::vector<SheetSize> sheets;
    int tallest = 0;
    for (const cuiTreeSheet& s : cuiTreeSheets(Dictionary())) {
        cuiSheetTable table(Core(), s.reference);
        cuiSheet& sheet = table.Sheet();
        const SheetSize size{sheet.FullWidth() + sheetChrome.width(),
                             sheet.FullHeight() + sheetChrome.height(),
                             sheet.Grid()->verticalScrollBar()->sizeHint().width()};
        tallest = std::max(tallest, size.height);
        sheets.push_back(size);
    }

    // The settings hold the defaults' bounds at a first start.
    const HostRect defaults{environ_.windowLeft, environ_.windowTop, environ_.windowWidth,
                            environ_.windowHeight};
    const HostRect area = cmcHost::Instance().WorkArea();
    // The height first: the sheets taller than what it leaves them scroll, and their scroll
    // bar then takes a part of the width.
    const int wantedHeight = around.height() + std::max(tallest, tree.height());
    const HostRect high = FirstWindowBounds(0, wantedHeight, defaults, area);
    const int shown = high.height - around.height();
    int widest = 0;
    for (const SheetSize& s : sheets)
        widest = std::max(widest, s.width + (s.height > shown ? s.bar : 0));
    const int treeBar =
        tree.height() > shown ? tree_->View()->verticalScrollBar()->sizeHint().width() : 0;
    const int treeWidth = std::max(tree.width() + treeBar, int(kMinPanelWidth));
    const HostRect at = FirstWindowBounds(around.width() + treeWidth + handle + widest,
                                          wantedHeight, defaults, area);
    form.move(at.left, at.top);
    form.resize(at.width, at.height);
    splitter_->setSizes({treeWidth, std::max(at.width - around.width() - treeWidth - handle, 1)});
}
