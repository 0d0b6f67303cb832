#pragma once

#include <QDialog>

class QLabel;
class QPushButton;
class cmcGTex;

// The About box: the program's icon, what the program is (title and revision, what it programs,
// its maker, the version it was built as) and one button. It keeps the main window out of reach
// while it is shown, without blocking the program; closing it gives the main window back its
// focus. Its layout follows the icon's size: the icon half an icon from the corner, the text
// one and a half icons right of the icon, the button two icons right of the text.
class cuiAboutBox : public QDialog {
public:
    // The box at the given icon size (its layout scales with it).
    cuiAboutBox(QWidget* mainWindow, cmcGTex& dictionary, int iconSize = 32);

    // Opens a box over the main window and returns it; it deletes itself when closed.
    static cuiAboutBox* ShowAbout(QWidget* mainWindow, cmcGTex& dictionary);

    // The information text (the product's title, revision, radio, maker, version).
    static QString InformationText(cmcGTex& dictionary);

    QLabel* Picture() const { return picture_; }
    QLabel* Information() const { return information_; }
    QPushButton* Button() const { return button_; }

private:
    QLabel* picture_;
    QLabel* information_;
    QPushButton* button_;
};
