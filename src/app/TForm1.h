#pragma once

#include <QMainWindow>
#include <string>

#include "platform/cmcHost.h"

class cuiMain;
class QMenu;

// The main window: caption and font from the resources, placed where it was last left (kept
// reachable on the work area), at least 400 x 200. Its contents are built by the main controller;
// the window itself answers the close question (refused while a transfer runs, then the question
// about unsaved changes), keeps its position at exit, and opens the clone files dropped on it.
class TForm1 : public QMainWindow {
    Q_OBJECT
public:
    static constexpr int kMinWidth = 400;
    static constexpr int kMinHeight = 200;

    // Creates the form and has the controller build its contents.
    explicit TForm1(cuiMain& main);
    ~TForm1() override;

    // Where the window goes for a stored position (left, top, width, height): the stored bounds
    // kept reachable on the work area, at least the minimum size.
    static HostRect PlacementFor(HostRect stored, HostRect workArea);
    // The normal (not maximised, not minimised) bounds, as they are kept in the settings.
    HostRect NormalBounds() const;

    // Clone files among dropped paths: those whose name ends in ".t590" (any letter case).
    static bool IsCloneFileName(const QString& path);

    // A second start of the program handed this copy a file (empty: none): the window comes to
    // the front and opens it, asking about unsaved changes first; during a transfer with the
    // radio the file waits for its end (the status bar says so).
    void TakeHandedFile(const QString& path);
    // The system ends the program (a shutdown, `kill`): the window closes as a close does, but
    // asks nothing; unsaved changes stay in the recovery file, offered back at the next start.
    void EndFromOutside();
    // How often a handed file that waits (for a question's answer, for a transfer's end) looks
    // again whether it may open.
    static constexpr int kHandedFileRetryMs = 200;

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    // The tool bar is shown and hidden through the View menu only, so that the setting and the
    // window agree: no context menu of tool bars.
    QMenu* createPopupMenu() override;

private:
    // told: the status bar has said already that the file waits for a transfer.
    void OpenHandedFile(const std::string& file, bool told = false);

    cuiMain& main_;
    bool closed_ = false;
};
