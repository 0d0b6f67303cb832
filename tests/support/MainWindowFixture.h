#pragma once

// The desktop program as main() builds it, on the offscreen platform: the settings (in a scratch
// file, with their own lock), the event manager, the T590 controller over the product's resource
// file and initial clone file, and the main window shown. The test host answers every question
// and file dialog; help pages and the port chooser are recorded instead of shown.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QFont>
#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <cstring>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "CloneFileSupport.h"
#include "TestPaths.h"
#include "app/TForm1.h"
#include "app/indMain.h"
#include "cmcTestHost.h"
#include "events/cmcEvMan.h"
#include "memory/MemoryMap.h"
#include "memory/cmcCloneFile.h"
#include "memory/cmcEnviron.h"
#include "platform/cmcSettingsStore.h"
#include "profile/FileCommands.h"
#include "ui/chrome/cuiMenu.h"
#include "ui/chrome/cuiTree.h"
#include "ui/sheet/cuiSheet.h"

// The controller with the desktop's viewers replaced by records.
class TestMain : public indMain {
public:
    using indMain::indMain;

    std::vector<std::string> opened;         // help pages asked for
    std::deque<std::string> chooserAnswers;  // devices the port chooser answers; "" cancels
    std::vector<int> chooserAsked;           // the COM numbers it was asked for
    int sortAnswer = kSortAscending;         // the direction Sort rows... is given
    std::vector<std::string> sortAsked;      // the columns it was asked about

protected:
    int AskSortDirection(const std::string& column) override {
        sortAsked.push_back(column);
        return sortAnswer;
    }
    void OpenUrl(const std::string& path) override { opened.push_back(path); }
    bool RunPortChooser(int comNumber, std::string* device) override {
        chooserAsked.push_back(comNumber);
        if (chooserAnswers.empty())
            return false;
        *device = chooserAnswers.front();
        chooserAnswers.pop_front();
        return !device->empty();
    }
};

class MainWindowTest : public ::testing::Test {
protected:
    MainWindowTest() {
        QApplication::setFont(QFont(QStringLiteral("DejaVu Sans"), 9));
        EXPECT_TRUE(dir_.isValid());
    }
    ~MainWindowTest() override { Stop(); }

    // The settings file of this test (written when the settings object goes).
    std::string SettingsPath() const { return Path("settings.ini"); }
    cmcEnviron& Environ() {
        if (!environ_)
            environ_ = std::make_unique<cmcEnviron>("PQ-T590 widget test",
                                                    cmcSettingsStore::OnFile(SettingsPath()),
                                                    dir_.path().toStdString());
        return *environ_;
    }

    // Starts the program with these arguments after the program's path.
    void Start(const std::vector<std::string>& arguments = {}) {
        Environ();
        main_ = std::make_unique<TestMain>(*environ_, ResourcePath(""));
        std::vector<std::string> all{"pqt590"};
        all.insert(all.end(), arguments.begin(), arguments.end());
        main_->Initialize(all);
        form_ = std::make_unique<TForm1>(*main_);
        main_->Session().SetLastDirectory(dir_.path().toStdString());
        form_->show();
        QApplication::setActiveWindow(form_.get());
        QCoreApplication::processEvents();
        host_->Clear();
    }
    // The program ends: the window goes, then the controller, then the settings are written.
    void Stop() {
        form_.reset();
        main_.reset();
        environ_.reset();
    }

    std::string Path(const std::string& name) const {
        return dir_.filePath(QString::fromStdString(name)).toStdString();
    }
    // A clone file of the default image with its comment set.
    std::string MakeFile(const std::string& name, const std::string& comment) {
        cmcEeprom image;
        DefaultImage(image, comment);
        return SaveImageFile(Path(name), image);
    }
    // An edit as a behaviour makes it: the image changes, then the session is told.
    void Edit(const std::string& comment = "EDITED") {
        SetImageComment(main_->Session().WorkingImage(), comment);
        main_->Session().CheckModified();
        main_->Session().ScheduleWarningCheck();
    }
    std::string WorkingComment() {
        return cmcCloneFile::ImageComment(main_->Session().WorkingImage());
    }
    // The title as the window shows it: Qt's placeholder becomes "*" while there are unsaved
    // changes and disappears otherwise.
    std::string Title() const {
        QString title = form_->windowTitle();
        title.replace(QStringLiteral("[*]"),
                      form_->isWindowModified() ? QStringLiteral("*") : QString());
        return title.toStdString();
    }

    // The main menu's item whose cell has the label (and argument, when given).
    QAction* MenuItem(int label, int argument = -1) {
        std::vector<QAction*> pending = main_->Menu()->Children(nullptr);
        while (!pending.empty()) {
            QAction* a = pending.back();
            pending.pop_back();
            if (const cmcCellObj* cell = cuiMenu::CellOf(a))
                if (cell->label == label && (argument < 0 || cell->argument == argument))
                    return a;
            for (QAction* c : main_->Menu()->Children(a))
                pending.push_back(c);
        }
        return nullptr;
    }
    // Chooses a menu item as the technician does, its menu refreshed first.
    void Choose(int label, int argument = -1) {
        main_->Menu()->UpdateItems(nullptr);
        QAction* item = MenuItem(label, argument);
        ASSERT_NE(item, nullptr) << "no menu item with label " << label;
        ASSERT_TRUE(item->isEnabled()) << item->text().toStdString();
        item->trigger();
    }
    // Delivers the posted events and runs the periodic task once.
    void Settle() {
        events_.RunPass();
        QCoreApplication::processEvents();
        main_->RunPeriodicTask();
    }
    // Selects the tree node with this caption and lets the selection settle (its sheet opens).
    void SelectNode(const char* caption) {
        QTreeWidget* view = main_->Tree()->View();
        const auto found =
            view->findItems(QString::fromLatin1(caption), Qt::MatchExactly | Qt::MatchRecursive);
        ASSERT_FALSE(found.isEmpty()) << caption;
        main_->Tree()->SelectNode(found.first());
        main_->Tree()->SettleNow();
    }
    QTreeWidgetItem* Node(const char* caption) {
        const auto found = main_->Tree()->View()->findItems(QString::fromLatin1(caption),
                                                            Qt::MatchExactly | Qt::MatchRecursive);
        return found.isEmpty() ? nullptr : found.first();
    }
    std::string OpenSheetBase() const {
        return main_->Sheet() ? main_->Sheet()->BaseName() : std::string();
    }
    int Questions() {
        int n = 0;
        for (const cmcTestHost::Message& m : host_->Messages())
            n += m.buttons != HostButtons::Ok;
        return n;
    }

    ScopedTestHost host_;
    cmcEvMan events_;
    QTemporaryDir dir_;
    std::unique_ptr<cmcEnviron> environ_;
    std::unique_ptr<TestMain> main_;
    std::unique_ptr<TForm1> form_;
};
