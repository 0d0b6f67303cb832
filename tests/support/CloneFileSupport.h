#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>

#include "TestPaths.h"
#include "memory/MemoryMap.h"
#include "memory/cmcEeprom.h"
#include "profile/FileCommands.h"

// The clone files tests make, through the project's own file code.

// The radio's comment area set to a text, padded with blanks (cut at the area's length).
inline void SetImageComment(cmcEeprom& image, const std::string& comment) {
    std::uint8_t text[MemoryMap::kCommentLength];
    std::memset(text, ' ', sizeof text);
    std::memcpy(text, comment.data(), std::min(comment.size(), sizeof text));
    image.WriteBlock(MemoryMap::kComment, text, MemoryMap::kCommentLength);
}

// The radio's own identity set to an MMSI of nine digits, with its check byte; "" for none.
inline void SetImageMmsi(cmcEeprom& image, const std::string& mmsi) {
    std::uint8_t id[MemoryMap::kOwnIdentityBlockLength];
    for (auto& b : id)
        b = 0xFF;
    if (!mmsi.empty()) {
        const std::string digits = mmsi + "0";
        for (int i = 0; i < 5; ++i)
            id[i] =
                static_cast<std::uint8_t>((digits[2 * i] - '0') * 10 + (digits[2 * i + 1] - '0'));
        unsigned sum = 0;
        for (int i = 0; i < 5; ++i)
            sum += id[i];
        id[5] = static_cast<std::uint8_t>(~sum);
        id[6] = 0;
    }
    image.WriteBlock(MemoryMap::kOwnIdentity, id, MemoryMap::kOwnIdentityBlockLength);
}

// The initial clone file's image, with a comment of its own.
inline void DefaultImage(cmcEeprom& image, const std::string& comment) {
    ASSERT_EQ(FileCommands::OpenCloneFile(ResourcePath("PQT590_Default.t590"), image), 0);
    SetImageComment(image, comment);
}

// The image saved as a clone file at path; returns the path. A failed save fails the test.
inline std::string SaveImageFile(const std::string& path, const cmcEeprom& image) {
    EXPECT_EQ(FileCommands::SaveCloneFile(path, image), 0) << path;
    return path;
}
