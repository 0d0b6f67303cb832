#pragma once

#include "ui/sheet/cuiSheet.h"

// The common-settings sheet: a plain sheet that also honours "Only_2182 n" in its cells
// section, which makes the next n lines vanish (the 2182 kHz watch settings the T590 keeps
// fixed).
class iuiSh_Common : public cuiSheet {
public:
    using cuiSheet::cuiSheet;

protected:
    void ApplyDirective(const std::string& group) override;
};
