#pragma once

#include <cstdint>
#include <vector>

#include "memory/cmcRange.h"

class cmcEeprom;

// One bit per image address: address a is bit (a mod 8) of byte (a div 8), least significant bit
// first. The clone file and the clone driver keep which addresses are required and which a
// transfer has set in two such maps and compare them.
class cmcBitMap {
public:
    // Sized for an image of imageSize bytes ((imageSize + 7) / 8 bytes of bits), cleared.
    void SizeFor(int imageSize);
    int ByteLength() const { return static_cast<int>(bits_.size()); }
    bool IsEmpty() const { return bits_.empty(); }

    void Clear();
    // Marks first..last; a run that starts below 0 or ends beyond the array marks nothing.
    void Mark(int first, int last);
    bool IsMarked(int address) const;

    // Marks every range of the list up to its end mark; a range whose first or last address is
    // not valid in the image ends the list there. ranges may be nullptr (marks nothing).
    void MarkRanges(const cmcRange* ranges, const cmcEeprom& image);

    // True when some address is marked here but not in other.
    bool HasMarksOutside(const cmcBitMap& other) const;

    bool operator==(const cmcBitMap& other) const { return bits_ == other.bits_; }
    bool operator!=(const cmcBitMap& other) const { return bits_ != other.bits_; }

    const std::vector<std::uint8_t>& Bytes() const { return bits_; }

private:
    std::vector<std::uint8_t> bits_;
};
