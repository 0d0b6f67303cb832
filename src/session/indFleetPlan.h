#pragma once

#include <string>
#include <string_view>
#include <vector>

// The per-radio table of a fleet run (CSV, RFC 4180, UTF-8): a header line whose first column is
// the key "MMSI" and whose other columns name cells as "SHEET_REF:ROW:COLUMN", then one row per
// radio. A row's key is the nine-digit own MMSI of the radio as read, or "#" for the next radio
// that matches no MMSI row, taken in order. An empty text leaves its cell as the plan has it.
class indFleetPlan {
public:
    struct Row {
        int line = 0;  // the file's line (from 1)
        std::string key;
        std::vector<std::string> texts;  // one per column
        bool taken = false;              // a "#" row some radio was written with
    };

    // False with why (UTF-8) when the table is unusable: no header, a first column other than
    // "MMSI", a damaged field, a row of another width, a key neither nine digits nor "#", or an
    // MMSI that two rows share.
    bool Parse(std::string_view csv, std::string& why);
    bool Load(const std::string& path, std::string& why);

    bool Empty() const { return rows_.empty(); }
    const std::vector<std::string>& Columns() const { return columns_; }
    const std::vector<Row>& Rows() const { return rows_; }

    // The row a radio takes: the one of its MMSI, else the first "#" row not yet taken (nor
    // reserved by a radio being written on another port); -1 when none. reserved: the rows other
    // radios hold now.
    int Match(const std::string& mmsi, const std::vector<int>& reserved) const;
    // A "#" row was written: the next radio without a match takes the following one.
    void Take(int row);
    // "line 3 (MMSI 123456789)" or "line 4 (#)".
    std::string Describe(int row) const;

private:
    std::vector<std::string> columns_;
    std::vector<Row> rows_;
};
