// The comparison of two images by sheet and cell: crafted pairs (identical images, one user
// channel frequency, one common setting, a byte no sheet shows) and the images left as given.
#include <cstring>

#include "SheetTableSupport.h"
#include "ui/table/cuiImageCompare.h"

namespace {

class ImageCompare : public SheetTest {
protected:
    ImageCompare() { b_.CopyFrom(main_->WorkingImage()); }
    const cmcEeprom& A() { return main_->WorkingImage(); }

    cuiImageComparison Compare() {
        cmcEeprom a0, b0;
        a0.CopyFrom(A());
        b0.CopyFrom(b_);
        const cuiImageComparison result = cuiCompareImages(main_.Core(), A(), b_);
        EXPECT_TRUE(a0.IsEqual(A()));
        EXPECT_TRUE(b0.IsEqual(b_));
        EXPECT_TRUE(main_->ChoiceLists().empty());
        EXPECT_TRUE(main_->CommandLog().empty());
        return result;
    }
    void SetUserChannel1(int rx, int tx) {
        datCh ch(b_);
        ch.Load(datCh::kUserCh, 1);
        ch.rxFreq = rx;
        ch.txFreq = tx;
        ch.Save();
    }

    cmcEeprom b_;
};

TEST_F(ImageCompare, IdenticalImagesAreEqual) {
    const cuiImageComparison result = Compare();
    EXPECT_TRUE(result.Equal());
    EXPECT_TRUE(result.differences.empty());
    EXPECT_TRUE(result.unshown.empty());
    EXPECT_EQ(result.differentBytes, 0);
}

TEST_F(ImageCompare, AUserChannelFrequencyIsOneCell) {
    SetUserChannel1(7000000, 7000000);
    const cuiImageComparison result = Compare();
    EXPECT_FALSE(result.Equal());
    ASSERT_EQ(result.differences.size(), 1u);
    const cuiImageDifference& d = result.differences.front();
    EXPECT_EQ(d.sheetCaption, "User channels");
    EXPECT_EQ(d.reference, "GI_Sheet_UserCh");
    EXPECT_EQ(d.rowCaption, "1");
    EXPECT_EQ(d.columnCaption, "Receive kHz");
    EXPECT_EQ(d.textA, "2182.0");
    EXPECT_EQ(d.textB, "7000.0");
    EXPECT_EQ(d.label, CL_UCh_FreqR);
    EXPECT_EQ(d.argument, 1);
    EXPECT_TRUE(result.unshown.empty()) << result.UnshownText();
    // The cell is where the sheet shows it.
    cuiSheetTable table(main_.Core(), d.reference);
    EXPECT_EQ(table.Text(d.col, d.row), "2182.0");
    EXPECT_EQ(table.Text(d.col, d.row, &b_), "7000.0");
}

TEST_F(ImageCompare, ADuplexFrequencyShowsOnBothSides) {
    SetUserChannel1(7000000, 2182000);
    const cuiImageComparison result = Compare();
    ASSERT_EQ(result.differences.size(), 2u);
    EXPECT_EQ(result.differences[0].columnCaption, "Receive kHz");
    EXPECT_EQ(result.differences[1].columnCaption, "Transmit kHz");
    EXPECT_EQ(result.differences[1].textA, "<-");
    EXPECT_EQ(result.differences[1].textB, "2182.0");
}

TEST_F(ImageCompare, ACommonSettingIsItsRow) {
    b_.SetByte(MemoryMap::kRfGain, 3);
    const cuiImageComparison result = Compare();
    ASSERT_EQ(result.differences.size(), 1u);
    const cuiImageDifference& d = result.differences.front();
    EXPECT_EQ(d.sheetCaption, "Common settings");
    EXPECT_EQ(d.reference, "[St_Common]GI_Sheet_Common");
    EXPECT_EQ(d.rowCaption, "RF gain");
    EXPECT_EQ(d.columnCaption, "Value");
    EXPECT_EQ(d.textA, "9");
    EXPECT_EQ(d.textB, "3");
    EXPECT_TRUE(result.unshown.empty()) << result.UnshownText();
}

TEST_F(ImageCompare, AByteNoSheetShowsIsListedByAddress) {
    b_.SetByte(MemoryMap::kTemplateBlock2A65,
               uint8_t(A().GetByte(MemoryMap::kTemplateBlock2A65) ^ 0x5A));
    const cuiImageComparison result = Compare();
    EXPECT_FALSE(result.Equal());
    EXPECT_TRUE(result.differences.empty());
    ASSERT_EQ(result.unshown.size(), 1u);
    EXPECT_EQ(result.unshown[0].first, MemoryMap::kTemplateBlock2A65);
    EXPECT_EQ(result.unshown[0].last, MemoryMap::kTemplateBlock2A65);
    EXPECT_EQ(result.UnshownText(), "0x2A65");
}

TEST_F(ImageCompare, ShownAndUnshownBytesAreTold) {
    SetUserChannel1(7000000, 7000000);
    for (int i = 0; i < 4; ++i)
        b_.SetByte(MemoryMap::kTemplateBlock2A65 + 10 + i, 0xA5);
    b_.SetByte(MemoryMap::kTemplateBlock2A65,
               uint8_t(A().GetByte(MemoryMap::kTemplateBlock2A65) ^ 1));
    const cuiImageComparison result = Compare();
    EXPECT_EQ(result.differences.size(), 1u);
    EXPECT_EQ(result.UnshownText(), "0x2A65, 0x2A6F-0x2A72");
}

}  // namespace
