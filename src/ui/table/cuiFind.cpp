#include "ui/table/cuiFind.h"

#include <QRegularExpression>
#include <QString>
#include <cmath>

#include "ui/table/cuiSheetTable.h"

namespace {

QString U(const std::string& utf8) {
    return QString::fromUtf8(utf8.data(), qsizetype(utf8.size()));
}

std::string Utf8(const std::string& local) {
    return QString::fromLocal8Bit(local.data(), qsizetype(local.size())).toUtf8().toStdString();
}

// A number with an optional fraction (point or comma) and an optional unit, as technicians
// type frequencies.
const QRegularExpression& NumberPattern() {
    static const QRegularExpression pattern(
        QStringLiteral("^([0-9]+)(?:[.,]([0-9]*))?\\s*(?:k?hz)?$"),
        QRegularExpression::CaseInsensitiveOption);
    return pattern;
}

// The number a cell shows, without its unit; false when it shows none.
bool CellNumber(const QString& text, double* value) {
    const QRegularExpressionMatch m = NumberPattern().match(text.trimmed());
    if (!m.hasMatch())
        return false;
    *value = (m.captured(1) + QLatin1Char('.') + m.captured(2)).toDouble();
    return true;
}

std::string OneField(std::string text) {
    for (char& c : text)
        if (c == '\t' || c == '\n' || c == '\r')
            c = ' ';
    return text;
}

}  // namespace

cuiFindQuery::cuiFindQuery(const std::string& typedUtf8, const cuiFindOptions& options)
    : options_(options) {
    const QString typed = U(typedUtf8).trimmed();
    empty_ = typed.isEmpty();
    typed_ = typed.toUtf8().toStdString();
    const QRegularExpressionMatch m = NumberPattern().match(typed);
    if (m.hasMatch()) {
        QString number = m.captured(1);
        if (!m.captured(2).isEmpty())
            number += QLatin1Char('.') + m.captured(2);
        number_ = number.toStdString();
        value_ = (m.captured(1) + QLatin1Char('.') + m.captured(2)).toDouble();
    }
}

bool cuiFindQuery::Matches(const std::string& cellUtf8) const {
    if (empty_)
        return false;
    const QString cell = U(cellUtf8);
    const Qt::CaseSensitivity cs = options_.matchCase ? Qt::CaseSensitive : Qt::CaseInsensitive;
    if (options_.wholeCell) {
        if (cell.trimmed().compare(U(typed_), cs) == 0)
            return true;
        double shown = 0;
        // 8291 is the whole of "8291.0" and of "8291.0 kHz"; the sheets show tenths.
        return !number_.empty() && CellNumber(cell, &shown) && std::fabs(shown - value_) < 1e-6;
    }
    return cell.contains(U(typed_), cs) || (!number_.empty() && cell.contains(U(number_), cs));
}

std::string cuiFindMatch::Line() const {
    return OneField(sheetCaption) + '\t' + OneField(rowCaption) + '\t' + OneField(columnCaption) +
           '\t' + OneField(text);
}

std::vector<cuiFindMatch> cuiFindInSheets(const cuiMainCore& core, const cuiFindQuery& query,
                                          const std::string& reference) {
    std::vector<cuiFindMatch> matches;
    if (query.IsEmpty())
        return matches;
    for (const cuiTreeSheet& sheet : cuiTreeSheets(core.document.Dictionary())) {
        if (!reference.empty() && sheet.reference != reference)
            continue;
        cuiSheetTable table(core, sheet.reference);
        for (int r = table.HeaderRows(); r < table.Rows(); ++r) {
            for (int c = 0; c < table.Columns(); ++c) {
                if (!table.TakesInput(c, r))
                    continue;
                const std::string text = Utf8(table.Text(c, r));
                if (!query.Matches(text))
                    continue;
                cuiFindMatch m;
                m.sheetCaption = Utf8(sheet.caption);
                m.reference = sheet.reference;
                m.col = c;
                m.row = r;
                m.rowCaption = table.RowCaption(r);
                m.columnCaption = table.ColumnCaption(c);
                m.text = text;
                matches.push_back(std::move(m));
            }
        }
    }
    return matches;
}
