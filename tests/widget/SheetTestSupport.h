#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QFont>
#include <QImage>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QTest>
#include <QWidget>
#include <memory>
#include <string>
#include <vector>

#include "ScopedMainDictionary.h"
#include "TestPaths.h"
#include "cells/cmcCellCapsule.h"
#include "cells/cmcCellObj.h"
#include "cells/cmcFCache.h"
#include "cells/indActiveCell.h"
#include "cmcTestHost.h"
#include "cuiHeadlessMain.h"
#include "events/cmcEvMan.h"
#include "memory/MemoryMap.h"
#include "memory/cmcCloneFile.h"
#include "memory/cmcRange.h"
#include "memory/datCh.h"
#include "profile/ModelProfile.h"
#include "text/cmcGTex.h"
#include "ui/sheet/cuiGrid.h"
#include "ui/sheet/cuiImageList.h"
#include "ui/sheet/cuiSheet.h"
#include "ui/sheet/cuiSheetFactory.h"

// What a sheet test needs: the test host, the product's resource file as the main dictionary,
// the section cache, a headless controller whose working image is the default image, an event
// manager whose events are recorded, and a shown, active window to build sheets in. The
// sheet's behaviour goes through a recorder that then asks the real behaviour.
class SheetTest : public ::testing::Test {
public:
    struct Event {
        cmcEvKind kind;
        uintptr_t first;
        int32_t second;
        std::string text;
    };
    // One call of the behaviour.
    struct Call {
        bool notify;
        int label;
        int argument;
        int key;
        int command;
        int inputKind;
        std::string inputText;
    };

    SheetTest() {
        QApplication::setFont(QFont("DejaVu Sans"));
        dict_.SetFile(ResourcePath("PQT590.OVL"));
        main_->SetDictionary(&dict_);
        main_->SetSectionCache(&cache_);
        EXPECT_EQ(LoadDefaultImage(main_->WorkingImage()), 0);
        main_->MarkSaved();
        image_ = main_->WorkingData();
        events_.AddHandler(&SheetTest::OnEvent, this);
        window_ = std::make_unique<QWidget>();
        window_->resize(900, 600);
    }
    ~SheetTest() override {
        sheet_.reset();
        window_.reset();
        events_.RemoveHandler(&SheetTest::OnEvent, this);
    }

    static int LoadDefaultImage(cmcEeprom& image) {
        cmcCloneFile file;
        file.AttachImage(image);
        file.SetModelCode(ModelProfile::kModelCode);
        file.SetExtraCode(ModelProfile::kExtraCode);
        file.SetMapRevisionCheck(&SheetTest::AcceptsRevision, nullptr);
        return file.Read(ResourcePath("PQT590_Default.t590"), kCloneRanges);
    }

    // Builds the sheet a reference names in the window, shows the window and gives the grid the
    // keyboard focus.
    cuiSheet& Open(const std::string& reference, cmcGTex* dictionary = nullptr) {
        sheet_.reset();
        sheet_ = cuiCreateSheet(main_.Core(), window_.get(), reference,
                                dictionary ? *dictionary : dict_, &images_);
        Prepare(*sheet_);
        sheet_->Build();
        Show();
        return *sheet_;
    }

    // Routes a sheet's behaviour and waits through the recorders; for sheets a test makes.
    void Prepare(cuiSheet& sheet) {
        sheet.SetBehaviour(&SheetTest::Behaviour, this);
        sheet.SetWaitCallback(&SheetTest::Wait, this);
    }

    void Show() {
        window_->show();
        QApplication::setActiveWindow(window_.get());
        if (sheet_)
            sheet_->SetFocus();
    }

    cuiGrid& Grid() { return *sheet_->Grid(); }
    QWidget* Viewport() { return sheet_->Grid()->viewport(); }

    void Key(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QTest::keyClick(Viewport(), key, mods);
    }
    void Type(const char* text) { QTest::keyClicks(Viewport(), text); }
    // Keys while the in-place editor has the focus.
    void EditorKey(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier);
    void EditorType(const char* text);

    QPoint CellCenter(int col, int row) { return Grid().CellRect(col, row).center(); }
    void Click(int col, int row, Qt::MouseButton button = Qt::LeftButton,
               Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QTest::mouseClick(Viewport(), button, mods, CellCenter(col, row));
    }

    // A mouse move over the viewport (QTest's own moves go through the window system, which
    // the offscreen platform does not place reliably).
    void Move(const QPoint& pos, Qt::MouseButtons buttons = Qt::NoButton) {
        QMouseEvent move(QEvent::MouseMove, QPointF(pos), Viewport()->mapToGlobal(QPointF(pos)),
                         Qt::NoButton, buttons, Qt::NoModifier);
        QApplication::sendEvent(Viewport(), &move);
    }
    void Move(int col, int row, Qt::MouseButtons buttons = Qt::NoButton) {
        Move(CellCenter(col, row), buttons);
    }

    std::pair<int, int> Cursor() { return {sheet_->CursorCol(), sheet_->CursorRow()}; }

    // The grid as it is drawn now.
    QImage Shot() { return Viewport()->grab().toImage(); }

    // Runs the event manager's pass (posted events) and then the paint requests.
    void Deliver() {
        events_.RunPass();
        QApplication::processEvents();
    }

    std::vector<Event> EventsOf(cmcEvKind kind) const {
        std::vector<Event> out;
        for (const Event& e : events)
            if (e.kind == kind)
                out.push_back(e);
        return out;
    }
    std::vector<Call> Actions() const {
        std::vector<Call> out;
        for (const Call& c : calls)
            if (c.notify)
                out.push_back(c);
        return out;
    }

    datCh Load(int kind, int entry) {
        datCh ch(image_);
        ch.Load(kind, entry);
        return ch;
    }

    ScopedTestHost host_;
    cmcGTex dict_;
    ScopedMainDictionary mainDictionary_{&dict_};
    cmcFCache cache_{&dict_};
    ScopedHeadlessMain main_;
    cmcEvMan events_;
    uint8_t* image_ = nullptr;
    cuiImageList images_ = cuiImageList::TreeImages();
    std::unique_ptr<QWidget> window_;
    std::unique_ptr<cuiSheet> sheet_;
    std::vector<Event> events;
    std::vector<Call> calls;
    std::vector<int> waits;
    // A test may answer instead of the real behaviour: return -1 to fall through to it.
    int (*override_)(SheetTest& test, cmcCellCapsule& capsule, bool notify) = nullptr;

private:
    static bool AcceptsRevision(void*, int revision) {
        return revision == MemoryMap::kMapRevisionValue;
    }
    static void OnEvent(void* self, const cmcEvent& e) {
        static_cast<SheetTest*>(self)->events.push_back({e.kind, e.first, e.second, e.Text()});
    }
    static int Behaviour(void* self, cmcCellCapsule& capsule, bool notify) {
        auto* test = static_cast<SheetTest*>(self);
        const cmcCellObj* cell = capsule.cell;
        test->calls.push_back({notify, cell ? cell->label : -1, cell ? cell->argument : -1,
                               capsule.key, capsule.command, capsule.inputKind, capsule.inputText});
        if (test->override_) {
            const int code = test->override_(*test, capsule, notify);
            if (code >= 0)
                return code;
        }
        return test->active_.Evaluate(capsule, notify);
    }
    static void Wait(void* self, int milliseconds) {
        static_cast<SheetTest*>(self)->waits.push_back(milliseconds);
    }

    indActiveCell active_{main_.Core()};
};

inline void SheetTest::EditorKey(Qt::Key key, Qt::KeyboardModifiers mods) {
    QTest::keyClick(sheet_->Editor(), key, mods);
}

inline void SheetTest::EditorType(const char* text) {
    QTest::keyClicks(sheet_->Editor(), text);
}

// The references of the tree's sheets, in tree order.
inline std::vector<std::string> TreeSheetReferences(cmcGTex& dict) {
    std::vector<std::string> refs;
    for (int n = 0;; ++n) {
        const std::string line = dict.Line("GI_Tree_Main_Body", n);
        if (!line.empty() && line[0] == '#')
            break;
        const std::size_t at = line.find("CallSheet:");
        if (at == std::string::npos)
            continue;
        const std::size_t from = at + 10;
        refs.push_back(line.substr(from, line.find(')', from) - from));
    }
    return refs;
}
