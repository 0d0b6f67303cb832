#pragma once

#include <cstdint>
#include <string>
#include <vector>

class cmcCellCapsule;
class cmcEeprom;
class cmcGTex;

// What cells and commands ask of the views: windows a cell opens, the sheet, the main window's
// menu, title and tree marks. The desktop program's controller implements it; the command-line
// tool has no views, so every operation does nothing by default.
class cuiViews {
public:
    virtual ~cuiViews() = default;

    // Opens the choice-list window beside the opening capsule's cell over the list's sheet; the
    // choice comes back to the opening cell's behaviour as a capsule with input kind 2.
    virtual void OpenChoiceList(const cmcCellCapsule& opener, int itemLabel, int currentValue,
                                cmcGTex& dictionary, const std::string& listKey);
    // Opens the bit-field editor beside the opening capsule's cell for a value (bit 25 is the
    // editor's first cell); the value comes back as decimal text with input kind 2. An empty
    // sheet name makes the editor generate its own sheet.
    virtual void OpenBitEditor(const cmcCellCapsule& opener, cmcGTex& dictionary, uint32_t value,
                               int firstBit, int lastBit, int headerStyle, int markStyle,
                               const std::string& sheetName);

    // Sheets: opens the sheet a reference names (kind, base name, extra text); closes the open
    // one (the periodic task reopens the tree's current sheet, so this rebuilds it).
    virtual void OpenSheet(const std::string& sheetRef);
    virtual void CloseSheet();
    // The window and application title changed.
    virtual void UpdateTitle(const std::string& title);
    // The clone information window over the clone information sheet.
    virtual void ShowCloneInformation();
    // The warning check's result: the tree marks its nodes from the two lists of sheet
    // references.
    virtual void ShowWarningMarks(const std::vector<std::string>& errors,
                                  const std::vector<std::string>& notices);

    // Where an edit was made, as the Edit menu names it after the edit ("Receive kHz, channel
    // 12"): the open sheet knows its column and row captions. Empty (the default): the step is
    // named by what it did only.
    virtual std::string EditPlace(const cmcCellCapsule& capsule) const;
    // The working image changed as a whole, not through a cell (undo, redo, a restored recovery
    // file): the document has posted a repaint of every sheet cell; anything else a view shows
    // of the image follows here.
    virtual void WorkingImageChanged();

    // The cells that show differently on two images, by the sheets' comparison: one line each,
    // "[sheet] row / column: "text on a" -> "text on b"", the first limit of them in tree
    // order, and the number of all of them in *count. The default knows no sheets: no lines,
    // *count -1.
    virtual std::vector<std::string> DifferingCells(const cmcEeprom& a, const cmcEeprom& b,
                                                    int limit, int* count);
    // The question before a write, once the radio has been read: radio is what it holds, next
    // what the write will leave there (both as the sheets show them). kPreviewWrite or
    // kPreviewCancel; kPreviewNotShown (the default) has the session ask its plain question.
    static constexpr int kPreviewNotShown = -1;
    static constexpr int kPreviewCancel = 0;
    static constexpr int kPreviewWrite = 1;
    virtual int ConfirmWritePreview(const cmcEeprom& radio, const cmcEeprom& next);

    // Closes the main window (the close query may still refuse).
    virtual void CloseMainWindow();
    // Printing: the open sheet (false) or every sheet of the tree (true).
    virtual void Print(bool all);
    // A sheet is open and may be printed.
    virtual bool CanPrintOpenSheet() const;
    // Settings the view menu shows and changes.
    virtual int FontSizeSetting() const;
    virtual void SetFontSizeSetting(int percent);
    virtual bool ToolBarVisible() const;
    virtual void ToggleToolBar();
    // Shows the contents of a help file.
    virtual void ShowHelp(const std::string& path);
    // The main menu's item with a label: -1 when there is none, else the number of items it holds.
    virtual int MainMenuItemCount(int label) const;
    // Posts the mirroring of a popup menu's items under the main menu's item with a label.
    virtual void MirrorIntoMainMenu(int label, const std::string& popupKey);
};
