#pragma once

#include <memory>
#include <string>
#include <vector>

#include <QDialog>

class QPlainTextEdit;
class QPushButton;
class cmcEeprom;

// The debug compare window: every byte of the working image that changed since the last
// comparison, one line "%04X : %02X -> %02X" (address, reference byte, working byte), or the
// line of "GI_Debug_Window" that says the two images differ in size. After each comparison the
// reference becomes a copy of the working image, so the next one lists only what changed since.
class cuiDebugCompare : public QDialog {
public:
    // The lines for two images.
    static std::vector<std::string> CompareLines(const cmcEeprom& reference,
                                                 const cmcEeprom& working);

    // The window over `area` (the tree's panel, on the screen), listing the lines.
    cuiDebugCompare(QWidget* owner, const QWidget* area, const std::vector<std::string>& lines);

    // Compares, makes the reference a copy of the working image, and returns the window ready to
    // be shown (ShowDebugCompare shows it modally).
    static std::unique_ptr<cuiDebugCompare> Prepare(QWidget* owner, const QWidget* area,
                                                    cmcEeprom& reference, const cmcEeprom& working);
    static void ShowDebugCompare(QWidget* owner, const QWidget* area, cmcEeprom& reference,
                                 const cmcEeprom& working);

    QPlainTextEdit* List() const { return list_; }
    QPushButton* CloseButton() const { return close_; }

private:
    QPlainTextEdit* list_;
    QPushButton* close_;
};
