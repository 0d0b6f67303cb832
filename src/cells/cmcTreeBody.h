#pragma once

#include <memory>
#include <string>
#include <vector>

#include "cells/cmcCellObj.h"

class cmcGTex;

// The node lines of a tree's dictionary sections (base name + "_BasicCell", base name +
// "_Body"), parsed into cells without any widget: the desktop program's tree builds its view
// from them, the command-line tool finds the sheets and their captions in them.
class cmcTreeBody {
public:
    struct Node {
        int depth = 0;  // the number of characters before the line's first "+"
        std::unique_ptr<cmcCellObj> cell;
        // The caption (the cell's display text) and, for a node that opens a sheet (label
        // CallSheet with an argument text), the sheet reference; else empty.
        std::string Caption() const { return cell->GetText(); }
        std::string SheetReference() const;
    };

    // Reads the sections; a missing key is fatal (the dictionary's rule).
    void Read(cmcGTex& dictionary, const std::string& baseName);

    const cmcCellObj& BasicCell() const { return basic_; }
    const std::vector<Node>& Nodes() const { return nodes_; }

private:
    cmcCellObj basic_;
    std::vector<Node> nodes_;
};
