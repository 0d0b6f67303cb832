#include "session/cmcImageHistory.h"

#include <QUndoCommand>
#include <QUndoStack>

#include <vector>

#include "session/cmcImageDiff.h"

// One committed edit: the difference it made, and its name as text for the Edit menu (Qt's
// menus show QUndoCommand::text; the name is kept as the program's bytes too).
class cmcImageHistory::Step : public QUndoCommand {
public:
    Step(cmcImageHistory& history, cmcImageDiff diff, const std::string& name)
        : history_(history), diff_(std::move(diff)), name_(name) {
        setText(QString::fromLocal8Bit(name.data(), static_cast<qsizetype>(name.size())));
    }

    void undo() override {
        diff_.ApplyBackward(history_.image_);
        history_.AfterStep();
    }
    void redo() override {
        // QUndoStack::push redoes the step it is given; the edit has already been made.
        if (history_.pushing_)
            return;
        diff_.ApplyForward(history_.image_);
        history_.AfterStep();
    }

    const std::string& Name() const { return name_; }
    const cmcImageDiff& Diff() const { return diff_; }
    void SetDiff(cmcImageDiff diff) { diff_ = std::move(diff); }

private:
    cmcImageHistory& history_;
    cmcImageDiff diff_;
    std::string name_;
};

cmcImageHistory::cmcImageHistory(cmcEeprom& image)
    : image_(image), stack_(std::make_unique<QUndoStack>()) {
    stack_->setUndoLimit(kStepLimit);
    baseline_.CopyFrom(image_);
    // The stack moves its index only after the step has run: the owner is told then, so that
    // what it asks of the history (can undo, the names) is already the new state.
    QObject::connect(stack_.get(), &QUndoStack::indexChanged, stack_.get(), [this](int) {
        if (!stepApplied_)
            return;
        stepApplied_ = false;
        if (handler_ != nullptr)
            handler_(owner_);
    });
}

cmcImageHistory::~cmcImageHistory() = default;

void cmcImageHistory::SetAppliedHandler(Applied handler, void* owner) {
    handler_ = handler;
    owner_ = owner;
}

void cmcImageHistory::Clear() {
    stack_->clear();
    baseline_.CopyFrom(image_);
}

void cmcImageHistory::AbsorbRewrite() {
    DropRedoSteps();
    const int top = stack_->index() - 1;
    if (top >= 0 && image_.GetSize() == baseline_.GetSize()) {
        // The QUndoStack hands out its commands as const; they are ours to change.
        auto* step = const_cast<Step*>(static_cast<const Step*>(stack_->command(top)));
        cmcEeprom before;
        before.CopyFrom(baseline_);
        step->Diff().ApplyBackward(before);
        step->SetDiff(cmcImageDiff::Between(before, image_));
    } else if (image_.GetSize() != baseline_.GetSize()) {
        stack_->clear();
    }
    baseline_.CopyFrom(image_);
}

void cmcImageHistory::DropRedoSteps() {
    if (!stack_->canRedo())
        return;
    // QUndoStack drops the steps above its index only for a new step: the steps below are
    // pushed afresh instead (they are already applied, so pushing changes nothing).
    std::vector<std::unique_ptr<Step>> kept;
    for (int i = 0; i < stack_->index(); ++i) {
        const auto* step = static_cast<const Step*>(stack_->command(i));
        kept.push_back(std::make_unique<Step>(*this, step->Diff(), step->Name()));
    }
    stack_->clear();
    pushing_ = true;
    for (std::unique_ptr<Step>& step : kept)
        stack_->push(step.release());
    pushing_ = false;
}

bool cmcImageHistory::HasUncommitted() const {
    return image_.IsDifferent(baseline_);
}

bool cmcImageHistory::Commit(const std::string& name) {
    cmcImageDiff diff = cmcImageDiff::Between(baseline_, image_);
    if (diff.SizesDiffer()) {
        Clear();
        return false;
    }
    if (diff.IsEmpty())
        return false;
    pushing_ = true;
    stack_->push(new Step(*this, std::move(diff), name));
    pushing_ = false;
    baseline_.CopyFrom(image_);
    return true;
}

bool cmcImageHistory::CanUndo() const {
    return stack_->canUndo();
}

bool cmcImageHistory::CanRedo() const {
    return stack_->canRedo();
}

std::string cmcImageHistory::UndoName() const {
    if (!stack_->canUndo())
        return std::string();
    return static_cast<const Step*>(stack_->command(stack_->index() - 1))->Name();
}

std::string cmcImageHistory::RedoName() const {
    if (!stack_->canRedo())
        return std::string();
    return static_cast<const Step*>(stack_->command(stack_->index()))->Name();
}

bool cmcImageHistory::Undo() {
    if (!stack_->canUndo())
        return false;
    stack_->undo();
    return true;
}

bool cmcImageHistory::Redo() {
    if (!stack_->canRedo())
        return false;
    stack_->redo();
    return true;
}

int cmcImageHistory::StepCount() const {
    return stack_->count();
}

void cmcImageHistory::AfterStep() {
    baseline_.CopyFrom(image_);
    stepApplied_ = true;
}
