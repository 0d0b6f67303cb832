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
#include "text/cmcTextUtil.h"
#include "ui/sheet/cuiSheet.h"
#include "ui/table/cuiSheetTable.h"

namespace {

// Longer texts are cut short in the report.
constexpr std::size_t kShownCharacters = 48;
// So many choices are named when a text is none of them.
constexpr int kChoicesNamed = 12;

// The report's lines: "GI_AppMess_TableIssue" (one per text not taken, with its place) and
// "GI_AppMess_TableFile" (why a file was refused whole).
constexpr const char* kIssueKey = "GI_AppMess_TableIssue";
enum IssueLine {
    kIssueRowMissing = 0,
    kIssueRowsMissing,
    kIssueLineExtra,
    kIssueLinesExtra,
    kIssuePlaceRow,
    kIssuePlaceCell,
    kIssueUnclosed,
    kIssueFieldCount,
    kIssueMismatch,
    kIssueQuotes,
    kIssueEncoding,
    kIssueControl,
    kIssueTooLong,
    kIssueFormula,
    kIssueRestricted,
    kIssueRedirected,
    kIssueNoInput,
    kIssueNotAChoice,
    kIssueRefused,
    kIssueChanged,
    kIssueChangedLater,
    kIssueOtherRefusal,
};
constexpr const char* kFileKey = "GI_AppMess_TableFile";
enum FileLine { kFileTooLarge = 0, kFileHeaderMissing, kFileHeaderFields, kFileHeaderText };

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

// A word of the reports, its placeholders filled.
std::string Word(cmcGTex& texts, int line, const std::vector<std::string>& values = {}) {
    return FillPlaceholders(texts.Line(cuiSheetTable::kWordsKey, line), values);
}

// A count and its word: the line one for one, the line after it for more.
std::string Count(cmcGTex& texts, std::size_t n, int one) {
    return Word(texts, n == 1 ? one : one + 1, {std::to_string(n)});
}

// A text as the report shows it: bytes that are not printable UTF-8 as \xNN, long texts cut.
std::string Printable(cmcGTex& texts, const std::string& text) {
    std::string out;
    std::size_t characters = 0;
    for (std::size_t i = 0; i < text.size();) {
        if (characters == kShownCharacters) {
            out += Word(texts, cuiSheetTable::kCutShort, {std::to_string(text.size())});
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
    const auto say = [this](int n, const std::vector<std::string>& values) {
        return FillPlaceholders(texts->Line(kIssueKey, n), values);
    };
    if (kind == kRowsMissing)
        return row == lastRow ? say(kIssueRowMissing, {rowCaption})
                              : say(kIssueRowsMissing, {rowCaption, detail});
    if (kind == kExtraLines)
        return line == lastRow
                   ? say(kIssueLineExtra, {std::to_string(line)})
                   : say(kIssueLinesExtra, {std::to_string(line), std::to_string(lastRow)});
    const std::string where =
        col >= 0 && kind != kRowMismatch
            ? say(kIssuePlaceCell, {std::to_string(line), rowCaption, columnCaption})
            : say(kIssuePlaceRow, {std::to_string(line), rowCaption});
    switch (kind) {
        case kRowUnclosed:
            return say(kIssueUnclosed, {where});
        case kRowFieldCount:
            return say(kIssueFieldCount, {where, detail});
        case kRowMismatch:
            return say(kIssueMismatch, {where, given, columnCaption, before});
        case kFieldQuotes:
            return say(kIssueQuotes, {where, before});
        case kFieldEncoding:
            return say(kIssueEncoding, {where, given, before});
        case kFieldControl:
            return say(kIssueControl, {where, given, before});
        case kFieldTooLong:
            return say(kIssueTooLong,
                       {where, detail, std::to_string(cuiSheetTable::kMaxFieldCharacters), before});
        case kFieldFormula:
            return say(kIssueFormula, {where, given, before});
        case kRestricted:
            return say(kIssueRestricted, {where, given, detail});
        case kRedirected:
            return say(kIssueRedirected, {where, given, detail});
        case kNoInput:
            return say(kIssueNoInput, {where, given, before});
        case kNotAChoice:
            return say(kIssueNotAChoice, {where, given, detail, before});
        case kRefused:
            return say(kIssueRefused, {where, given, before});
        case kChanged:
            return say(kIssueChanged, {where, given, after, before});
        case kChangedLater:
            return say(kIssueChangedLater, {where, given, after});
        default:
            return say(kIssueOtherRefusal, {where, given});
    }
}

cuiTableIssue cuiSheetTable::IssueAt(Import& run, cuiTableIssue::Kind kind, int col, int row) {
    cuiTableIssue issue;
    issue.kind = kind;
    issue.texts = &Texts();
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
    cmcGTex& texts = Texts();
    const auto refuseFile = [&](int line, const std::vector<std::string>& values) {
        result.fileRefused = true;
        result.fileError = FillPlaceholders(texts.Line(kFileKey, line), values);
    };
    if (csv.size() > kMaxFileBytes) {
        refuseFile(kFileTooLarge, {std::to_string(kMaxFileBytes >> 20)});
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
        if (std::size_t(r) >= records.size()) {
            // Header rows are records: a caption may hold a line break.
            refuseFile(kFileHeaderMissing, {Count(texts, std::size_t(HeaderRows()), kRowCount)});
            break;
        }
        const cmcCsv::Record& record = records[std::size_t(r)];
        if (record.unterminated || int(record.fields.size()) != Columns()) {
            refuseFile(kFileHeaderFields, {std::to_string(record.line),
                                           Count(texts, record.fields.size(), kFieldCount),
                                           Count(texts, std::size_t(Columns()), kColumnCount)});
            break;
        }
        for (int c = 0; c < Columns() && !result.fileRefused; ++c) {
            const cmcCsv::Field& field = record.fields[std::size_t(c)];
            const std::string expected = Utf8(Text(c, r));
            if (field.malformed || !Same(cmcCsv::Unguard(field.text), expected))
                refuseFile(kFileHeaderText, {std::to_string(record.line), std::to_string(c + 1),
                                             Printable(texts, field.text), expected});
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
            issue.detail = Word(texts, kFieldsWhereColumns,
                                {Count(texts, record.fields.size(), kFieldCount),
                                 Count(texts, std::size_t(Columns()), kColumnCount)});
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
                issue.given = Printable(texts, field.text);
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
                result.issues.back().given = Printable(texts, field.text);
                continue;
            }
            ImportCell(run, c, r, field.text);
        }
    }
    if (missingFrom >= 0) {
        cuiTableIssue issue;
        issue.kind = cuiTableIssue::kRowsMissing;
        issue.texts = &texts;
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
        issue.texts = &texts;
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
        issue.given = Printable(texts, Utf8(g.text));
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
    cmcGTex& texts = Texts();
    auto refuse = [&](cuiTableIssue::Kind kind) -> cuiTableIssue& {
        result.issues.push_back(IssueAt(run, kind, col, row));
        result.issues.back().given = Printable(texts, field);
        return result.issues.back();
    };
    std::size_t characters = 0;
    if (!cmcCsv::IsUtf8(field, &characters)) {
        refuse(cuiTableIssue::kFieldEncoding);
        return;
    }
    if (characters > kMaxFieldCharacters) {
        refuse(cuiTableIssue::kFieldTooLong).detail =
            Word(texts, kCharacterCount, {std::to_string(characters)});
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
            Utf8(texts.Text(indActiveCell::kEditRestrictedKey));
        return;
    }
    if (const cuiTableViews::ChoiceRequest* choice = views_.Choice()) {
        const cuiTableViews::ChoiceRequest request = *choice;
        views_.Forget();
        if (!Choose(run, col, row, request, text, issue)) {
            issue.given = Printable(texts, field);
            result.issues.push_back(issue);
            return;
        }
    } else if (views_.BitEditorAsked()) {
        refuse(cuiTableIssue::kNoInput);
        return;
    } else if (probe.moveRequest &&
               (probe.moveLabel != cell.label || probe.moveArgument != cell.argument)) {
        cuiTableIssue& redirected = refuse(cuiTableIssue::kRedirected);
        redirected.detail = Word(texts, kAnotherCell);
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
    refused.after = Printable(texts, Utf8(after));
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
