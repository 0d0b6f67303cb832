#include "app/cuiPrinting.h"

#include <QAbstractPrintDialog>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinterInfo>
#include <QWidget>

#include "app/cuiPrintProgress.h"
#include "events/cmcEvMan.h"
#include "platform/cmcHost.h"
#include "session/indSession.h"
#include "text/cmcGTex.h"
#include "text/cmcTextUtil.h"
#include "ui/print/cuiPrintEngine.h"
#include "ui/print/cuiPrintTarget.h"
#include "ui/windows/cuiPlacement.h"

cuiPrinting::cuiPrinting(QWidget* mainWindow, const cuiMainCore& core, cmcGTex& dictionary,
                         const cuiImageList* images)
    : mainWindow_(mainWindow), core_(core), dictionary_(dictionary), images_(images) {
    timer_.setInterval(kStepMs);
    connect(&timer_, &QTimer::timeout, this, &cuiPrinting::PrintStep);
}

cuiPrinting::~cuiPrinting() {
    timer_.stop();
    engine_.reset();  // ends a document under way with what it has
    target_.reset();
    progress_.reset();
}

bool cuiPrinting::HasPrinter() const {
    return !QPrinterInfo::availablePrinters().isEmpty();
}

bool cuiPrinting::DialogPrintsToFile() const {
#ifdef Q_OS_WIN
    return false;  // the native dialog does not open without a printer
#else
    return true;  // Qt's own dialog (and the macOS panel) always offers a PDF file
#endif
}

bool cuiPrinting::RunSetupDialog(QPrinter& printer) {
    QPrintDialog dialog(&printer, mainWindow_);
    // Every page of the job is printed: ranges and selections would be silently ignored.
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
    return dialog.exec() == QDialog::Accepted;
}

void cuiPrinting::RunPreview(QPrintPreviewDialog& dialog) {
    dialog.exec();
}

bool cuiPrinting::Prepare(bool all, const std::string& openSheet) {
    if (cmcEvMan* events = cmcEvMan::Global())
        events->SendEvent(cmcEvKind::FinishEditing);
    if ((!all && openSheet.empty()) || Printing())
        return false;
    if (!HasPrinter()) {
        if (!DialogPrintsToFile()) {
            cmcHost::Instance().MessageBox(dictionary_.Text("GI_Sys_AppTitle"),
                                           ReadTextBlock(dictionary_, "GI_Sys_Printer_NoPrinter"),
                                           HostIcon::Error, HostButtons::Ok);
            return false;
        }
        // No printer to choose: the dialog comes up printing to a PDF file.
        printer_.setOutputFormat(QPrinter::PdfFormat);
        printer_.setOutputFileName(OfferedPdfFile());
    }
    return true;
}

bool cuiPrinting::UsableFolder(const QString& dir) {
    const QFileInfo info(dir);
    return !dir.isEmpty() && info.isDir() && info.isWritable();
}

QString cuiPrinting::OfferedPdfFile() const {
    // Beside the clone file, else in the folder the last PDF went to, else at home: always a
    // folder that exists, so that the dialog never offers one the technician has to make.
    const std::string current = core_.commands.CurrentFileName();
    const QFileInfo file(QString::fromLocal8Bit(current.c_str()));
    const QString last = printer_.outputFileName().isEmpty()
                             ? QString()
                             : QFileInfo(printer_.outputFileName()).absolutePath();
    const bool beside = !core_.commands.IsUntitled() && UsableFolder(file.absolutePath());
    const QString dir = beside ? file.absolutePath() : UsableFolder(last) ? last : QDir::homePath();
    const QString name = core_.commands.IsUntitled()
                             ? QString::fromLocal8Bit(dictionary_.Text("GI_Sys_AppTitle").c_str())
                             : file.completeBaseName();
    return QDir(dir).filePath(name + QStringLiteral(".pdf"));
}

void cuiPrinting::Print(bool all, const std::string& openSheet) {
    if (!Prepare(all, openSheet))
        return;
    {
        cuiFocusBack focus(mainWindow_);  // a cancelled dialog leaves the keyboard where it was
        if (!RunSetupDialog(printer_))
            return;
    }
    if (mainWindow_) {
        focusBefore_ = mainWindow_->focusWidget();
        mainWindow_->setEnabled(false);
    }
    progress_ = std::make_unique<cuiPrintProgress>(mainWindow_, dictionary_);
    progress_->SetCancelCallback(&cuiPrinting::OnCancel, this);
    progress_->Show();
    target_ = std::make_unique<cuiPagedTarget>(printer_);
    engine_ = std::make_unique<cuiPrintEngine>(core_, dictionary_, images_, *target_);
    engine_->SetPageCallback(&cuiPrinting::OnPage, this);
    pages_ = 0;
    // The progress window paints before the first sheet is built.
    QCoreApplication::processEvents();
    if (all) {
        engine_->StartAll();
        timer_.start();
        return;
    }
    engine_->BeginDocument();
    engine_->PrintSheet(openSheet);
    engine_->EndDocument();
    Finish();
}

void cuiPrinting::PrintStep() {
    if (!engine_ || !engine_->AllActive())
        return;
    engine_->PrintStep();
    if (engine_ && !engine_->AllActive()) {
        timer_.stop();
        Finish();
    }
}

void cuiPrinting::Cancel() {
    if (engine_)
        engine_->RequestCancel();
}

void cuiPrinting::OnCancel(void* self) {
    static_cast<cuiPrinting*>(self)->Cancel();
}

void cuiPrinting::OnPage(void* self, int pages) {
    auto* p = static_cast<cuiPrinting*>(self);
    p->pages_ = pages;
    // A long sheet gives the Cancel button its chance between pages.
    if (p->inPageEvents_)
        return;
    p->inPageEvents_ = true;
    QCoreApplication::processEvents();
    p->inPageEvents_ = false;
}

void cuiPrinting::Finish() {
    const bool failed = engine_ && engine_->Failed();
    if (engine_)
        pages_ = engine_->PagesPrinted();
    engine_.reset();
    target_.reset();
    if (mainWindow_) {
        mainWindow_->setEnabled(true);
        mainWindow_->activateWindow();
        // Disabling took the keyboard from the control that had it: it goes back there.
        QWidget* focus =
            focusBefore_ && focusBefore_->isVisible() ? focusBefore_.data() : mainWindow_.data();
        focus->setFocus(Qt::OtherFocusReason);
        focusBefore_ = nullptr;
    }
    progress_.reset();
    if (failed)
        ReportFailure();
    else
        AnnouncePages(printer_);
    emit Finished();
}

void cuiPrinting::ReportFailure() {
    cmcHost::Instance().MessageBox(dictionary_.Text("GI_Sys_AppTitle"),
                                   ReadTextBlock(dictionary_, "GI_Sys_Printer_Failed"),
                                   HostIcon::Error, HostButtons::Ok);
}

void cuiPrinting::Preview(bool all, const std::string& openSheet) {
    if (!Prepare(all, openSheet))
        return;
    cuiFocusBack focus(mainWindow_);  // the keyboard goes back where it was when the preview closes
    QPrintPreviewDialog dialog(&printer_, mainWindow_);
    dialog.setWindowTitle(QString::fromLocal8Bit(dictionary_.Text("GI_Sys_AppTitle").c_str()));
    connect(&dialog, &QPrintPreviewDialog::paintRequested, this,
            [this, all, openSheet](QPrinter* printer) { PrintAtOnce(*printer, all, openSheet); });
    RunPreview(dialog);
}

void cuiPrinting::PrintAtOnce(QPrinter& printer, bool all, const std::string& openSheet) {
    cuiPagedTarget target(printer);
    cuiPrintEngine engine(core_, dictionary_, images_, target);
    if (all) {
        engine.StartAll();
        while (engine.AllActive())
            engine.PrintStep();
    } else {
        engine.BeginDocument();
        engine.PrintSheet(openSheet);
        engine.EndDocument();
    }
    pages_ = engine.PagesPrinted();
    if (engine.Failed())
        ReportFailure();
}

void cuiPrinting::AnnouncePages(const QPrinter& printer) {
    cmcEvMan* events = cmcEvMan::Global();
    if (events == nullptr)
        return;
    const bool toFile = !printer.outputFileName().isEmpty();
    const std::string where =
        (toFile ? QFileInfo(printer.outputFileName()).fileName() : printer.printerName())
            .toLocal8Bit()
            .toStdString();
    const std::string text = FillPlaceholders(
        dictionary_.Line("GI_AppMess_Done",
                         toFile ? indSession::kDonePrintFile : indSession::kDonePrintPrinter),
        {where, std::to_string(pages_)});
    events->PostEventText(cmcEvKind::StatusMessage, kStatusTextNormal,
                          static_cast<int32_t>(kStatusBackNormal), text.c_str());
}
