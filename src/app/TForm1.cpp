#include "app/TForm1.h"

#include <algorithm>

#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMimeData>
#include <QShowEvent>
#include <QTimer>
#include <QUrl>

#include "app/cuiAppText.h"
#include "app/cuiMain.h"
#include "cells/cmcCellFont.h"
#include "cells/cmcCellObj.h"
#include "cells/cmcCellParser.h"
#include "memory/cmcEnviron.h"
#include "platform/cmcPath.h"
#include "text/cmcGTex.h"
#include "text/cmcTextFormat.h"
#include "ui/sheet/cuiImageList.h"
#include "ui/windows/cuiPlacement.h"

namespace {

// The first clone file among the dropped things; empty for none.
QString DroppedCloneFile(const QMimeData* data) {
    if (data == nullptr || !data->hasUrls())
        return QString();
    for (const QUrl& url : data->urls()) {
        if (!url.isLocalFile())
            continue;
        const QString path = url.toLocalFile();
        if (TForm1::IsCloneFileName(path) && QFileInfo(path).isFile())
            return path;
    }
    return QString();
}

}  // namespace

TForm1::TForm1(cuiMain& main) : QMainWindow(nullptr), main_(main) {
    setObjectName(QStringLiteral("mainWindow"));
    cmcGTex& dict = main.Session().Dictionary();
    // The first lookup of the program: without the resource file it ends here, with its message.
    const QString title = QString::fromLocal8Bit(dict.Text("GI_Sys_AppTitle").c_str());
    setWindowTitle(title);
    QGuiApplication::setApplicationDisplayName(title);
    setWindowIcon(cuiImageList::AppIcon());

    cmcCellObj basic;
    ParseCell(dict.Text("GI_Form_Main_BasicCell"), basic, nullptr, nullptr);
    if (basic.font)
        setFont(ToQFont(*basic.font));

    const cmcEnviron& env = main.Environ();
    const HostRect at =
        PlacementFor(HostRect{env.windowLeft, env.windowTop, env.windowWidth, env.windowHeight},
                     cmcHost::Instance().WorkArea());
    setMinimumSize(kMinWidth, kMinHeight);
    // The position is the frame's, the size the window's own, as they are kept.
    move(at.left, at.top);
    resize(at.width, at.height);
    setAcceptDrops(true);

    main.BuildWindow(*this);
}

TForm1::~TForm1() {
    main_.ReleaseViews();
}

HostRect TForm1::PlacementFor(HostRect stored, HostRect workArea) {
    stored.width = std::max(stored.width, kMinWidth);
    stored.height = std::max(stored.height, kMinHeight);
    return KeepReachable(stored, workArea);
}

HostRect TForm1::NormalBounds() const {
    if ((windowState() & (Qt::WindowMaximized | Qt::WindowMinimized | Qt::WindowFullScreen)) == 0)
        return HostRect{pos().x(), pos().y(), width(), height()};
    // The restored bounds are the window's own; the frame lies around them as it does now.
    const QPoint frame = geometry().topLeft() - frameGeometry().topLeft();
    const QRect n = normalGeometry();
    return HostRect{n.x() - frame.x(), n.y() - frame.y(), n.width(), n.height()};
}

bool TForm1::IsCloneFileName(const QString& path) {
    return path.endsWith(QLatin1String(".t590"), Qt::CaseInsensitive);
}

void TForm1::closeEvent(QCloseEvent* event) {
    if (closed_) {
        event->accept();
        return;
    }
    if (!main_.CanClose()) {
        event->ignore();
        return;
    }
    main_.Closing();
    main_.Closed();
    closed_ = true;
    event->accept();
}

void TForm1::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    main_.Session().UpdateTitle();
}

void TForm1::dragEnterEvent(QDragEnterEvent* event) {
    if (!DroppedCloneFile(event->mimeData()).isEmpty())
        event->acceptProposedAction();
    else
        event->ignore();
}

void TForm1::dropEvent(QDropEvent* event) {
    const QString path = DroppedCloneFile(event->mimeData());
    if (path.isEmpty()) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    // The questions of opening come after the drop has ended: the program the file came from
    // waits for the drop, not for the technician's answer.
    const std::string file = QFileInfo(path).absoluteFilePath().toLocal8Bit().toStdString();
    QMetaObject::invokeMethod(
        this, [this, file] { main_.OpenFile(file); }, Qt::QueuedConnection);
}

void TForm1::EndFromOutside() {
    main_.Session().KeepRecoveryForNextRun();
    if (!closed_) {
        main_.Closing();
        main_.Closed();
        closed_ = true;
    }
    close();
    // Leaves every event loop, an open question's too.
    QCoreApplication::exit(0);
}

void TForm1::TakeHandedFile(const QString& path) {
    // The technician started the program again: this window comes to the front, as the copy
    // that runs, and opens the file once whatever the technician is answering is answered.
    if (isMinimized())
        showNormal();
    raise();
    activateWindow();
    if (!path.isEmpty())
        OpenHandedFile(QFileInfo(path).absoluteFilePath().toLocal8Bit().toStdString());
}

void TForm1::OpenHandedFile(const std::string& file, bool told) {
    // A transfer with the radio keeps the file waiting until it has ended, and the status bar
    // says so. Of refusing the file and opening it afterwards, this is the safer: the transfer's
    // own closing message would cover a refusal, and the technician could go on believing the
    // file open (and write the wrong data to the next radio); meanwhile nothing touches the
    // image the transfer reads into or writes from, and the open that follows asks about the
    // unsaved changes (the data just read) first, as every open does.
    if (main_.Session().CloneBusy()) {
        if (!told) {
            cmcGTex& dict = main_.Session().Dictionary();
            cuiShowStatus(FormatText(dict.Text("GI_AppMess_HandedFile"), {cmcPathFileName(file)}),
                          false);
        }
        QTimer::singleShot(kHandedFileRetryMs, this, [this, file] { OpenHandedFile(file, true); });
        return;
    }
    // A question or dialog that is open keeps the file waiting until it is answered, and so
    // does a window that takes no input meanwhile (printing); the file's own questions then
    // follow, never one dialog over another.
    if (QApplication::activeModalWidget() != nullptr || !isEnabled()) {
        QTimer::singleShot(kHandedFileRetryMs, this,
                           [this, file, told] { OpenHandedFile(file, told); });
        return;
    }
    QMetaObject::invokeMethod(
        this, [this, file] { main_.OpenFile(file); }, Qt::QueuedConnection);
}

QMenu* TForm1::createPopupMenu() {
    return nullptr;
}
