// Importing a sheet's table: every text that differs from its cell goes to the cell the way a
// user's input would, on a copy of the working image, and whatever a cell does not take as
// given is reported and undone.
#include <QString>
#include <QWidget>
#include <algorithm>
#include <cstdio>
#include <cstring>

#include "cells/cmcCellCapsule.h"
#include "cells/cmcCellObj.h"
#include "cells/indActiveCell.h"
#include "events/cmcEvMan.h"
#include "memory/cmcEeprom.h"
#include "text/cmcCsv.h"
#include "text/cmcGTex.h"
#include "ui/sheet/cuiSheet.h"
#include "ui/table/cuiSheetTable.h"

namespace {

// Longer texts are cut short in the report.
constexpr std::size_t kShownCharacters = 48;
// So many choices are named when a text is none of them.
constexpr int kChoicesNamed = 12;

std::string Utf8(const std::string& local) {
    return QString::fromLocal8Bit(local.data(), qsizetype(local.size())).toUtf8().toStdString();
}

std::string Local(const std::string& utf8) {
    return QString::fromUtf8(utf8.data(), qsizetype(utf8.size())).toLocal8Bit().toStdString();
}

bool HasControl(const std::string& text) {
    return std::any_of(text.begin(), text.end(), [](char c) {
        const unsigned char u = static_cast<unsigned char>(c);
        return u < 0x20 || u == 0x7F;
    });
}

// A text as the report shows it: bytes that are not printable UTF-8 as \xNN, long texts cut.
std::string Printable(const std::string& text) {
    std::string out;
    std::size_t characters = 0;
    for (std::size_t i = 0; i < text.size();) {
        if (characters == kShownCharacters) {
            out += "... (" + std::to_string(text.size()) + " bytes)";
            break;
        }
        const unsigned char c = static_cast<unsigned char>(text[i]);
        std::size_t length = 1;
        if (c >= 0xC0)
            length = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : 2;
        if (c >= 0x20 && c != 0x7F &&
            (c < 0x80 || cmcCsv::IsUtf8(std::string_view(text).substr(i, length)))) {
            out.append(text, i, length);
        } else {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", c);
            out += hex;
            length = 1;
        }
        i += length;
        ++characters;
    }
    return out;
}

// Texts compare without blanks at their ends: fixed-width fields show them (a mode's
// three-character indication "AM "), lists and spreadsheets drop them.
bool Same(std::string_view a, std::string_view b) {
    auto trim = [](std::string_view t) {
        const std::size_t last = t.find_last_not_of(' ');
        return last == std::string_view::npos ? std::string_view() : t.substr(0, last + 1);
    };
    return trim(a) == trim(b);
}

std::string Count(std::size_t n, const char* thing) {
    return std::to_string(n) + " " + thing + (n == 1 ? "" : "s");
}

std::string Quoted(const std::string& text) {
    return "\"" + text + "\"";
}

class ImageSnapshot {
public:
    explicit ImageSnapshot(const cmcEeprom& image)
        : bytes_(image.Bytes(), image.Bytes() + image.GetSize()) {}
    // Puts the bytes back; true when any had changed.
    bool Restore(cmcEeprom& image) const {
        if (std::memcmp(image.Bytes(), bytes_.data(), bytes_.size()) == 0)
            return false;
        std::memcpy(image.Bytes(), bytes_.data(), bytes_.size());
        return true;
    }

private:
    std::vector<uint8_t> bytes_;
};

}  // namespace

struct cuiSheetTable::Import {
    cuiTableImport result;
    cmcEeprom scratch;
    int line = 0;
    // Texts the cells took or showed already, checked again at the end.
    struct Given {
        int col;
        int row;
        int line;
        std::string text;  // code page of the dictionary
    };
    std::vector<Given> given;
};

std::string cuiTableIssue::Describe() const {
    std::string where;
    if (kind == kRowsMissing) {
        where = row == lastRow ? "row " + Quoted(rowCaption)
                               : "rows " + Quoted(rowCaption) + " to " + Quoted(detail);
        return where + ": missing from the file; left as " +
               (row == lastRow ? "it was" : "they were");
    }
    if (kind == kExtraLines)
        return (line == lastRow
                    ? "line " + std::to_string(line)
                    : "lines " + std::to_string(line) + " to " + std::to_string(lastRow)) +
               ": the sheet has no such rows; ignored";
    where = "line " + std::to_string(line) + ", " + Quoted(rowCaption);
    if (col >= 0 && kind != kRowMismatch)
        where += " / " + Quoted(columnCaption);
    const std::string text = Quoted(given);
    switch (kind) {
        case kRowUnclosed:
            return where + ": a quoted field is never closed; the row is left as it was";
        case kRowFieldCount:
            return where + ": " + detail + "; the row is left as it was";
        case kRowMismatch:
            return where + ": " + text + " in " + Quoted(columnCaption) +
                   " where the sheet shows " + Quoted(before) +
                   ": not this row of the sheet; the row is left as it was";
        case kFieldQuotes:
            return where + ": a quote inside the field; left as " + Quoted(before);
        case kFieldEncoding:
            return where + ": " + text + " is not UTF-8 text; left as " + Quoted(before);
        case kFieldControl:
            return where + ": " + text + " holds a control character; left as " + Quoted(before);
        case kFieldTooLong:
            return where + ": " + detail + ", more than the " +
                   std::to_string(cuiSheetTable::kMaxFieldCharacters) +
                   " the editor takes; left as " + Quoted(before);
        case kFieldFormula:
            return where + ": " + text +
                   " would be a spreadsheet formula (write it with a leading ' as the export "
                   "does); left as " +
                   Quoted(before);
        case kRestricted:
            return where + ": " + text + " refused: " + detail;
        case kRedirected:
            return where + ": " + text + " refused: the row holds no record yet; give " +
                   Quoted(detail) + " first";
        case kNoInput:
            return where + ": " + text + " refused: the cell takes no typed input; left as " +
                   Quoted(before);
        case kNotAChoice:
            return where + ": " + text + " is not one of the choices (" + detail + "); left as " +
                   Quoted(before);
        case kRefused:
            return where + ": " + text + " refused: the cell still shows " + Quoted(before);
        case kChanged:
            return where + ": " + text + " would show as " + Quoted(after) + "; left as " +
                   Quoted(before);
        case kChangedLater:
            return where + ": " + text + " was taken, but a later cell's input made it " +
                   Quoted(after);
        default:
            return where + ": " + text + " refused";
    }
}

cuiTableIssue cuiSheetTable::IssueAt(Import& run, cuiTableIssue::Kind kind, int col, int row) {
    cuiTableIssue issue;
    issue.kind = kind;
    issue.line = run.line;
    issue.row = row;
    issue.col = col;
    issue.rowCaption = RowCaption(row, &run.scratch);
    if (col >= 0) {
        issue.columnCaption = ColumnCaption(col);
        issue.before = Utf8(Text(col, row, &run.scratch));
    }
    return issue;
}

cuiTableImport cuiSheetTable::ImportCsv(std::string_view csv, Apply apply) {
    Import run;
    cuiTableImport& result = run.result;
    if (csv.size() > kMaxFileBytes) {
        result.fileRefused = true;
        result.fileError = "the file is larger than " + std::to_string(kMaxFileBytes >> 20) +
                           " MB; no sheet's table is";
        return result;
    }
    if (csv.substr(0, cmcCsv::kByteOrderMark.size()) == cmcCsv::kByteOrderMark)
        csv.remove_prefix(cmcCsv::kByteOrderMark.size());
    const std::vector<cmcCsv::Record> records = cmcCsv::Parse(csv);

    cmcEeprom& working = core_.document.WorkingImage();
    run.scratch.CopyFrom(working);
    image_ = &run.scratch;

    // The header must be this sheet's, or every column would go to the wrong cells.
    for (int r = 0; r < HeaderRows(); ++r) {
        const std::string sheetLine = "the header of this sheet";
        if (std::size_t(r) >= records.size()) {
            result.fileRefused = true;
            // Header rows are records: a caption may hold a line break.
            result.fileError = "the file ends before " + sheetLine + " (" +
                               Count(std::size_t(HeaderRows()), "row") + ")";
            break;
        }
        const cmcCsv::Record& record = records[std::size_t(r)];
        if (record.unterminated || int(record.fields.size()) != Columns()) {
            result.fileRefused = true;
            result.fileError = "line " + std::to_string(record.line) + " has " +
                               Count(record.fields.size(), "field") + " where " + sheetLine +
                               " has " + Count(std::size_t(Columns()), "column") +
                               ": the file is not a table of this sheet";
            break;
        }
        for (int c = 0; c < Columns() && !result.fileRefused; ++c) {
            const cmcCsv::Field& field = record.fields[std::size_t(c)];
            const std::string expected = Utf8(Text(c, r));
            if (field.malformed || !Same(cmcCsv::Unguard(field.text), expected)) {
                result.fileRefused = true;
                result.fileError = "line " + std::to_string(record.line) + ", column " +
                                   std::to_string(c + 1) + " is " + Quoted(Printable(field.text)) +
                                   " where " + sheetLine + " has " + Quoted(expected) +
                                   ": the file is not a table of this sheet";
            }
        }
        if (result.fileRefused)
            break;
    }
    if (result.fileRefused) {
        image_ = nullptr;
        return result;
    }

    int missingFrom = -1;
    for (int r = HeaderRows(); r < Rows(); ++r) {
        if (std::size_t(r) >= records.size()) {
            if (missingFrom < 0)
                missingFrom = r;
            continue;
        }
        const cmcCsv::Record& record = records[std::size_t(r)];
        run.line = record.line;
        if (record.unterminated) {
            result.issues.push_back(IssueAt(run, cuiTableIssue::kRowUnclosed, -1, r));
            continue;
        }
        if (int(record.fields.size()) != Columns()) {
            cuiTableIssue issue = IssueAt(run, cuiTableIssue::kRowFieldCount, -1, r);
            issue.detail = Count(record.fields.size(), "field") + " where the sheet has " +
                           Count(std::size_t(Columns()), "column");
            result.issues.push_back(issue);
            continue;
        }
        // The cells that take no input (numbers, captions) say whether this is the sheet's row.
        bool thisRow = true;
        for (int c = 0; c < Columns() && thisRow; ++c) {
            if (TakesInput(c, r))
                continue;
            const cmcCsv::Field& field = record.fields[std::size_t(c)];
            const std::string shown = Utf8(Text(c, r, &run.scratch));
            if (field.malformed || !Same(cmcCsv::Unguard(field.text), shown)) {
                cuiTableIssue issue = IssueAt(run, cuiTableIssue::kRowMismatch, c, r);
                issue.given = Printable(field.text);
                result.issues.push_back(issue);
                thisRow = false;
            }
        }
        if (!thisRow)
            continue;
        for (int c = 0; c < Columns(); ++c) {
            if (!TakesInput(c, r))
                continue;
            const cmcCsv::Field& field = record.fields[std::size_t(c)];
            if (field.malformed) {
                result.issues.push_back(IssueAt(run, cuiTableIssue::kFieldQuotes, c, r));
                result.issues.back().given = Printable(field.text);
                continue;
            }
            ImportCell(run, c, r, field.text);
        }
    }
    if (missingFrom >= 0) {
        cuiTableIssue issue;
        issue.kind = cuiTableIssue::kRowsMissing;
        issue.row = missingFrom;
        issue.lastRow = Rows() - 1;
        issue.rowCaption = RowCaption(missingFrom, &run.scratch);
        issue.detail = RowCaption(Rows() - 1, &run.scratch);
        result.issues.push_back(issue);
    }
    // Lines past the last row; a last empty line is no row.
    std::size_t extra = records.size();
    while (extra > std::size_t(Rows()) && records[extra - 1].fields.size() == 1 &&
           records[extra - 1].fields[0].text.empty() && !records[extra - 1].unterminated)
        --extra;
    if (extra > std::size_t(Rows())) {
        cuiTableIssue issue;
        issue.kind = cuiTableIssue::kExtraLines;
        issue.line = records[std::size_t(Rows())].line;
        issue.lastRow = records[extra - 1].lastLine;
        result.issues.push_back(issue);
    }

    // A cell may change what another shows (a receive frequency its transmit side): what was
    // taken must still show as given.
    for (const Import::Given& g : run.given) {
        const std::string now = Text(g.col, g.row, &run.scratch);
        if (Same(now, g.text))
            continue;
        run.line = g.line;
        cuiTableIssue issue = IssueAt(run, cuiTableIssue::kChangedLater, g.col, g.row);
        issue.given = Printable(Utf8(g.text));
        issue.after = issue.before;
        result.issues.push_back(issue);
    }
    image_ = nullptr;

    const bool differs = run.scratch.IsDifferent(working);
    if (differs && (apply == Apply::kWhatWasTaken || result.issues.empty())) {
        working.WriteBlock(0, run.scratch.Bytes(), working.GetSize());
        core_.document.ScheduleWarningCheck();
        core_.document.CheckModified();
        if (cmcEvMan* events = cmcEvMan::Global())
            events->PostEvent(cmcEvKind::RepaintAll);
        result.applied = true;
    }
    return result;
}

void cuiSheetTable::ImportCell(Import& run, int col, int row, const std::string& field) {
    cuiTableImport& result = run.result;
    auto refuse = [&](cuiTableIssue::Kind kind) -> cuiTableIssue& {
        result.issues.push_back(IssueAt(run, kind, col, row));
        result.issues.back().given = Printable(field);
        return result.issues.back();
    };
    std::size_t characters = 0;
    if (!cmcCsv::IsUtf8(field, &characters)) {
        refuse(cuiTableIssue::kFieldEncoding);
        return;
    }
    if (characters > kMaxFieldCharacters) {
        refuse(cuiTableIssue::kFieldTooLong).detail = std::to_string(characters) + " characters";
        return;
    }
    if (cmcCsv::FormulaStart(field)) {
        refuse(cuiTableIssue::kFieldFormula);
        return;
    }
    const std::string given = cmcCsv::Unguard(field);
    if (HasControl(given)) {
        refuse(cuiTableIssue::kFieldControl);
        return;
    }
    const std::string text = Local(given);
    const std::string before = Text(col, row, &run.scratch);
    if (Same(text, before)) {
        ++result.unchanged;
        run.given.push_back({col, row, run.line, text});
        return;
    }

    const ImageSnapshot snapshot(run.scratch);
    cmcCellObj& cell = sheet_->CellAt(col, row);
    // First Enter on the cell, as a user would begin: it tells how the cell takes input. Enter
    // itself changes nothing; should a cell do so, it is undone.
    views_.Forget();
    cmcCellCapsule probe;
    sheet_->FillCapsule(col, row, probe);
    probe.key = kKeyEnter;
    const int code = Evaluate(probe, true, &run.scratch);
    snapshot.Restore(run.scratch);

    cuiTableIssue issue;
    if (probe.key != kKeyEnter) {
        // The cell cancelled the key: read-only now.
        refuse(cuiTableIssue::kRestricted).detail =
            Utf8(core_.document.Dictionary().Text(indActiveCell::kEditRestrictedKey));
        return;
    }
    if (const cuiTableViews::ChoiceRequest* choice = views_.Choice()) {
        const cuiTableViews::ChoiceRequest request = *choice;
        views_.Forget();
        if (!Choose(run, col, row, request, text, issue)) {
            issue.given = Printable(field);
            result.issues.push_back(issue);
            return;
        }
    } else if (views_.BitEditorAsked()) {
        refuse(cuiTableIssue::kNoInput);
        return;
    } else if (probe.moveRequest &&
               (probe.moveLabel != cell.label || probe.moveArgument != cell.argument)) {
        cuiTableIssue& redirected = refuse(cuiTableIssue::kRedirected);
        redirected.detail = "another cell of the row";
        for (int c = 0; c < Columns(); ++c) {
            const cmcCellObj& other = sheet_->CellAt(c, row);
            if (other.label == probe.moveLabel && other.argument == probe.moveArgument)
                redirected.detail = ColumnCaption(c);
        }
        return;
    } else if (code == kActEdit) {
        // The in-place editor would open; its commit hands the typed text over.
        cmcCellCapsule commit;
        sheet_->FillCapsule(col, row, commit);
        commit.key = kKeyDisplay;
        commit.inputKind = kInputText;
        commit.inputText = text;
        Evaluate(commit, true, &run.scratch);
    } else {
        refuse(cuiTableIssue::kNoInput);
        return;
    }

    const std::string after = Text(col, row, &run.scratch);
    if (Same(after, text)) {
        ++result.taken;
        run.given.push_back({col, row, run.line, text});
        return;
    }
    snapshot.Restore(run.scratch);
    cuiTableIssue& refused =
        refuse(Same(after, before) ? cuiTableIssue::kRefused : cuiTableIssue::kChanged);
    refused.after = Printable(Utf8(after));
}

bool cuiSheetTable::Choose(Import& run, int col, int row,
                           const cuiTableViews::ChoiceRequest& request, const std::string& text,
                           cuiTableIssue& issue) {
    // The list the cell would drop down, built as the choice-list window builds it; the entry
    // with the text is chosen as a click on it would choose it.
    QWidget host;
    host.resize(400, 600);
    cuiSheet list(core_, &host, &request.opener, request.itemLabel, request.currentValue,
                  core_.document.Dictionary(), request.listKey, images_);
    list.SetChoiceListMode(true);
    list.SetBehaviour(&cuiSheetTable::Behave, this);
    list.Build();
    std::vector<std::string> choices;
    for (int r = 0; r < list.RowCount(); ++r) {
        for (int c = 0; c < list.ColumnCount(); ++c) {
            cmcCellObj& entry = list.CellAt(c, r);
            if (!(entry.state & cmcCellObj::kSelectable) || entry.label != request.itemLabel)
                continue;
            cmcCellCapsule display;
            cmcCellRect rect;
            display.parent = const_cast<cmcCellCapsule*>(&request.opener);
            display.cell = &entry;
            display.cellRect = &rect;
            Evaluate(display, false, &run.scratch);
            if (Same(display.outputText, text)) {
                list.Act(c, r, kKeyEnter, 0);
                return true;
            }
            choices.push_back(Utf8(display.outputText));
        }
    }
    issue = IssueAt(run, cuiTableIssue::kNotAChoice, col, row);
    for (std::size_t i = 0; i < choices.size() && i < std::size_t(kChoicesNamed); ++i)
        issue.detail += (i ? ", " : "") + Quoted(choices[i]);
    if (choices.size() > std::size_t(kChoicesNamed))
        issue.detail += ", ...";
    return false;
}
