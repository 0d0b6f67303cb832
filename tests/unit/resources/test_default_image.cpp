// The initial clone file: the committed file is what the generator makes, the program reads it,
// and the radio it describes is consistent by the rules behind the sheets' error marks.
#include <gtest/gtest.h>

#include <QCoreApplication>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "DefaultImage.h"
#include "TestPaths.h"
#include "cells/indValueRules.h"
#include "cmcTestHost.h"
#include "memory/MemoryMap.h"
#include "memory/cmcCloneFile.h"
#include "memory/cmcEeprom.h"
#include "memory/cmcRange.h"
#include "memory/datCh.h"
#include "profile/ModelProfile.h"

namespace MM = MemoryMap;

namespace {

std::string FileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool AcceptsRevision7(void*, int revision) {
    return revision == MM::kMapRevisionValue;
}

std::string InitialFile() {
    return ResourcePath(DefaultImage::kFileName);
}

class DefaultImageTest : public ::testing::Test {
protected:
    void SetUp() override {
        DefaultImage::Build(image_);
        data_ = image_.Bytes();
    }

    datCh Load(int kind, int entry) {
        datCh ch(data_);
        ch.Load(kind, entry);
        return ch;
    }

    ScopedTestHost host_;
    cmcEeprom image_;
    uint8_t* data_ = nullptr;
};

TEST(DefaultImageFile, RegeneratingGivesTheCommittedBytes) {
    ScopedTestHost host;
    const std::filesystem::path out =
        std::filesystem::temp_directory_path() /
        ("pq_default_image_" + std::to_string(QCoreApplication::applicationPid()) + ".t590");
    ASSERT_EQ(DefaultImage::Write(out.string()), 0);
    const std::string regenerated = FileBytes(out.string());
    std::filesystem::remove(out);
    const std::string committed = FileBytes(InitialFile());
    ASSERT_FALSE(committed.empty()) << InitialFile();
    EXPECT_TRUE(regenerated == committed)
        << "resources/" << DefaultImage::kFileName
        << " is out of date: run t590-default-image and commit its output";
    EXPECT_TRUE(host->Messages().empty());
}

TEST(DefaultImageFile, ReadsLikeTheProgramReadsItsTemplate) {
    ScopedTestHost host;
    cmcEeprom image;
    image.SetSize(MM::kImageSize);
    cmcCloneFile file;
    file.AttachImage(image);
    file.SetModelCode(ModelProfile::kModelCode);
    file.SetExtraCode(ModelProfile::kExtraCode);
    file.SetMapRevisionCheck(&AcceptsRevision7, nullptr);
    ASSERT_EQ(file.Read(InitialFile(), kCloneRanges), 0);
    EXPECT_TRUE(host->Messages().empty());
    EXPECT_EQ(file.GetMapRevision(), MM::kMapRevisionValue);

    cmcEeprom built;
    DefaultImage::Build(built);
    EXPECT_TRUE(image.IsEqual(built)) << "the file holds the whole built image";
    EXPECT_EQ(cmcCloneFile::ImageComment(image), "T590 DEFAULT");
    // The template passes the model check without strictness, and also the strict check of
    // images read from a radio, so a default image written to a radio reads back as valid.
    EXPECT_EQ(ModelProfile::CheckImage(image, false), 0);
    EXPECT_EQ(ModelProfile::CheckImage(image, true), 0);
    EXPECT_EQ(ModelProfile::CheckImageContents(image), 0);
}

// The two facts the model check of files and of the template looks at, so that a change of the
// check cannot pass unnoticed here.
TEST_F(DefaultImageTest, CarriesTheMapRevisionAndTheMakerText) {
    EXPECT_EQ(image_.GetSize(), MM::kImageSize);
    EXPECT_EQ(image_.GetByte(MM::kMapRevision), MM::kMapRevisionValue);
    EXPECT_EQ(
        std::string(reinterpret_cast<const char*>(data_ + MM::kMakerText), MM::kMakerTextLength),
        MM::kMakerTextValue);
}

TEST_F(DefaultImageTest, EveryBandEdgeIsValid) {
    struct Edges {
        int kind;
        int count;
    };
    for (const Edges& e : {Edges{datCh::kRxEdge, 1}, Edges{datCh::kItuEdge, MM::kItuEdgeCount},
                           Edges{datCh::kTxEdge, MM::kTxEdgeCount}}) {
        for (int i = 0; i < e.count; ++i) {
            const indValueRules::EdgeValidity v = indValueRules::EdgeValid(data_, e.kind, i);
            EXPECT_TRUE(v.low && v.high) << "edge kind " << e.kind << " index " << i;
        }
    }
    const datCh rx = Load(datCh::kRxEdge, 0);
    EXPECT_EQ(rx.lowEdge, 30000);
    EXPECT_EQ(rx.highEdge, 29999900);
}

// A marine HF transceiver transmits on the distress and safety frequencies of every band.
TEST_F(DefaultImageTest, TransmitEdgesCoverTheDistressAndSafetyFrequencies) {
    for (int32_t hz : {2182000, 4125000, 6215000, 8291000, 12290000, 16420000,     // telephony
                       2187500, 4207500, 6312000, 8414500, 12577000, 16804500}) {  // DSC
        EXPECT_TRUE(indValueRules::IsTxFreqValid(data_, hz, false)) << hz << " Hz";
        EXPECT_TRUE(indValueRules::IsRxFreqValid(data_, hz)) << hz << " Hz";
    }
    EXPECT_FALSE(indValueRules::IsTxFreqValid(data_, 10000000, false)) << "no transmit at WWV";
}

TEST_F(DefaultImageTest, UserChannelOneIs2182KHzAndEveryUsedChannelIsValid) {
    const datCh ch1 = Load(datCh::kUserCh, 1);
    EXPECT_TRUE(ch1.IsUsed());
    EXPECT_EQ(ch1.rxFreq, 2182000);
    EXPECT_EQ(ch1.txFreq, 2182000);
    EXPECT_TRUE(indValueRules::IsModeAvailable(data_, ch1.mode));

    datCh probe(data_);
    const int last = probe.LastEntry(datCh::kUserCh);
    EXPECT_EQ(last, MM::kUserChannelCount);
    for (int e = 1; e <= last; ++e) {
        const datCh ch = Load(datCh::kUserCh, e);
        if (!ch.IsUsed())
            continue;
        EXPECT_TRUE(indValueRules::IsRxFreqValid(data_, ch.rxFreq)) << "user channel " << e;
        EXPECT_TRUE(indValueRules::IsTxFreqValid(data_, ch.txFreq, false)) << "user channel " << e;
        EXPECT_TRUE(indValueRules::IsModeAvailable(data_, ch.mode)) << "user channel " << e;
    }
    for (int e = 0; e < MM::kEMailChannelCount; ++e)
        EXPECT_FALSE(Load(datCh::kEMailCh, e).IsUsed()) << "e-mail channel " << e;
}

// Duplex channel n of a band: the coast station transmits (the ship receives) on the band's first
// coast frequency + 3 kHz x (n - 1). The 6 MHz band has eight channels. Each channel's comment is
// its ITU channel number.
TEST_F(DefaultImageTest, ItuChannelsFollowTheDuplexTables) {
    const int bandNumber[MM::kItuEdgeCount] = {4, 6, 8, 12, 16, 18, 22, 25};
    const int firstCoastKHz[MM::kItuEdgeCount] = {4357,  6501,  8719,  13077,
                                                  17242, 19755, 22696, 26145};
    for (int band = 0; band < MM::kItuEdgeCount; ++band) {
        for (int n = 0; n < MM::kItuChannelsPerBand; ++n) {
            const datCh ch = Load(datCh::kItuCh, band * MM::kItuChannelsPerBand + n);
            if (band == 1 && n == 8) {
                EXPECT_FALSE(ch.IsUsed()) << "there is no channel 609";
                continue;
            }
            ASSERT_TRUE(ch.IsUsed()) << "band " << band << " channel " << n + 1;
            EXPECT_EQ(ch.rxFreq, (firstCoastKHz[band] + 3 * n) * 1000);
            const std::string number = std::to_string(bandNumber[band] * 100 + n + 1);
            EXPECT_EQ(std::string(ch.comment, sizeof ch.comment),
                      ("ITU " + number + "    ").substr(0, sizeof ch.comment));
            EXPECT_TRUE(indValueRules::IsItuFreqValid(data_, band, ch.rxFreq));
            EXPECT_TRUE(indValueRules::IsModeAvailable(data_, ch.mode));
        }
    }
}

TEST_F(DefaultImageTest, ModesAreRegisteredWithTheirIndications) {
    const char* indications[MM::kModeCount] = {"LSB", "USB", "AM ", "CW ", "AFS", "FSK"};
    for (int m = 0; m < MM::kModeCount; ++m) {
        const datCh reg = Load(datCh::kModeReg, m);
        EXPECT_EQ(std::string(reg.indication, 3), indications[m]);
    }
    EXPECT_TRUE(indValueRules::IsModeAvailable(data_, 1)) << "USB is always available";
}

TEST_F(DefaultImageTest, DscStartsWithoutIdentitiesAndWithUsableItemTables) {
    EXPECT_TRUE(datCh::HasNoIdentity(data_ + MM::kOwnIdentity));
    for (int e = 0; e < MM::kDscIdCount; ++e)
        EXPECT_FALSE(Load(datCh::kDscId, e).IsUsed()) << "address book entry " << e;
    for (int e = 0; e < MM::kDscPairCount; ++e) {
        EXPECT_FALSE(Load(datCh::kDscPair, e).IsUsed()) << "pair " << e;
        EXPECT_EQ(image_.GetByte(MM::kDscPairNumbers + e), 255) << "pair " << e;
    }
    // Every column of the category table carries a category its calls need.
    EXPECT_EQ(indValueRules::DscCategoryColumns(data_),
              datCh::kItemCategoryAll | datCh::kItemCategoryGrp | datCh::kItemCategoryInd |
                  datCh::kItemCategoryPos);
    // The items the radio fixes (shown read-only) are enabled: undesignated distress, the first
    // telecommand J3E telephony, no reason given, and distress calls sent and received.
    EXPECT_TRUE(Load(datCh::kNature, 0).itemBits & datCh::kItemNature);
    EXPECT_TRUE(Load(datCh::kFirstTelecommand, 0).itemBits & datCh::kItemFirstTelecommand);
    EXPECT_TRUE(Load(datCh::kReason, 0).itemBits & datCh::kItemReason);
    EXPECT_EQ(Load(datCh::kCallSel, 0).callSelection, 2);
}

struct SettingRange {
    const char* name;
    int address;
    int min;
    int max;
};

class DefaultSettings : public DefaultImageTest,
                        public ::testing::WithParamInterface<SettingRange> {};

TEST_P(DefaultSettings, NumberLiesInItsRange) {
    const SettingRange& p = GetParam();
    const int v = image_.GetByte(p.address);
    EXPECT_GE(v, p.min) << p.name;
    EXPECT_LE(v, p.max) << p.name;
}

INSTANTIATE_TEST_SUITE_P(
    Common, DefaultSettings,
    ::testing::Values(SettingRange{"MaxUserChannel", MM::kMaxUserChannel, 1, 160},
                      SettingRange{"AlarmTimer", MM::kAlarmTimer, 1, 99},
                      SettingRange{"ScanReference", MM::kScanReference, 10, 20},
                      SettingRange{"ScanSpeed", MM::kScanSpeed, 1, 10},
                      SettingRange{"NmeaId", MM::kNmeaId, 1, 99},
                      SettingRange{"NbLevel", MM::kNbLevel, 1, 10},
                      SettingRange{"Backlight", MM::kBacklight, 0, 10},
                      SettingRange{"Contrast", MM::kContrast, 1, 10},
                      SettingRange{"SquelchLevel", MM::kSquelchLevel, 1, 100},
                      SettingRange{"RfGain", MM::kRfGain, 0, 9},
                      SettingRange{"TimeOffset", MM::kTimeOffset, 0, 144}),
    [](const ::testing::TestParamInfo<SettingRange>& info) { return info.param.name; });

}  // namespace
