#pragma once

#include <memory>
#include <string>
#include <vector>

#include "cells/cuiMainCore.h"
#include "ui/print/cuiPrintLayout.h"

class QPainter;
class QWidget;
class cmcGTex;
class cuiImageList;
class cuiPrintTarget;
class cuiSheet;

// Printing sheets onto a print target. A sheet is printed by building a second, invisible
// instance of it for the target's device, cutting its grid into page-sized groups of columns
// and rows (the fixed rows and columns repeated on every page, a heading spread over "+" cells
// never cut at its start), shrinking the font when a block does not fit (up to three rebuilds
// per block; the size found stays for the rest of the sheet), and drawing each block inside a
// page frame: the sheet's title and "GI_Sys_AppTitleRev" on top, "GI_Sys_Maker" at the bottom,
// a black bar under the one and over the other.
//
// One document at a time: BeginDocument, any number of PrintSheet, EndDocument. Printing every
// sheet of the tree is cut into steps of one tree node each (StartAll, then PrintStep until
// AllActive is false), so that a window can stay responsive in between; a cancel request stops
// further pages, while the remaining nodes are still visited (built and dropped) and the
// document ends normally.
class cuiPrintEngine {
public:
    // The tree whose nodes print-all visits.
    static constexpr const char* kTreeBase = "GI_Tree_Main";

    // One printed page.
    struct Page {
        std::string reference;     // the sheet's
        std::vector<int> columns;  // the grid columns on the page, the fixed ones first
        std::vector<int> rows;     // likewise the rows
        cuiPrintRect content;      // the frame's content rectangle, where the cells begin
        int fontHeight = 0;        // the print font height the sheet was built with
    };
    // One sheet handled by PrintSheet.
    struct Sheet {
        std::string reference;
        bool printable = false;
        int pages = 0;
        int rebuilds = 0;    // rebuilds with a smaller font
        int fontHeight = 0;  // the print font height in force at the end
    };
    // Called after every page (context, pages printed so far in the document); a window may
    // handle its events there (the Cancel button).
    using PageCallback = void (*)(void* context, int pages);

    // The target is not owned and must outlive the engine; images: for the printed marks.
    cuiPrintEngine(const cuiMainCore& core, cmcGTex& dictionary, const cuiImageList* images,
                   cuiPrintTarget& target);
    ~cuiPrintEngine();
    cuiPrintEngine(const cuiPrintEngine&) = delete;
    cuiPrintEngine& operator=(const cuiPrintEngine&) = delete;

    void SetPageCallback(PageCallback callback, void* context);

    // ---- One document.
    // Computes the page rectangle from "GI_Sys_Printer_Margins" and the target's page; no page
    // exists yet.
    void BeginDocument();
    // Prints the sheet a reference names; returns the number of pages printed. A sheet that is
    // not printable prints none; after a cancel request (or a failure of the target) the sheet
    // is built and dropped without printing.
    int PrintSheet(const std::string& reference);
    // Ends the document; false when the target failed at any point.
    bool EndDocument();

    // ---- Every sheet of the tree, one node per step.
    // Starts over the nodes of the tree, in tree order, expanded or not.
    void StartAll(const std::string& treeBase = kTreeBase);
    // The same over a list of node references ("" for a node that opens no sheet).
    void StartAll(std::vector<std::string> nodeReferences);
    bool AllActive() const { return allActive_; }
    // One node: the first step begins the document, the last one ends it. Nothing happens when
    // print-all is not active or a step is already running (a page callback's event handling).
    void PrintStep();
    int NodeCount() const { return int(nodes_.size()); }
    int NextNode() const { return nextNode_; }

    // ---- Cancel, results.
    void RequestCancel() { cancel_ = true; }
    bool CancelRequested() const { return cancel_; }
    // The target could not start the document, a page or end it.
    bool Failed() const { return failed_; }
    int PagesPrinted() const { return pagesPrinted_; }
    const cuiPrintRect& PageRect() const { return pageRect_; }
    // The frame and the font heights on the target's device.
    cuiPageFrame Frame() const;
    int SheetFontHeight() const;
    int FrameFontHeight() const;
    const std::vector<Page>& Pages() const { return pages_; }
    const std::vector<Sheet>& Sheets() const { return sheets_; }

private:
    std::unique_ptr<cuiSheet> BuildSheet(QWidget& host, const std::string& reference,
                                         int fontHeight);
    bool StartPage();
    void DrawFrame(QPainter& painter, const cuiSheet& sheet, const cuiPageFrame& frame);
    void DrawBlock(QPainter& painter, cuiSheet& sheet, const std::vector<int>& columns,
                   const std::vector<int>& rows, const cuiPrintRect& content);

    cuiMainCore core_;
    cmcGTex& dictionary_;
    const cuiImageList* images_;
    cuiPrintTarget& target_;
    PageCallback pageCallback_ = nullptr;
    void* pageContext_ = nullptr;
    QPainter* painter_ = nullptr;
    cuiPrintRect pageRect_;
    bool pageStarted_ = false;
    bool cancel_ = false;
    bool failed_ = false;
    bool busy_ = false;
    int pagesPrinted_ = 0;
    bool allActive_ = false;
    int nextNode_ = 0;
    std::vector<std::string> nodes_;
    std::vector<Page> pages_;
    std::vector<Sheet> sheets_;
};
