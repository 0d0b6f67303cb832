#pragma once

#include <cstdint>
#include <vector>

// The numbered events by which views announce changes to one another. The numbers are fixed.
enum class cmcEvKind : uint8_t {
    HostGone = 1,                 // sent by a sheet being destroyed; second = its grid
    CommandSetChanged = 2,        // sent; main refreshes the menu (9) and the tool bar (20)
    ShowAbout = 3,                // posted; main opens the About box
    StatusMessage = 4,            // first = text colour, second = background, data = text
    OpenFreeDebug = 5,            // main creates the free debug window
    OpenMemoryDebug = 6,          // main creates the memory debug window
    OpenDebugCompare = 7,         // main opens the debug compare window
    SetCompareReference = 8,      // sent by the memory debug window, followed by a posted 23
    UpdateCommandStates = 9,      // sent; the menu re-evaluates every item
    DropMirroredMenu = 10,        // sent; second = menu label whose sub-items go
    MirrorPopupMenu = 11,         // first = pop-up builder, second = menu label, data = menu key
    CurrentCellQuery = 12,        // query; first = pop-up owner; reply data = the cell identity
    RepaintAll = 13,              // posted; sheets repaint every visible cell
    RepaintCategory = 14,         // posted; second = category
    RepaintLabel = 15,            // posted; second = label
    RepaintArgument = 16,         // posted; second = argument
    RepaintArgumentAtMost = 17,   // posted; second = highest argument
    RepaintArgumentAtLeast = 18,  // posted; second = lowest argument
    CurrentCellChanged = 19,      // posted; data = category, label, argument as three int32
    UpdateToolBarStates = 20,     // sent; the tool bar re-evaluates its buttons
    FinishEditing = 21,           // sent before file, clone and confirmation commands
    DebugText = 22,               // the free debug window appends data as text
    MemoryDebugRefresh = 23,      // posted; the memory debug window redraws
    MemoryDebugCursor = 24,       // posted; second = address for the memory debug cursor
    RedrawRequest = 25,           // sent after the tree is built or the working image replaced
};

enum class cmcEvDelivery : uint8_t { Posted = 0, Sent = 1, Query = 2 };

// Colours of status messages (event 4): normal text is window text on button face (system
// colours); alerts are yellow on maroon.
constexpr uint32_t kStatusTextNormal = 0x80000008u;
constexpr uint32_t kStatusBackNormal = 0x8000000Fu;
constexpr uint32_t kStatusTextAlert = 0x0000FFFFu;
constexpr uint32_t kStatusBackAlert = 0x00000080u;

// Turns a pointer into an event's first argument.
inline uintptr_t cmcEvArg(const void* p) {
    return reinterpret_cast<uintptr_t>(p);
}

// One raised event, owned by the event manager from raising to freeing.
struct cmcEvent {
    cmcEvKind kind = cmcEvKind::HostGone;
    cmcEvDelivery delivery = cmcEvDelivery::Sent;
    uintptr_t first = 0;        // a pointer or an integer, by kind
    int32_t second = 0;         // an integer, by kind
    std::vector<uint8_t> data;  // a copy of the caller's bytes

    int32_t DataLength() const { return static_cast<int32_t>(data.size()); }

    // The data as a NUL-terminated text; "" when the data is not one (so a handler can never read
    // past the block).
    const char* Text() const {
        if (data.empty() || data.back() != 0)
            return "";
        return reinterpret_cast<const char*>(data.data());
    }

    template <class T>
    T* FirstAs() const {
        return reinterpret_cast<T*>(first);
    }
};

// What a handler answered to a query.
struct cmcEvReply {
    int32_t first = 0;
    int32_t second = 0;
    std::vector<uint8_t> data;

    int32_t DataLength() const { return static_cast<int32_t>(data.size()); }
};
