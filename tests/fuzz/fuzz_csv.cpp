// libFuzzer target for the CSV reader of the sheet tables: any bytes are read without a fault;
// records read cleanly are written back and read again to the same texts; the formula guard and
// the UTF-8 check hold for every field.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "text/cmcCsv.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::vector<cmcCsv::Record> records = cmcCsv::Parse(text);
    int lastLine = 0;
    for (const cmcCsv::Record& r : records) {
        if (r.fields.empty() || r.line <= lastLine)
            std::abort();  // every record holds a field and starts on a later line
        lastLine = r.line;
        std::vector<std::string> fields;
        bool clean = !r.unterminated;
        for (const cmcCsv::Field& f : r.fields) {
            clean = clean && !f.malformed;
            fields.push_back(f.text);
            const std::string guarded = cmcCsv::Guard(f.text);
            if (cmcCsv::FormulaStart(guarded) || cmcCsv::Unguard(guarded) != f.text)
                std::abort();
            std::size_t characters = 0;
            if (cmcCsv::IsUtf8(f.text, &characters) && characters > f.text.size())
                std::abort();
        }
        if (!clean)
            continue;
        const std::vector<cmcCsv::Record> again = cmcCsv::Parse(cmcCsv::Line(fields));
        if (again.size() != 1 || again[0].fields.size() != fields.size())
            std::abort();
        for (std::size_t i = 0; i < fields.size(); ++i)
            if (again[0].fields[i].text != fields[i] || again[0].fields[i].malformed)
                std::abort();
    }
    return 0;
}
