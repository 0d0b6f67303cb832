#pragma once

#include <QApplication>
#include <QPointer>
#include <QScreen>
#include <QTest>
#include <set>
#include <utility>
#include <vector>

#include "SheetTestSupport.h"
#include "cells/cuiMainCore.h"
#include "ui/windows/cuiFBitsR.h"
#include "ui/windows/cuiFlector.h"

// Views that open the real windows beside their cells, as the desktop program's controller does.
class DialogViews : public cuiViews {
public:
    void OpenChoiceList(const cmcCellCapsule& opener, int itemLabel, int currentValue,
                        cmcGTex& dictionary, const std::string& listKey) override {
        ++choiceLists;
        cuiOpenChoiceList(*core, mainWindow, opener, itemLabel, currentValue, dictionary, listKey,
                          images);
    }

    void OpenBitEditor(const cmcCellCapsule& opener, cmcGTex& dictionary, uint32_t value,
                       int firstBit, int lastBit, int headerStyle, int markStyle,
                       const std::string& sheetName) override {
        ++bitEditors;
        cuiOpenBitEditor(*core, mainWindow, opener, dictionary, value, firstBit, lastBit,
                         headerStyle, markStyle, sheetName, images);
    }

    const cuiMainCore* core = nullptr;
    QWidget* mainWindow = nullptr;
    const cuiImageList* images = nullptr;
    int choiceLists = 0;
    int bitEditors = 0;
};

// Sheets whose cells open real windows: the sheet's behaviour runs with these views, through a
// recorder of the cells it draws.
class DialogTest : public SheetTest {
protected:
    DialogTest() {
        views_.core = &core_;
        views_.mainWindow = window_.get();
        views_.images = &images_;
        window_->move(100, 80);
    }

    // Builds the sheet a reference names, shows it and gives it the focus; its cursor starts on
    // (col, row) when given.
    cuiSheet& OpenReal(const std::string& reference, int col = -1, int row = -1) {
        sheet_.reset();
        sheet_ = cuiCreateSheet(core_, window_.get(), reference, dict_, &images_);
        sheet_->SetBehaviour(&DialogTest::Behaviour, this);
        if (col >= 0)
            sheet_->SetCursorMemory(col, row, -1, -1);
        sheet_->Build();
        Show();
        QApplication::processEvents();
        return *sheet_;
    }

    // Enter on the current cell, and the events that follow it (a window opened by it shows).
    void OpenList() {
        Key(Qt::Key_Return);
        QApplication::processEvents();
    }

    // The open choice list, if any.
    static cuiFlector* List() {
        return qobject_cast<cuiFlector*>(QApplication::activePopupWidget());
    }
    // The open bit-field editor, if any.
    static cuiFBitsR* BitEditor() {
        return qobject_cast<cuiFBitsR*>(QApplication::activePopupWidget());
    }

    QWidget* ListViewport() { return List()->Sheet()->Grid()->viewport(); }
    void ListKey(Qt::Key key) { QTest::keyClick(ListViewport(), key); }
    QPoint ListCell(int col, int row) {
        return List()->Sheet()->Grid()->CellRect(col, row).center();
    }
    void ListClick(int col, int row) {
        QTest::mouseClick(ListViewport(), Qt::LeftButton, Qt::NoModifier, ListCell(col, row));
    }
    std::pair<int, int> ListCursor() {
        return {List()->Sheet()->CursorCol(), List()->Sheet()->CursorRow()};
    }

    // Windows that have closed go, and the repaints they asked for are made.
    static void Settle() {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QApplication::processEvents();
    }

    // Keeps a picture of a window for a person to look at, when PQ_SHOT_DIR names a folder.
    static void Keep(QWidget& w, const std::string& name) {
        const QByteArray dir = qgetenv("PQ_SHOT_DIR");
        if (!dir.isEmpty())
            w.grab().save(QString::fromLocal8Bit(dir) + QLatin1Char('/') +
                          QString::fromStdString(name) + QStringLiteral(".png"));
    }

    // The whole screen, popups and all, when PQ_SHOT_DIR names a folder and there is a real
    // screen (xvfb-run with QT_QPA_PLATFORM=xcb).
    static void KeepScreen(const std::string& name) {
        const QByteArray dir = qgetenv("PQ_SHOT_DIR");
        if (dir.isEmpty() || QGuiApplication::platformName() != QLatin1String("xcb"))
            return;
        QApplication::processEvents();
        QGuiApplication::primaryScreen()->grabWindow(0).save(
            QString::fromLocal8Bit(dir) + QLatin1Char('/') + QString::fromStdString(name) +
            QStringLiteral(".png"));
    }

    std::vector<uint8_t> Image() const {
        return std::vector<uint8_t>(image_, image_ + MemoryMap::kImageSize);
    }
    // Addresses where two images differ.
    static std::vector<int> Differences(const std::vector<uint8_t>& a,
                                        const std::vector<uint8_t>& b) {
        std::vector<int> out;
        for (std::size_t i = 0; i < a.size() && i < b.size(); ++i)
            if (a[i] != b[i])
                out.push_back(int(i));
        return out;
    }

    // Cells of the opening sheet drawn since the last clear, by (label, argument).
    std::set<std::pair<int, int>> drawn_;

    DialogViews views_;
    cuiMainCore core_{*main_, views_, *main_};

private:
    static int Behaviour(void* self, cmcCellCapsule& capsule, bool notify) {
        auto* test = static_cast<DialogTest*>(self);
        if (!notify && capsule.cell)
            test->drawn_.insert({capsule.cell->label, capsule.cell->argument});
        return test->active_.Evaluate(capsule, notify);
    }

    indActiveCell active_{core_};
};
