// The commands of the main window through its menu, as the technician chooses them: New, Open,
// Save, Save As, the recent files, opening the open file again, dropping a file on the window,
// the View and Help menus, the device of a COM number, and the About and debug compare windows.
#include <gtest/gtest.h>

#include <QDialog>
#include <QDropEvent>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QUrl>

#include "MainWindowFixture.h"
#include "app/cuiAboutBox.h"
#include "app/cuiDebugCompare.h"
#include "cells/cmcCellNames.h"
#include "text/cmcGTex.h"
#include "ui/chrome/cuiToolBar.h"

namespace {

std::string Text(const char* key) {
    return cmcGTex::Main()->Text(key);
}

class MainCommands : public MainWindowTest {
protected:
    void SetUp() override { Start(); }
};

TEST_F(MainCommands, OpenAsksForAFileAndShowsIt) {
    const std::string path = MakeFile("ship.t590", "SHIP");
    host_->QueueFileName(path);
    Choose(CL_Menu_File_Open);
    ASSERT_EQ(host_->Dialogs().size(), 1u);
    EXPECT_FALSE(host_->Dialogs()[0].save);
    EXPECT_EQ(host_->Dialogs()[0].request.defaultExtension, "t590");
    EXPECT_EQ(host_->Dialogs()[0].request.initialDir, dir_.path().toStdString());
    EXPECT_EQ(WorkingComment(), "SHIP");
    EXPECT_EQ(Title(), "ship.t590 - PQ-T590");
    EXPECT_FALSE(main_->Session().IsModified());
    EXPECT_EQ(Questions(), 0);  // nothing was unsaved
}

TEST_F(MainCommands, OpenCancelledChangesNothing) {
    Edit("MINE");
    host_->QueueFileName("");
    Choose(CL_Menu_File_Open);
    EXPECT_EQ(WorkingComment(), "MINE");
    EXPECT_TRUE(main_->Session().IsModified());
}

TEST_F(MainCommands, SaveOfAnUntitledImageAsksForANameThenSaveWritesSilently) {
    Edit("FIRST");
    const std::string path = Path("saved.t590");
    host_->QueueFileName(path);
    Choose(CL_Menu_File_Save);
    ASSERT_EQ(host_->Dialogs().size(), 1u);
    EXPECT_TRUE(host_->Dialogs()[0].save);
    EXPECT_EQ(host_->Dialogs()[0].request.presetName, "Untitled");
    EXPECT_EQ(Title(), "saved.t590 - PQ-T590");
    EXPECT_FALSE(main_->Session().IsModified());

    Edit("SECOND");
    Choose(CL_Menu_File_Save);
    EXPECT_EQ(host_->Dialogs().size(), 1u);  // a titled image is saved under its name
    cmcEeprom file;
    ASSERT_EQ(FileCommands::OpenCloneFile(path, file), 0);
    EXPECT_EQ(cmcCloneFile::ImageComment(file), "SECOND");
}

TEST_F(MainCommands, SaveAsOffersTheFileNameAndTakesTheNewOne) {
    ASSERT_EQ(main_->OpenFile(MakeFile("old.t590", "OLD")), 0);
    host_->QueueFileName(Path("new.t590"));
    Choose(CL_Menu_File_SaveAs);
    ASSERT_EQ(host_->Dialogs().size(), 1u);
    EXPECT_EQ(host_->Dialogs()[0].request.presetName, "old.t590");
    EXPECT_EQ(Title(), "new.t590 - PQ-T590");
    EXPECT_EQ(main_->Session().RecentFileText(0, true), Path("new.t590"));
}

TEST_F(MainCommands, NewAsksAboutUnsavedChangesAndNoDiscardsThem) {
    ASSERT_EQ(main_->OpenFile(MakeFile("a.t590", "AAA")), 0);
    Edit("CHANGED");
    host_->QueueAnswer(HostAnswer::No);
    Choose(CL_Menu_File_New);
    ASSERT_EQ(Questions(), 1);
    EXPECT_EQ(host_->Messages()[0].caption, "PQ-T590");
    EXPECT_EQ(host_->Messages()[0].icon, HostIcon::Warning);
    EXPECT_NE(host_->Messages()[0].text.find("'a.t590'"), std::string::npos);
    EXPECT_EQ(Title(), "Untitled - PQ-T590");
    EXPECT_FALSE(main_->Session().WorkingImage().IsDifferent(main_->Session().TemplateImage()));
    EXPECT_FALSE(main_->Session().IsModified());
}

TEST_F(MainCommands, NewCancelledKeepsTheEdits) {
    Edit("CHANGED");
    host_->QueueAnswer(HostAnswer::Cancel);
    Choose(CL_Menu_File_New);
    EXPECT_EQ(WorkingComment(), "CHANGED");
    EXPECT_TRUE(main_->Session().IsModified());
}

TEST_F(MainCommands, TheToolBarRunsTheSameCommands) {
    const std::string path = MakeFile("bar.t590", "BAR");
    host_->QueueFileName(path);
    cuiToolBar* bar = main_->ToolBar();
    QAction* open = nullptr;
    for (int i = 0; i < bar->ButtonCount(); ++i)
        if (bar->ButtonCell(i) && bar->ButtonCell(i)->label == CL_Menu_File_Open)
            open = bar->Button(i);
    ASSERT_NE(open, nullptr);
    open->trigger();
    EXPECT_EQ(WorkingComment(), "BAR");
}

TEST_F(MainCommands, RecentFilesAreListedNewestFirstAndOpenFromTheMenu) {
    const std::string a = MakeFile("a.t590", "AAA");
    const std::string b = MakeFile("b.t590", "BBB");
    ASSERT_EQ(main_->OpenFile(a), 0);
    ASSERT_EQ(main_->OpenFile(b), 0);
    main_->Menu()->UpdateItems(nullptr);
    QAction* first = MenuItem(CL_Menu_File_Recent, 0);
    QAction* second = MenuItem(CL_Menu_File_Recent, 1);
    QAction* third = MenuItem(CL_Menu_File_Recent, 2);
    ASSERT_TRUE(first && second && third);
    // Files of the open file's directory by name only.
    EXPECT_EQ(first->text(), QStringLiteral("&1 b.t590"));
    EXPECT_EQ(second->text(), QStringLiteral("&2 a.t590"));
    EXPECT_FALSE(third->isVisible());  // empty slots after the first are hidden
    Choose(CL_Menu_File_Recent, 1);
    EXPECT_EQ(WorkingComment(), "AAA");
    main_->Menu()->UpdateItems(nullptr);
    EXPECT_EQ(MenuItem(CL_Menu_File_Recent, 0)->text(), QStringLiteral("&1 a.t590"));
    // The list is the settings': it outlives the program.
    EXPECT_EQ(Environ().recent.EntryText(0, std::string()), a);
}

TEST_F(MainCommands, WithoutRecentFilesTheFirstSlotShowsDisabled) {
    main_->Menu()->UpdateItems(nullptr);
    QAction* first = MenuItem(CL_Menu_File_Recent, 0);
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(first->isVisible());
    EXPECT_FALSE(first->isEnabled());
    EXPECT_FALSE(MenuItem(CL_Menu_File_Recent, 1)->isVisible());
}

TEST_F(MainCommands, ReopeningTheOpenFileWithChangesOffersToSaveThemElsewhere) {
    const std::string path = MakeFile("open.t590", "ON DISK");
    ASSERT_EQ(main_->OpenFile(path), 0);
    Edit("IN MEMORY");
    host_->QueueAnswer(HostAnswer::Yes);
    host_->QueueFileName(Path("copy.t590"));
    ASSERT_EQ(main_->OpenFile(path), 0);
    ASSERT_EQ(Questions(), 1);
    EXPECT_EQ(host_->Messages()[0].text, Text("GI_Mess_Confirm_WriteAnother"));
    ASSERT_EQ(host_->Dialogs().size(), 1u);
    EXPECT_TRUE(host_->Dialogs()[0].save);  // Yes always offers Save As
    EXPECT_EQ(WorkingComment(), "ON DISK");
    EXPECT_EQ(Title(), "open.t590 - PQ-T590");
    cmcEeprom copy;
    ASSERT_EQ(FileCommands::OpenCloneFile(Path("copy.t590"), copy), 0);
    EXPECT_EQ(cmcCloneFile::ImageComment(copy), "IN MEMORY");
}

TEST_F(MainCommands, ReopeningWithSaveAsCancelledCancelsTheOpen) {
    const std::string path = MakeFile("open.t590", "ON DISK");
    ASSERT_EQ(main_->OpenFile(path), 0);
    Edit("IN MEMORY");
    host_->QueueAnswer(HostAnswer::Yes);
    host_->QueueFileName("");
    EXPECT_EQ(main_->OpenFile(path), indSession::kOpenCancelled);
    EXPECT_EQ(WorkingComment(), "IN MEMORY");
    EXPECT_TRUE(main_->Session().IsModified());
}

// ---- Dropping files on the window.

void Drop(QWidget* target, const QList<QUrl>& urls, bool* entered) {
    QMimeData data;
    data.setUrls(urls);
    QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &enter);
    *entered = enter.isAccepted();
    if (!*entered)
        return;
    QDropEvent drop(QPointF(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &drop);
}

TEST_F(MainCommands, ACloneFileDroppedOnTheWindowOpensWithItsQuestions) {
    EXPECT_TRUE(form_->acceptDrops());
    const std::string path = MakeFile("dropped.T590", "DROPPED");
    Edit("UNSAVED");
    host_->QueueAnswer(HostAnswer::No);
    bool entered = false;
    Drop(form_.get(), {QUrl::fromLocalFile(QString::fromStdString(path))}, &entered);
    EXPECT_TRUE(entered);
    QCoreApplication::processEvents();  // the open follows the drop
    EXPECT_EQ(Questions(), 1);
    EXPECT_EQ(WorkingComment(), "DROPPED");
    EXPECT_EQ(Title(), "dropped.T590 - PQ-T590");
}

TEST_F(MainCommands, OtherFilesAreNotTakenByTheWindow) {
    const std::string text = Path("notes.txt");
    QFile(QString::fromStdString(text)).open(QIODevice::WriteOnly);
    bool entered = true;
    Drop(form_.get(), {QUrl::fromLocalFile(QString::fromStdString(text))}, &entered);
    EXPECT_FALSE(entered);
    Drop(form_.get(), {QUrl(QStringLiteral("https://example.org/radio.t590"))}, &entered);
    EXPECT_FALSE(entered);
    QCoreApplication::processEvents();
    EXPECT_TRUE(main_->Session().IsUntitled());
}

// ---- The View and Help menus.

TEST_F(MainCommands, TheToolBarIsShownAndHiddenFromTheViewMenu) {
    Choose(CL_Menu_View_ToolBar);
    EXPECT_FALSE(main_->ToolBar()->IsVisible());
    EXPECT_FALSE(Environ().toolBarVisible);
    main_->Menu()->UpdateItems(nullptr);
    EXPECT_FALSE(MenuItem(CL_Menu_View_ToolBar)->isChecked());
    Choose(CL_Menu_View_ToolBar);
    EXPECT_TRUE(main_->ToolBar()->IsVisible());
    main_->Menu()->UpdateItems(nullptr);
    EXPECT_TRUE(MenuItem(CL_Menu_View_ToolBar)->isChecked());
}

TEST_F(MainCommands, HelpContentsOpensTheHelpFileBesideTheProgram) {
    Choose(CL_Help_Contents);
    ASSERT_EQ(main_->opened.size(), 1u);
    EXPECT_EQ(main_->opened[0], cmcHost::Instance().ExecutableDir() + "PQT590_Help.html");
}

TEST_F(MainCommands, AboutOpensTheAboutBoxOverTheDisabledWindow) {
    Choose(CL_Help_About);
    Settle();  // the command posts event 3
    cuiAboutBox* box = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* b = dynamic_cast<cuiAboutBox*>(w); b && b->isVisible())
            box = b;
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->windowTitle(), QString::fromStdString(Text("GI_App_About_Caption")));
    box->Button()->click();
    QCoreApplication::processEvents();
    EXPECT_TRUE(form_->isEnabled());
}

TEST_F(MainCommands, EventSevenComparesTheImageWithTheReference) {
    cmcEeprom& working = main_->Session().WorkingImage();
    working.SetByte(0x2A65, uint8_t(working.GetByte(0x2A65) ^ 0x10));
    const std::vector<std::string> lines =
        cuiDebugCompare::CompareLines(main_->Session().ReferenceImage(), working);
    ASSERT_EQ(lines.size(), 1u);
    // The window is modal: it is looked at and closed as soon as it shows.
    std::string shown = "<not shown>";
    QMetaObject::invokeMethod(
        form_.get(),
        [&shown] {
            if (auto* window = dynamic_cast<cuiDebugCompare*>(QApplication::activeModalWidget())) {
                shown = window->List()->toPlainText().toStdString();
                window->CloseButton()->click();
            }
        },
        Qt::QueuedConnection);
    events_.SendEvent(cmcEvKind::OpenDebugCompare);
    EXPECT_EQ(shown, lines[0]);
    // The reference follows the working image after each comparison.
    EXPECT_FALSE(main_->Session().ReferenceImage().IsDifferent(working));
}

// ---- The device of a COM number.

TEST_F(MainCommands, ThePortMenuAssignsADeviceToTheCurrentComNumber) {
    auto store = cmcSettingsStore::OnFile(Path("ports.ini"));
    main_->SetPortStore(store.get());
    QAction* item = main_->PortDeviceItem();
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->text(), QStringLiteral("&Device of COM1..."));
    Choose(CL_Menu_Port_Com, 3);
    EXPECT_EQ(main_->Session().ComPortSetting(), 3);
    // The Port menu says which number it is about each time it opens.
    ASSERT_FALSE(item->associatedObjects().isEmpty());
    auto* portMenu = qobject_cast<QMenu*>(item->associatedObjects().first());
    ASSERT_NE(portMenu, nullptr);
    emit portMenu->aboutToShow();
    EXPECT_EQ(item->text(), QStringLiteral("&Device of COM3..."));

    main_->chooserAnswers.push_back("/dev/pts/9");
    item->trigger();
    ASSERT_EQ(main_->chooserAsked, std::vector<int>{3});
    std::string device;
    ASSERT_TRUE(store->ReadText("Ports", "COM3", device));
    EXPECT_EQ(device, "/dev/pts/9");
    // Cancelled: the device stays.
    item->trigger();
    ASSERT_TRUE(store->ReadText("Ports", "COM3", device));
    EXPECT_EQ(device, "/dev/pts/9");
    main_->SetPortStore(nullptr);
}

}  // namespace
