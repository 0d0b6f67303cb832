#include "memory/cmcBitMap.h"

#include <algorithm>

#include "memory/cmcEeprom.h"

void cmcBitMap::SizeFor(int imageSize) {
    bits_.assign(imageSize > 0 ? static_cast<std::size_t>((imageSize + 7) / 8) : 0u, 0u);
}

void cmcBitMap::Clear() {
    std::fill(bits_.begin(), bits_.end(), std::uint8_t{0});
}

void cmcBitMap::Mark(int first, int last) {
    if (first < 0 || last < first || last / 8 >= ByteLength())
        return;
    for (int a = first; a <= last; ++a)
        bits_[static_cast<std::size_t>(a / 8)] |= 1u << (a % 8);
}

bool cmcBitMap::IsMarked(int address) const {
    if (address < 0 || address / 8 >= ByteLength())
        return false;
    return (bits_[static_cast<std::size_t>(address / 8)] >> (address % 8)) & 1u;
}

void cmcBitMap::MarkRanges(const cmcRange* ranges, const cmcEeprom& image) {
    if (ranges == nullptr)
        return;
    for (const cmcRange* r = ranges; !r->IsEndMark(); ++r) {
        if (!image.IsValidAddress(r->first) || !image.IsValidAddress(r->last))
            break;
        Mark(r->first, r->last);
    }
}

bool cmcBitMap::HasMarksOutside(const cmcBitMap& other) const {
    for (std::size_t i = 0; i < bits_.size(); ++i) {
        const std::uint8_t mask = i < other.bits_.size() ? other.bits_[i] : std::uint8_t{0};
        if (bits_[i] & ~mask)
            return true;
    }
    return false;
}
