#pragma once

#include <QDialog>
#include <string>
#include <vector>

#include "ui/table/cuiFind.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;
class cmcGTex;

// The find window beside the main window (not modal): the text, "Match case", "Whole cell", the
// scope (this sheet or all sheets, all by default), Find next (Enter, F3), Find previous
// (Shift+F3) and List all, which fills the list of every match (sheet, row caption, column
// caption, text); a line activated goes to its cell. What a step does is the controller's:
// the window only asks through its callbacks.
class cuiFindWindow : public QDialog {
    Q_OBJECT
public:
    enum class Step { Next, Previous };
    using StepCallback = void (*)(void* context, Step step);
    using ListCallback = void (*)(void* context);
    using OpenCallback = void (*)(void* context, const cuiFindMatch& match);

    cuiFindWindow(QWidget* owner, cmcGTex& dictionary);

    void SetCallbacks(StepCallback step, ListCallback list, OpenCallback open, void* context);

    // What to find (UTF-8) and how.
    std::string Text() const;
    cuiFindOptions Options() const;
    bool AllSheets() const;
    // Shows the matches in the list (and their count above it).
    void ShowMatches(const std::vector<cuiFindMatch>& matches);
    // Brings the window up with the text selected, ready for typing.
    void Raise();

    QLineEdit* TextField() const { return text_; }
    QCheckBox* MatchCaseBox() const { return matchCase_; }
    QCheckBox* WholeCellBox() const { return wholeCell_; }
    QComboBox* ScopeBox() const { return scope_; }
    QPushButton* NextButton() const { return next_; }
    QPushButton* PreviousButton() const { return previous_; }
    QPushButton* ListButton() const { return listAll_; }
    QTreeWidget* List() const { return list_; }
    QLabel* Count() const { return count_; }

private slots:
    void OnActivated(QTreeWidgetItem* item, int column);

private:
    void Ask(Step step);

    cmcGTex& dictionary_;
    StepCallback step_ = nullptr;
    ListCallback listCallback_ = nullptr;
    OpenCallback open_ = nullptr;
    void* context_ = nullptr;
    std::vector<cuiFindMatch> matches_;
    QLineEdit* text_;
    QCheckBox* matchCase_;
    QCheckBox* wholeCell_;
    QComboBox* scope_;
    QPushButton* next_;
    QPushButton* previous_;
    QPushButton* listAll_;
    QLabel* count_;
    QTreeWidget* list_;
};
