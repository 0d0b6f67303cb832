#pragma once

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>

#include "cmcTestHost.h"
#include "memory/MemoryMap.h"
#include "memory/cmcCloneFile.h"
#include "memory/cmcEeprom.h"

// The codes this radio's callers give the clone file.
constexpr int kTestModelCode = 0x2429;
constexpr int kTestExtraCode = 0x0001;

inline bool AcceptThisMapRevision(void* owner, int revision) {
    if (owner != nullptr)
        ++*static_cast<int*>(owner);  // counts the calls when asked to
    return revision == MemoryMap::kMapRevisionValue;
}

// A test host, a scratch directory, and helpers to make images and files.
class CloneFileFixture : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir_.isValid()); }

    std::string Path(const std::string& name) const {
        return dir_.filePath(QString::fromStdString(name)).toStdString();
    }

    static void FillPattern(cmcEeprom& image, int seed) {
        image.SetSize(MemoryMap::kImageSize);
        for (int a = 0; a < image.GetSize(); ++a)
            image.SetByte(a, static_cast<std::uint8_t>((a * 31 + seed) ^ (a >> 8)));
    }

    // A clone file set up as this radio's callers set it up, attached to image.
    static void Configure(cmcCloneFile& file, cmcEeprom& image) {
        file.AttachImage(image);
        file.SetModelCode(kTestModelCode);
        file.SetExtraCode(kTestExtraCode);
        file.SetMapRevision(MemoryMap::kMapRevisionValue);
        file.SetMapRevisionCheck(&AcceptThisMapRevision, nullptr);
    }

    static std::string Slurp(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    static void Spit(const std::string& path, const std::string& text) {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out << text;
    }

    ScopedTestHost host_;
    QTemporaryDir dir_;
};
