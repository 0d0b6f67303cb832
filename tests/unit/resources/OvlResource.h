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
