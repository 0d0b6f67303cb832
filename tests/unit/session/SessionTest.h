#pragma once

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <cstring>
#include <string>
#include <vector>

#include "CloneFileSupport.h"
#include "TestPaths.h"
#include "cells/cmcCellCapsule.h"
#include "cells/cmcCellObj.h"
#include "cells/indActiveCell.h"
#include "cmcTestHost.h"
#include "events/cmcEvMan.h"
#include "memory/MemoryMap.h"
#include "memory/datCh.h"
#include "platform/cmcClock.h"
#include "profile/FileCommands.h"
#include "session/indSession.h"

// What a session tells its views: every title, every whole-image change, and the place a sheet
// would name for an edit.
class RecordingViews : public cuiViews {
public:
    void UpdateTitle(const std::string& title) override { titles.push_back(title); }
    void WorkingImageChanged() override {
        ++imageChanges;
        // What an Edit menu refreshed from here would show.
        undoTextSeen = session != nullptr ? session->UndoText() : std::string();
        redoTextSeen = session != nullptr ? session->RedoText() : std::string();
    }
    void CloseSheet() override { ++sheetsClosed; }
    std::string EditPlace(const cmcCellCapsule&) const override { return place; }

    std::vector<std::string> titles;
    int imageChanges = 0;
    int sheetsClosed = 0;
    std::string place;
    const indSession* session = nullptr;
    std::string undoTextSeen;
    std::string redoTextSeen;
};

// A session over the program's own resource file and initial image, with recording views, an
// event manager whose posted events are collected, and a scratch directory. Edits go through
// the cells' behaviour with real capsules, as a sheet sends them.
class SessionTest : public ::testing::Test {
public:
    static constexpr int kFirstChannel = 1;
    static constexpr int kChannels = 10;

    void SetUp() override {
        // The delayed warning check and recovery write count virtual time.
        cmcClock::SetManual(100000);
        ASSERT_TRUE(dir.isValid());
        session.SetViews(&views);
        views.session = &session;
        session.SetResourceDir(ResourcePath(""));
        session.LoadTemplate();
        events.AddHandler(&SessionTest::OnEvent, this);
    }
    void TearDown() override {
        events.RemoveHandler(&SessionTest::OnEvent, this);
        session.SetViews(nullptr);
        cmcClock::SetAutomatic();
    }
    // Lets the delayed warning check run, so that a later one is seen to be scheduled.
    void RunWarningCheckNow() {
        cmcClock::Advance(indSession::kWarningCheckDelayMs);
        ASSERT_TRUE(session.RunDueWarningCheck());
        ASSERT_FALSE(session.WarningCheckPending());
    }

    std::string Path(const std::string& name) const {
        return dir.filePath(QString::fromStdString(name)).toStdString();
    }

    // The default image with user channels 1..10 in use (7.001 .. 7.010 MHz, mode 1, comments
    // "CH n"), saved as a file and opened: a titled image without unsaved changes.
    std::string OpenChannelFile(const std::string& name = "radio.t590") {
        cmcEeprom image;
        EXPECT_EQ(FileCommands::OpenCloneFile(ResourcePath("PQT590_Default.t590"), image), 0);
        for (int n = kFirstChannel; n < kFirstChannel + kChannels; ++n) {
            datCh ch(image.Bytes(), image.GetSize());
            ch.SetEmpty(datCh::kUserCh, n);
            ch.flags = datCh::kUsed;
            ch.rxFreq = 7000000 + 1000 * n;
            ch.txFreq = ch.rxFreq;
            ch.mode = 1;
            std::memset(ch.comment, ' ', sizeof ch.comment);
            const std::string comment = "CH " + std::to_string(n);
            std::memcpy(ch.comment, comment.data(), comment.size());
            ch.Save();
        }
        const std::string path = SaveImageFile(Path(name), image);
        EXPECT_EQ(session.OpenFile(path), 0);
        return path;
    }

    // One request to a cell through the behaviour dispatcher, as a sheet makes it.
    void Evaluate(cmcCellCapsule capsule, int category, int label, int argument) {
        static int grid = 0;
        cmcCellObj cell;
        cell.category = category;
        cell.label = label;
        cell.argument = argument;
        capsule.cell = &cell;
        capsule.grid = &grid;
        const cuiMainCore core = session.Core();
        indActiveCell(core).Evaluate(capsule, true);
    }
    void Type(int category, int label, int argument, const std::string& text) {
        cmcCellCapsule c;
        c.inputKind = kInputText;
        c.inputText = text;
        Evaluate(c, category, label, argument);
    }
    void Press(int category, int label, int argument, int key) {
        cmcCellCapsule c;
        c.key = key;
        Evaluate(c, category, label, argument);
    }
    // The choice list's answer: the chosen entry as the parent capsule.
    void Choose(int category, int label, int argument, int itemLabel, int entry) {
        cmcCellObj chosen;
        chosen.label = itemLabel;
        chosen.argument = entry;
        cmcCellCapsule parent;
        parent.cell = &chosen;
        cmcCellCapsule c;
        c.parent = &parent;
        c.inputKind = kInputChoice;
        Evaluate(c, category, label, argument);
    }
    // The bit-field editor's answer for a byte of the memory window.
    void BitEdit(int address, uint8_t value) {
        cmcCellCapsule c;
        c.inputKind = kInputChoice;
        c.inputText = std::to_string(uint32_t(value) << cmcCellCapsule::kBitEditorShift);
        Evaluate(c, CT_Null, CL_EeDebugWin_0 + address % 16, address / 16);
    }
    // A row command of the pop-up menu on user channel `entry`, rows lo..hi selected (none: 0).
    void Row(int command, int entry, int lo = 0, int hi = 0) {
        cmcCellCapsule c;
        c.command = command;
        if (lo != 0) {
            c.rangeFlags = kRangeSelected;
            c.rangeLow = lo;
            c.rangeHigh = hi;
        }
        Evaluate(c, CT_UserCh, CL_UCh_FreqR, entry);
    }

    std::vector<uint8_t> Bytes() const {
        cmcEeprom& image = const_cast<indSession&>(session).WorkingImage();
        return std::vector<uint8_t>(image.Bytes(), image.Bytes() + image.GetSize());
    }
    datCh UserChannel(int n) {
        datCh ch(session.WorkingImage().Bytes(), session.WorkingImage().GetSize());
        ch.Load(datCh::kUserCh, n);
        return ch;
    }
    int Posted(cmcEvKind kind) const {
        int n = 0;
        for (cmcEvKind k : posted)
            n += k == kind ? 1 : 0;
        return n;
    }
    static void OnEvent(void* self, const cmcEvent& e) {
        if (e.delivery == cmcEvDelivery::Posted)
            static_cast<SessionTest*>(self)->posted.push_back(e.kind);
    }

    ScopedTestHost host;
    cmcEvMan events;
    QTemporaryDir dir;
    RecordingViews views;
    indSession session;
    std::vector<cmcEvKind> posted;
};
