// The navigation tree: nesting by indentation, the product's own tree, marks over the node
// pictures, the change delay and what selecting a node runs.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QPointer>
#include <QSignalSpy>
#include <QTest>
#include <QTreeWidget>

#include "GuiFixture.h"
#include "cells/cmcCellNames.h"
#include "cells/cmcColor.h"
#include "ui/chrome/cuiTree.h"
#include "ui/sheet/cuiImageList.h"

namespace {

// The tree's shape as text: captions separated by ",", children in parentheses.
std::string Shape(const QTreeWidgetItem* node) {
    std::string s = node->text(0).toStdString();
    if (node->childCount() > 0) {
        s += "(";
        for (int i = 0; i < node->childCount(); ++i)
            s += (i ? "," : "") + Shape(node->child(i));
        s += ")";
    }
    return s;
}

std::string Shape(const QTreeWidget& view) {
    std::string s;
    for (int i = 0; i < view.topLevelItemCount(); ++i)
        s += (i ? "," : "") + Shape(view.topLevelItem(i));
    return s;
}

QTreeWidgetItem* FindNode(const QTreeWidget& view, const char* caption) {
    const auto found =
        view.findItems(QString::fromLatin1(caption), Qt::MatchExactly | Qt::MatchRecursive);
    return found.isEmpty() ? nullptr : found.first();
}

struct NestingCase {
    const char* name;
    std::vector<std::string> body;
    const char* shape;
};

class TreeNesting : public GuiFixture, public ::testing::WithParamInterface<NestingCase> {};

TEST_P(TreeNesting, BuildsTheShapeTheIndentationGives) {
    std::vector<std::string> lines{"#T_BasicCell", "{}", "#T_Body"};
    for (const std::string& l : GetParam().body)
        lines.push_back(l);
    lines.push_back("#");
    LineDictionary dict(lines);
    QWidget panel;
    cuiTree tree(main_.Core(), &panel, *dict, "T", nullptr);
    tree.BuildTree();
    EXPECT_EQ(Shape(*tree.View()), GetParam().shape);
}

INSTANTIATE_TEST_SUITE_P(
    Bodies, TreeNesting,
    ::testing::Values(
        NestingCase{"Depths01210", {"+A", " +B", "  +C", " +D", "+E"}, "A(B(C),D),E"},
        NestingCase{"FirstLineDeepThenRoot", {"  +A", "+B"}, "A,B"},
        NestingCase{"TabsCountLikeBlanks", {"+A", "\t+B", "\t\t+C", "+D"}, "A(B(C)),D"},
        NestingCase{"ShallowerButDeeperThanTheLevel", {"+A", "   +B", "  +C", " +D"}, "A(B,C,D)"},
        NestingCase{"LineWithoutPlusIsAnEmptyNode", {"+A", "no plus", "+C"}, "A,,C"},
        NestingCase{"CaptionIsTheDisplayText", {"+One{(ImageIndex=1)}", " +Two \t{}"}, "One(Two)"}),
    [](const auto& info) { return std::string(info.param.name); });

class Tree : public GuiFixture {
protected:
    Tree() : tree_(main_.Core(), &panel_, dict_, "GI_Tree_Main", &images_) {
        panel_.resize(260, 420);
        tree_.BuildTree();
    }
    QTreeWidgetItem* Node(const char* caption) { return FindNode(*tree_.View(), caption); }

    cuiImageList images_ = cuiImageList::TreeImages();
    QWidget panel_;
    cuiTree tree_;
};

TEST_F(Tree, TheProductsTreeOpensEverySheetFromItsNodes) {
    QTreeWidget& view = *tree_.View();
    ASSERT_EQ(view.topLevelItemCount(), 1);
    QTreeWidgetItem* root = tree_.FirstNode();
    EXPECT_EQ(root->text(0), QStringLiteral("T590"));
    EXPECT_TRUE(root->isExpanded());
    EXPECT_EQ(Shape(root),
              "T590(Channels(User channels,ITU channels,E-mail channels),"
              "Radio settings(Common settings,Mode registration,Band edges,Expansion settings),"
              "DSC(Own identity and settings,Address book,Receive/transmit pairs,"
              "Call options(Nature of distress,Call selection,Categories,First telecommands,"
              "Unable-to-comply reasons)))");
    const cmcCellObj* user = cuiTree::CellOf(Node("User channels"));
    ASSERT_NE(user, nullptr);
    EXPECT_EQ(user->label, CallSheet);
    EXPECT_EQ(user->argText.value_or(""), "GI_Sheet_UserCh");
    EXPECT_EQ(user->imageIndex, cuiImageList::kTreeNoteList);
    EXPECT_EQ(cuiTree::CellOf(root)->imageIndex, cuiImageList::kTreeRadio);
    // The basic cell's font (9 points) and colour (the window colour) are the tree's.
    EXPECT_EQ(view.font().pixelSize(), 12);
    EXPECT_EQ(view.palette().color(QPalette::Base), ToQColor(clWindow, QApplication::palette()));
    EXPECT_TRUE(view.editTriggers() == QAbstractItemView::NoEditTriggers);
}

TEST_F(Tree, ACollapsedFolderShowsTheMarkOfANodeBelowIt) {
    tree_.ApplyMarks({"GI_Sheet_BandEdge"}, {"GI_Sheet_UserCh"});
    EXPECT_EQ(cuiTree::MarkOf(Node("User channels")), cuiTree::kMarkError);
    EXPECT_EQ(cuiTree::MarkOf(Node("Channels")), cuiTree::kMarkError);  // collapsed
    EXPECT_EQ(cuiTree::MarkOf(Node("Band edges")), cuiTree::kMarkNotice);
    EXPECT_EQ(cuiTree::MarkOf(Node("Radio settings")), cuiTree::kMarkNotice);
    EXPECT_EQ(cuiTree::MarkOf(Node("T590")), cuiTree::kNoMark);  // expanded
    EXPECT_EQ(cuiTree::MarkOf(Node("ITU channels")), cuiTree::kNoMark);

    // Expanded, the folder shows its own state again once the marks are recomputed.
    QSignalSpy expanded(&tree_, &cuiTree::ExpandedOrCollapsed);
    Node("Channels")->setExpanded(true);
    EXPECT_EQ(expanded.count(), 1);
    tree_.ApplyMarks({"GI_Sheet_BandEdge"}, {"GI_Sheet_UserCh"});
    EXPECT_EQ(cuiTree::MarkOf(Node("Channels")), cuiTree::kNoMark);
    EXPECT_EQ(cuiTree::MarkOf(Node("User channels")), cuiTree::kMarkError);

    // Put right, every mark goes.
    tree_.ApplyMarks({}, {});
    for (const char* caption : {"User channels", "Band edges", "Radio settings"})
        EXPECT_EQ(cuiTree::MarkOf(Node(caption)), cuiTree::kNoMark) << caption;
}

TEST_F(Tree, ANodeInBothListsShowsTheErrorMark) {
    tree_.ApplyMarks({"GI_Sheet_DscAdr"}, {"GI_Sheet_DscAdr"});
    EXPECT_EQ(cuiTree::MarkOf(Node("Address book")), cuiTree::kMarkError);
    EXPECT_EQ(cuiTree::MarkOf(Node("DSC")), cuiTree::kMarkError);
}

TEST_F(Tree, MarkNodesCountsTheMatchesBelowANode) {
    QTreeWidgetItem* dsc = Node("DSC");
    EXPECT_EQ(tree_.MarkNodes(dsc, {"GI_Sheet_DscCate", "GI_Sheet_DscReason", "GI_Sheet_UserCh"},
                              cuiTree::kMarkNotice),
              2);
    EXPECT_EQ(cuiTree::MarkOf(Node("Call options")), cuiTree::kMarkNotice);
    tree_.ClearMarks(dsc);
    EXPECT_EQ(cuiTree::MarkOf(Node("Call options")), cuiTree::kNoMark);
    EXPECT_EQ(cuiTree::MarkOf(Node("Categories")), cuiTree::kNoMark);
}

// The colour of an icon's pixel at a point of the 16-unit design grid, at a size.
QColor PixelAt(const QTreeWidgetItem* node, int size, int x16, int y16) {
    const QImage image = node->icon(0).pixmap(size, size).toImage();
    return image.pixelColor(x16 * size / 16, y16 * size / 16);
}

TEST_F(Tree, TheMarkIsDrawnOverTheNodesPictureAtAnySize) {
    QTreeWidgetItem* node = Node("Band edges");
    for (int size : {16, 24, 48}) {
        SCOPED_TRACE(size);
        // Where the notice triangle and the error disc sit, clear of the signs drawn in them.
        const QColor plainAtNotice = PixelAt(node, size, 13, 13);
        const QColor plainAtError = PixelAt(node, size, 11, 14);
        tree_.MarkNodes(node, {"GI_Sheet_BandEdge"}, cuiTree::kMarkNotice);
        const QColor notice = PixelAt(node, size, 13, 13);
        tree_.MarkNodes(node, {"GI_Sheet_BandEdge"}, cuiTree::kMarkError);
        const QColor error = PixelAt(node, size, 11, 14);
        tree_.ClearMarks(node);
        EXPECT_EQ(PixelAt(node, size, 13, 13), plainAtNotice);
        EXPECT_EQ(PixelAt(node, size, 11, 14), plainAtError);
        // Amber and red where the plain picture has no such colour.
        EXPECT_GT(notice.red(), 200);
        EXPECT_GT(notice.green(), 130);
        EXPECT_LT(notice.blue(), 60);
        EXPECT_GT(error.red(), 180);
        EXPECT_LT(error.green(), 90);
        EXPECT_FALSE(plainAtNotice.red() > 200 && plainAtNotice.blue() < 60);
        EXPECT_FALSE(plainAtError.red() > 180 && plainAtError.green() < 90);
    }
}

TEST_F(Tree, ASelectionIsHandledAfterTheChangeDelay) {
    tree_.SetChangeDelay(250);
    panel_.show();
    QSignalSpy settled(&tree_, &cuiTree::SelectionSettled);
    tree_.SelectNode();
    EXPECT_TRUE(tree_.ChangePending());
    Node("Channels")->setExpanded(true);
    QTest::keyClick(tree_.View(), Qt::Key_Down);  // Channels
    QTest::keyClick(tree_.View(), Qt::Key_Down);  // User channels
    EXPECT_EQ(settled.count(), 0);
    EXPECT_TRUE(tree_.ChangePending());
    tree_.SettleNow();
    EXPECT_EQ(settled.count(), 1);
    EXPECT_FALSE(tree_.ChangePending());
    EXPECT_EQ(tree_.SelectedCell()->argText.value_or(""), "GI_Sheet_UserCh");
}

TEST_F(Tree, AClickedNodeOpensItsSheetUnlessItIsOpenAlready) {
    panel_.show();
    Node("Channels")->setExpanded(true);
    QTreeWidget& view = *tree_.View();
    const QRect itu = view.visualItemRect(Node("ITU channels"));
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, itu.center());
    EXPECT_EQ(tree_.SelectedCell()->argText.value_or(""), "GI_Sheet_ItuCh");

    main_->ClearCommandLog();
    EXPECT_TRUE(tree_.ActivateSelected("GI_Sheet_UserCh"));
    EXPECT_EQ(main_->CommandLog(), std::vector<std::string>{"OpenSheet GI_Sheet_ItuCh"});

    main_->ClearCommandLog();
    EXPECT_FALSE(tree_.ActivateSelected("GI_Sheet_ItuCh"));
    EXPECT_TRUE(main_->CommandLog().empty());

    // A folder's cell has no sheet to open.
    tree_.SelectNode(Node("Channels"));
    EXPECT_TRUE(tree_.ActivateSelected("GI_Sheet_ItuCh"));
    EXPECT_TRUE(main_->CommandLog().empty());
    Keep(panel_, "tree");
}

TEST_F(Tree, GoesWhenItsPanelGoes) {
    QWidget panel;
    auto* tree = new cuiTree(main_.Core(), &panel, dict_, "GI_Tree_Main", &images_);
    tree->BuildTree();
    QPointer<cuiTree> alive(tree);
    QPointer<QTreeWidget> view(tree->View());
    QWidget other;
    events_.SendEvent(cmcEvKind::HostGone, cmcEvArg(&other));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_TRUE(alive);
    events_.SendEvent(cmcEvKind::HostGone, cmcEvArg(&panel));
    EXPECT_TRUE(view->isHidden());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(alive);
    EXPECT_FALSE(view);
}

}  // namespace
