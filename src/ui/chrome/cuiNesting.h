#pragma once

#include <string>
#include <string_view>

#include "text/cmcGTex.h"

// The bodies of trees and menus nest by indentation: the characters before a line's first "+"
// are its depth (any characters count), the text after that "+" is its cell description. A line
// without "+" has depth 0 and an empty description.
int cuiLineDepth(const std::string& line);
std::string_view cuiLineDescription(const std::string& line);

// A body ends at its first line that begins with "#".
inline bool cuiEndsBody(const std::string& line) {
    return !line.empty() && line[0] == '#';
}

// Adds the lines of a body from line `first` under `parent`, one level: the first line sets the
// level's depth, a deeper line opens a level under the node made last, a shallower one ends the
// level. add(parent, line) makes one node and returns it. Returns the number of lines consumed.
template <class Node, class AddFn>
int cuiAddNested(Node parent, cmcGTex& dictionary, const std::string& section, int first,
                 AddFn& add) {
    int n = 0;
    int levelDepth = 0;
    Node last{};
    for (;;) {
        const std::string line = dictionary.Line(section, first + n);
        if (cuiEndsBody(line))
            break;
        const int d = cuiLineDepth(line);
        if (n == 0) {
            last = add(parent, line);
            levelDepth = d;
        } else if (d > levelDepth) {
            const int m = cuiAddNested(last, dictionary, section, first + n, add);
            n += m - 1;
        } else if (d < levelDepth) {
            break;
        } else {
            last = add(parent, line);
        }
        ++n;
    }
    return n;
}

// A whole body from line `first`: level after level at the top, so that a line shallower than
// the first (which set the top level's depth) starts a new top level instead of being lost.
template <class Node, class AddFn>
int cuiAddAllNested(Node parent, cmcGTex& dictionary, const std::string& section, int first,
                    AddFn& add) {
    int n = 0;
    while (!cuiEndsBody(dictionary.Line(section, first + n)))
        n += cuiAddNested(parent, dictionary, section, first + n, add);
    return n;
}
