#include "app/cuiAboutBox.h"

#include <QLabel>
#include <QPointer>
#include <QPushButton>

#include "app/cuiAppText.h"
#include "text/cmcGTex.h"
#include "ui/sheet/cuiImageList.h"
#include "ui/windows/cuiPlacement.h"

namespace {

QString Text(cmcGTex& dictionary, const char* key) {
    return QString::fromLocal8Bit(dictionary.Text(key).c_str());
}

}  // namespace

QString cuiAboutBox::InformationText(cmcGTex& dictionary) {
    return Text(dictionary, "GI_Sys_AppTitleRev") + QLatin1Char('\n') +
           cuiFillText(dictionary.Line("GI_App_About_Text", 0),
                       {Text(dictionary, "GI_Sys_RadioName")}) +
           QLatin1Char('\n') + Text(dictionary, "GI_Sys_Maker") + QStringLiteral("\n\n") +
           cuiFillText(dictionary.Line("GI_App_About_Text", 1),
                       {QStringLiteral(PQ_VERSION), QString::fromLatin1(qVersion())});
}

cuiAboutBox::cuiAboutBox(QWidget* mainWindow, cmcGTex& dictionary, int iconSize)
    : QDialog(mainWindow, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                              Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("aboutBox"));
    setWindowTitle(Text(dictionary, "GI_App_About_Caption"));
    const int w = iconSize;
    const int h = iconSize;

    picture_ = new QLabel(this);
    picture_->setPixmap(cuiImageList::AppIcon().pixmap(w, h));
    picture_->setGeometry(w / 2, h / 2, w, h);

    information_ = new QLabel(this);
    information_->setTextFormat(Qt::PlainText);  // no accelerator, no markup
    information_->setText(InformationText(dictionary));
    information_->adjustSize();
    information_->move(picture_->x() + w * 3 / 2, 0);

    button_ = new QPushButton(Text(dictionary, "GI_App_About_Button"), this);
    button_->setDefault(true);
    button_->setAutoDefault(true);
    const int buttonWidth = qMax(w * 5 / 2, button_->sizeHint().width());
    button_->setGeometry(information_->geometry().right() + 1 + 2 * w, h / 4, buttonWidth,
                         button_->sizeHint().height());
    connect(button_, &QPushButton::clicked, this, &QDialog::accept);

    setFixedSize(button_->geometry().right() + 1 + h / 4,
                 information_->geometry().bottom() + 1 + h / 2);
}

cuiAboutBox* cuiAboutBox::ShowAbout(QWidget* mainWindow, cmcGTex& dictionary) {
    auto* box = new cuiAboutBox(mainWindow, dictionary);
    box->setAttribute(Qt::WA_DeleteOnClose);
    // The main window is out of reach while the box is up (Escape closes it, as the button's
    // cancel role asks), and gets its focus back after.
    box->setWindowModality(Qt::WindowModal);
    QPointer<QWidget> main(mainWindow);
    QPointer<QWidget> focus(mainWindow ? mainWindow->focusWidget() : nullptr);
    connect(box, &QDialog::finished, box, [main, focus] {
        if (main) {
            main->activateWindow();
            // Back to the control that had the keyboard (the sheet's cell keeps taking keys).
            QWidget* to = focus && focus->isVisible() ? focus.data() : main.data();
            to->setFocus(Qt::OtherFocusReason);
        }
    });
    CenterOver(box, mainWindow);
    box->show();
    return box;
}
