#pragma once

#include <string>
#include <vector>

struct cuiMainCore;

// A small sheet shown as text, without a window: for each line of its "_Cells" section (up to
// the first line that begins with "#"), the cells' texts joined with ": " — a plain cell's
// display text, a behaviour's cell evaluated for display on the document. For read-only
// information sheets without row loops (the clone information sheet).
std::vector<std::string> cmcSheetRowTexts(const cuiMainCore& core, const std::string& sheetName);
