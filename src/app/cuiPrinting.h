#pragma once

#include <QObject>
#include <QPointer>
#include <QPrinter>
#include <QTimer>
#include <memory>
#include <string>

#include "cells/cuiMainCore.h"

class QPrintPreviewDialog;
class QWidget;
class cmcGTex;
class cuiImageList;
class cuiPagedTarget;
class cuiPrintEngine;
class cuiPrintProgress;

// Printing in the desktop program: the print command of the File menu (the open sheet, or every
// sheet of the tree) and the print preview of the same pages, over the print engine of the views.
//
//   Print(all, openSheet): finishes editing (event 21); nothing when no sheet is open. Without
//     any installed printer the set-up dialog still opens with printing to a PDF file chosen
//     (Qt's own dialog offers it everywhere but on Windows, where the native dialog needs a
//     printer: there, and only there, the "GI_Sys_Printer_NoPrinter" message is shown instead).
//     The platform's print dialog follows; Cancel ends it. Then the main window is disabled and
//     the progress window with its Cancel button shown; the open sheet is printed at once, or
//     print-all runs one tree node per 50 ms tick of this object's own timer (so the window
//     stays responsive). Cancel prints no further page; print-all still visits the remaining
//     nodes and ends the document normally. At the end the main window is enabled and focused,
//     the progress window goes and Finished is emitted.
//   Preview(all, openSheet): the same pages in QPrintPreviewDialog; its Print button prints them
//     (Qt asks for the printer, or the file when printing to PDF).
//
// The choices made in the print dialog (printer, paper, copies) are kept for the next print.
// Print errors (the printer or the PDF file refused the document) are reported with a message
// box; nothing is reported as printed that was not.
//
// Wiring in the GUI controller: one cuiPrinting made with the main window, the session's core
// roles, the main dictionary and the tree image list; cuiViews::Print(all) calls
// Print(all, sheet ? sheet->GetReference() : ""); CanPrintOpenSheet stays the controller's; the
// close query is refused while Printing() (the main window is disabled then anyway).
class cuiPrinting : public QObject {
    Q_OBJECT
public:
    // Milliseconds between two nodes of print-all.
    static constexpr int kStepMs = 50;

    cuiPrinting(QWidget* mainWindow, const cuiMainCore& core, cmcGTex& dictionary,
                const cuiImageList* images);
    ~cuiPrinting() override;

    void Print(bool all, const std::string& openSheet);
    void Preview(bool all, const std::string& openSheet);

    // A print job is under way (print-all between its steps).
    bool Printing() const { return engine_ != nullptr; }
    // One step of print-all; the timer calls it. Nothing when none runs.
    void PrintStep();
    // As the progress window's Cancel button.
    void Cancel();

    QPrinter& Printer() { return printer_; }
    // The progress window while printing, else nullptr.
    cuiPrintProgress* Progress() const { return progress_.get(); }
    // Pages of the last job that ended (or of the one under way).
    int PagesPrinted() const { return pages_; }

signals:
    void Finished();

protected:
    // Seams of the platform's print services, replaced in tests.
    virtual bool HasPrinter() const;
    virtual bool DialogPrintsToFile() const;
    virtual bool RunSetupDialog(QPrinter& printer);
    virtual void RunPreview(QPrintPreviewDialog& dialog);

    // Prints the pages onto a printer at once (the preview and its Print button).
    void PrintAtOnce(QPrinter& printer, bool all, const std::string& openSheet);

private:
    // Commits an open editor, then true when there is something to print: every sheet, or the
    // open one.
    bool Prepare(bool all, const std::string& openSheet);
    // The PDF file the dialog offers when no printer is installed.
    QString OfferedPdfFile() const;
    static bool UsableFolder(const QString& dir);
    // The status bar's word on a job that printed: its pages, and the printer or the file.
    void AnnouncePages(const QPrinter& printer);
    void Finish();
    void ReportFailure();
    static void OnPage(void* self, int pages);
    static void OnCancel(void* self);

    QPointer<QWidget> mainWindow_;
    // The control that had the keyboard before the window was disabled for printing.
    QPointer<QWidget> focusBefore_;
    cuiMainCore core_;
    cmcGTex& dictionary_;
    const cuiImageList* images_;
    QPrinter printer_{QPrinter::HighResolution};
    QTimer timer_;
    std::unique_ptr<cuiPrintProgress> progress_;
    std::unique_ptr<cuiPagedTarget> target_;
    std::unique_ptr<cuiPrintEngine> engine_;
    bool inPageEvents_ = false;
    int pages_ = 0;
};
