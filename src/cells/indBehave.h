#pragma once

#include <array>
#include <cstdint>

#include "cells/cmcCellCapsule.h"
#include "cells/cmcCellNames.h"
#include "memory/datCh.h"

#include "cells/cuiMainCore.h"

class cmcCellObj;
class cmcEeprom;

// Criteria bits of the redraw callback: which cells of the sheet are repainted after a change.
enum indCriteria : int {
    kCriteriaThisCell = 0x01,      // cells with this label and argument
    kCriteriaSameArgument = 0x08,  // labelled cells with this argument (the record's row)
    kCriteriaAllLabelled = 0x20,   // every labelled cell (band edges, DSC category columns)
};

// One evaluation of a cell, as the label behaviours see it: the capsule of the request, the main
// controller's roles, the working image and the record the cell's argument selects, already loaded.
// A behaviour leaves the output text, marks and action code in the capsule, writes the record back
// (ch.Save()) after a reported change, and raises criteria bits for cells it changed besides its
// own. Lives for one call of indActiveCell::Evaluate.
struct indBehaveCall {
    cmcCellCapsule& capsule;
    const cuiMainCore& core;
    uint8_t* image;  // the bytes of the image evaluated (normally the working image)
    datCh& ch;       // the record (kind, argument); kind 0: nothing loaded
    cmcCellObj* cell;
    cmcEeprom& source;  // the image evaluated
    int category = CT_None;
    int label = CL_None;
    int argument = 0;
    int kind = 0;
    int criteria = kCriteriaThisCell;
    bool restricted = false;  // RestrictEdit refused a typed key

    // Refuses typing unless allowed; the dispatcher then shows the edit-restricted message.
    void RestrictEdit(bool allowed) { capsule.RestrictEdit(allowed, restricted); }
    void SetError(bool on) { SetMark(kMarkError, on); }
    void SetNotice(bool on) { SetMark(kMarkNotice, on); }
    void SetMark(uint8_t bit, bool on) {
        if (on)
            capsule.markBits |= bit;
        else
            capsule.markBits &= uint8_t(~bit);
    }
    bool HasError() const { return (capsule.markBits & kMarkError) != 0; }
    bool HasNotice() const { return (capsule.markBits & kMarkNotice) != 0; }
    // The conversion has asked the sheet to open the in-place editor.
    bool EditorOpening() const { return capsule.action == kActEdit; }
    bool ExpertMode() const;
    bool GeneralCoverageMode() const;
    // The marks another cell shows on display, on the same image: the table checks scan whole
    // tables with them.
    bool ErrorMarkOf(int category, int label, int argument) const;
    bool NoticeMarkOf(int category, int label, int argument) const;
};

using indBehaviour = void (*)(indBehaveCall& call);

// The label step of the dispatcher: the behaviour of each label (0..205). Labels without one show
// "%d *Yet*".
//
// How a family of behaviours registers: each family has one registration function, declared
// below and defined in the family's own file (src/cells/Behave<Family>*.cpp), which calls
// table.Set(label, function) for its labels; a family spread over several files lets its
// registration function call helpers in the others. The table is filled once, on the first
// evaluation, by calling every registration function in the order listed. Setting a label twice is
// a program error (fatal), so two families can never silently fight over one label.
class indBehaveTable {
public:
    static constexpr int kLabelCount = CL_None + 1;

    void Set(int label, indBehaviour behaviour);
    indBehaviour Get(int label) const;

    // The filled table of the program.
    static const indBehaveTable& Instance();

private:
    std::array<indBehaviour, kLabelCount> behaviours_{};
};

// Channels (user, ITU, e-mail): BehaveChannel*.cpp.
void indRegisterChannelBehaviours(indBehaveTable& table);
// Band edges and the expansion settings: BehaveBandEdge*.cpp.
void indRegisterBandEdgeBehaviours(indBehaveTable& table);
// Table checks of channels, band edges and mode registration: BehaveTableCheck.cpp.
void indRegisterTableCheckBehaviours(indBehaveTable& table);
// Placeholders, numbers, grey and read-only cells: BehaveSmallCells.cpp.
void indRegisterSmallCellBehaviours(indBehaveTable& table);
// Common settings, mode selection and registration, clone information, commands, popup menu item
// states, memory debug window, free fields: BehaveSettings*.cpp.
void indRegisterSettingsBehaviours(indBehaveTable& table);
// DSC settings, identities, pairs, item tables and checks: BehaveDsc*.cpp.
void indRegisterDscBehaviours(indBehaveTable& table);
