#include "session/indFleetPlan.h"

#include <QFile>
#include <algorithm>

#include "text/cmcCsv.h"

namespace {
constexpr char kKeyColumn[] = "MMSI";
constexpr char kNextRadio[] = "#";
constexpr int kMmsiDigits = 9;

bool IsMmsi(const std::string& s) {
    return s.size() == kMmsiDigits &&
           std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::string Trimmed(std::string s) {
    const size_t b = s.find_first_not_of(' ');
    if (b == std::string::npos)
        return std::string();
    return s.substr(b, s.find_last_not_of(' ') - b + 1);
}
}  // namespace

bool indFleetPlan::Load(const std::string& path, std::string& why) {
    QFile file(QString::fromLocal8Bit(path.c_str()));
    if (!file.open(QIODevice::ReadOnly)) {
        why = path + ": " + file.errorString().toStdString();
        return false;
    }
    const QByteArray bytes = file.readAll();
    return Parse(std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())), why);
}

bool indFleetPlan::Parse(std::string_view csv, std::string& why) {
    columns_.clear();
    rows_.clear();
    if (csv.substr(0, cmcCsv::kByteOrderMark.size()) == cmcCsv::kByteOrderMark)
        csv.remove_prefix(cmcCsv::kByteOrderMark.size());
    if (!cmcCsv::IsUtf8(csv)) {
        why = "the table is not UTF-8 text";
        return false;
    }
    const std::vector<cmcCsv::Record> records = cmcCsv::Parse(csv);
    if (records.empty()) {
        why = "the table has no header line";
        return false;
    }
    for (const cmcCsv::Record& r : records) {
        const std::string at = "line " + std::to_string(r.line) + ": ";
        if (r.unterminated) {
            why = at + "a quoted field never closes";
            return false;
        }
        for (const cmcCsv::Field& f : r.fields) {
            if (f.malformed) {
                why = at + "a quote inside a field";
                return false;
            }
        }
    }
    const cmcCsv::Record& header = records.front();
    if (Trimmed(header.fields.front().text) != kKeyColumn) {
        why = "line 1: the first column must be \"MMSI\"";
        return false;
    }
    for (size_t i = 1; i < header.fields.size(); ++i)
        columns_.push_back(Trimmed(header.fields[i].text));
    for (size_t i = 1; i < records.size(); ++i) {
        const cmcCsv::Record& r = records[i];
        const std::string at = "line " + std::to_string(r.line) + ": ";
        if (r.fields.size() == 1 && Trimmed(r.fields[0].text).empty())
            continue;  // a blank line
        if (r.fields.size() != header.fields.size()) {
            why = at + std::to_string(r.fields.size()) + " fields where the header has " +
                  std::to_string(header.fields.size());
            return false;
        }
        Row row;
        row.line = r.line;
        row.key = Trimmed(r.fields[0].text);
        if (row.key != kNextRadio && !IsMmsi(row.key)) {
            why = at + "the key \"" + row.key + "\" is neither nine digits nor \"#\"";
            return false;
        }
        for (const Row& earlier : rows_) {
            if (row.key != kNextRadio && earlier.key == row.key) {
                why = at + "MMSI " + row.key + " has a row already (line " +
                      std::to_string(earlier.line) + ")";
                return false;
            }
        }
        for (size_t c = 1; c < r.fields.size(); ++c)
            row.texts.push_back(cmcCsv::Unguard(r.fields[c].text));
        rows_.push_back(std::move(row));
    }
    return true;
}

int indFleetPlan::Match(const std::string& mmsi, const std::vector<int>& reserved) const {
    if (!mmsi.empty()) {
        for (size_t i = 0; i < rows_.size(); ++i) {
            if (rows_[i].key == mmsi)
                return static_cast<int>(i);
        }
    }
    for (size_t i = 0; i < rows_.size(); ++i) {
        const int n = static_cast<int>(i);
        if (rows_[i].key == kNextRadio && !rows_[i].taken &&
            std::find(reserved.begin(), reserved.end(), n) == reserved.end())
            return n;
    }
    return -1;
}

void indFleetPlan::Take(int row) {
    if (row >= 0 && row < static_cast<int>(rows_.size()) &&
        rows_[static_cast<size_t>(row)].key == kNextRadio)
        rows_[static_cast<size_t>(row)].taken = true;
}

std::string indFleetPlan::Describe(int row) const {
    if (row < 0 || row >= static_cast<int>(rows_.size()))
        return std::string();
    const Row& r = rows_[static_cast<size_t>(row)];
    return "line " + std::to_string(r.line) + " (" +
           (r.key == kNextRadio ? r.key : "MMSI " + r.key) + ")";
}
