// pqt590-cli print: the sheets of a clone file printed to a PDF file through the desktop
// program's own print code, without a window, for a ship's records.
#include <QCommandLineParser>
#include <QLocale>
#include <QPageSize>
#include <QPdfWriter>
#include <QSaveFile>

#include <cstdio>
#include <string>
#include <vector>

#include "cells/cmcTreeBody.h"
#include "cli/cliSession.h"
#include "ui/print/cuiPrintEngine.h"
#include "ui/print/cuiPrintTarget.h"
#include "ui/sheet/cuiImageList.h"

namespace {

// A PDF page is drawn in vectors; the resolution only sets the grid of the print code's
// arithmetic (a 600 dpi printer's).
constexpr int kPdfResolution = 600;

// The paper of the user's country: Letter in the United States and Canada, else A4.
QPageSize LocalePageSize() {
    const QLocale::Territory territory = QLocale::system().territory();
    if (territory == QLocale::UnitedStates || territory == QLocale::Canada)
        return QPageSize(QPageSize::Letter);
    return QPageSize(QPageSize::A4);
}

// A page size by its name ("A4", "letter", "Legal", ...), case-insensitive; invalid when none.
QPageSize NamedPageSize(const QString& name) {
    for (int id = 0; id <= int(QPageSize::LastPageSize); ++id) {
        const auto size = static_cast<QPageSize::PageSizeId>(id);
        if (QPageSize::key(size).compare(name, Qt::CaseInsensitive) == 0 ||
            QPageSize::name(size).compare(name, Qt::CaseInsensitive) == 0)
            return QPageSize(size);
    }
    return QPageSize();
}

// One node of the tree that opens a sheet.
struct SheetNode {
    std::string caption;
    std::string reference;
};

// The node a --sheet value names: its reference exactly, its base name or its caption (case
// does not matter for the caption); nullptr when none does.
const SheetNode* FindSheet(const std::vector<SheetNode>& sheets, const std::string& wanted) {
    for (const SheetNode& s : sheets)
        if (s.reference == wanted)
            return &s;
    const QString w = QString::fromLocal8Bit(wanted.c_str());
    for (const SheetNode& s : sheets) {
        const std::string& ref = s.reference;
        const std::size_t close = ref.find(']');
        std::string base = close == std::string::npos ? ref : ref.substr(close + 1);
        base = base.substr(0, base.find(','));
        if (base == wanted ||
            QString::fromLocal8Bit(s.caption.c_str()).compare(w, Qt::CaseInsensitive) == 0)
            return &s;
    }
    return nullptr;
}

}  // namespace

int cliPrint(cliSession& session, const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Prints the sheets of a clone file to a PDF file, page by page as the desktop program\n"
        "prints them: every printable sheet of the tree in tree order, or the one named with\n"
        "--sheet. The paper is the user's country's (Letter in the United States and Canada,\n"
        "else A4) unless --page-size names another. OUT is written only when every page was\n"
        "printed.");
    cliSession::AddCommonOptions(parser);
    parser.addOption({{"o", "output"}, "The PDF file to write.", "OUT"});
    parser.addOption({"sheet",
                      "Only this sheet: its reference (GI_Sheet_UserCh), or the caption of its "
                      "node in the tree (\"User channels\").",
                      "REFERENCE"});
    parser.addOption({"page-size", "The paper: A4, Letter, Legal, A3, A5, ...", "NAME"});
    parser.addPositionalArgument("FILE", "The clone file to print.");
    int exitCode = kExitOk;
    std::string path;
    if (!session.Parse(parser, arguments, &path, &exitCode))
        return exitCode;
    if (!session.HasOutput(parser, "OUT"))
        return kExitUsage;
    const QString output = parser.value("output");
    QPageSize pageSize = LocalePageSize();
    if (parser.isSet("page-size")) {
        pageSize = NamedPageSize(parser.value("page-size"));
        if (!pageSize.isValid()) {
            session.Report("unknown page size '" +
                           parser.value("page-size").toLocal8Bit().toStdString() +
                           "' (A4, Letter, Legal, A3, A5, ...)");
            return kExitUsage;
        }
    }
    if (!session.Start(parser, true))
        return kExitFile;

    cmcGTex& dictionary = session.core.Dictionary();
    cmcTreeBody tree;
    tree.Read(dictionary, cuiPrintEngine::kTreeBase);
    std::vector<SheetNode> sheets;
    std::vector<std::string> nodes;
    for (const cmcTreeBody::Node& node : tree.Nodes()) {
        nodes.push_back(node.SheetReference());
        if (!nodes.back().empty())
            sheets.push_back({node.Caption(), nodes.back()});
    }
    const SheetNode* only = nullptr;
    if (parser.isSet("sheet")) {
        const std::string wanted = parser.value("sheet").toLocal8Bit().toStdString();
        only = FindSheet(sheets, wanted);
        if (!only) {
            std::string known;
            for (const SheetNode& s : sheets)
                known += "\n  " + s.reference + "  (" + s.caption + ")";
            session.Report("no sheet '" + wanted + "' in the tree; the sheets are:" + known);
            return kExitUsage;
        }
    }

    const int opened = session.core.OpenFile(path);
    if (opened != 0) {
        session.Report("'" + path + "' is no valid clone file, file status " +
                       std::to_string(opened));
        return kExitFile;
    }

    QSaveFile file(output);
    if (!file.open(QIODevice::WriteOnly)) {
        session.Report("cannot write '" + output.toLocal8Bit().toStdString() +
                       "': " + file.errorString().toLocal8Bit().toStdString());
        return kExitFile;
    }
    QPdfWriter writer(&file);
    writer.setResolution(kPdfResolution);
    writer.setPageSize(pageSize);
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));  // the margins are the resource file's
    writer.setCreator(QString::fromLocal8Bit(dictionary.Text("GI_Sys_AppTitleRev").c_str()));
    writer.setTitle(QString::fromLocal8Bit(path.c_str()));

    const cuiImageList images = cuiImageList::TreeImages();
    cuiPagedTarget target(writer);
    cuiPrintEngine engine(session.core.Core(), dictionary, &images, target);
    if (only) {
        engine.BeginDocument();
        engine.PrintSheet(only->reference);
        engine.EndDocument();
    } else {
        engine.StartAll(nodes);
        while (engine.AllActive())
            engine.PrintStep();
    }

    for (const cuiPrintEngine::Sheet& s : engine.Sheets()) {
        const SheetNode* node = FindSheet(sheets, s.reference);
        const std::string caption = node ? node->caption : s.reference;
        if (!s.printable)
            std::printf("  %-32s not printed\n", caption.c_str());
        else
            std::printf("  %-32s %d %s\n", caption.c_str(), s.pages,
                        s.pages == 1 ? "page" : "pages");
    }
    std::fflush(stdout);
    const std::string out = output.toLocal8Bit().toStdString();
    if (engine.Failed()) {
        file.cancelWriting();
        session.Report("cannot write '" + out + "'");
        return kExitFile;
    }
    if (engine.PagesPrinted() == 0) {
        file.cancelWriting();
        session.Report(only ? "'" + only->caption +
                                  "' is a sheet that is not printed; no file written"
                            : "no sheet to print; no file written");
        return kExitUsage;
    }
    if (!file.commit()) {
        session.Report("cannot write '" + out +
                       "': " + file.errorString().toLocal8Bit().toStdString());
        return kExitFile;
    }
    const int pages = engine.PagesPrinted();
    session.Report("printed " + std::to_string(pages) + (pages == 1 ? " page" : " pages") +
                   " to '" + out + "', status 0");
    return kExitOk;
}
