#include "memory/cmcEeprom.h"

#include <cstring>

#include "platform/cmcHost.h"

void cmcEeprom::SetSize(int n) {
    if (n != size_) {
        bytes_.reset();
        size_ = 0;
        if (n > 0) {
            bytes_.reset(new std::uint8_t[static_cast<std::size_t>(n)]);
            size_ = n;
        }
    }
    // Cleared also when the size was already right: callers rely on SetSize giving a blank image.
    if (n > 0)
        std::memset(bytes_.get(), 0, static_cast<std::size_t>(size_));
}

void cmcEeprom::Fill(std::uint8_t value) {
    if (size_ > 0)
        std::memset(bytes_.get(), value, static_cast<std::size_t>(size_));
}

void cmcEeprom::SetByte(int address, std::uint8_t value) {
    if (!IsValidAddress(address))
        FatalError("Out of EEPROM image address (SetByte).");
    bytes_[static_cast<std::size_t>(address)] = value;
}

std::uint8_t cmcEeprom::GetByte(int address) const {
    if (!IsValidAddress(address))
        FatalError("Out of EEPROM image address (GetByte).");
    return bytes_[static_cast<std::size_t>(address)];
}

bool cmcEeprom::IsValidBlock(int address, int length) const {
    // Summed in 64 bits so that a huge length cannot wrap round into the image.
    return IsValidAddress(address) && length > 0 &&
           static_cast<std::int64_t>(address) + length <= size_;
}

void cmcEeprom::WriteBlock(int address, const std::uint8_t* source, int length) {
    if (!IsValidBlock(address, length) || source == nullptr)
        return;
    std::memmove(bytes_.get() + address, source, static_cast<std::size_t>(length));
}

void cmcEeprom::ReadBlock(int address, std::uint8_t* destination, int length) const {
    if (!IsValidBlock(address, length) || destination == nullptr)
        return;
    std::memmove(destination, bytes_.get() + address, static_cast<std::size_t>(length));
}

void cmcEeprom::CopyFrom(const cmcEeprom& other) {
    // Copying an image onto itself must keep it; SetSize would clear it first.
    if (&other == this)
        return;
    SetSize(other.size_);
    other.ReadBlock(0, bytes_.get(), size_);
}

bool cmcEeprom::IsEqual(const cmcEeprom& other) const {
    if (size_ != other.size_)
        return false;
    if (size_ == 0)
        return true;
    return std::memcmp(bytes_.get(), other.bytes_.get(), static_cast<std::size_t>(size_)) == 0;
}
