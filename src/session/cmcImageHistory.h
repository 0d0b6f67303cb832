#pragma once

#include <memory>
#include <string>

#include "memory/cmcEeprom.h"

class QUndoStack;

// The undo history of one memory image: a QUndoStack of steps, each the difference an edit made
// to the image (only the changed bytes). The history keeps a baseline, the image as the last
// step (or the fresh start) left it; a commit makes a step of what changed since. Undo and redo
// change the image through the steps (also when the stack itself is driven, e.g. by a QAction
// made from it) and then call the handler, so that the owner can follow.
class cmcImageHistory {
public:
    // The steps kept; the oldest are dropped beyond it.
    static constexpr int kStepLimit = 500;

    // Called after an undo or a redo has changed the image, once the stack's index has moved.
    using Applied = void (*)(void* owner);

    explicit cmcImageHistory(cmcEeprom& image);
    ~cmcImageHistory();
    cmcImageHistory(const cmcImageHistory&) = delete;
    cmcImageHistory& operator=(const cmcImageHistory&) = delete;

    void SetAppliedHandler(Applied handler, void* owner);

    // A fresh history: no steps; the image as it is now is the baseline.
    void Clear();
    // The program's own rewrite of the image since the baseline (normalising before a save or
    // a clone write), which is no edit of the user's: it is folded into the step that led here,
    // so that undoing that step returns exactly to the image before it (not to a mixture of
    // rewritten and restored bytes), and the steps that could be redone from here are dropped,
    // since they were made on the image before the rewrite.
    void AbsorbRewrite();
    // The image differs from the baseline: something changed that is not yet a step.
    bool HasUncommitted() const;
    // One step from the baseline to the image as it is now, named for the Edit menu; false when
    // nothing changed. An image whose size changed cannot be stepped back: the history starts
    // afresh instead (and false is returned).
    bool Commit(const std::string& name);

    bool CanUndo() const;
    bool CanRedo() const;
    // The name of the step Undo (Redo) would take back (do again); empty when there is none.
    std::string UndoName() const;
    std::string RedoName() const;
    // False when there is nothing to undo (redo).
    bool Undo();
    bool Redo();
    int StepCount() const;

    // The stack itself, for its signals (canUndoChanged, undoTextChanged, indexChanged, ...).
    QUndoStack* Stack() { return stack_.get(); }

private:
    class Step;
    void AfterStep();
    void DropRedoSteps();

    cmcEeprom& image_;
    cmcEeprom baseline_;
    std::unique_ptr<QUndoStack> stack_;
    bool pushing_ = false;
    bool stepApplied_ = false;  // an undo or redo ran; the owner is told once the index moved
    Applied handler_ = nullptr;
    void* owner_ = nullptr;
};
