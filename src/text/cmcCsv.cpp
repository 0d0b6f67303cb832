#include "text/cmcCsv.h"

namespace cmcCsv {

namespace {

bool IsLineEnd(char c) {
    return c == '\n' || c == '\r';
}

// Steps over one line break at pos (CR LF, LF or CR alone).
std::size_t SkipLineEnd(std::string_view text, std::size_t pos) {
    if (pos < text.size() && text[pos] == '\r')
        ++pos;
    if (pos < text.size() && text[pos] == '\n')
        ++pos;
    return pos;
}

}  // namespace

std::vector<Record> Parse(std::string_view text) {
    std::vector<Record> records;
    std::size_t pos = 0;
    int line = 1;
    const std::size_t n = text.size();
    while (pos < n) {
        Record record;
        record.line = line;
        bool recordEnds = false;
        while (!recordEnds) {
            Field field;
            if (pos < n && text[pos] == '"') {
                const std::size_t open = pos;
                const int openLine = line;
                ++pos;
                bool closed = false;
                while (pos < n) {
                    const char c = text[pos];
                    if (c == '"') {
                        if (pos + 1 < n && text[pos + 1] == '"') {
                            field.text += '"';
                            pos += 2;
                            continue;
                        }
                        ++pos;
                        closed = true;
                        break;
                    }
                    // A line break inside the quotes is a line of the file as an editor shows
                    // it: LF, CR LF, or a CR alone.
                    if (c == '\n' || (c == '\r' && (pos + 1 >= n || text[pos + 1] != '\n')))
                        ++line;
                    field.text += c;
                    ++pos;
                }
                if (!closed) {
                    // Everything after the open quote would be one field: give up this record
                    // and go on with the line after the one the quote stands on.
                    field.malformed = true;
                    field.text.clear();
                    record.fields.push_back(std::move(field));
                    record.unterminated = true;
                    std::size_t next = text.find('\n', open);
                    pos = next == std::string_view::npos ? n : next + 1;
                    line = openLine + 1;
                    record.lastLine = openLine;
                    records.push_back(std::move(record));
                    record = Record();
                    recordEnds = true;
                    continue;
                }
                // Only a separator or the end of the line may follow the closing quote.
                while (pos < n && text[pos] != ',' && !IsLineEnd(text[pos])) {
                    field.malformed = true;
                    ++pos;
                }
            } else {
                while (pos < n && text[pos] != ',' && !IsLineEnd(text[pos])) {
                    if (text[pos] == '"')
                        field.malformed = true;
                    field.text += text[pos];
                    ++pos;
                }
            }
            record.fields.push_back(std::move(field));
            if (pos < n && text[pos] == ',') {
                ++pos;
                continue;  // a separator at the very end still opens an (empty) last field
            }
            record.lastLine = line;
            if (pos < n) {
                pos = SkipLineEnd(text, pos);
                ++line;
            }
            recordEnds = true;
            records.push_back(std::move(record));
        }
    }
    return records;
}

std::string Quote(std::string_view field) {
    if (field.find_first_of(",\"\r\n") == std::string_view::npos)
        return std::string(field);
    std::string out;
    out.reserve(field.size() + 2);
    out += '"';
    for (char c : field) {
        if (c == '"')
            out += '"';
        out += c;
    }
    out += '"';
    return out;
}

std::string Line(const std::vector<std::string>& fields) {
    std::string out;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0)
            out += ',';
        out += Quote(fields[i]);
    }
    out += "\r\n";
    return out;
}

bool FormulaStart(std::string_view field) {
    if (field.empty())
        return false;
    switch (field.front()) {
        case '=':
        case '+':
        case '-':
        case '@':
        case '\t':
        case '\r':
            return true;
        default:
            return false;
    }
}

std::string Guard(std::string_view text) {
    if (FormulaStart(text) || (!text.empty() && text.front() == kGuard))
        return kGuard + std::string(text);
    return std::string(text);
}

std::string Unguard(std::string_view field) {
    if (!field.empty() && field.front() == kGuard)
        field.remove_prefix(1);
    return std::string(field);
}

bool IsUtf8(std::string_view text, std::size_t* characters) {
    std::size_t count = 0;
    const std::size_t n = text.size();
    for (std::size_t i = 0; i < n; ++count) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c < 0x80) {
            ++i;
            continue;
        }
        int length = 0;
        char32_t value = 0;
        char32_t least = 0;
        if ((c & 0xE0) == 0xC0) {
            length = 2;
            value = c & 0x1F;
            least = 0x80;
        } else if ((c & 0xF0) == 0xE0) {
            length = 3;
            value = c & 0x0F;
            least = 0x800;
        } else if ((c & 0xF8) == 0xF0) {
            length = 4;
            value = c & 0x07;
            least = 0x10000;
        } else {
            return false;  // a continuation byte, or a byte no UTF-8 text holds
        }
        if (i + std::size_t(length) > n)
            return false;
        for (int k = 1; k < length; ++k) {
            const unsigned char t = static_cast<unsigned char>(text[i + std::size_t(k)]);
            if ((t & 0xC0) != 0x80)
                return false;
            value = (value << 6) | (t & 0x3F);
        }
        if (value < least || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
            return false;
        i += std::size_t(length);
    }
    if (characters)
        *characters = count;
    return true;
}

}  // namespace cmcCsv
