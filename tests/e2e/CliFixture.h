#pragma once

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <cstring>
#include <memory>
#include <string>

#include "CliProcess.h"
#include "CloneFileSupport.h"
#include "ScopedMainDictionary.h"
#include "TestPaths.h"
#include "cells/cmcFCache.h"
#include "cmcTestHost.h"
#include "cuiHeadlessMain.h"
#include "memory/MemoryMap.h"
#include "memory/cmcEeprom.h"
#include "memory/datCh.h"
#include "profile/FileCommands.h"
#include "profile/ModelProfile.h"
#include "text/cmcGTex.h"
#include "text/cmcTextUtil.h"

// The product's dictionary (the real resource file) and a scratch directory for the files of one
// test; images are made from the default image through the project's own file code.
class CliFixture : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        gtex_.SetFile(ResourcePath("PQT590.OVL"));
        mainDictionary_ = std::make_unique<ScopedMainDictionary>(&gtex_);
        ASSERT_TRUE(QFile::exists(QString::fromStdString(CliPath())))
            << "build pqt590-cli first: " << CliPath();
        // The template as the tool makes it: the initial file, normalised as loaded.
        main_->SetDictionary(&gtex_);
        main_->SetSectionCache(&cache_);
        ASSERT_EQ(FileCommands::OpenCloneFile(ResourcePath("PQT590_Default.t590"),
                                              main_->TemplateImage()),
                  0);
        ModelProfile::NormalizeImage(main_.Core(), main_->TemplateImage(), main_->TemplateImage(),
                                     false);
    }
    void TearDown() override { mainDictionary_.reset(); }

    std::string Path(const std::string& name) const {
        return dir_.filePath(QString::fromStdString(name)).toStdString();
    }

    // Receive frequency 40 MHz on user channel 1: above every receive edge, an error of the
    // user channel sheet.
    static void BreakUserChannel1(cmcEeprom& image) {
        datCh ch(image.Bytes(), image.GetSize());
        ch.Load(datCh::kUserCh, 1);
        ch.flags = datCh::kUsed;
        ch.rxFreq = 40000000;
        ch.Save();
    }
    std::string Save(const cmcEeprom& image, const std::string& name) {
        return SaveImageFile(Path(name), image);
    }
    void Load(cmcEeprom& image, const std::string& path) {
        EXPECT_EQ(FileCommands::OpenCloneFile(path, image), 0) << path;
    }
    // What the tool makes of an image it loads and then writes out (to a file or the radio).
    void Normalised(const cmcEeprom& image, cmcEeprom& out) {
        out.CopyFrom(image);
        ModelProfile::NormalizeImage(main_.Core(), out, main_->TemplateImage(), false);
        ModelProfile::NormalizeImage(main_.Core(), out, main_->TemplateImage(), true);
    }
    // A byte the normalisation keeps equal to the template, changed: normalising undoes it.
    static void ChangeProtectedByte(cmcEeprom& image) {
        image.SetByte(
            MemoryMap::kTemplateBlock2A65,
            static_cast<std::uint8_t>(image.GetByte(MemoryMap::kTemplateBlock2A65) ^ 0x5A));
    }
    static bool SameCloneRange(const cmcEeprom& a, const cmcEeprom& b) {
        return a.GetSize() >= MemoryMap::kCloneLast && b.GetSize() >= MemoryMap::kCloneLast &&
               std::memcmp(a.Bytes() + MemoryMap::kCloneFirst, b.Bytes() + MemoryMap::kCloneFirst,
                           MemoryMap::kCloneLength) == 0;
    }
    // The first line of a message of the product.
    std::string Text(const char* key) { return gtex_.Text(key); }
    std::string Line(const char* key, int n) { return gtex_.Line(key, n); }

    ScopedTestHost host_;

private:
    cmcGTex gtex_;
    cmcFCache cache_{&gtex_};
    ScopedHeadlessMain main_;
    std::unique_ptr<ScopedMainDictionary> mainDictionary_;
    QTemporaryDir dir_;
};

inline bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}
