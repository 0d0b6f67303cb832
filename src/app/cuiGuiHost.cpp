#include "app/cuiGuiHost.h"

#include <cstdio>
#include <cstdlib>

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QGuiApplication>
#include <QMessageBox>
#include <QScreen>

#include "text/cmcGTex.h"
#include "ui/windows/cuiPlacement.h"

namespace {

QString FromLocal(const std::string& s) {
    return QString::fromLocal8Bit(s.data(), qsizetype(s.size()));
}

std::string ToLocal(const QString& s) {
    return s.toLocal8Bit().toStdString();
}

bool HaveWidgets() {
    return qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr;
}

QMessageBox::Icon IconOf(HostIcon icon) {
    switch (icon) {
        case HostIcon::Information:
            return QMessageBox::Information;
        case HostIcon::Warning:
            return QMessageBox::Warning;
        case HostIcon::Error:
            return QMessageBox::Critical;
        case HostIcon::Question:
            return QMessageBox::Question;
        case HostIcon::None:
            break;
    }
    return QMessageBox::NoIcon;
}

// The buttons, the default (the first, as the platform's boxes have it) and the escape button.
void SetButtons(QMessageBox& box, HostButtons buttons) {
    switch (buttons) {
        case HostButtons::Ok:
            box.setStandardButtons(QMessageBox::Ok);
            box.setDefaultButton(QMessageBox::Ok);
            box.setEscapeButton(QMessageBox::Ok);
            break;
        case HostButtons::OkCancel:
            box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
            box.setDefaultButton(QMessageBox::Ok);
            box.setEscapeButton(QMessageBox::Cancel);
            break;
        case HostButtons::YesNo:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
            box.setDefaultButton(QMessageBox::Yes);
            box.setEscapeButton(QMessageBox::No);
            break;
        case HostButtons::YesNoCancel:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
            box.setDefaultButton(QMessageBox::Yes);
            box.setEscapeButton(QMessageBox::Cancel);
            break;
    }
}

// The answer for the button that closed the box; a box closed some other way answers as its
// escape button would.
HostAnswer AnswerOf(int button, HostButtons buttons) {
    switch (button) {
        case QMessageBox::Ok:
            return HostAnswer::Ok;
        case QMessageBox::Yes:
            return HostAnswer::Yes;
        case QMessageBox::No:
            return HostAnswer::No;
        case QMessageBox::Cancel:
            return HostAnswer::Cancel;
        default:
            break;
    }
    switch (buttons) {
        case HostButtons::Ok:
            return HostAnswer::Ok;
        case HostButtons::YesNo:
            return HostAnswer::No;
        default:
            return HostAnswer::Cancel;
    }
}

// A box shows the ordinary pointer even while the program is busy.
class ArrowWhileAsking {
public:
    ArrowWhileAsking() { QApplication::setOverrideCursor(Qt::ArrowCursor); }
    ~ArrowWhileAsking() { QApplication::restoreOverrideCursor(); }
};

// Replaces a trailing "(...)" of a caption, so that the patterns are not shown twice.
QString CaptionWithoutPatterns(QString caption) {
    caption = caption.trimmed();
    if (caption.endsWith(QLatin1Char(')'))) {
        const qsizetype open = caption.lastIndexOf(QLatin1Char('('));
        if (open > 0)
            caption = caption.left(open).trimmed();
    }
    return caption;
}

}  // namespace

QStringList cuiNameFilters(const std::string& filter) {
    const QStringList parts = FromLocal(filter).split(QLatin1Char('|'));
    QStringList out;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns;
        for (QString p : parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            p = p.trimmed();
            if (p == QLatin1String("*.*"))
                p = QStringLiteral("*");
            if (!p.isEmpty())
                patterns << p;
        }
        if (patterns.isEmpty())
            continue;
        QString caption = CaptionWithoutPatterns(parts[i]);
        if (caption.isEmpty())
            caption = patterns.join(QLatin1Char(' '));
        out << caption + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
    }
    return out;
}

cuiGuiHost::~cuiGuiHost() {
    SetBusy(false);
}

HostAnswer cuiGuiHost::MessageBox(const std::string& caption, const std::string& text,
                                  HostIcon icon, HostButtons buttons) {
    if (!HaveWidgets()) {
        // No window can ask: the message goes to stderr and the question is answered as the
        // escape button would, which never goes ahead with anything.
        std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
        std::fflush(stderr);
        return AnswerOf(QMessageBox::NoButton, buttons);
    }
    QMessageBox box(IconOf(icon), FromLocal(caption), FromLocal(text), QMessageBox::NoButton,
                    window_);
    box.setTextFormat(Qt::PlainText);
    SetButtons(box, buttons);
    cuiFocusBack focus(window_);  // the keyboard goes back where it was
    ArrowWhileAsking arrow;
    return AnswerOf(RunMessageBox(box), buttons);
}

void cuiGuiHost::Fatal(const std::string& text) {
    const std::string name = ExecutableName();
    if (HaveWidgets()) {
        if (busy_) {
            QApplication::restoreOverrideCursor();
            busy_ = false;
        }
        QMessageBox box(QMessageBox::Critical, FromLocal(name), FromLocal(text), QMessageBox::Ok,
                        window_);
        box.setTextFormat(Qt::PlainText);
        ArrowWhileAsking arrow;
        RunMessageBox(box);
    } else {
        std::fprintf(stderr, "%s: %s\n", name.c_str(), text.c_str());
        std::fflush(stderr);
    }
    Terminate();
    std::abort();  // an override of Terminate that returned must still not let the caller go on
}

void cuiGuiHost::Terminate() {
    std::abort();
}

int cuiGuiHost::RunMessageBox(QMessageBox& box) {
    return box.exec();  // a box with an owner window is centred over it
}

bool cuiGuiHost::RunFileDialog(QFileDialog& dialog, QString* chosen) {
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    *chosen = dialog.selectedFiles().first();
    return true;
}

bool cuiGuiHost::AskOpenFileName(const HostFileDialog& dialog, std::string* path) {
    return AskFileName(dialog, false, path);
}

bool cuiGuiHost::AskSaveFileName(const HostFileDialog& dialog, std::string* path) {
    return AskFileName(dialog, true, path);
}

bool cuiGuiHost::AskFileName(const HostFileDialog& request, bool save, std::string* path) {
    if (!HaveWidgets() || path == nullptr)
        return false;
    const QString dir =
        request.initialDir.empty() ? QDir::currentPath() : FromLocal(request.initialDir);
    cuiFocusBack focus(window_);  // the keyboard goes back where it was
    // Lines of "GI_Sys_Dialog_Title": open, save.
    QFileDialog dialog(window_,
                       FromLocal(cmcGTex::Main()->Line("GI_Sys_Dialog_Title", save ? 1 : 0)), dir);
    const QStringList filters = cuiNameFilters(request.filter);
    if (!filters.isEmpty())
        dialog.setNameFilters(filters);
    dialog.setDefaultSuffix(FromLocal(request.defaultExtension));
    if (save) {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
        if (!request.presetName.empty())
            dialog.selectFile(FromLocal(request.presetName));
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
    }
    ArrowWhileAsking arrow;
    QString chosen;
    if (!RunFileDialog(dialog, &chosen) || chosen.isEmpty())
        return false;
    *path = ToLocal(QDir::toNativeSeparators(chosen));
    return true;
}

void cuiGuiHost::SetBusy(bool busy) {
    if (busy == busy_ || !HaveWidgets())
        return;
    busy_ = busy;
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

HostRect cuiGuiHost::WorkArea() const {
    if (!HaveWidgets())
        return cmcHost::WorkArea();
    QScreen* screen = window_ ? window_->screen() : QGuiApplication::primaryScreen();
    if (screen == nullptr)
        return cmcHost::WorkArea();
    const QRect a = screen->availableGeometry();
    return HostRect{a.left(), a.top(), a.width(), a.height()};
}

bool cuiGuiHost::ShiftPressed() const {
    return (QGuiApplication::queryKeyboardModifiers() & Qt::ShiftModifier) != 0;
}
