// Printing in the desktop program: the no-printer message, the set-up dialog, the progress window
// with Cancel and the disabled main window, print-all one node per step, and the preview.
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPrintPreviewDialog>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "GuiFixture.h"
#include "app/cuiPrintProgress.h"
#include "app/cuiPrinting.h"
#include "cells/cmcTreeBody.h"
#include "text/cmcTextUtil.h"
#include "ui/print/cuiPrintEngine.h"
#include "ui/sheet/cuiImageList.h"

namespace {

// The platform's print services replaced: whether a printer exists, whether the dialog can print
// to a file, and the dialogs' answers. An accepted dialog prints to a PDF file.
class TestPrinting : public cuiPrinting {
public:
    using cuiPrinting::cuiPrinting;

    bool hasPrinter = true;
    bool printsToFile = true;
    bool accept = true;
    QString pdf;
    int setupDialogs = 0;
    int previews = 0;
    QPrinter::OutputFormat formatAtDialog = QPrinter::NativeFormat;

protected:
    bool HasPrinter() const override { return hasPrinter; }
    bool DialogPrintsToFile() const override { return printsToFile; }
    bool RunSetupDialog(QPrinter& printer) override {
        ++setupDialogs;
        formatAtDialog = printer.outputFormat();
        if (accept) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(pdf);
        }
        return accept;
    }
    // The preview asks for its pages on a printer of its own; here that printer writes a PDF.
    void RunPreview(QPrintPreviewDialog& dialog) override {
        ++previews;
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        emit dialog.paintRequested(&printer);
    }
};

int PdfPages(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    return int(file.readAll().count("/Type /Page\n"));
}

class Printing : public GuiFixture {
protected:
    Printing() {
        window_.resize(800, 600);
        window_.show();
        printing_.pdf = dir_.filePath(QStringLiteral("out.pdf"));
    }
    int TreeNodes() {
        cmcTreeBody tree;
        tree.Read(dict_, cuiPrintEngine::kTreeBase);
        return int(tree.Nodes().size());
    }
    // Steps print-all to its end; the number of steps.
    int RunAll() {
        int steps = 0;
        while (printing_.Printing() && steps < 1000) {
            printing_.PrintStep();
            ++steps;
        }
        return steps;
    }

    QTemporaryDir dir_;
    QWidget window_;
    cuiImageList images_ = cuiImageList::TreeImages();
    TestPrinting printing_{&window_, main_.Core(), dict_, &images_};
    QSignalSpy finished_{&printing_, &cuiPrinting::Finished};
};

constexpr const char* kUserChannels = "GI_Sheet_UserCh";

TEST_F(Printing, WithoutAPrinterOrAFileToPrintToTheMessageIsAllThatHappens) {
    printing_.hasPrinter = false;
    printing_.printsToFile = false;
    printing_.Print(false, kUserChannels);
    ASSERT_EQ(host_->Messages().size(), 1u);
    EXPECT_EQ(host_->Messages()[0].caption, dict_.Text("GI_Sys_AppTitle"));
    EXPECT_EQ(host_->Messages()[0].text, ReadTextBlock(dict_, "GI_Sys_Printer_NoPrinter"));
    EXPECT_EQ(host_->Messages()[0].icon, HostIcon::Error);
    EXPECT_EQ(printing_.setupDialogs, 0);
    EXPECT_TRUE(window_.isEnabled());
    EXPECT_FALSE(QFile::exists(printing_.pdf));
}

TEST_F(Printing, WithoutAPrinterTheDialogOpensOnAPdfFile) {
    printing_.hasPrinter = false;
    printing_.accept = false;
    printing_.Print(true, kUserChannels);
    EXPECT_EQ(printing_.setupDialogs, 1);
    EXPECT_EQ(printing_.formatAtDialog, QPrinter::PdfFormat);
    EXPECT_TRUE(printing_.Printer().outputFileName().endsWith(QStringLiteral(".pdf")));
    EXPECT_TRUE(host_->Messages().empty());
}

// The PDF file offered lies in a folder that exists: beside the clone file, else in the folder
// the last PDF went to, else at home; never in a folder the technician would have to make first.
struct OfferCase {
    const char* name;
    const char* cloneFile;  // under the scratch folder; null: untitled
    const char* lastPdf;    // the last PDF, under the scratch folder; null: none yet
    const char* offered;    // under the scratch folder, or "~/" for the home folder
};

class PrintingOffer : public Printing, public ::testing::WithParamInterface<OfferCase> {};

TEST_P(PrintingOffer, WithoutAPrinterThePdfIsOfferedInAFolderThatExists) {
    const OfferCase& c = GetParam();
    QDir(dir_.path()).mkpath(QStringLiteral("plans"));
    QDir(dir_.path()).mkpath(QStringLiteral("reports"));
    if (c.cloneFile)
        main_->SetFileName(dir_.filePath(QString::fromLatin1(c.cloneFile)).toStdString());
    if (c.lastPdf)
        printing_.Printer().setOutputFileName(dir_.filePath(QString::fromLatin1(c.lastPdf)));
    printing_.hasPrinter = false;
    printing_.accept = false;
    printing_.Print(false, kUserChannels);
    const QString offered = QString::fromLatin1(c.offered);
    EXPECT_EQ(printing_.Printer().outputFileName(), offered.startsWith(QStringLiteral("~/"))
                                                        ? QDir::home().filePath(offered.mid(2))
                                                        : dir_.filePath(offered));
}

INSTANTIATE_TEST_SUITE_P(
    Folders, PrintingOffer,
    ::testing::Values(OfferCase{"BesideTheCloneFile", "plans/fleet1.t590", "reports/last.pdf",
                                "plans/fleet1.pdf"},
                      OfferCase{"UntitledInTheLastFolder", nullptr, "reports/last.pdf",
                                "reports/PQ-T590.pdf"},
                      OfferCase{"CloneFolderGoneInTheLastFolder", "gone/ship.t590",
                                "reports/last.pdf", "reports/ship.pdf"},
                      OfferCase{"BothGoneAtHome", "gone/ship.t590", "gone/last.pdf", "~/ship.pdf"},
                      OfferCase{"UntitledAtFirstAtHome", nullptr, nullptr, "~/PQ-T590.pdf"}),
    [](const ::testing::TestParamInfo<OfferCase>& i) { return std::string(i.param.name); });

TEST_F(Printing, APrintedJobSaysItsPagesAndItsFile) {
    std::vector<std::string> said;
    auto record = [](void* self, const cmcEvent& e) {
        if (e.kind == cmcEvKind::StatusMessage)
            static_cast<std::vector<std::string>*>(self)->push_back(e.Text());
    };
    events_.AddHandler(record, &said);
    printing_.Print(false, kUserChannels);
    events_.RunPass();
    ASSERT_FALSE(said.empty());
    EXPECT_EQ(said.back(),
              "Printed to out.pdf (pages: " + std::to_string(printing_.PagesPrinted()) + ")");
    events_.RemoveHandler(record, &said);
}

TEST_F(Printing, ACancelledDialogOrNoOpenSheetPrintsNothing) {
    printing_.accept = false;
    printing_.Print(false, kUserChannels);
    EXPECT_EQ(printing_.setupDialogs, 1);
    printing_.accept = true;
    printing_.Print(false, "");  // no sheet open
    EXPECT_EQ(printing_.setupDialogs, 1);
    EXPECT_FALSE(printing_.Printing());
    EXPECT_EQ(printing_.Progress(), nullptr);
    EXPECT_TRUE(window_.isEnabled());
    EXPECT_FALSE(QFile::exists(printing_.pdf));
    EXPECT_EQ(finished_.count(), 0);
}

TEST_F(Printing, TheOpenSheetPrintsAtOnce) {
    printing_.Print(false, kUserChannels);
    EXPECT_FALSE(printing_.Printing());
    EXPECT_GE(printing_.PagesPrinted(), 2);  // 160 channels
    EXPECT_EQ(PdfPages(printing_.pdf), printing_.PagesPrinted());
    EXPECT_TRUE(window_.isEnabled());
    EXPECT_EQ(printing_.Progress(), nullptr);
    EXPECT_EQ(finished_.count(), 1);
}

TEST_F(Printing, PrintAllTakesOneNodePerStepWithTheMainWindowDisabled) {
    printing_.Print(true, kUserChannels);
    ASSERT_TRUE(printing_.Printing());
    EXPECT_FALSE(window_.isEnabled());
    cuiPrintProgress* progress = printing_.Progress();
    ASSERT_NE(progress, nullptr);
    ASSERT_NE(progress->Window(), nullptr);
    EXPECT_TRUE(progress->Window()->isVisible());
    EXPECT_TRUE(progress->Window()->isEnabled());
    const int nodes = TreeNodes();
    EXPECT_EQ(RunAll(), nodes);
    EXPECT_FALSE(printing_.Printing());
    EXPECT_TRUE(window_.isEnabled());
    EXPECT_EQ(printing_.Progress(), nullptr);
    EXPECT_GT(printing_.PagesPrinted(), 15);
    EXPECT_EQ(PdfPages(printing_.pdf), printing_.PagesPrinted());
    EXPECT_EQ(finished_.count(), 1);
}

TEST_F(Printing, TheProgressWindowIsLaidOutByItsLabel) {
    printing_.Print(true, kUserChannels);
    cuiPrintProgress* progress = printing_.Progress();
    ASSERT_NE(progress, nullptr);
    QWidget* w = progress->Window();
    const char* key = "GI_Sys_Printer_PrintingDialog";
    EXPECT_EQ(w->windowTitle().toStdString(), dict_.Line(key, 0));
    EXPECT_EQ(progress->Label()->text().toStdString(), dict_.Line(key, 1));
    EXPECT_EQ(progress->Button()->text().toStdString(), dict_.Line(key, 2));
    EXPECT_TRUE(progress->Button()->isDefault());
    const QRect label = progress->Label()->geometry(), button = progress->Button()->geometry();
    EXPECT_EQ(w->width(), label.width() * 2);
    EXPECT_EQ(w->height(), (label.height() + button.height()) * 3);
    EXPECT_EQ(label.top(), label.height() * 2);
    EXPECT_EQ(label.left(), (w->width() - label.width()) / 2);
    EXPECT_EQ(button.width(), int(label.width() * 1.2));
    EXPECT_EQ(button.left(), (w->width() - button.width()) / 2);
    EXPECT_EQ(button.top(), w->height() - int(button.height() * 1.5));
    Keep(*w, "print_progress");
    RunAll();
}

enum class CancelBy { Button, Escape, CloseRequest };

class PrintingCancel : public Printing, public ::testing::WithParamInterface<CancelBy> {};

TEST_P(PrintingCancel, StopsFurtherPagesWhileEveryNodeIsStillVisited) {
    printing_.Print(true, kUserChannels);
    int steps = 0;
    while (printing_.Printing() && printing_.PagesPrinted() == 0) {
        printing_.PrintStep();
        ++steps;
    }
    const int before = printing_.PagesPrinted();
    ASSERT_GT(before, 0);
    QWidget* window = printing_.Progress()->Window();
    switch (GetParam()) {
        case CancelBy::Button:
            QTest::mouseClick(printing_.Progress()->Button(), Qt::LeftButton);
            break;
        case CancelBy::Escape:
            QTest::keyClick(window, Qt::Key_Escape);
            break;
        case CancelBy::CloseRequest:
            window->close();
            break;
    }
    ASSERT_TRUE(printing_.Printing());
    EXPECT_TRUE(window->isVisible());  // it goes only when printing has ended
    steps += RunAll();
    EXPECT_EQ(steps, TreeNodes());
    EXPECT_EQ(printing_.PagesPrinted(), before);
    EXPECT_EQ(PdfPages(printing_.pdf), before);  // the document ended normally
    EXPECT_TRUE(window_.isEnabled());
    EXPECT_EQ(finished_.count(), 1);
}

INSTANTIATE_TEST_SUITE_P(Ways, PrintingCancel,
                         ::testing::Values(CancelBy::Button, CancelBy::Escape,
                                           CancelBy::CloseRequest),
                         [](const auto& info) {
                             switch (info.param) {
                                 case CancelBy::Button:
                                     return "Button";
                                 case CancelBy::Escape:
                                     return "Escape";
                                 default:
                                     return "CloseRequest";
                             }
                         });

TEST_F(Printing, ThePreviewShowsTheSamePagesAsPrintAll) {
    printing_.Preview(true, kUserChannels);
    EXPECT_EQ(printing_.previews, 1);
    const int previewed = PdfPages(printing_.pdf);
    EXPECT_EQ(previewed, printing_.PagesPrinted());
    EXPECT_TRUE(window_.isEnabled());
    QFile::remove(printing_.pdf);
    printing_.Print(true, kUserChannels);
    RunAll();
    EXPECT_EQ(PdfPages(printing_.pdf), previewed);
    EXPECT_GT(previewed, 15);
}

TEST_F(Printing, AFileThatCannotBeWrittenIsReported) {
    printing_.pdf = dir_.filePath(QStringLiteral("no/such/dir/out.pdf"));
    printing_.Print(false, kUserChannels);
    ASSERT_EQ(host_->Messages().size(), 1u);
    EXPECT_EQ(host_->Messages()[0].text, ReadTextBlock(dict_, "GI_Sys_Printer_Failed"));
    EXPECT_EQ(printing_.PagesPrinted(), 0);
    EXPECT_TRUE(window_.isEnabled());
}

}  // namespace
