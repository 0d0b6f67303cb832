#include "clone/cmcBuff.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/cmcHost.h"

cmcBuff::cmcBuff() {
    Clear();
}

cmcBuff::cmcBuff(const cmcBuff& other) : cmcBuff() {
    Assign(other);
}

cmcBuff& cmcBuff::operator=(const cmcBuff& other) {
    if (this != &other)
        Assign(other);
    return *this;
}

int cmcBuff::SetLength(int n) {
    if (n < 0)
        n = 0;
    if (n > capacity_) {
        const int size = std::max(n + length_ / 4, 1);
        std::unique_ptr<std::uint8_t[]> fresh(new std::uint8_t[size]);
        if (length_ > 0)
            std::memcpy(fresh.get(), data_, static_cast<size_t>(length_));
        std::memset(fresh.get() + length_, kFill, static_cast<size_t>(size - length_));
        storage_ = std::move(fresh);
        data_ = storage_.get();
        capacity_ = size;
    }
    length_ = n;
    return n;
}

std::uint8_t* cmcBuff::At(int i) {
    if (i < 0 || i >= length_)
        FatalError("Out of cmcBuff element !");
    return data_ + i;
}

const std::uint8_t* cmcBuff::At(int i) const {
    if (i < 0 || i >= length_)
        FatalError("Out of cmcBuff element !");
    return data_ + i;
}

void cmcBuff::Assign(const void* bytes, int n) {
    if (n <= 0) {
        SetLength(0);
        return;
    }
    // A source inside this buffer would move with a reallocation: copy it out first.
    if (Overlaps(bytes)) {
        const std::vector<std::uint8_t> copy(static_cast<const std::uint8_t*>(bytes),
                                             static_cast<const std::uint8_t*>(bytes) + n);
        Assign(copy.data(), n);
        return;
    }
    SetLength(n);
    std::memcpy(data_, bytes, static_cast<size_t>(n));
}

void cmcBuff::Assign(const cmcBuff& other) {
    if (this == &other)
        return;
    Assign(other.data_, other.length_);
}

void cmcBuff::Append(const void* bytes, int n) {
    if (n <= 0)
        return;
    if (Overlaps(bytes)) {
        const std::vector<std::uint8_t> copy(static_cast<const std::uint8_t*>(bytes),
                                             static_cast<const std::uint8_t*>(bytes) + n);
        Append(copy.data(), n);
        return;
    }
    const int old = length_;
    SetLength(old + n);
    std::memcpy(data_ + old, bytes, static_cast<size_t>(n));
}

bool cmcBuff::Overlaps(const void* p) const {
    const auto b = reinterpret_cast<std::uintptr_t>(p);
    return b >= reinterpret_cast<std::uintptr_t>(storage_.get()) &&
           b < reinterpret_cast<std::uintptr_t>(data_ + capacity_);
}

void cmcBuff::Append(const cmcBuff& other) {
    Append(other.data_, other.length_);
}

void cmcBuff::AppendByte(std::uint8_t b) {
    const int old = length_;
    SetLength(old + 1);
    data_[old] = b;
}

void cmcBuff::AppendFill(std::uint8_t value, int n) {
    if (n <= 0)
        return;
    const int old = length_;
    SetLength(old + n);
    std::memset(data_ + old, value, static_cast<size_t>(n));
}

int cmcBuff::PopFront() {
    if (length_ <= 0)
        return -1;
    const int b = data_[0];
    ++data_;
    --length_;
    --capacity_;
    if (data_ - storage_.get() > kCompactAfter)
        Compact();
    return b;
}

void cmcBuff::RemoveFront(int n) {
    if (n <= 0)
        return;
    if (n >= length_)
        n = length_;
    data_ += n;
    length_ -= n;
    capacity_ -= n;
    if (data_ - storage_.get() > kCompactAfter)
        Compact();
}

void cmcBuff::Compact() {
    const int size = std::max(length_, 1);
    std::unique_ptr<std::uint8_t[]> fresh(new std::uint8_t[size]);
    fresh[0] = kFill;
    if (length_ > 0)
        std::memcpy(fresh.get(), data_, static_cast<size_t>(length_));
    storage_ = std::move(fresh);
    data_ = storage_.get();
    capacity_ = size;
}

void cmcBuff::Clear() {
    storage_.reset(new std::uint8_t[1]);
    storage_[0] = kFill;
    data_ = storage_.get();
    length_ = 0;
    capacity_ = 1;
}

bool cmcBuff::operator==(const cmcBuff& other) const {
    return length_ == other.length_ &&
           (length_ == 0 || std::memcmp(data_, other.data_, static_cast<size_t>(length_)) == 0);
}
