#pragma once

#include <cstdint>
#include <memory>

// A growable byte string with cheap removal from the front: the serial link's output queue and
// the clone driver's receive, frame and echo buffers. Removing from the front only moves the
// start of the content; the storage is compacted once the removed prefix grows past 4096 bytes.
class cmcBuff {
public:
    cmcBuff();
    cmcBuff(const cmcBuff& other);
    cmcBuff& operator=(const cmcBuff& other);
    ~cmcBuff() = default;

    // Sets the length; growing beyond the capacity reallocates with a quarter of the old length
    // to spare and zero-fills the new storage. Bytes exposed within the capacity keep their old
    // values: callers write them.
    int SetLength(int n);
    int GetLength() const { return length_; }
    int Capacity() const { return capacity_; }

    std::uint8_t* Data() { return data_; }
    const std::uint8_t* Data() const { return data_; }
    // The address of content byte i; i at or beyond the length is a program error (fatal).
    std::uint8_t* At(int i);
    const std::uint8_t* At(int i) const;

    void Assign(const void* bytes, int n);
    void Assign(const cmcBuff& other);
    void Append(const void* bytes, int n);
    void Append(const cmcBuff& other);
    void AppendByte(std::uint8_t b);
    void AppendFill(std::uint8_t value, int n);

    // Removes and returns the first byte (0-255), or -1 when empty.
    int PopFront();
    // Removes the first n bytes (all when n >= length).
    void RemoveFront(int n);

    // New storage of exactly max(length, 1) bytes holding the content.
    void Compact();
    // Back to the constructed state.
    void Clear();

    bool operator==(const cmcBuff& other) const;
    bool operator!=(const cmcBuff& other) const { return !(*this == other); }

private:
    bool Overlaps(const void* p) const;

    static constexpr int kCompactAfter = 4096;
    static constexpr std::uint8_t kFill = 0;

    std::unique_ptr<std::uint8_t[]> storage_;
    std::uint8_t* data_ = nullptr;
    int length_ = 0;
    int capacity_ = 0;
};
