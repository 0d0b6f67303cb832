#pragma once

#include <cstddef>
#include <string_view>

// Double-byte awareness for separator scans. Resource texts are bytes in the system's ANSI code
// page; in a double-byte code page (Shift-JIS, GBK, ...) the trail byte of a character may equal
// an ASCII separator such as "\" or "|", so every scan steps over whole characters through
// MbCharLen. In a single-byte code page or UTF-8 every byte is its own character for our
// purposes (UTF-8 continuation bytes never equal an ASCII byte).

// The code page whose lead bytes are recognised: 932, 936, 949 or 950; anything else means
// none. The default is the system's ANSI code page on Windows and none elsewhere.
void SetMbCodePage(int codePage);
int MbCodePage();

// True when c is the lead byte of a double-byte character in the current code page.
bool MbIsLeadByte(unsigned char c);

// Length of the character at p: 2 for a lead byte followed by a non-NUL byte, else 1.
// p must point at a non-NUL byte.
inline int MbCharLen(const char* p) {
    return (MbIsLeadByte(static_cast<unsigned char>(p[0])) && p[1] != '\0') ? 2 : 1;
}

// The same for a character at index i of a bounded text.
inline std::size_t MbCharLen(std::string_view s, std::size_t i) {
    return (MbIsLeadByte(static_cast<unsigned char>(s[i])) && i + 1 < s.size()) ? 2 : 1;
}
