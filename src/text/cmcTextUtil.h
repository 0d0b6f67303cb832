#pragma once

#include <optional>
#include <string>
#include <string_view>

class cmcGTex;

// Text helpers shared by the dictionary's readers and the cell parser. Separator scans are
// double-byte aware (text/cmcMbcs.h): a trail byte is never taken for a separator.

// The n-th field (from 0) of text split at separator; the whole text is field 0 when it holds
// no separator. None when text is null or has fewer than n + 1 fields.
std::optional<std::string> FieldAt(const char* text, char separator, int n);
std::optional<std::string> FieldAt(const std::string& text, char separator, int n);

// Lines 0, 1, 2 ... of the section key joined with line feeds, up to (not including) the first
// line that begins with "#". A missing key is the dictionary's fatal error.
std::string ReadTextBlock(cmcGTex& dictionary, std::string_view key);
