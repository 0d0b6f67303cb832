// Menus read from the dictionary: nesting, shortcuts from argument texts, the states the
// behaviours report, the default click, and the Edit menu mirroring the current cell's popup.
#include <gtest/gtest.h>

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTest>

#include "GuiFixture.h"
#include "cells/cmcCellNames.h"
#include "cells/cmcCellObj.h"
#include "ui/chrome/cuiMenu.h"
#include "ui/chrome/cuiShortcut.h"
#include "ui/sheet/cuiCurrentCell.h"
#include "ui/sheet/cuiImageList.h"

namespace {

// ---- Shortcut texts.

struct ShortcutCase {
    const char* text;
    QKeyCombination expected;  // the shortcut shown; none: Qt::Key_unknown
};

class ShortcutText : public ::testing::TestWithParam<ShortcutCase> {};

TEST_P(ShortcutText, ConvertsAsTheResourceFileMeansIt) {
    const QKeySequence got = cuiShortcutFromText(GetParam().text);
    if (GetParam().expected.key() == Qt::Key_unknown)
        EXPECT_TRUE(got.isEmpty()) << got.toString().toStdString();
    else
        EXPECT_EQ(got, QKeySequence(GetParam().expected)) << got.toString().toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ShortcutText,
    ::testing::Values(ShortcutCase{"Ctrl+N", Qt::CTRL | Qt::Key_N},
                      ShortcutCase{"ctrl+c", Qt::CTRL | Qt::Key_C},
                      ShortcutCase{"Enter", QKeyCombination(Qt::Key_Enter)},
                      ShortcutCase{"Del", QKeyCombination(Qt::Key_Delete)},
                      ShortcutCase{"Ctrl+Del", Qt::CTRL | Qt::Key_Delete},
                      ShortcutCase{"Ins", QKeyCombination(Qt::Key_Insert)},
                      ShortcutCase{"Ctrl+Up", Qt::CTRL | Qt::Key_Up},
                      ShortcutCase{"Ctrl+Down", Qt::CTRL | Qt::Key_Down},
                      ShortcutCase{"F1", QKeyCombination(Qt::Key_F1)},
                      ShortcutCase{"Shift+Ctrl+F12", Qt::SHIFT | Qt::CTRL | Qt::Key_F12},
                      ShortcutCase{"Alt+BkSp", Qt::ALT | Qt::Key_Backspace},
                      ShortcutCase{"PgDn", QKeyCombination(Qt::Key_PageDown)},
                      ShortcutCase{"F13", QKeyCombination(Qt::Key_unknown)},
                      ShortcutCase{"F01", QKeyCombination(Qt::Key_unknown)},
                      ShortcutCase{"Bogus", QKeyCombination(Qt::Key_unknown)},
                      ShortcutCase{"GI_Sheet_UserCh", QKeyCombination(Qt::Key_unknown)},
                      ShortcutCase{"", QKeyCombination(Qt::Key_unknown)}));

TEST(ShortcutTextEnter, AcceptsReturnAndTheKeypadsEnterToo) {
    const QList<QKeySequence> all = cuiShortcutsFromText("Enter");
    EXPECT_TRUE(all.contains(QKeySequence(Qt::Key_Return)));
    EXPECT_TRUE(all.contains(QKeySequence(Qt::Key_Enter | Qt::KeypadModifier)));
    EXPECT_EQ(cuiShortcutsFromText("Ctrl+S").size(), 1);
}

// ---- Menus.

std::vector<std::string> Captions(const cuiMenu& menu, const QAction* item) {
    std::vector<std::string> out;
    for (const QAction* a : menu.Children(item))
        out.push_back(a->isSeparator() ? "-" : a->text().toStdString());
    return out;
}

class Menu : public GuiFixture {};

TEST_F(Menu, NestsByIndentation) {
    LineDictionary dict({"#M_BasicCell", "{}", "#M_Body", "+A", " +B", " +C", "+D", "#"});
    QMenuBar bar;
    cuiMenu menu(main_.Core(), &bar, &bar, *dict, "M");
    menu.BuildMenu();
    EXPECT_EQ(Captions(menu, nullptr), (std::vector<std::string>{"A", "D"}));
    QAction* a = menu.Children(nullptr)[0];
    ASSERT_NE(a->menu(), nullptr);
    EXPECT_EQ(Captions(menu, a), (std::vector<std::string>{"B", "C"}));
    EXPECT_EQ(menu.Children(nullptr)[1]->menu(), nullptr);

    // Building again replaces the items and frees the old cells.
    menu.BuildMenu();
    EXPECT_EQ(Captions(menu, nullptr), (std::vector<std::string>{"A", "D"}));
    EXPECT_EQ(menu.CellCount(), 4);
}

TEST_F(Menu, TheProductsMainMenu) {
    QMenuBar bar;
    cuiMenu menu(main_.Core(), &bar, &bar, dict_, "GI_Menu_Main");
    menu.BuildMenu();
    EXPECT_EQ(Captions(menu, nullptr),
              (std::vector<std::string>{"&File", "&Edit", "&View", "&Port", "&Clone", "&Help"}));
    QAction* clone = menu.Children(nullptr)[4];
    EXPECT_EQ(Captions(menu, clone),
              (std::vector<std::string>{"&Read from radio...", "&Write to radio...", "-",
                                        "Radio &information..."}));
    QAction* read = menu.FindItemByLabel(CL_Menu_Clone_Read);
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_R));
    EXPECT_EQ(menu.FindItemByLabel(CL_Menu_Edit_Top), menu.Children(nullptr)[1]);
    EXPECT_EQ(menu.ItemCount(CL_Menu_Edit_Top), 0);
    EXPECT_EQ(menu.ItemCount(CL_PMenu_Insert), -1);
    // Without pictures the items show none; with the tool-bar images they do.
    EXPECT_TRUE(read->icon().isNull());
    const cuiImageList images = cuiImageList::ToolBarImages();
    menu.SetImageList(&images);
    menu.BuildMenu();
    EXPECT_FALSE(menu.FindItemByLabel(CL_Menu_Clone_Read)->icon().isNull());
    EXPECT_TRUE(menu.FindItemByLabel(CL_Menu_File_SaveAs)->icon().isNull());
}

TEST_F(Menu, AnEnterShortcutIsShownAsEnterAndAcceptedFromTheKeyboard) {
    LineDictionary dict(
        {"#M_BasicCell", "{}", "#M_Body", "+&File", " +&Go\t{(%CL_Menu_File_New:Enter)}", "#"});
    QMainWindow window;
    cuiMenu menu(main_.Core(), &window, window.menuBar(), *dict, "M");
    menu.BuildMenu();
    QAction* go = menu.FindItemByLabel(CL_Menu_File_New);
    ASSERT_NE(go, nullptr);
    EXPECT_EQ(go->text(), QStringLiteral("&Go"));
    EXPECT_EQ(go->shortcut().toString(QKeySequence::NativeText), QStringLiteral("Enter"));

    window.resize(300, 200);
    window.show();
    QApplication::setActiveWindow(&window);
    main_->ClearCommandLog();
    QTest::keyClick(&window, Qt::Key_Return);
    EXPECT_EQ(main_->CommandLog(), std::vector<std::string>{"FileNew"});
}

TEST_F(Menu, ChoosingAnItemRunsItsCellWithEnterAndRefreshes) {
    QMenuBar bar;
    cuiMenu menu(main_.Core(), &bar, &bar, dict_, "GI_Menu_Main");
    menu.BuildMenu();
    main_->ClearCommandLog();
    menu.FindItemByLabel(CL_Menu_Clone_Info)->trigger();
    EXPECT_EQ(main_->CommandLog(), std::vector<std::string>{"CloneInfo"});

    main_->ClearCommandLog();
    QAction* com2 = menu.Children(menu.Children(nullptr)[3])[1];
    ASSERT_EQ(com2->text(), QStringLiteral("COM&2"));
    com2->trigger();
    EXPECT_EQ(main_->CommandLog(), std::vector<std::string>{"ComPort 2"});
    // The refresh after the click shows the new port checked at once.
    EXPECT_TRUE(com2->isChecked());
}

TEST_F(Menu, StatesFollowTheBehavioursAtEachRefresh) {
    QMenuBar bar;
    cuiMenu menu(main_.Core(), &bar, &bar, dict_, "GI_Menu_Main");
    menu.BuildMenu();
    QAction* port = menu.Children(nullptr)[3];
    const std::vector<QAction*> coms = menu.Children(port);
    ASSERT_EQ(coms.size(), 5u);  // COM1..COM4 and the submenu of more ports
    QAction* print = menu.FindItemByLabel(CL_Menu_File_Print_Current);
    QAction* file = menu.Children(nullptr)[0];
    const std::vector<QAction*> files = menu.Children(file);
    QAction* recent0 = files[8];
    QAction* recent1 = files[9];
    ASSERT_EQ(recent0->text(), QStringLiteral("No recent files"));

    main_->SetComPortSetting(3);
    events_.SendEvent(cmcEvKind::UpdateCommandStates);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(coms[size_t(i)]->isChecked(), i == 2) << i;
    EXPECT_FALSE(coms[0]->isCheckable());  // unchecked items show no box
    EXPECT_FALSE(print->isEnabled());
    EXPECT_TRUE(recent0->isVisible());
    EXPECT_FALSE(recent0->isEnabled());
    EXPECT_FALSE(recent1->isVisible());

    main_->SetCanPrintOpenSheet(true);
    main_->SetRecentFile(0, "radio1.t590", "/data/radio1.t590");
    main_->SetRecentFile(1, "R&D.t590", "/data/R&D.t590");
    events_.SendEvent(cmcEvKind::UpdateCommandStates);
    EXPECT_TRUE(print->isEnabled());
    EXPECT_EQ(recent0->text(), QStringLiteral("&1 radio1.t590"));
    EXPECT_TRUE(recent0->isEnabled());
    EXPECT_TRUE(recent1->isVisible());
    EXPECT_EQ(recent1->text(), QStringLiteral("&2 R&&D.t590"));

    const cuiImageList images = cuiImageList::ToolBarImages();
    menu.SetImageList(&images);
    events_.SendEvent(cmcEvKind::UpdateCommandStates);  // the pictures come with the refresh
    EXPECT_FALSE(coms[0]->icon().isNull());
    EXPECT_TRUE(coms[2]->icon().isNull());  // checked: the check mark shows instead
    for (QAction* top : {file, port}) {
        top->menu()->popup(QPoint(0, 0));
        Keep(*top->menu(), "menu-" + top->text().mid(1).toLower().toStdString());
        top->menu()->hide();
    }

    // Bits are cleared before each refresh: a hidden entry comes back, a shown one goes.
    main_->SetRecentFile(1, "", "");
    events_.SendEvent(cmcEvKind::UpdateCommandStates);
    EXPECT_FALSE(recent1->isVisible());
    main_->ClearCommandLog();
    recent0->trigger();
    EXPECT_EQ(main_->CommandLog(), std::vector<std::string>{"OpenFile /data/radio1.t590"});
}

// ---- The Edit menu mirroring a sheet's popup menu.

// The controller's side of the mirror: it answers from the real main menu, as the desktop
// program's controller does.
class MirrorController : public cuiHeadlessMain {
public:
    cuiMenu* mainMenu = nullptr;
    int MainMenuItemCount(int label) const override {
        return mainMenu ? mainMenu->ItemCount(label) : -1;
    }
    void MirrorIntoMainMenu(int label, const std::string& popupKey) override {
        if (mainMenu)
            mainMenu->PostMirror(label, popupKey);
    }
};

// Plays a sheet: a popup menu built for its current cell's popup key, event 12 answered for that
// popup's root with the current cell, its items' clicks recorded.
class MenuMirror : public GuiFixture {
protected:
    MenuMirror() {
        controller_.SetDictionary(&dict_);
        controller_.SetSectionCache(&cache_);
        mainMenu_ = std::make_unique<cuiMenu>(controller_.Core(), &window_, window_.menuBar(),
                                              dict_, "GI_Menu_Main");
        controller_.mainMenu = mainMenu_.get();
        mainMenu_->BuildMenu();
        events_.AddHandler(&MenuMirror::OnEvent, this);
        current_.category = CT_UserCh;
        current_.label = CL_UCh_FreqR;
        current_.argument = 5;
    }
    ~MenuMirror() override {
        events_.RemoveHandler(&MenuMirror::OnEvent, this);
        popup_.reset();
        mainMenu_.reset();
    }

    static void OnEvent(void* self, const cmcEvent& event) {
        auto* t = static_cast<MenuMirror*>(self);
        if (event.kind != cmcEvKind::CurrentCellQuery || !t->popup_ ||
            !cuiQueryNames(event, &t->popupRoot_))
            return;
        const std::vector<uint8_t> data = cuiEncodeCurrentCell(t->current_);
        cmcEvMan::Global()->ReplyEvent(0, 0, data.data(), int32_t(data.size()));
    }

    static void PopupClick(void* self, QAction* item) {
        static_cast<MenuMirror*>(self)->clicked_.push_back(cuiMenu::CellOf(item)->label);
    }

    // What the sheet does when its current cell's popup key changes.
    void MoveToCellWithPopup(const std::string& key) {
        popup_.reset();
        events_.SendEvent(cmcEvKind::DropMirroredMenu, 0, CL_Menu_Edit_Top);
        popup_ = std::make_unique<cuiMenu>(controller_.Core(), &popupRoot_, &popupRoot_, dict_, key,
                                           &MenuMirror::PopupClick, this);
        popup_->BuildMenu();
        events_.SendEventText(cmcEvKind::MirrorPopupMenu, cmcEvArg(popup_.get()), CL_Menu_Edit_Top,
                              key.c_str());
        events_.SendEvent(cmcEvKind::UpdateCommandStates);
    }

    std::vector<std::string> EditCaptions() {
        return Captions(*mainMenu_, mainMenu_->FindItemByLabel(CL_Menu_Edit_Top));
    }
    QAction* EditItem(int label) {
        for (QAction* a : mainMenu_->Children(mainMenu_->FindItemByLabel(CL_Menu_Edit_Top)))
            if (cuiMenu::CellOf(a) && cuiMenu::CellOf(a)->label == label)
                return a;
        return nullptr;
    }

    MirrorController controller_;
    QMainWindow window_;
    std::unique_ptr<cuiMenu> mainMenu_;
    QMenu popupRoot_;
    std::unique_ptr<cuiMenu> popup_;
    cmcCellObj current_;
    std::vector<int> clicked_;
};

TEST_F(MenuMirror, WithoutASheetTheEditMenuHoldsOnlyADisabledNoItem) {
    events_.SendEvent(cmcEvKind::UpdateCommandStates);
    EXPECT_TRUE(EditCaptions().empty());  // the request is posted
    events_.SendEvent(cmcEvKind::UpdateCommandStates);
    events_.RunPass();
    EXPECT_EQ(EditCaptions(), std::vector<std::string>{"No item"});  // once, not twice
    QAction* noItem = EditItem(CL_PMenu_NoItem);
    ASSERT_NE(noItem, nullptr);
    EXPECT_TRUE(noItem->isVisible());
    EXPECT_FALSE(noItem->isEnabled());
}

TEST_F(MenuMirror, TheEditMenuMirrorsTheCurrentCellsPopup) {
    MoveToCellWithPopup("GI_PMenu_Edit");
    EXPECT_EQ(EditCaptions(),
              (std::vector<std::string>{"&Edit...", "-", "&Copy", "&Paste", "-", "Move &up",
                                        "Move do&wn", "-", "C&lear", "&Delete", "&Insert"}));
    EXPECT_EQ(EditItem(CL_PMenu_Copy)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_C));
    QMenu* edit = mainMenu_->FindItemByLabel(CL_Menu_Edit_Top)->menu();
    ASSERT_NE(edit, nullptr);
    edit->popup(QPoint(0, 0));
    Keep(*edit, "menu-edit");
    edit->hide();
    EXPECT_EQ(EditItem(CL_PMenu_Edit)->shortcut().toString(QKeySequence::NativeText),
              QStringLiteral("Enter"));
    // The items act for the popup: a click reaches the sheet's handler.
    EditItem(CL_PMenu_Copy)->trigger();
    EXPECT_EQ(clicked_, std::vector<int>{CL_PMenu_Copy});
    // Their states are those of the current cell's record: user channels allow row edits, and
    // nothing is on the clipboard to paste.
    EXPECT_TRUE(EditItem(CL_PMenu_Insert)->isEnabled());
    EXPECT_FALSE(EditItem(CL_PMenu_Paste)->isEnabled());
    current_.category = CT_Null;
    events_.SendEvent(cmcEvKind::UpdateCommandStates);
    EXPECT_FALSE(EditItem(CL_PMenu_Insert)->isEnabled());
}

TEST_F(MenuMirror, MovingToACellWithoutEditsLeavesTheSingleNoItem) {
    const int ownCells = mainMenu_->CellCount();
    MoveToCellWithPopup("GI_PMenu_Edit");
    EXPECT_EQ(mainMenu_->CellCount(), ownCells + 11);
    MoveToCellWithPopup("GI_PMenu_NoItem");
    EXPECT_EQ(EditCaptions(), std::vector<std::string>{"No item"});
    EXPECT_TRUE(EditItem(CL_PMenu_NoItem)->isVisible());
    // The cells of the dropped mirror are freed with it.
    EXPECT_EQ(mainMenu_->CellCount(), ownCells + 1);
}

TEST_F(MenuMirror, ALateRequestNeitherAddsToASheetsMirrorNorServesAGoneMenu) {
    events_.SendEvent(cmcEvKind::UpdateCommandStates);  // posts the "No item" request
    MoveToCellWithPopup("GI_PMenu_Edit");
    events_.RunPass();
    EXPECT_EQ(EditCaptions().size(), 11u);

    // A request of a menu that is gone by the time it arrives.
    auto gone = std::make_unique<cuiMenu>(controller_.Core(), &popupRoot_, &popupRoot_, dict_,
                                          "GI_PMenu_NoItem");
    events_.PostEventText(cmcEvKind::MirrorPopupMenu, cmcEvArg(gone.get()), CL_Menu_Edit_Top,
                          "GI_PMenu_NoItem");
    gone.reset();
    events_.RunPass();
    EXPECT_EQ(EditCaptions().size(), 11u);
}

TEST_F(MenuMirror, APopupBuilderTakesItsItemsAlongWhenItGoes) {
    MoveToCellWithPopup("GI_PMenu_Edit");
    EXPECT_EQ(popupRoot_.actions().size(), 11);
    popup_.reset();
    EXPECT_TRUE(popupRoot_.actions().isEmpty());
}

}  // namespace
