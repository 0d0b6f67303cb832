#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "cells/cuiMainCore.h"
#include "ui/table/cuiTableRoles.h"

class QWidget;
class cmcEeprom;
class cmcGTex;
class cuiImageList;
class cuiSheet;

// One sheet of the navigation tree: its caption and its reference.
struct cuiTreeSheet {
    std::string caption;
    std::string reference;
};
// The sheets of the main tree ("GI_Tree_Main"), in tree order.
std::vector<cuiTreeSheet> cuiTreeSheets(cmcGTex& dictionary);
// The sheet a name means: a reference exactly as the tree gives it, else a caption (letter case
// ignored). Null when no sheet of the tree is meant.
const cuiTreeSheet* cuiFindTreeSheet(const std::vector<cuiTreeSheet>& sheets,
                                     const std::string& name);

// What an import did not take, one entry per cell (or per row, when the whole row was left).
// Texts are UTF-8; given is cut short and made printable for the report.
struct cuiTableIssue {
    enum Kind {
        kRowsMissing,    // the file ends before these rows
        kRowUnclosed,    // a quoted field never closes
        kRowFieldCount,  // not as many fields as the sheet has columns
        kRowMismatch,    // a cell that takes no input differs: not this row of the sheet
        kExtraLines,     // lines beyond the sheet's last row
        kFieldQuotes,    // a quote inside the field
        kFieldEncoding,  // bytes that are not UTF-8
        kFieldControl,   // a control character
        kFieldTooLong,   // longer than the editor takes
        kFieldFormula,   // begins as a spreadsheet formula, unguarded
        kRestricted,     // the cell is read-only now (fixed by the radio, expert mode only)
        kRedirected,     // the row holds no record yet: input goes to another cell first
        kNoInput,        // the cell takes no typed input
        kNotAChoice,     // not one of the cell's choices
        kRefused,        // the cell kept its text
        kChanged,        // the cell would have shown another text than the one given
        kChangedLater,   // taken, but a later cell's input changed what it shows
    };
    Kind kind = kRefused;
    int line = 0;  // the file's line (from 1)
    int row = -1;  // the sheet's row and column; column -1 for the whole row
    int col = -1;
    int lastRow = -1;  // kRowsMissing: the last missing row; kExtraLines: the last line
    std::string rowCaption;
    std::string columnCaption;
    std::string given;
    std::string before;        // what the cell showed before (and shows now)
    std::string after;         // what the cell would have shown (kChanged, kChangedLater)
    std::string detail;        // the choices, the product's message, the column input goes to
    cmcGTex* texts = nullptr;  // the dictionary of the sheet that made it, for the report

    // One line for the report (the lines of "GI_AppMess_TableIssue").
    std::string Describe() const;
};

// The outcome of an import.
struct cuiTableImport {
    bool fileRefused = false;  // nothing was looked at cell by cell
    std::string fileError;
    int taken = 0;      // cells that now show the text given
    int unchanged = 0;  // cells that showed it already
    std::vector<cuiTableIssue> issues;
    bool applied = false;  // the working image was changed

    bool Complete() const { return !fileRefused && issues.empty(); }
};

// A sheet as a table: built offscreen from its reference over the program's document, with its
// cells' own behaviours and nothing of the views (cuiTableRoles.h). Every cell's text is what
// the sheet shows: a plain cell's own text, a labelled cell's display text from its behaviour.
//
// Export writes every row (the header rows first) with every column as CSV (cmcCsv.h), UTF-8,
// texts that a spreadsheet would take for a formula guarded with "'". Import goes the way of a
// user in the sheet: each text that differs from what its cell shows is handed to the cell as
// the in-place editor commits it (Enter on the cell, then the typed text), or, for a cell that
// opens a choice list, as the choice of the entry with that text. A cell that refuses the text
// or would show another one is left as it was (the image bytes are restored) and reported; so
// is a row whose fixed cells (captions, numbers) differ from the sheet's, since it is not this
// row. The import works on a copy of the working image, which takes the result at the end in
// one step (then the document marks itself modified and the sheets repaint).
class cuiSheetTable {
public:
    // core: the program's roles; only its document is used for real. images: for the marks
    // (may be null: nothing is drawn).
    cuiSheetTable(const cuiMainCore& core, const std::string& reference,
                  const cuiImageList* images = nullptr);
    ~cuiSheetTable();
    cuiSheetTable(const cuiSheetTable&) = delete;
    cuiSheetTable& operator=(const cuiSheetTable&) = delete;

    const std::string& Reference() const { return reference_; }
    cuiSheet& Sheet() { return *sheet_; }
    int Columns() const;
    int Rows() const;
    // The fixed rows at the top: the column captions.
    int HeaderRows() const;

    // A selectable labelled cell, which a user could edit.
    bool TakesInput(int col, int row);
    // What the cell shows, in the dictionary's code page, evaluated on image (null: the working
    // image). A "+" cell, drawn as part of the cell on its left, shows nothing of its own.
    std::string Text(int col, int row, cmcEeprom* image = nullptr);
    // Captions for reports (UTF-8): the row's first text in a cell that takes no input ("row n"
    // when none), the header rows' texts of the column ("column n" when none), those two from
    // "GI_AppMess_TableWords".
    std::string RowCaption(int row, cmcEeprom* image = nullptr);
    std::string ColumnCaption(int col);

    std::string ExportCsv(cmcEeprom* image = nullptr);

    enum class Apply {
        kWhenComplete,  // the working image takes the result only when every text was taken
        kWhatWasTaken,  // it takes what was taken
    };
    cuiTableImport ImportCsv(std::string_view csv, Apply apply);

    static constexpr std::size_t kMaxFileBytes = 16u << 20;
    // The in-place editor takes no more.
    static constexpr std::size_t kMaxFieldCharacters = 1024;

    // The words of the reports: the lines of kWordsKey. A count's word for one is followed by
    // its word for more.
    static constexpr const char* kWordsKey = "GI_AppMess_TableWords";
    enum WordLine {
        kRowNumber = 0,
        kColumnNumber,
        kRowCount,
        kRowsCount,
        kFieldCount,
        kFieldsCount,
        kColumnCount,
        kColumnsCount,
        kFieldsWhereColumns,
        kCharacterCount,
        kAnotherCell,
        kCutShort,
    };

private:
    struct Import;
    static int Behave(void* self, cmcCellCapsule& capsule, bool notify);
    int Evaluate(cmcCellCapsule& capsule, bool notify, cmcEeprom* image);
    void ImportRow(Import& run, int row);
    void ImportCell(Import& run, int col, int row, const std::string& field);
    bool Choose(Import& run, int col, int row, const cuiTableViews::ChoiceRequest& request,
                const std::string& text, cuiTableIssue& issue);
    cuiTableIssue IssueAt(Import& run, cuiTableIssue::Kind kind, int col, int row);
    cmcGTex& Texts() const;

    std::string reference_;
    cuiTableViews views_;
    cuiTableCommands commands_;
    cuiMainCore core_;
    const cuiImageList* images_;
    cmcEeprom* image_ = nullptr;  // what the sheet's own evaluations run on; null: working
    std::unique_ptr<QWidget> host_;
    std::unique_ptr<cuiSheet> sheet_;
};
