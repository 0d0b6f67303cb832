#include "memory/datCh.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <type_traits>

#include "memory/MemoryMap.h"
#include "memory/cmcEeprom.h"

namespace MM = MemoryMap;

namespace {

int32_t ReadLE32(const uint8_t* p) {
    return static_cast<int32_t>(uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 |
                                uint32_t(p[3]) << 24);
}

void WriteLE32(uint8_t* p, int32_t value) {
    const uint32_t v = static_cast<uint32_t>(value);
    p[0] = uint8_t(v);
    p[1] = uint8_t(v >> 8);
    p[2] = uint8_t(v >> 16);
    p[3] = uint8_t(v >> 24);
}

uint16_t ReadLE16(const uint8_t* p) {
    return uint16_t(p[0] | p[1] << 8);
}

void WriteLE16(uint8_t* p, uint16_t v) {
    p[0] = uint8_t(v);
    p[1] = uint8_t(v >> 8);
}

// Bit b of a bit table; bits beyond the table read 0, so that a stray entry number never reads
// the neighbouring table.
bool TableBit(const uint8_t* image, int table, int bit) {
    if (bit < 0 || bit >= MM::kBlankTableLength * 8)
        return false;
    return (image[table + bit / 8] >> (bit % 8)) & 1;
}

// ...and is never written into it.
void SetTableBit(uint8_t* image, int table, int bit, bool on) {
    if (bit < 0 || bit >= MM::kBlankTableLength * 8)
        return;
    uint8_t& b = image[table + bit / 8];
    const uint8_t mask = uint8_t(1u << (bit % 8));
    b = on ? uint8_t(b | mask) : uint8_t(b & ~mask);
}

bool WordBit(const uint8_t* image, int word, int bit) {
    if (bit < 0 || bit >= MM::kItemBitCount)
        return false;
    return (ReadLE16(image + word) >> bit) & 1;
}

void SetWordBit(uint8_t* image, int word, int bit, bool on) {
    if (bit < 0 || bit >= MM::kItemBitCount)
        return;
    uint16_t w = ReadLE16(image + word);
    const uint16_t mask = uint16_t(1u << bit);
    w = on ? uint16_t(w | mask) : uint16_t(w & ~mask);
    WriteLE16(image + word, w);
}

void FillBlanks(char* text, int n) {
    std::memset(text, ' ', size_t(n));
}

constexpr int kCategoryWords[4] = {MM::kCategoryAllWord, MM::kCategoryGrpWord, MM::kCategoryIndWord,
                                   MM::kCategoryPosWord};
constexpr uint8_t kCategoryBits[4] = {datChFields::kItemCategoryAll, datChFields::kItemCategoryGrp,
                                      datChFields::kItemCategoryInd, datChFields::kItemCategoryPos};

int ItemWordOf(int kind) {
    switch (kind) {
        case datCh::kFirstTelecommand:
            return MM::kFirstTelecommandWord;
        case datCh::kReason:
            return MM::kReasonWord;
        default:
            return MM::kNatureWord;
    }
}

uint8_t ItemBitOf(int kind) {
    switch (kind) {
        case datCh::kFirstTelecommand:
            return datChFields::kItemFirstTelecommand;
        case datCh::kReason:
            return datChFields::kItemReason;
        default:
            return datChFields::kItemNature;
    }
}

}  // namespace

static_assert(MemoryMap::kImageSize == MM::kImageSize, "the program's image size");

// The record fields form the 68-byte record buffer that the image normalisation merges by its flag
// byte (offset 0) and the value at offset 8 (the transmit frequency).
static_assert(std::is_standard_layout<datChFields>::value, "a plain record");
static_assert(sizeof(datChFields) == 68, "the record buffer is 68 bytes");
static_assert(offsetof(datChFields, flags) == 0, "the flag byte comes first");
static_assert(offsetof(datChFields, txFreq) == 8, "the merged value sits at offset 8");
static_assert(offsetof(datChFields, name) == offsetof(datChFields, comment) + 8,
              "the 10-character text follows the 8-character text");

datCh::datCh(uint8_t* image, int imageSize) : image_(image), imageSize_(imageSize) {
    Reset();
}

datCh::datCh(cmcEeprom& image) : datCh(image.Bytes(), image.GetSize()) {}

bool datCh::HasImage() const {
    return image_ != nullptr && imageSize_ >= MM::kMapEnd;
}

void datCh::Reset() {
    Fields() = datChFields{};  // all zero, flags = used
    kind = 0;
    entry = 0;
}

void datCh::SetEmpty(int newKind, int newEntry) {
    Fields() = datChFields{};
    kind = uint8_t(newKind);
    entry = newEntry;
    flags = kRxBlank | kTxBlank;
    mode = 1;
    filter = 0;
    FillBlanks(comment, sizeof comment);
    FillBlanks(name, sizeof name);
    FillBlanks(indication, sizeof indication);
    attribute = 255;
    std::memset(identity, 0xFF, sizeof identity);
    pairUse = 0;
}

int datCh::RecordAddress(int kind, int entry) const {
    // Entry numbers are the callers' business, but a wild one must never reach outside the image.
    if (entry < -imageSize_ || entry > imageSize_)
        return -1;
    const Table& t = TableOf(kind);
    if (t.length == 0)
        return -1;
    // The pair use byte lies above the record.
    if (kind == kDscPair && MM::kDscPairUse + entry >= imageSize_)
        return -1;
    const int address = t.base + t.stride * entry;
    if (address < 0 || address + t.length > imageSize_)
        return -1;
    return address;
}

void datCh::Load(int newKind, int newEntry) {
    Reset();
    kind = uint8_t(newKind);
    entry = newEntry;
    if (!HasImage())
        return;
    const uint8_t* im = image_;

    if (newKind >= kFirstTelecommand && newKind <= kCallSel) {
        const int e = newEntry;
        switch (newKind) {
            case kFirstTelecommand:
            case kReason:
            case kNature:
                if (WordBit(im, ItemWordOf(newKind), e))
                    itemBits |= ItemBitOf(newKind);
                break;
            case kCategory:
                for (int c = 0; c < 4; ++c) {
                    if (WordBit(im, kCategoryWords[c], e))
                        itemBits |= kCategoryBits[c];
                }
                break;
            case kCallSel: {
                const bool first = WordBit(im, MM::kCallSelFirstWord, e);
                const bool second = WordBit(im, MM::kCallSelSecondWord, e);
                callSelection = first ? (second ? 2 : 1) : 0;
                break;
            }
        }
        return;
    }

    const int a = RecordAddress(newKind, newEntry);
    if (a < 0)
        return;
    const uint8_t* rec = im + a;

    switch (newKind) {
        case kUserCh: {
            rxFreq = ReadLE32(rec + MM::kChRxFreq);
            txFreq = ReadLE32(rec + MM::kChTxFreq);
            mode = rec[MM::kChMode];
            std::memcpy(comment, rec + MM::kChComment, MM::kChCommentLength);
            bool rxBlank = false;
            bool txBlank = false;
            if (newEntry >= 1 && newEntry <= MM::kUserChannelCount) {
                rxBlank = TableBit(im, MM::kRxBlankTable, newEntry - 1);
                txBlank = TableBit(im, MM::kTxBlankTable, newEntry - 1);
            }
            flags = uint8_t((rxBlank ? kRxBlank : 0) | (txBlank ? kTxBlank : 0) |
                            (rxBlank && txBlank ? 0 : kUsed));
            break;
        }
        case kItuCh: {
            rxFreq = ReadLE32(rec + MM::kChRxFreq);
            mode = rec[MM::kChMode];
            std::memcpy(comment, rec + MM::kChComment, MM::kChCommentLength);
            const bool blank = TableBit(im, MM::kRxBlankTable, MM::kItuBlankBitBase + newEntry);
            flags = blank ? uint8_t(kRxBlank | kTxBlank) : uint8_t(kUsed);
            break;
        }
        case kEMailCh: {
            rxFreq = ReadLE32(rec + MM::kChRxFreq);
            txFreq = ReadLE32(rec + MM::kChTxFreq);
            filter = rec[MM::kChFilter];
            std::memcpy(comment, rec + MM::kChComment, MM::kChCommentLength);
            const uint8_t b = rec[MM::kEMailBlankBits];
            const bool rxBlank = (b >> MM::kEMailRxBlankBit) & 1;
            const bool txBlank = (b >> MM::kEMailTxBlankBit) & 1;
            flags = uint8_t((rxBlank ? kRxBlank : 0) | (txBlank ? kTxBlank : 0) |
                            (rxBlank && txBlank ? 0 : kUsed));
            break;
        }
        case kRxEdge:
        case kItuEdge:
        case kTxEdge:
            lowEdge = ReadLE32(rec + MM::kEdgeLow);
            highEdge = ReadLE32(rec + MM::kEdgeHigh);
            break;
        case kModeReg:
            std::memcpy(indication, rec, MM::kModeIndicationLength);
            useValue = im[MM::kModeEnable + newEntry];
            // Mode 2 knows only "off" and "on"; the radio's value 2 means on.
            if (newEntry == 2 && useValue == 2)
                useValue = 1;
            break;
        case kDscId: {
            attribute = rec[MM::kDscIdAttribute];
            std::memcpy(identity, rec + MM::kDscIdIdentity, MM::kIdentityLength);
            const bool used = attribute != 255 && !HasNoIdentity(identity);
            flags = used ? uint8_t(kUsed) : uint8_t(0);
            if (!used) {
                std::memset(identity, 0xFF, sizeof identity);
            } else if (identity[0] != 0) {
                // Only identities beginning with two zeros keep a stored attribute.
                attribute = identity[0] <= 9 ? 1 : 0;
                dscFlags |= kAttributeDerived;
            }
            rxFreq = ReadBase100(rec + MM::kDscIdRxFreq, MM::kDscFreqLength) * 100;
            txFreq = ReadBase100(rec + MM::kDscIdTxFreq, MM::kDscFreqLength) * 100;
            std::memcpy(name, rec + MM::kDscIdName, MM::kDscNameLength);
            break;
        }
        case kDscPair:
            pairUse = im[MM::kDscPairUse + newEntry];
            flags = pairUse != 0 ? uint8_t(kUsed) : uint8_t(0);
            rxFreq = ReadBase100(rec + MM::kDscPairRxFreq, MM::kDscFreqLength) * 100;
            txFreq = ReadBase100(rec + MM::kDscPairTxFreq, MM::kDscFreqLength) * 100;
            std::memcpy(name, rec + MM::kDscPairName, MM::kDscNameLength);
            break;
    }
}

void datCh::Store(int storeKind, int storeEntry) {
    if (storeKind == 0)
        storeKind = kind;
    entry = storeEntry;
    if (!HasImage())
        return;
    uint8_t* im = image_;
    const int e = storeEntry;

    if (storeKind >= kFirstTelecommand && storeKind <= kCallSel) {
        switch (storeKind) {
            case kFirstTelecommand:
            case kReason:
            case kNature:
                SetWordBit(im, ItemWordOf(storeKind), e, (itemBits & ItemBitOf(storeKind)) != 0);
                break;
            case kCategory:
                for (int c = 0; c < 4; ++c) {
                    SetWordBit(im, kCategoryWords[c], e, (itemBits & kCategoryBits[c]) != 0);
                }
                break;
            case kCallSel:
                SetWordBit(im, MM::kCallSelFirstWord, e, callSelection != 0);
                SetWordBit(im, MM::kCallSelSecondWord, e, callSelection == 2);
                break;
        }
        return;
    }

    const int a = RecordAddress(storeKind, storeEntry);
    if (a < 0)
        return;
    uint8_t* rec = im + a;

    switch (storeKind) {
        case kUserCh:
            if (e >= 1 && e <= MM::kUserChannelCount) {
                SetTableBit(im, MM::kRxBlankTable, e - 1, IsRxBlank());
                SetTableBit(im, MM::kTxBlankTable, e - 1, IsTxBlank());
            }
            WriteLE32(rec + MM::kChRxFreq, rxFreq);
            WriteLE32(rec + MM::kChTxFreq, txFreq);
            rec[MM::kChMode] = mode;
            std::memcpy(rec + MM::kChComment, comment, MM::kChCommentLength);
            break;
        case kItuCh:
            SetTableBit(im, MM::kRxBlankTable, MM::kItuBlankBitBase + e, IsRxBlank());
            SetTableBit(im, MM::kTxBlankTable, MM::kItuBlankBitBase + e, IsRxBlank());
            WriteLE32(rec + MM::kChRxFreq, rxFreq);
            WriteLE32(rec + MM::kChTxFreq, rxFreq);  // an ITU channel is always simplex
            rec[MM::kChMode] = mode;
            std::memcpy(rec + MM::kChComment, comment, MM::kChCommentLength);
            break;
        case kEMailCh: {
            WriteLE32(rec + MM::kChRxFreq, rxFreq);
            WriteLE32(rec + MM::kChTxFreq, txFreq);
            uint8_t b = rec[MM::kEMailBlankBits];
            b = uint8_t(b & ~(1u << MM::kEMailRxBlankBit | 1u << MM::kEMailTxBlankBit));
            if (IsRxBlank())
                b = uint8_t(b | 1u << MM::kEMailRxBlankBit);
            if (IsTxBlank())
                b = uint8_t(b | 1u << MM::kEMailTxBlankBit);
            rec[MM::kEMailBlankBits] = b;
            rec[MM::kChFilter] = uint8_t(filter);
            std::memcpy(rec + MM::kChComment, comment, MM::kChCommentLength);
            break;
        }
        case kRxEdge:
        case kItuEdge:
        case kTxEdge:
            WriteLE32(rec + MM::kEdgeLow, lowEdge);
            WriteLE32(rec + MM::kEdgeHigh, highEdge);
            break;
        case kModeReg:
            std::memcpy(rec, indication, MM::kModeIndicationLength);
            im[MM::kModeEnable + e] = useValue;
            break;
        case kDscId: {
            const bool used = !HasNoIdentity(identity);
            flags = used ? uint8_t(flags | kUsed) : uint8_t(flags & ~kUsed);
            if (used) {
                SetDigitAt(identity, MM::kIdentityDigits, 0);  // the pad digit after the ninth
            } else {
                std::memset(identity, 0xFF, sizeof identity);
            }
            std::memcpy(rec + MM::kDscIdIdentity, identity, MM::kIdentityLength);
            WriteBase100(rec + MM::kDscIdRxFreq, MM::kDscFreqLength, rxFreq / 100);
            WriteBase100(rec + MM::kDscIdTxFreq, MM::kDscFreqLength, txFreq / 100);
            std::memcpy(rec + MM::kDscIdName, name, MM::kDscNameLength);
            if (!used) {
                attribute = 255;
            } else if (attribute == 255) {
                attribute = 0;
            }
            rec[MM::kDscIdAttribute] = uint8_t(attribute);
            break;
        }
        case kDscPair:
            im[MM::kDscPairUse + e] = pairUse;
            WriteBase100(rec + MM::kDscPairRxFreq, MM::kDscFreqLength, rxFreq / 100);
            WriteBase100(rec + MM::kDscPairTxFreq, MM::kDscFreqLength, txFreq / 100);
            std::memcpy(rec + MM::kDscPairName, name, MM::kDscNameLength);
            break;
    }
}

int datCh::FirstEntry(int kind) {
    return kind == kUserCh ? 1 : 0;
}

const datCh::Table& datCh::TableOf(int kind) {
    // The mode registration's use value lies below its indications: the indications cover both.
    static const Table kTables[kKindCount] = {
        {0, 0, 0, 1},  // none: one entry, no record
        {MM::kUserChannels, MM::kUserChannelSize, MM::kUserChannelSize, MM::kUserChannelCount + 1},
        {MM::kItuChannels, MM::kItuChannelSize, MM::kItuChannelSize, MM::kItuChannelCount},
        {MM::kEMailChannels, MM::kEMailChannelSize, MM::kEMailChannelSize, MM::kEMailChannelCount},
        {MM::kRxEdge, MM::kEdgeSize, MM::kEdgeSize, 1},
        {MM::kItuEdges, MM::kEdgeSize, MM::kEdgeSize, MM::kItuEdgeCount},
        {MM::kTxEdges, MM::kEdgeSize, MM::kEdgeSize, MM::kTxEdgeCount},
        {MM::kModeIndications, MM::kModeIndicationLength, MM::kModeIndicationLength,
         MM::kModeCount},
        {MM::kDscIds, MM::kDscIdSize, MM::kDscIdSize, MM::kDscIdCount},
        {MM::kDscPairs, MM::kDscPairSize, MM::kDscPairSize, MM::kDscPairCount},
        {0, 0, 0, MM::kItemBitCount},  // first telecommands
        {0, 0, 0, MM::kItemBitCount},  // reasons
        {0, 0, 0, MM::kItemBitCount},  // natures
        {0, 0, 0, MM::kItemBitCount},  // categories
        {0, 0, 0, MM::kItemBitCount},  // call selections
    };
    return kind >= 0 && kind < kKindCount ? kTables[kind] : kTables[kNone];
}

bool datCh::HasEntry(int kind, int entry) {
    return entry >= 0 && entry < TableOf(kind).entries;
}

int datCh::LastEntry(const uint8_t* image, int kind) {
    if (kind == kUserCh)
        return image == nullptr ? 0
                                : std::min<int>(image[MM::kMaxUserChannel], MM::kUserChannelCount);
    // The lists of records; the other kinds are no lists a row edit could work on.
    const Table& t = TableOf(kind);
    return t.length > 0 ? t.entries - 1 : 0;
}

int datCh::LastEntry(int kind) const {
    return LastEntry(HasImage() ? image_ : nullptr, kind);
}

bool datCh::AllowsChannelOps(int kind) {
    return (kind >= kUserCh && kind <= kTxEdge) || kind == kDscId || kind == kDscPair;
}

std::string datCh::ModeName(int mode) const {
    const int a = RecordAddress(kModeReg, mode);
    if (!HasImage() || a < 0)
        return std::string(MM::kModeIndicationLength, ' ');
    return std::string(reinterpret_cast<const char*>(image_ + a), MM::kModeIndicationLength);
}

int datCh::ReadBase100(const uint8_t* bytes, int n) {
    int value = 0;
    for (int k = 0; k < n; ++k)
        value = value * 100 + bytes[k];
    return value;
}

void datCh::WriteBase100(uint8_t* bytes, int n, int value) {
    std::memset(bytes, 0, size_t(n));
    for (int k = n - 1; k >= 0 && value > 0; --k) {
        bytes[k] = uint8_t(value % 100);
        value /= 100;
    }
}

int datCh::DigitAt(const uint8_t* bytes, int k) {
    const int v = bytes[k / 2];
    return k % 2 == 0 ? (v / 10) % 10 : v % 10;
}

void datCh::SetDigitAt(uint8_t* bytes, int k, int d) {
    uint8_t& b = bytes[k / 2];
    const int tens = (b / 10) % 10;
    const int units = b % 10;
    b = k % 2 == 0 ? uint8_t(d * 10 + units) : uint8_t(tens * 10 + d);
}
