#include "text/cmcMbcs.h"

#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#endif

namespace {

int InitialCodePage() {
#ifdef _WIN32
    return static_cast<int>(GetACP());
#else
    return 0;
#endif
}

int g_codePage = InitialCodePage();

}  // namespace

void SetMbCodePage(int codePage) {
    g_codePage = codePage;
}

int MbCodePage() {
    return g_codePage;
}

bool MbIsLeadByte(unsigned char c) {
    switch (g_codePage) {
        case 932:  // Shift-JIS
            return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
        case 936:  // GBK
        case 949:  // Unified Hangul
        case 950:  // Big5
            return c >= 0x81 && c <= 0xFE;
        default:
            return false;
    }
}
