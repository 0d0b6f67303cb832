#pragma once

#include <cstdint>
#include <string>

class cmcCellCapsule;
class cmcEeprom;
class cmcFCache;
class cmcGTex;
class datClipCh;

// What the core's cell behaviours and row edits ask of the main controller. The desktop
// program's controller implements it; the headless controller (cuiHeadlessMain) serves the
// command-line tool and the tests. Exactly one is installed at a time.
class cuiMainCore {
public:
    virtual ~cuiMainCore() = default;

    // The working image: the image every sheet shows and edits. Its bytes stay where they are
    // until the image is resized.
    virtual cmcEeprom& WorkingImage() = 0;
    uint8_t* WorkingData();

    // Command-line modes: "/expert" and "/gene" (general coverage).
    virtual bool ExpertMode() const = 0;
    virtual bool GeneralCoverageMode() const = 0;

    // The channel clipboard, kept for the life of the program.
    virtual datClipCh& Clipboard() = 0;
    // The program's text dictionary and selection-list cache.
    virtual cmcGTex& Dictionary() = 0;
    virtual cmcFCache& SectionCache() = 0;

    // Opens the choice-list window beside the opening capsule's cell over the list's sheet; the
    // choice comes back to the opening cell's behaviour as a capsule with input kind 2.
    virtual void OpenChoiceList(const cmcCellCapsule& opener, int itemLabel, int currentValue,
                                cmcGTex& dictionary, const std::string& listKey) = 0;
    // Opens the bit-field editor beside the opening capsule's cell for a value (bit 25 is the
    // editor's first cell); the value comes back as decimal text with input kind 2. An empty
    // sheet name makes the editor generate its own sheet.
    virtual void OpenBitEditor(const cmcCellCapsule& opener, cmcGTex& dictionary, uint32_t value,
                               int firstBit, int lastBit, int headerStyle, int markStyle,
                               const std::string& sheetName) = 0;

    // After every edit: (re)starts the delayed warning check (250 ms after the last edit), and
    // marks the image modified when the working image now differs from the saved image; returns
    // the modified flag.
    virtual void ScheduleWarningCheck() = 0;
    virtual bool CheckModified() = 0;

    // The other images: the template (read from the initial clone file; default values), the
    // saved image (the working image at the last New, Open, Save or clone write) and the
    // reference image the memory debug window compares with.
    virtual cmcEeprom& TemplateImage() = 0;
    virtual cmcEeprom& SavedImage() = 0;
    virtual cmcEeprom& ReferenceImage() = 0;

    // The first bytes of the radio's information block, as the last clone information command
    // stored them (all zero before one).
    static constexpr int kCloneInfoLength = 24;
    virtual const uint8_t* CloneInfo() const = 0;

    // ---- What the menu, tool-bar and tree command cells ask of the controller. The cells decide
    // (which command, which state); the controller carries out.

    // File commands; the results are those of the commands themselves.
    virtual bool FileNew() = 0;
    virtual bool FileOpen() = 0;
    virtual int OpenFile(const std::string& path) = 0;
    virtual int FileSaveAs() = 0;
    virtual int SaveFile(const std::string& path) = 0;
    // The document has no file name yet; the current file name ("<dir>/Untitled" when untitled).
    virtual bool IsUntitled() const = 0;
    virtual std::string CurrentFileName() const = 0;
    // Recent file n (from 0): as the menu shows it (files of the current file's directory by
    // name only) or as the full path; empty when the slot holds no file.
    virtual std::string RecentFileText(int n, bool fullPath) const = 0;
    // Closes the main window (the close query may still refuse).
    virtual void CloseMainWindow() = 0;
    // Printing: the open sheet (false) or every sheet of the tree (true).
    virtual void Print(bool all) = 0;
    // A sheet is open and may be printed.
    virtual bool CanPrintOpenSheet() const = 0;
    // Clone commands.
    virtual void CloneRead() = 0;
    virtual void CloneWrite() = 0;
    virtual void CloneInformation() = 0;
    // Sheets: opens the sheet a reference names (kind, base name, extra text); closes the open
    // one (the periodic task reopens the tree's current sheet, so this rebuilds it).
    virtual void OpenSheet(const std::string& sheetRef) = 0;
    virtual void CloseSheet() = 0;
    // Settings the view menu and the port menu show and change.
    virtual int FontSizeSetting() const = 0;
    virtual void SetFontSizeSetting(int percent) = 0;
    virtual bool ToolBarVisible() const = 0;
    virtual void ToggleToolBar() = 0;
    virtual int ComPortSetting() const = 0;
    virtual void SetComPortSetting(int port) = 0;
    // Shows the contents of a help file.
    virtual void ShowHelp(const std::string& path) = 0;
    // The main menu's item with a label: -1 when there is none, else the number of items it holds.
    virtual int MainMenuItemCount(int label) const = 0;
    // Posts the mirroring of a popup menu's items under the main menu's item with a label.
    virtual void MirrorIntoMainMenu(int label, const std::string& popupKey) = 0;

    // The installed controller; fatal when none is installed (a program error).
    static cuiMainCore& Instance();
    static bool IsInstalled();
    // Installs a controller (not owned); nullptr uninstalls.
    static void Install(cuiMainCore* core);
};
