#pragma once

#include <cstdint>
#include <string>

#include "memory/MemoryMap.h"

class cmcEeprom;

// The fields of one record of the image's lists, in a flat form that the field behaviour, the
// row edits, the clipboard and the model checks work on. Kept apart from the accessor so that a
// whole record can be copied or compared at once (the normalisation merges records this way).
struct datChFields {
    enum Flag : uint8_t { kUsed = 0x01, kRxBlank = 0x02, kTxBlank = 0x04 };
    enum ItemBit : uint8_t {
        kItemFirstTelecommand = 0x01,
        kItemReason = 0x02,
        kItemNature = 0x04,
        kItemCategoryAll = 0x08,
        kItemCategoryGrp = 0x10,
        kItemCategoryInd = 0x20,
        kItemCategoryPos = 0x40,
    };
    enum DscFlag : uint8_t { kAttributeDerived = 0x01 };

    uint8_t flags = kUsed;
    int32_t rxFreq = 0;    // Hz
    int32_t txFreq = 0;    // Hz
    int32_t lowEdge = 0;   // Hz, -1 = unset
    int32_t highEdge = 0;  // Hz, -1 = unset
    uint8_t mode = 0;      // channel mode (list index)
    int32_t filter = 0;    // e-mail channel filter (a byte value)
    char comment[8] = {};
    char name[10] = {};
    char indication[3] = {};
    uint8_t useValue = 0;   // mode registration
    int32_t attribute = 0;  // DSC identity address attribute; 255 = none
    uint8_t dscFlags = 0;
    uint8_t identity[5] = {};  // 9 packed digits; first byte >= 100 = no identity
    uint8_t pairUse = 0;       // 0 = pair not in use
    uint8_t itemBits = 0;
    uint8_t callSelection = 0;  // 0..2

    bool IsUsed() const { return (flags & kUsed) != 0; }
    bool IsRxBlank() const { return (flags & kRxBlank) != 0; }
    bool IsTxBlank() const { return (flags & kTxBlank) != 0; }
};

// The channel record accessor: loads one record of a record kind (1..14) and entry number into
// its fields and stores them back, hiding the layout of the image. A small value object over
// image bytes it does not own (normally the working image).
class datCh : public datChFields {
public:
    // Record kinds.
    enum Kind : uint8_t {
        kNone = 0,
        kUserCh = 1,
        kItuCh = 2,
        kEMailCh = 3,
        kRxEdge = 4,
        kItuEdge = 5,
        kTxEdge = 6,
        kModeReg = 7,
        kDscId = 8,
        kDscPair = 9,
        kFirstTelecommand = 10,
        kReason = 11,
        kNature = 12,
        kCategory = 13,
        kCallSel = 14,
        kKindCount = 15,
    };

    // Where the records of a kind lie: the first record's address, the distance from one record
    // to the next, the bytes a record spans, and how many entries the kind has (the arguments
    // its cells may carry). Kinds without records of their own (the item tables are bits of
    // shared words) have no address.
    struct Table {
        int base;
        int stride;
        int length;
        int entries;
    };
    static const Table& TableOf(int kind);
    // An entry the kind has.
    static bool HasEntry(int kind, int entry);

    uint8_t kind = 0;
    int32_t entry = 0;

    // An accessor over image bytes of the program's image size, or over a memory image. An image
    // smaller than the memory map is never read or written.
    explicit datCh(uint8_t* image = nullptr, int imageSize = MemoryMap::kImageSize);
    explicit datCh(cmcEeprom& image);

    void SetImage(uint8_t* image, int imageSize = MemoryMap::kImageSize) {
        image_ = image;
        imageSize_ = imageSize;
    }
    uint8_t* Image() const { return image_; }
    int ImageSize() const { return imageSize_; }

    void Reset();
    void SetEmpty(int kind, int entry);
    void Load(int kind, int entry);
    void Store(int kind, int entry);
    void Save() { Store(kind, entry); }
    void Reload() { Load(kind, entry); }
    void SaveAndReload() {
        Save();
        Reload();
    }

    // The record fields only (no kind, entry or image).
    datChFields& Fields() { return *this; }
    const datChFields& Fields() const { return *this; }
    void CopyFieldsFrom(const datChFields& other) { Fields() = other; }

    // The kind table. LastEntry of user channels reads the maximum user channel number from the
    // image at the moment of the query, so it needs an accessor with an image.
    static int FirstEntry(int kind);
    int LastEntry(int kind) const;
    static int LastEntry(const uint8_t* image, int kind);
    static bool AllowsChannelOps(int kind);

    // The 3-character indication of mode registration `mode` in this accessor's image.
    std::string ModeName(int mode) const;

    static int ReadBase100(const uint8_t* bytes, int n);
    static void WriteBase100(uint8_t* bytes, int n, int value);
    static int DigitAt(const uint8_t* bytes, int k);
    static void SetDigitAt(uint8_t* bytes, int k, int d);
    static bool HasNoIdentity(const uint8_t* bytes) { return bytes[0] >= 100; }

private:
    // Address of the record of (kind, entry), or -1 when it would not lie wholly inside the image.
    int RecordAddress(int kind, int entry) const;
    // The image is present and holds the whole memory map.
    bool HasImage() const;

    uint8_t* image_ = nullptr;
    int imageSize_ = MemoryMap::kImageSize;
};
