#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// Comma-separated tables (RFC 4180) as the sheets are exported and imported: records end with
// CR LF (a bare LF is read as well), a field holding a comma, a quote, CR or LF is quoted and its
// quotes doubled. Reading is strict so that one damaged field or record cannot shift the rest:
// a stray quote marks only its field, and a quoted field left open to the end of the text marks
// only the record it starts in, whose line is then read no further.
namespace cmcCsv {

struct Field {
    std::string text;
    bool malformed = false;  // a quote where none may stand (the text is what came before it)
};

struct Record {
    std::vector<Field> fields;
    int line = 1;               // the line (from 1) the record starts on
    int lastLine = 1;           // the line it ends on (later when a quoted field holds breaks)
    bool unterminated = false;  // a quoted field that never closes: the record is unusable
};

// The records of text. A last record ended by the end of the text counts; an empty text, or a
// final line break, adds none.
std::vector<Record> Parse(std::string_view text);

// One field as written: quoted when it must be.
std::string Quote(std::string_view field);
// One record: the quoted fields joined with commas, then CR LF.
std::string Line(const std::vector<std::string>& fields);

// Spreadsheets run a field that begins with "=", "+", "-" or "@" (or a tab or CR) as a formula.
// Written fields that begin so, or with the guard "'" itself, get a "'" in front; a read field
// loses one leading "'". A read field that begins with a formula character unguarded is refused
// (FormulaStart), since a spreadsheet would have computed it.
bool FormulaStart(std::string_view field);
std::string Guard(std::string_view text);
std::string Unguard(std::string_view field);
constexpr char kGuard = '\'';

// Strict UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF. The character count
// when valid.
bool IsUtf8(std::string_view text, std::size_t* characters = nullptr);
// The UTF-8 byte order mark some spreadsheets write at the start of a file.
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

}  // namespace cmcCsv
