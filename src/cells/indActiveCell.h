#pragma once

#include <cstdint>

#include "cells/cuiMainCore.h"

class cmcCellCapsule;
class cmcCellObj;
class cmcEeprom;

// The T590's cell behaviour: what a cell shows, which marks it carries, what a key or a typed text
// does to the working image and what the view must do next. It keeps no state of its own; every
// operation works on the main controller's roles it is given, the document's working image and
// the capsule handed in. The behaviour of each label lives in the family files (indBehave.h).
class indActiveCell {
public:
    // Evaluates on the document's working image, or on another image (the model checks examine
    // images that are not yet the working one).
    explicit indActiveCell(const cuiMainCore& core, cmcEeprom* image = nullptr)
        : core_(core), image_(image) {}

    // The one entry through which every view asks a cell: returns the action code (cmcAction).
    // notify is set when a sheet acts on the cell; it lets the dispatcher call the capsule's
    // redraw callback.
    int Evaluate(cmcCellCapsule& capsule, bool notify);

    // Runs a cell with a key, without notification, and returns the action code; 0 without a
    // cell. The tree activates its nodes this way with Enter.
    int ActivateCell(cmcCellObj* cell, int key);
    // The error or notice mark a cell (category, label, argument) shows on display, without a
    // sheet: the table checks and the model checks scan whole tables with them.
    bool ErrorMarkOf(int category, int label, int argument);
    bool NoticeMarkOf(int category, int label, int argument);

    // The status message of a refused key.
    static constexpr const char* kEditRestrictedKey = "GI_Botttom_EditRestrected";

private:
    uint8_t MarksOf(int category, int label, int argument);

    cuiMainCore core_;
    cmcEeprom* image_ = nullptr;  // none: the working image
};
