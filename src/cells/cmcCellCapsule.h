#pragma once

#include <cstdint>
#include <string>

#include "cells/cmcCellNames.h"
#include "cells/cmcConvNote.h"

class cmcCellObj;
class cmcCellCanvas;
class cmcCellCapsule;
struct cuiMainCore;
class datCh;
class QObject;

// Keys of a capsule request, as the behaviours read them. A typed character is its own code
// (1..126); values above 127 never count as typing.
enum cmcKey : int32_t {
    kKeyDisplay = 0,  // compute the output text and marks only (also popup commands)
    kKeyBackspace = 8,
    kKeyEnter = 13,
    kKeySpace = 32,
    kKeyDoubleClick = 256,  // treated as Enter
    kKeyF3 = 0x7200,        // memory window: search forward for a difference
    kKeyF4 = 0x7300,        // memory window: search backward
};

// Action codes a conversion leaves for the view.
enum cmcAction : uint8_t {
    kActNone = 0,  // nothing more to do
    kActDone = 1,  // a window was opened or the value changed
    kActEdit = 2,  // open the in-place editor with the output text and the selection
};

// Mark bits.
enum cmcMark : uint8_t {
    kMarkCurrent = 0x01,
    kMarkPrinting = 0x02,
    kMarkNotice = 0x04,
    kMarkError = 0x08,
};

// Mark positions (any value other than these three puts the mark at the right edge).
enum cmcMarkPos : uint8_t {
    kMarkPosDefault = 0,
    kMarkPosLeft = 1,
    kMarkPosRight = 2,
    kMarkPosAfterText = 3
};

// Input kinds.
enum cmcInput : uint8_t {
    kInputKey = 0,     // a key or a command
    kInputText = 1,    // text committed in the in-place editor
    kInputChoice = 2,  // a choice from a choice list (the parent capsule holds the chosen entry)
};

// Range flags.
enum cmcRangeFlag : uint8_t {
    kRangeSelected = 0x01,  // several rows are selected
    kRangeReselect = 0x02,  // set by a behaviour: select the range again after the action
};

// Callbacks are (function, data) pairs.
using cmcRedrawCallback = void (*)(void* data, cmcCellCapsule& capsule, int criteria);
using cmcReopenCallback = void (*)(void* data, cmcCellCapsule& capsule, int flag);

struct cmcCellRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
};

// The request and reply record between a view and a cell behaviour. A view fills one per request
// (and resets it between requests); the behaviour converts values with the operations below and
// leaves the output text, the marks, the editor selection, the action code and any move or range
// request for the view. Pointers are not owned.
class cmcCellCapsule {
public:
    cmcCellCapsule* parent = nullptr;  // popup menu: the capsule of the menu's cell; choice
                                       // reply: the capsule of the chosen entry
    QObject* ownerControl = nullptr;   // the view that asks
    void* grid = nullptr;              // present only for interactive requests
    cmcCellObj* cell = nullptr;
    cmcCellCanvas* canvas = nullptr;  // present only while the cell is drawn
    const void* imageList = nullptr;
    cmcCellRect* cellRect = nullptr;
    int32_t selStart = 0;  // in-place editor caret and selected length
    int32_t selLength = 0;
    int32_t key = kKeyDisplay;
    int32_t command = 0;  // popup menu label 61..68, else 0
    std::string inputText;
    std::string outputText;
    uint8_t markBits = 0;
    uint8_t markPosition = kMarkPosDefault;
    uint8_t inputKind = kInputKey;
    int32_t moveRequest = 0;  // 1: move the cursor to the cell given by the next three
    int32_t moveCategory = 0;
    int32_t moveLabel = 0;
    int32_t moveArgument = 0;
    int32_t repeatKey = 0;  // a key the sheet sends again after moving
    int32_t extra = 0;      // copied, not used
    void* sheet = nullptr;
    uint8_t rangeFlags = 0;
    int32_t rangeLow = 0;
    int32_t rangeHigh = 0;
    cmcRedrawCallback redraw = nullptr;
    void* redrawData = nullptr;
    // The main controller's roles of the evaluation under way (set by the dispatcher): the
    // conversions reach the section cache and the views through them.
    const cuiMainCore* core = nullptr;
    cmcReopenCallback reopenEditor = nullptr;
    void* reopenData = nullptr;
    // The output byte: the action code left by the last conversion (kActNone when none ran).
    uint8_t action = kActNone;
    // The horizontal alignment a conversion gave the cell (kAlignKeep: none); it is also written
    // into the cell's layout flags.
    int8_t alignment = kAlignKeep;
    // What the last conversion did with the typed text beyond formatting it (none: nothing worth
    // telling); the dispatcher shows it in the status bar.
    cmcConvNote note;

    static constexpr int8_t kAlignKeep = -1;
    static constexpr int8_t kAlignLeft = 0;
    static constexpr int8_t kAlignCenter = 1;
    static constexpr int8_t kAlignRight = 2;

    cmcCellCapsule() = default;
    cmcCellCapsule(const cmcCellCapsule& other) = default;
    cmcCellCapsule& operator=(const cmcCellCapsule& other) = default;

    // Clears every field: pointers to none, numbers to 0, both texts empty.
    void Reset() { *this = cmcCellCapsule(); }
    // Takes every field of another capsule (the texts are duplicated).
    void CopyFrom(const cmcCellCapsule& other) { *this = other; }

    bool IsInteractive() const { return grid != nullptr; }
    // The roles of the evaluation under way; fatal outside one (a program error).
    const cuiMainCore& Core() const;
    bool IsDrawing() const { return canvas != nullptr; }
    // The key with a double click taken as Enter.
    int32_t EffectiveKey() const { return key == kKeyDoubleClick ? int32_t(kKeyEnter) : key; }
    bool IsTypedKey() const { return key >= 1 && key <= 126; }

    // The conversions. Each returns true when the input changed the stored value (the caller then
    // stores it and writes the record back) and leaves the output text, the editor selection and
    // the action code.
    bool ConvFreqPair(datCh& record, bool receiveSide, bool follow);
    bool ConvFreq(const datCh& record, int32_t& value, bool fine, bool mayBeUnset);
    bool ConvTimeOffset(uint8_t& byte);
    bool ConvDigits(uint8_t* bytes, int digitCount);
    bool ConvChoice(const char* listKey, int itemLabel, int32_t& value);
    bool ConvChoiceByte(const char* listKey, uint8_t& byte, int itemLabel = Flex0);
    bool ConvChoiceInt(const char* listKey, int32_t& value, int itemLabel = Flex0);
    bool ConvText(char* bytes, int width);
    bool ConvNumber(int32_t& value, int32_t min, int32_t max, int32_t offset, int32_t step,
                    bool clamp, const char* fixedText);
    bool ConvNumberByte(uint8_t& byte, int32_t min, int32_t max);
    bool ConvHexByte(uint8_t& value, int compareValue, int firstBit, int lastBit);

    // Numeric cells: decides whether a key opens the in-place editor.
    void EditAction(bool spaceIsEnter, bool signsAllowed);
    // Refuses typing on a read-only cell; raises `restricted` when a typed key was cancelled.
    void RestrictEdit(bool allowed, bool& restricted);

    // Colours a conversion may give the font while drawing.
    static constexpr uint32_t kColorReadOnly = 0x008080;  // olive
    static constexpr uint32_t kColorDiffers = 0x0000FF;   // red
    // The bit-field editor list of the memory window's byte cells.
    static constexpr const char* kBitEditorSheet = "GI_Sheet_Sel_Bit_EeDebugWin";
    // Bytes are handed to the bit-field editor shifted to its bits 25 downward.
    static constexpr int kBitEditorShift = 18;

private:
    // Starts the in-place editor with a typed character, caret after it.
    void EditWithChar(int32_t c);
    // Starts the in-place editor with the current output text, all selected.
    void EditWithText();
    // Starts the in-place editor on a frequency, caret after its decimal point (or at the end),
    // so that "." lets the user type the fraction.
    void EditAfterDecimalPoint();
    void SelectAll();
    void SetCellAlignment(int alignment);
    void NoteNumber(const std::string& input, const std::string& kept, int64_t read, int64_t shown,
                    int64_t low, int64_t high, int32_t offset);
};
