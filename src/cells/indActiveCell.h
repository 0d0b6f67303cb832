#pragma once

#include <cstdint>

class cmcCellCapsule;
class cmcCellObj;
class cmcEeprom;

// The T590's cell behaviour: what a cell shows, which marks it carries, what a key or a typed text
// does to the working image and what the view must do next. It keeps no state of its own; every
// operation works on the installed main controller (cuiMainCore), its working image and the
// capsule handed in. The behaviour of each label lives in the family files (indBehave.h).
class indActiveCell {
public:
    // Evaluates on the working image, or on another image (the model checks examine images that
    // are not yet the working one).
    indActiveCell() = default;
    explicit indActiveCell(cmcEeprom* image) : image_(image) {}

    // The one entry through which every view asks a cell: returns the action code (cmcAction).
    // notify is set when a sheet acts on the cell; it lets the dispatcher call the capsule's
    // redraw callback.
    int Evaluate(cmcCellCapsule& capsule, bool notify);

    // Runs a cell with a key, without notification, and returns the action code; 0 without a
    // cell. The tree activates its nodes this way with Enter.
    static int ActivateCell(cmcCellObj* cell, int key);
    // The error or notice mark a cell (category, label, argument) shows on display, without a
    // sheet: the table checks and the model checks scan whole tables with them.
    static bool ErrorMarkOf(int category, int label, int argument, cmcEeprom* image = nullptr);
    static bool NoticeMarkOf(int category, int label, int argument, cmcEeprom* image = nullptr);

    // The status message of a refused key.
    static constexpr const char* kEditRestrictedKey = "GI_Botttom_EditRestrected";

private:
    cmcEeprom* image_ = nullptr;  // none: the working image
};
