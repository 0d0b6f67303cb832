#pragma once

#include <string>
#include <vector>

#include "text/cmcGTex.h"

// A dictionary in memory holding the three sections of one sheet named "T" (style line, basic
// cell, cells section) and the popup menu its cells offer by default, for sheets made up by a
// test. Cell models come from the main dictionary.
class MemorySheet {
public:
    MemorySheet(const std::string& style, const std::vector<std::string>& cells,
                const std::string& basic = "{($Basic)}",
                const std::vector<std::string>& extra = {}) {
        text_ = {"#T_Style", style, "#T_BasicCell", basic, "#T_Cells"};
        text_.insert(text_.end(), cells.begin(), cells.end());
        text_.insert(text_.end(),
                     {"#GI_PMenu_NoItem_BasicCell", "{($Basic)}", "#GI_PMenu_NoItem_Body",
                      "+No item\t{(%CT_PopupMenu.CL_PMenu_NoItem)}"});
        text_.insert(text_.end(), extra.begin(), extra.end());
        text_.push_back("#End_Of_Ovl");
        for (const std::string& s : text_)
            lines_.push_back(s.c_str());
        dict_.SetLines(lines_.data(), lines_.size());
    }
    MemorySheet(const MemorySheet&) = delete;
    MemorySheet& operator=(const MemorySheet&) = delete;

    cmcGTex& Dictionary() { return dict_; }

private:
    std::vector<std::string> text_;
    std::vector<const char*> lines_;
    cmcGTex dict_;
};
