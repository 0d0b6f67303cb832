#pragma once

#include <cstdint>
#include <memory>

// A memory image: the program's copy of the radio's memory, a flat array of bytes addressed from
// 0. The array is exposed (Bytes()) because channel records and the memory windows address it by
// offset; it moves only when SetSize changes the size, so such pointers stay valid until then.
class cmcEeprom {
public:
    cmcEeprom() = default;
    ~cmcEeprom() = default;
    // Images are owned by one holder and duplicated only on purpose, with CopyFrom.
    cmcEeprom(const cmcEeprom&) = delete;
    cmcEeprom& operator=(const cmcEeprom&) = delete;

    // Resizes (reallocating only when n differs) and clears every byte; n <= 0 empties the image.
    void SetSize(int n);
    int GetSize() const { return size_; }
    bool IsValidAddress(int address) const { return address >= 0 && address < size_; }
    void Fill(std::uint8_t value);

    // Single-byte access; an address outside the image is a program error and fatal.
    void SetByte(int address, std::uint8_t value);
    std::uint8_t GetByte(int address) const;

    // Block copies; a block not wholly inside the image (or length <= 0) copies nothing at all.
    void WriteBlock(int address, const std::uint8_t* source, int length);
    void ReadBlock(int address, std::uint8_t* destination, int length) const;

    // Afterwards size and contents equal the other's.
    void CopyFrom(const cmcEeprom& other);
    bool IsEqual(const cmcEeprom& other) const;
    bool IsDifferent(const cmcEeprom& other) const { return !IsEqual(other); }

    // The bytes themselves; nullptr for an empty image.
    std::uint8_t* Bytes() { return bytes_.get(); }
    const std::uint8_t* Bytes() const { return bytes_.get(); }

private:
    bool IsValidBlock(int address, int length) const;

    int size_ = 0;
    std::unique_ptr<std::uint8_t[]> bytes_;
};
