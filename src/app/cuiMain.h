#pragma once

#include <memory>
#include <string>
#include <vector>

#include <QPointer>

#include "app/cuiSheetHistory.h"
#include "cells/cmcColor.h"
#include "events/cmcEvent.h"
#include "events/cmcTask.h"
#include "session/indSession.h"
#include "ui/sheet/cuiImageList.h"
#include "ui/table/cuiFind.h"

class QAction;
class QMenu;
class QFrame;
class QLabel;
class QPainter;
class QRect;
class QSplitter;
class QWidget;
class TForm1;
class cmcEnviron;
class cmcSettingsStore;
class cuiFindWindow;
class cuiMenu;
class cuiPrinting;
class cuiFleetWindow;
class cmcCellCapsule;
class cuiSheet;
class cuiStatusPanels;
class cuiToolBar;
class cuiTransferProgress;
class cuiTree;
struct cmcEvent;

// The desktop program's main controller: the views' half of the product's main controller. It
// owns one indSession (the document and every command with its questions) and the views: the
// main menu, the tool bar, the tree, the status bar, the one open sheet with the history of
// sheets seen, the 50 ms periodic task and the clone progress window. It is the views role of
// the core (cuiViews), so that the behaviours of menu, tool-bar, tree and sheet cells reach the
// windows through it and never through a global.
//
// The work is split by concern: cuiMain.cpp builds the window and answers the events and the
// periodic task; cuiMainViews.cpp carries out what the core asks of the views (sheets, title,
// marks, menus, settings, windows). indMain adds what is the T590's own.
class cuiMain : public cuiViews {
public:
    // The periodic task's interval, the tree panel's narrowest width, the message panel's
    // narrowest width, and the smallest image the memory map fits in.
    static constexpr int kPeriodMs = 50;
    static constexpr int kMinPanelWidth = 8;
    static constexpr int kMinMessageWidth = 100;
    static constexpr int kSelfCheckImageSize = 12226;
    // The status panels: the message panel and the plain panel right of it.
    static constexpr int kMessagePanel = 0;

    // The controller over the settings (not owned; they outlive it), reading its resources from
    // resourceDir (with its trailing separator). Nothing is read yet.
    cuiMain(cmcEnviron& environ, const std::string& resourceDir);
    ~cuiMain() override;
    cuiMain(const cuiMain&) = delete;
    cuiMain& operator=(const cuiMain&) = delete;

    // ---- The steps of start-up, in the order the program runs them (the model may add to them).

    // The command line (program path first).
    virtual void Initialize(const std::vector<std::string>& arguments);
    // Builds the window's contents on the form: template, menu, tool bar, splitter with the tree
    // and the sheet's panel, status bar; starts the periodic task.
    virtual void BuildWindow(TForm1& form);
    // (Re)builds the tree in the left panel and selects its first node.
    virtual void BuildTree();
    // The sheet a reference names, on the parent (not built yet).
    virtual std::unique_ptr<cuiSheet> CreateSheet(QWidget* parent, const std::string& reference);
    // The status bar changed its size: the message panel takes what the others leave.
    virtual void StatusBarResized();
    // Paints an owner-drawn status panel.
    virtual void DrawStatusPanel(QPainter& painter, int panel, const QRect& rect);

    // A program whose image is too small for the memory map cannot run ("Self Check Error.").
    static void SelfCheck(int imageSize);

    // ---- The form's questions and events.

    // The close query: refused while the window is disabled (a transfer runs), else the question
    // about unsaved changes. True when closing may go ahead.
    bool CanClose();
    // Closing goes ahead: the window's normal position and the tree panel's width are kept.
    void Closing();
    // The window closed, or goes: the periodic task stops, the sheet and the tree go.
    void Closed();
    // The form is going away: every view made on it goes first.
    void ReleaseViews();
    // Keeps a recovery file while the image has unsaved changes, and offers an earlier run's back
    // (the program calls it once its window shows; tests leave the user's directory alone).
    void StartRecovery();
    // A file named on the command line or dropped on the window, opened as File Open would.
    int OpenFile(const std::string& path);

    // ---- The views role (cuiViews).

    void OpenSheet(const std::string& sheetRef) override;
    void CloseSheet() override;
    void UpdateTitle(const std::string& title) override;
    void ShowCloneInformation() override;
    void OpenChoiceList(const cmcCellCapsule& opener, int itemLabel, int currentValue,
                        cmcGTex& dictionary, const std::string& listKey) override;
    void OpenBitEditor(const cmcCellCapsule& opener, cmcGTex& dictionary, uint32_t value,
                       int firstBit, int lastBit, int headerStyle, int markStyle,
                       const std::string& sheetName) override;
    void Print(bool all) override;
    // Printing, made at the first print; null before.
    cuiPrinting* Printing() const { return printing_.get(); }
    // The Edit menu's undo and redo items (added to the resource file's menu by the program).
    QAction* UndoItem() const { return undoItem_; }
    QAction* RedoItem() const { return redoItem_; }
    // The File menu's print previews: of the open sheet (enabled when it can be printed) and of
    // every sheet.
    QAction* PreviewItem() const { return previewItem_; }
    QAction* PreviewAllItem() const { return previewAllItem_; }
    void Preview(bool all);
    // File › Export sheet..., Import sheet... (the open sheet as a CSV table, through its cells'
    // own behaviours) and Compare with file... (a window of every cell that shows differently,
    // each line opening its sheet). Each asks for its file; true when it did its work.
    bool ExportSheet();
    bool ImportSheet();
    bool CompareWithFile();
    // Shows one cell: its sheet's tree node selected, the sheet open with the cursor on the cell
    // (scrolled into view) and the keyboard in the sheet.
    void ShowCell(const std::string& reference, int col, int row);
    QAction* ExportItem() const { return exportItem_; }
    QAction* CompareItem() const { return compareItem_; }
    // The Debug menu of expert mode (memory window, debug compare, trace window); null otherwise.
    QMenu* DebugMenu() const { return debugMenu_; }
    // The memory window and the free trace window (the Debug menu's, and events 6 and 5).
    void OpenMemoryWindow();
    void OpenTraceWindow();
    void ShowWarningMarks(const std::vector<std::string>& errors,
                          const std::vector<std::string>& notices) override;
    void CloseMainWindow() override;
    bool CanPrintOpenSheet() const override;
    int FontSizeSetting() const override;
    void SetFontSizeSetting(int percent) override;
    bool ToolBarVisible() const override;
    void ToggleToolBar() override;
    void ShowHelp(const std::string& path) override;
    int MainMenuItemCount(int label) const override;
    void MirrorIntoMainMenu(int label, const std::string& popupKey) override;
    // The write preview: the comparison of the radio and the data, with Write and Cancel.
    int ConfirmWritePreview(const cmcEeprom& radio, const cmcEeprom& next) override;
    // The compare window's comparison.
    std::vector<std::string> DifferingCells(const cmcEeprom& a, const cmcEeprom& b, int limit,
                                            int* count) override;
    // The Clone menu's "Verify after write" (null until the window is built).
    QAction* VerifyItem() const { return verifyItem_; }

    // ---- Find.

    // Edit > Find... (Ctrl+F): the find window, raised with its text ready for typing.
    void OpenFind();
    // F3 (forward) and Shift+F3: the next (previous) match from the cursor, wrapping around with
    // a status message; a search without a match says so and moves nothing.
    void FindStep(bool forward);
    // Opens the match's sheet through the tree, puts the cursor on its cell, focus in the grid.
    void GoToMatch(const cuiFindMatch& match);
    cuiFindWindow* FindWindow() const;
    QAction* FindItem() const { return findItem_; }
    QAction* FindNextItem() const { return findNextItem_; }
    QAction* FindPreviousItem() const { return findPreviousItem_; }

    // ---- Sort.

    // Edit > Sort rows...: the open sheet's used rows (the selected ones, when several are) by
    // the cursor's column, in the direction asked, as one undo step "Sort rows"; told in the
    // status bar, and refused there when the sheet's rows are not records. True when moved.
    bool SortRows();
    QAction* SortItem() const { return sortItem_; }
    // The same command in the pop-up menu of the open sheet's rows (made at its first showing).
    QAction* PopupSortItem() const { return popupSortItem_; }
    static constexpr int kSortCancelled = 0;
    static constexpr int kSortAscending = 1;
    static constexpr int kSortDescending = 2;

protected:
    // Asks the direction of a sort by the column (UTF-8 caption); tests answer instead.
    virtual int AskSortDirection(const std::string& column);

public:
    // ---- Port devices.

    // Asks which device COM `comNumber` stands for and keeps the answer in the settings; true
    // when one was chosen.
    bool ChoosePortDevice(int comNumber);
    // Where the devices of the COM numbers are kept (not owned; null: the program's settings).
    void SetPortStore(cmcSettingsStore* store) { portStore_ = store; }
    // The device COM `comNumber` stands for: the session's own device for its port when it has
    // one, else the one kept in the store, else the platform's default.
    std::string PortDeviceOf(int comNumber) const;

    // ---- What the controller holds.

    indSession& Session() { return session_; }
    cuiMainCore Core() { return session_.Core(); }
    cmcEnviron& Environ() { return environ_; }
    TForm1* Form() const;
    QWidget* LeftPanel() const;
    QWidget* RightPanel() const;
    QSplitter* Splitter() const;
    cuiStatusPanels* StatusPanels() const;
    cuiTree* Tree() const;
    cuiMenu* Menu() const { return menu_.get(); }
    cuiToolBar* ToolBar() const { return toolBar_.get(); }
    cuiSheet* Sheet() const { return sheet_.get(); }
    const cuiSheetHistory& History() const { return history_; }
    cuiTransferProgress* Progress() const { return progress_.get(); }
    QWidget* CloneInformationWindow() const { return infoWindow_.data(); }
    QAction* PortDeviceItem() const { return portDeviceItem_; }
    // Clone › Write to several radios...: the window of the fleet run, refused (the usual
    // message) while the open image has data errors; true when it opened.
    bool OpenFleetWindow();
    QAction* FleetItem() const { return fleetItem_; }
    cuiFleetWindow* FleetWindow() const;
    // What the sheet's panel shows while no sheet is open.
    QLabel* NoSheetHint() const;
    const cuiImageList& TreeImages() const { return treeImages_; }
    const cuiImageList& ToolBarImages() const { return toolImages_; }
    const std::string& MessageText() const { return messageText_; }
    cmcTask& PeriodicTask() { return periodic_; }

    // One pass of the periodic task: reopens the tree's sheet when none is open, runs the
    // warning check when its delay has passed. The timer runs it every 50 ms; tests call it.
    void RunPeriodicTask();

protected:
    // Opens a help file or page (the desktop's viewer); tests look instead.
    virtual void OpenUrl(const std::string& path);
    // Runs the port chooser; the chosen device, or false when cancelled.
    virtual bool RunPortChooser(int comNumber, std::string* device);

    cmcGTex& Dictionary() { return session_.Dictionary(); }

private:
    static void OnEvent(void* self, const cmcEvent& event);
    static void OnPeriodic(void* self, cmcTask& task);
    static void OnMenuClick(void* self, QAction* item);
    static void OnDrawPanel(void* self, QPainter& painter, int panel, const QRect& rect);
    static void OnStatusResized(void* self);
    void HandleEvent(const cmcEvent& event);
    void BuildPanels(TForm1& form);
    void BuildStatusBar(TForm1& form);
    // A first start (no bounds stored): the window and the tree panel take the sizes at which
    // the tree's captions and the widest sheet show whole, within the work area.
    void FitFirstWindow(TForm1& form);
    void AddPortDeviceItem();
    void AddFleetItem();
    void AddUndoItems();
    void UpdateUndoItems();
    void PlaceUndoItems();
    void AddPreviewItem();
    // Sends event 21, so that an open in-place editor commits its text first.
    void FinishEditing();
    void AddTableItems();
    void AddWriteItems();
    void AddFindItems();
    void AddSortItem();
    // The open sheet's pop-up menu offers Sort rows... too, below its own items.
    void OfferSortInPopup();
    void PlaceSortInPopup(QMenu* popup);
    void PlaceFindItems();
    void ListMatches();
    std::vector<cuiFindMatch> FindMatches();
    void AddDebugMenu();
    void UpdatePortDeviceItem();
    void TreeSettled();

    cmcEnviron& environ_;
    indSession session_;
    QPointer<TForm1> form_;
    cuiImageList treeImages_;
    cuiImageList toolImages_;
    QPointer<QSplitter> splitter_;
    QPointer<QFrame> leftPanel_;
    QPointer<QFrame> rightPanel_;
    QPointer<QLabel> noSheet_;
    QPointer<cuiStatusPanels> statusPanels_;
    bool focusInSheet_ = false;
    bool reopening_ = false;  // the periodic task runs the tree's node to reopen its sheet
    cmcColor messageTextColor_ = kStatusTextNormal;
    cmcColor messageBackColor_ = kStatusBackNormal;
    std::string messageText_;
    std::unique_ptr<cuiMenu> menu_;
    QPointer<cuiTree> tree_;
    std::unique_ptr<cuiToolBar> toolBar_;
    std::unique_ptr<cuiSheet> sheet_;
    cuiSheetHistory history_;
    cmcTask periodic_;
    std::unique_ptr<cuiTransferProgress> progress_;
    QPointer<QWidget> infoWindow_;
    QPointer<QAction> portDeviceItem_;
    QPointer<QAction> fleetItem_;
    QPointer<cuiFleetWindow> fleetWindow_;
    QPointer<QAction> undoItem_;
    QPointer<QAction> redoItem_;
    QPointer<QAction> previewItem_;
    QPointer<QAction> previewAllItem_;
    QPointer<QAction> exportItem_;
    QPointer<QAction> importItem_;
    QPointer<QAction> compareItem_;
    QPointer<QAction> verifyItem_;
    QPointer<QAction> findItem_;
    QPointer<QAction> findNextItem_;
    QPointer<QAction> findPreviousItem_;
    QPointer<cuiFindWindow> findWindow_;
    QPointer<QAction> sortItem_;
    QPointer<QAction> popupSortItem_;
    QPointer<QAction> popupSortSeparator_;
    QPointer<QMenu> debugMenu_;
    std::unique_ptr<cuiPrinting> printing_;
    cmcSettingsStore* portStore_ = nullptr;
};
