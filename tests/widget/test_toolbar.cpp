// The tool bar read from the dictionary: gaps, forced line breaks, hints, check buttons and
// clicks.
#include <gtest/gtest.h>

#include <QAction>
#include <QMainWindow>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

#include "GuiFixture.h"
#include "cells/cmcCellNames.h"
#include "ui/chrome/cuiToolBar.h"
#include "ui/sheet/cuiImageList.h"

namespace {

class ToolBar : public GuiFixture {
protected:
    ToolBar()
        : dict_({"#B_BasicCell", "{}", "#B_Body", "{(%CL_Menu_File_New)(ImageIndex=0)}A", "-",
                 "{(%CL_Menu_File_Print_Current)(ImageIndex=2)}B", "/",
                 "{(%CL_Menu_Port_Com[2])(ImageIndex=4)}D", "#"}),
          bar_(main_.Core(), &window_, *dict_, "B", &images_) {
        window_.resize(400, 200);
        bar_.BuildBar();
    }

    static std::vector<std::string> Line(const QToolBar* line) {
        std::vector<std::string> out;
        for (const QAction* a : line->actions())
            out.push_back(a->isSeparator() ? "-" : a->toolTip().toStdString());
        return out;
    }

    cuiImageList images_ = cuiImageList::ToolBarImages();
    LineDictionary dict_;
    QMainWindow window_;
    cuiToolBar bar_;
};

TEST_F(ToolBar, AGapSeparatesAndASlashBreaksTheLine) {
    ASSERT_EQ(bar_.Lines().size(), 2u);
    EXPECT_EQ(Line(bar_.Lines()[0]), (std::vector<std::string>{"A", "-", "B"}));
    EXPECT_EQ(Line(bar_.Lines()[1]), (std::vector<std::string>{"D"}));
    EXPECT_EQ(bar_.ButtonCount(), 5);
    EXPECT_EQ(bar_.LineOf(3), -1);
    EXPECT_EQ(bar_.LineOf(4), 1);
    EXPECT_EQ(bar_.ButtonCell(1), nullptr);
    EXPECT_EQ(bar_.ButtonCell(4)->argument, 2);

    window_.show();
    EXPECT_TRUE(window_.toolBarBreak(bar_.Lines()[1]));
    const QRect first = bar_.Lines()[0]->geometry();
    const QRect second = bar_.Lines()[1]->geometry();
    EXPECT_GE(second.top(), first.bottom());  // D on a line of its own, below
    EXPECT_EQ(bar_.Button(0)->text(), QStringLiteral("A"));
    EXPECT_FALSE(bar_.Button(0)->icon().isNull());
}

TEST_F(ToolBar, ButtonsShowTheStateTheirCellsReport) {
    main_->SetComPortSetting(2);
    events_.SendEvent(cmcEvKind::UpdateToolBarStates);
    QAction* d = bar_.Button(4);
    EXPECT_TRUE(d->isCheckable());
    EXPECT_TRUE(d->isChecked());
    EXPECT_FALSE(bar_.Button(0)->isCheckable());
    EXPECT_FALSE(bar_.Button(2)->isEnabled());  // nothing to print

    main_->SetComPortSetting(1);
    main_->SetCanPrintOpenSheet(true);
    events_.SendEvent(cmcEvKind::UpdateToolBarStates);
    EXPECT_FALSE(d->isChecked());
    EXPECT_TRUE(bar_.Button(2)->isEnabled());
}

TEST_F(ToolBar, AClickRunsTheButtonsCellWithEnter) {
    window_.show();
    QWidget* a = bar_.Lines()[0]->widgetForAction(bar_.Button(0));
    ASSERT_NE(a, nullptr);
    main_->ClearCommandLog();
    QTest::mouseClick(a, Qt::LeftButton);
    EXPECT_EQ(main_->CommandLog(), std::vector<std::string>{"FileNew"});

    // A check button is what its cell says after the click, not what the click toggled.
    main_->SetComPortSetting(2);
    bar_.UpdateButtons();
    QWidget* d = bar_.Lines()[1]->widgetForAction(bar_.Button(4));
    QTest::mouseClick(d, Qt::LeftButton);
    EXPECT_TRUE(bar_.Button(4)->isChecked());
    EXPECT_EQ(main_->ComPortSetting(), 2);
}

TEST_F(ToolBar, AHandlerOfItsOwnReceivesTheCell) {
    std::vector<int> labels;
    bar_.BuildBar(
        [](void* data, cmcCellObj* cell) {
            static_cast<std::vector<int>*>(data)->push_back(cell->label);
        },
        &labels);
    main_->ClearCommandLog();
    bar_.Button(4)->trigger();
    EXPECT_EQ(labels, std::vector<int>{CL_Menu_Port_Com});
    EXPECT_TRUE(main_->CommandLog().empty());
    EXPECT_EQ(bar_.Lines().size(), 2u);  // rebuilt, not added to
}

TEST_F(ToolBar, HidingHidesEveryLine) {
    window_.show();
    bar_.SetVisible(false);
    for (QToolBar* line : bar_.Lines())
        EXPECT_FALSE(line->isVisible());
    bar_.SetVisible(true);
    for (QToolBar* line : bar_.Lines())
        EXPECT_TRUE(line->isVisible());
}

TEST_F(ToolBar, TheProductsToolBar) {
    QMainWindow window;
    cuiToolBar bar(main_.Core(), &window, GuiFixture::dict_, "GI_ToolBar_Main", &images_);
    bar.BuildBar();
    ASSERT_EQ(bar.Lines().size(), 1u);
    EXPECT_EQ(Line(bar.Lines()[0]),
              (std::vector<std::string>{
                  "New: start from the settings of a new radio (Ctrl+N)",
                  "Open a clone file (Ctrl+O)", "Save to the clone file (Ctrl+S)", "-",
                  "Use port COM1 for the cloning cable", "Use port COM2 for the cloning cable",
                  "Use port COM3 for the cloning cable", "Use port COM4 for the cloning cable", "-",
                  "Read the radio's memory into the program (Ctrl+R)",
                  "Write these settings to the radio, overwriting its memory",
                  "Show the model, revision and comment of the radio (Ctrl+I)"}));
    main_->SetComPortSetting(1);
    bar.UpdateButtons();
    EXPECT_TRUE(bar.Button(4)->isChecked());
    window.resize(420, 120);
    window.show();
    EXPECT_FALSE(Grab(*bar.Lines()[0]).isNull());
    Keep(*bar.Lines()[0], "toolbar");
}

}  // namespace
