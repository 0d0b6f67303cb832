#pragma once

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "TestPaths.h"
#include "cmcTestHost.h"
#include "text/cmcGTex.h"

// The product's resource file, read through the program's own dictionary. A missing key throws
// cmcFatalError under the test host, so a test can name what is missing instead of ending.
class OvlResource : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dict_.SetFile(ResourcePath("PQT590.OVL"))); }

    bool Has(const std::string& key) {
        try {
            dict_.Text(key);
            return true;
        } catch (const cmcFatalError&) {
            return false;
        }
    }

    // The body of a section as its consumers read it: lines 0, 1, 2 ... up to the first line
    // that begins with "#".
    std::vector<std::string> Body(const std::string& key) {
        std::vector<std::string> lines;
        for (int n = 0;; ++n) {
            std::string line = dict_.Line(key, n);
            if (!line.empty() && line[0] == '#')
                break;
            lines.push_back(line);
        }
        return lines;
    }

    // The argument text of the first behaviour reference with the given label in a line: the
    // text after "<label>:" up to the closing parenthesis.
    static std::string ArgumentTextOf(const std::string& line, const std::string& label) {
        const std::string marker = label + ":";
        const std::size_t at = line.find(marker);
        if (at == std::string::npos)
            return std::string();
        const std::size_t from = at + marker.size();
        return line.substr(from, line.find(')', from) - from);
    }

    // The base name of a sheet reference: the name part before ",", without a "[kind]".
    static std::string SheetBase(const std::string& reference) {
        std::string name = reference.substr(0, reference.find(','));
        const std::size_t open = name.find('[');
        const std::size_t close = name.find(']', open == std::string::npos ? 0 : open);
        if (open != std::string::npos && close != std::string::npos)
            name = name.substr(close + 1);
        return name;
    }

    // The sheet references the tree's nodes open, in tree order.
    std::vector<std::string> TreeSheetReferences() {
        std::vector<std::string> refs;
        for (const std::string& line : Body("GI_Tree_Main_Body")) {
            const std::string ref = ArgumentTextOf(line, "CallSheet");
            if (!ref.empty())
                refs.push_back(ref);
        }
        return refs;
    }

    std::vector<std::string> TreeSheetBases() {
        std::vector<std::string> bases;
        for (const std::string& ref : TreeSheetReferences())
            bases.push_back(SheetBase(ref));
        return bases;
    }

    ScopedTestHost host_;
    cmcGTex dict_;
};

// The file as bytes, split at line feeds (the last line without one ends the file).
inline std::vector<std::string> OvlRawLines() {
    std::ifstream in(ResourcePath("PQT590.OVL"), std::ios::binary);
    std::vector<std::string> lines;
    std::string line;
    while (std::getline(in, line))
        lines.push_back(line);
    return lines;
}

// Every section name of the file, in file order, up to and including "End_Of_Ovl".
inline std::vector<std::string> OvlSectionNames() {
    std::vector<std::string> names;
    for (const std::string& line : OvlRawLines()) {
        if (line.size() >= 2 && line[0] == '#') {
            names.push_back(line.substr(1));
            if (names.back() == "End_Of_Ovl")
                break;
        }
    }
    return names;
}
