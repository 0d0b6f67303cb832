#pragma once

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>

#include "ScopedMainDictionary.h"
#include "cmcTestHost.h"
#include "memory/MemoryMap.h"
#include "memory/cmcCloneFile.h"
#include "memory/cmcEeprom.h"
#include "profile/ModelProfile.h"
#include "text/cmcGTex.h"

inline bool AcceptThisMapRevision(void* owner, int revision) {
    if (owner != nullptr)
        ++*static_cast<int*>(owner);  // counts the calls when asked to
    return revision == MemoryMap::kMapRevisionValue;
}

// The message texts of a small resource fragment. The '%' signs would be eaten or worse if any
// text were used as a format.
inline const char* const kFileMessageLines[] = {
    "#GI_Sys_AppTitle",
    "PQ-T590 %s%n",
    "#GI_Mess_FileErr_Headline",
    "The file failed 100%:",
    "#GI_Mess_FileErr_FileOpen",
    "cannot open %s",
    "#GI_Mess_FileErr_FileAccess",
    "cannot write %d",
    "#GI_Mess_FileErr_Model",
    "other model",
    "#GI_Mess_FileErr_Extra",
    "other extra code",
    "#GI_Mess_FileErr_MapRev",
    "other map revision",
    "#GI_Mess_FileErr_Format",
    "bad format %x",
    "#GI_Mess_FileErr_Coverage",
    "data missing",
    "#GI_Mess_FileErr_Data",
    "data outside",
    "#GI_Mess_FileErr_Newer",
    "newer radio",
    "#End_Of_Ovl",
    nullptr,
};

// The caption and text the fragment gives for a result code.
constexpr char kFileMessageCaption[] = "PQ-T590 %s%n";
inline std::string FileMessageText(int result) {
    static const char* const texts[] = {"",
                                        "cannot open %s",
                                        "cannot write %d",
                                        "other model",
                                        "other extra code",
                                        "other map revision",
                                        "bad format %x",
                                        "data missing",
                                        "data outside",
                                        "newer radio"};
    return std::string("The file failed 100%:\n\n") + texts[result];
}

// A test host, the fragment as the program's dictionary, a scratch directory, and helpers to
// make images and files.
class CloneFileFixture : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        texts_.SetLines(kFileMessageLines);
    }

    // Expects exactly the one message box of a result code.
    void ExpectOnlyMessage(int result) {
        ASSERT_EQ(host_->Messages().size(), 1u);
        const cmcTestHost::Message& m = host_->Messages()[0];
        EXPECT_EQ(m.caption, kFileMessageCaption);
        EXPECT_EQ(m.text, FileMessageText(result));
        EXPECT_EQ(m.icon, HostIcon::Warning);
        EXPECT_EQ(m.buttons, HostButtons::Ok);
    }

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
        file.SetModelCode(ModelProfile::kModelCode);
        file.SetExtraCode(ModelProfile::kExtraCode);
        file.SetMapRevision(ModelProfile::kMapRevision);
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
    cmcGTex texts_;
    ScopedMainDictionary mainDictionary_{&texts_};
    QTemporaryDir dir_;
};
