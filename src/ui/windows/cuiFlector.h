#pragma once

#include <QPointer>
#include <QWidget>
#include <cstdint>
#include <memory>
#include <string>

#include "cells/cuiMainCore.h"

class cmcCellCapsule;
class cmcGTex;
class cuiImageList;
class cuiSheet;
struct cmcEvent;

// The choice-list window: a frameless popup beside a cell that lists the values the cell can
// take. The list is an ordinary sheet in choice-list mode over the list's sections; Enter, a
// double click or a single click on an entry hands the entry to the opening cell's behaviour as
// a capsule with input kind 2 (the entry's capsule as parent) and closes the list; the cursor
// follows the mouse, and Up and Down wrap around when the list has no scroll bars.
//
// Escape, a click elsewhere (the popup closes), the opening sheet going away (event 1 naming its
// grid) and event 21 close it without a choice. It is a popup, not a positioned top-level, so
// that it opens beside its cell on Wayland as on X11. Made with Open, never reused; the object
// deletes itself once its window has closed.
class cuiFlector : public QWidget {
    Q_OBJECT
public:
    // Opens the list and returns it (the caller does not own it). opener: the capsule of the
    // cell that opened the list (copied; its owner control, the opening grid, owns the window;
    // mainWindow does when the opener names no widget). itemLabel and currentValue: the entry the
    // cursor starts on. listKey: the base name of the list's sheet in the dictionary.
    static cuiFlector* Open(const cuiMainCore& core, QWidget* mainWindow,
                            const cmcCellCapsule& opener, int itemLabel, int currentValue,
                            cmcGTex& dictionary, const std::string& listKey,
                            const cuiImageList* images);
    ~cuiFlector() override;

    cuiSheet* Sheet() const { return sheet_.get(); }
    // Escape closed the list.
    bool Cancelled() const { return cancelled_; }
    // Closes the list; the object goes once control is back in the event loop.
    void Release();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool event(QEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    cuiFlector(const cuiMainCore& core, QWidget* owner, const cmcCellCapsule& opener, int itemLabel,
               int currentValue, cmcGTex& dictionary, const std::string& listKey,
               const cuiImageList* images);
    void FitToWorkArea();
    static void OnEvent(void* self, const cmcEvent& event);

    QObject* ownerControl_;
    QPointer<QWidget> owner_;  // the opening grid, when it is a widget
    cmcGTex& dictionary_;
    std::string baseName_;
    const cuiImageList* images_;
    std::unique_ptr<cuiSheet> sheet_;
    bool cancelled_ = false;
    bool released_ = false;
    bool registered_ = false;
};

// The entry point the views' controller calls for cuiViews::OpenChoiceList: opens the list beside
// the opener's cell over the list sheet listKey of the dictionary, with the controller's images.
void cuiOpenChoiceList(const cuiMainCore& core, QWidget* mainWindow, const cmcCellCapsule& opener,
                       int itemLabel, int currentValue, cmcGTex& dictionary,
                       const std::string& listKey, const cuiImageList* images);
