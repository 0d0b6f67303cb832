#include "cells/cmcTreeBody.h"

#include "cells/cmcCellParser.h"
#include "text/cmcGTex.h"

std::string cmcTreeBody::Node::SheetReference() const {
    if (cell->label != CallSheet || !cell->argText)
        return std::string();
    return *cell->argText;
}

void cmcTreeBody::Read(cmcGTex& dictionary, const std::string& baseName) {
    nodes_.clear();
    basic_.Reset();
    ParseCell(dictionary.Text(baseName + "_BasicCell"), basic_, nullptr, nullptr);
    const std::string body = baseName + "_Body";
    for (int i = 0;; ++i) {
        const std::string line = dictionary.Line(body, i);
        if (!line.empty() && line[0] == '#')
            break;
        Node node;
        node.cell = std::make_unique<cmcCellObj>();
        node.cell->parent = &basic_;
        node.cell->Reset();
        const std::size_t plus = line.find('+');
        if (plus == std::string::npos) {
            node.depth = 0;  // a line without "+" is a node with an empty description
        } else {
            node.depth = static_cast<int>(plus);
            ParseCell(std::string_view(line).substr(plus + 1), *node.cell, nullptr, &basic_);
        }
        nodes_.push_back(std::move(node));
    }
}
