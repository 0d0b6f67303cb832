#pragma once

#include <string>

#include "session/indFleet.h"

// The per-radio values of a fleet run entered as the sheets' table import enters a text: the
// cell a column names ("SHEET_REF:ROW:COLUMN": a sheet's reference or tree caption, a row's
// caption or number, a column's caption or number, as pqt590-cli export shows them) gets the
// text through its own behaviour, and a text it refuses or would show otherwise is refused.
class cuiFleetValues : public indFleetValues {
public:
    bool Knows(const cuiMainCore& core, const std::string& column, std::string& why) override;
    bool Enter(const cuiMainCore& core, const std::string& column, const std::string& text,
               std::string& why) override;

    // The cell a column names, or false with why.
    struct Cell {
        std::string reference;
        int row = -1;
        int col = -1;
    };
    static bool Find(const cuiMainCore& core, const std::string& column, Cell& cell,
                     std::string& why);
};
