// DSC common settings, the address book and the receive/transmit pairs.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "SettingsBehaveTest.h"
#include "memory/MemoryMap.h"

namespace MM = MemoryMap;
using namespace ConvTest;

namespace {

class BehaveDsc : public SettingsBehaveTest {
protected:
    BehaveDsc() {
        // No address book entry and no pair in use.
        for (int e = 0; e < MM::kDscIdCount; ++e)
            image_[MM::kDscIds + MM::kDscIdSize * e] = 0xFF;
        std::memset(image_ + MM::kOwnIdentity, 0xFF, 5);
        // Transmit edge 0 covers 2-30 MHz.
        SetEdge(datCh::kTxEdge, 0, 2000000, 29999999);
        for (int e = 1; e < MM::kTxEdgeCount; ++e)
            SetEdge(datCh::kTxEdge, e, -1, -1);
        main_->MarkSaved();
    }

    // An address book entry in use.
    void SetId(int entry, const char* digits, const char* name = "Ship      ", int32_t rx = 2187500,
               int32_t tx = 2187500, int attribute = 0) {
        uint8_t* rec = image_ + MM::kDscIds + MM::kDscIdSize * entry;
        rec[0] = uint8_t(attribute);
        for (int k = 0; k < 9; ++k)
            datCh::SetDigitAt(rec + 1, k, digits[k] - '0');
        datCh::SetDigitAt(rec + 1, 9, 0);
        std::memcpy(rec + MM::kDscIdName, name, 10);
        datCh::WriteBase100(rec + MM::kDscIdRxFreq, 3, rx / 100);
        datCh::WriteBase100(rec + MM::kDscIdTxFreq, 3, tx / 100);
    }
    uint8_t* IdRecord(int entry) { return image_ + MM::kDscIds + MM::kDscIdSize * entry; }

    void SetPair(int entry, int use, int32_t rx = 2187500, int32_t tx = 2187500) {
        image_[MM::kDscPairUse + entry] = uint8_t(use);
        uint8_t* rec = image_ + MM::kDscPairs + MM::kDscPairSize * entry;
        std::memcpy(rec, "Pair      ", 10);
        datCh::WriteBase100(rec + MM::kDscPairRxFreq, 3, rx / 100);
        datCh::WriteBase100(rec + MM::kDscPairTxFreq, 3, tx / 100);
    }
};

TEST_F(BehaveDsc, OwnIdentity) {
    Result r = Show(CT_Null, CL_Dsc_SelfId, 0);
    EXPECT_EQ(r.text, "(no ID)");
    EXPECT_FALSE(r.Error());
    r = Press(CT_Null, CL_Dsc_SelfId, 0, kKeyEnter);  // the editor opens empty
    EXPECT_EQ(r.action, kActEdit);
    EXPECT_EQ(r.text, "");

    Type(CT_Null, CL_Dsc_SelfId, 0, "431234567");
    EXPECT_EQ(image_[MM::kOwnIdentity], 43);
    r = Show(CT_Null, CL_Dsc_SelfId, 0);
    EXPECT_EQ(r.text, "431234567");
    EXPECT_FALSE(r.Error());

    Type(CT_Null, CL_Dsc_SelfId, 0, "031234567");  // an own identity never begins with 0
    EXPECT_TRUE(Show(CT_Null, CL_Dsc_SelfId, 0).Error());
    EXPECT_TRUE(indActiveCell(main_.Core()).ErrorMarkOf(CT_Null, CL_Check_Dsc_SelfId, 0));

    Type(CT_Null, CL_Dsc_SelfId, 0, "12345678");  // wrong length: no identity
    EXPECT_EQ(image_[MM::kOwnIdentity], 0xFF);
    EXPECT_EQ(image_[MM::kOwnIdentity + 4], 0xFF);
    EXPECT_FALSE(indActiveCell(main_.Core()).ErrorMarkOf(CT_Null, CL_Check_Dsc_SelfId, 0));
}

TEST_F(BehaveDsc, MaskAndItuChannelSelectionAreListBytes) {
    struct Row {
        int label;
        int address;
        const char* list;
    };
    for (const Row& row :
         {Row{CL_Dsc_Mask, MM::kDscMask, "GI_Sheet_Sel_DscMask"},
          Row{CL_Dsc_Comm_ItuCh, MM::kDscItuChannel, "GI_Sheet_Sel_Misc_ItuChSel"}}) {
        image_[row.address] = 2;
        EXPECT_EQ(Show(CT_Null, row.label, 0).text, EntryText(row.list, 2));
        Press(CT_Null, row.label, 0, kKeySpace);
        EXPECT_EQ(image_[row.address], 0);
    }
}

TEST_F(BehaveDsc, ScanOnChangesOnlyItsBit) {
    image_[MM::kDscScanOn] = 0x00;
    image_[MM::kDscScanOn + 1] = 0x81;
    EXPECT_EQ(Show(CT_Null, CL_Dsc_ScanOn, 8).text, EntryText("GI_Sheet_Sel_Misc_OnOff", 1));
    EXPECT_EQ(Show(CT_Null, CL_Dsc_ScanOn, 3).text, EntryText("GI_Sheet_Sel_Misc_OnOff", 0));
    Press(CT_Null, CL_Dsc_ScanOn, 3, kKeySpace);
    EXPECT_EQ(image_[MM::kDscScanOn], 0x08);
    EXPECT_EQ(image_[MM::kDscScanOn + 1], 0x81);
    Press(CT_Null, CL_Dsc_ScanOn, 15, kKeyBackspace);  // 1 -> 0
    EXPECT_EQ(image_[MM::kDscScanOn + 1], 0x01);
    EXPECT_EQ(image_[MM::kDscScanOn], 0x08);
    // No such bit: nothing shown, nothing changed.
    EXPECT_EQ(Press(CT_Null, CL_Dsc_ScanOn, 16, kKeySpace).text, "");
    EXPECT_EQ(Press(CT_Null, CL_Dsc_ScanOn, -1, kKeySpace).text, "");
    EXPECT_EQ(image_[MM::kDscScanOn], 0x08);
    EXPECT_EQ(image_[MM::kDscScanOn + 1], 0x01);
    EXPECT_EQ(image_[MM::kDscScanOn + 2], 0xFF);  // the address book after it
}

TEST_F(BehaveDsc, AttributeIsDerivedUnlessTheIdentityBeginsWithTwoZeros) {
    struct Row {
        const char* digits;
        int stored;
        int shown;
        bool editable;
    };
    const Row rows[] = {
        {"001234567", 1, 1, true},
        {"001234567", 0, 0, true},
        {"012345678", 0, 1, false},
        {"212345678", 1, 0, false},
    };
    const char* list = "GI_Sheet_Sel_Misc_Dsc_AdrType";
    for (const Row& row : rows) {
        SCOPED_TRACE(row.digits);
        SetId(4, row.digits, "Ship      ", 2187500, 2187500, row.stored);
        EXPECT_EQ(Show(CT_DscId, CL_Dsc_Id_Atr, 4).text, EntryText(list, row.shown));
        const Result r = Press(CT_DscId, CL_Dsc_Id_Atr, 4, kKeySpace);
        if (row.editable) {
            EXPECT_EQ(IdRecord(4)[0], (row.stored + 1) % 3);
            EXPECT_TRUE(StatusTexts().empty());
        } else {
            EXPECT_EQ(r.key, 0);
            EXPECT_EQ(IdRecord(4)[0], row.stored);
            EXPECT_EQ(StatusTexts(), std::vector<std::string>{"Cannot edit"});
        }
        events.clear();
    }
}

TEST_F(BehaveDsc, EqualIdentitiesMarkTheLaterEntry) {
    SetId(3, "211111111");
    SetId(5, "233333333");
    SetId(7, "211111111");
    EXPECT_FALSE(Show(CT_DscId, CL_Dsc_Id_Adr, 3).Notice());
    EXPECT_FALSE(Show(CT_DscId, CL_Dsc_Id_Adr, 5).Notice());
    EXPECT_TRUE(Show(CT_DscId, CL_Dsc_Id_Adr, 7).Notice());
    EXPECT_TRUE(indActiveCell(main_.Core()).NoticeMarkOf(CT_Null, CL_Check_Dsc_AdrId, 0));
    EXPECT_FALSE(indActiveCell(main_.Core()).ErrorMarkOf(CT_Null, CL_Check_Dsc_AdrId, 0));

    // An error anywhere in the book outranks the duplicate.
    std::memcpy(IdRecord(5) + MM::kDscIdName, "          ", 10);
    EXPECT_TRUE(indActiveCell(main_.Core()).ErrorMarkOf(CT_Null, CL_Check_Dsc_AdrId, 0));
    EXPECT_FALSE(indActiveCell(main_.Core()).NoticeMarkOf(CT_Null, CL_Check_Dsc_AdrId, 0));
}

TEST_F(BehaveDsc, TypingAnIdentityRepaintsEveryAddressCell) {
    SetId(3, "211111111");
    Type(CT_DscId, CL_Dsc_Id_Adr, 7, "211111111");
    EXPECT_EQ(IdRecord(7)[1], 21);
    EXPECT_NE(IdRecord(7)[0], 0xFF);  // in use now
    events_.RunPass();
    const auto repaints = EventsOf(cmcEvKind::RepaintLabel);
    ASSERT_EQ(repaints.size(), 1u);
    EXPECT_EQ(repaints[0].second, CL_Dsc_Id_Adr);
    EXPECT_TRUE(Show(CT_DscId, CL_Dsc_Id_Adr, 7).Notice());

    // The wrong number of digits takes the entry out of use.
    Type(CT_DscId, CL_Dsc_Id_Adr, 7, "2111");
    EXPECT_EQ(IdRecord(7)[0], 0xFF);
    EXPECT_EQ(IdRecord(7)[1], 0xFF);
    EXPECT_FALSE(Show(CT_DscId, CL_Dsc_Id_Adr, 7).Notice());
}

// An address without working frequencies shows them as a channel shows blank sides: empty and
// unmarked; the first one typed is taken by both sides, and a side typed blank is 0 again.
TEST_F(BehaveDsc, AFrequencyNotInUseShowsEmptyWithoutAMark) {
    SetId(3, "211111111", "Harbour   ", 0, 0);
    for (int label : {CL_Dsc_Id_FreqR, CL_Dsc_Id_FreqT}) {
        const Result r = Show(CT_DscId, label, 3);
        EXPECT_EQ(r.text, "") << label;
        EXPECT_FALSE(r.Error()) << label;
    }
    EXPECT_FALSE(indActiveCell(main_.Core()).ErrorMarkOf(CT_Null, CL_Check_Dsc_AdrId, 0));
    Type(CT_DscId, CL_Dsc_Id_FreqR, 3, "2187.5");
    EXPECT_EQ(datCh::ReadBase100(IdRecord(3) + MM::kDscIdRxFreq, 3), 21875);
    EXPECT_EQ(datCh::ReadBase100(IdRecord(3) + MM::kDscIdTxFreq, 3), 21875);
    Type(CT_DscId, CL_Dsc_Id_FreqT, 3, "");
    EXPECT_EQ(datCh::ReadBase100(IdRecord(3) + MM::kDscIdTxFreq, 3), 0);
    EXPECT_EQ(Show(CT_DscId, CL_Dsc_Id_FreqT, 3).text, "");
    EXPECT_EQ(Show(CT_DscId, CL_Dsc_Id_FreqR, 3).text, "2187.5");
}

TEST_F(BehaveDsc, IdentityFrequenciesAndComment) {
    SetId(2, "211111111", "Harbour   ", 2187500, 2177000);
    Result r = Show(CT_DscId, CL_Dsc_Id_FreqR, 2);
    EXPECT_EQ(r.text, "2187.5");
    EXPECT_FALSE(r.Error());
    EXPECT_EQ(r.markPosition, kMarkPosRight);
    r = Show(CT_DscId, CL_Dsc_Id_FreqT, 2);
    EXPECT_EQ(r.text, "2177.0");
    EXPECT_FALSE(r.Error());
    EXPECT_EQ(r.markPosition, kMarkPosRight);

    Type(CT_DscId, CL_Dsc_Id_FreqT, 2, "1800");  // stored, but outside every transmit edge
    EXPECT_EQ(datCh::ReadBase100(IdRecord(2) + MM::kDscIdTxFreq, 3), 18000);
    EXPECT_TRUE(Show(CT_DscId, CL_Dsc_Id_FreqT, 2).Error());
    EXPECT_TRUE(indActiveCell(main_.Core()).ErrorMarkOf(CT_Null, CL_Check_Dsc_AdrId, 0));
    main_->SetGeneralCoverageMode(true);  // 1.8 MHz lies inside the receive edge
    EXPECT_FALSE(Show(CT_DscId, CL_Dsc_Id_FreqT, 2).Error());

    EXPECT_EQ(Show(CT_DscId, CL_Dsc_Id_Comment, 2).text, "Harbour");
    Type(CT_DscId, CL_Dsc_Id_Comment, 2, "Coast station");
    EXPECT_EQ(std::string(reinterpret_cast<char*>(IdRecord(2)) + MM::kDscIdName, 10), "Coast stat");
    Type(CT_DscId, CL_Dsc_Id_Comment, 2, "");
    EXPECT_TRUE(Show(CT_DscId, CL_Dsc_Id_Comment, 2).Error());
}

TEST_F(BehaveDsc, EmptyEntriesSendTypingToTheAddress) {
    const Result r = Press(CT_DscId, CL_Dsc_Id_Comment, 9, '5');
    EXPECT_EQ(r.moveRequest, 1);
    EXPECT_EQ(r.moveLabel, CL_Dsc_Id_Adr);
    EXPECT_EQ(r.repeatKey, '5');
    EXPECT_EQ(IdRecord(9)[0], 0xFF);
}

TEST_F(BehaveDsc, AtMostSixPairsShareUseThree) {
    for (int e = 0; e < 6; ++e)
        SetPair(e, 3);
    SetPair(10, 1);
    Press(CT_DscRxTx, CL_Dsc_RxTx_Use, 10, kKeyEnter);
    EXPECT_EQ(main_->ChoiceLists().back().listKey, "GI_Sheet_Sel_Misc_Dsc_Use2");
    for (int e = 0; e < 6; ++e) {
        Press(CT_DscRxTx, CL_Dsc_RxTx_Use, e, kKeyEnter);
        EXPECT_EQ(main_->ChoiceLists().back().listKey, "GI_Sheet_Sel_Misc_Dsc_Use1") << e;
    }
    // With five, the list with value 3 is offered again.
    image_[MM::kDscPairUse + 5] = 2;
    Press(CT_DscRxTx, CL_Dsc_RxTx_Use, 10, kKeyEnter);
    EXPECT_EQ(main_->ChoiceLists().back().listKey, "GI_Sheet_Sel_Misc_Dsc_Use1");
    Press(CT_DscRxTx, CL_Dsc_RxTx_Use, 10, kKeySpace);
    EXPECT_EQ(image_[MM::kDscPairUse + 10], 2);
}

TEST_F(BehaveDsc, PairFrequenciesAndComment) {
    SetPair(4, 1, 2187500, 2187500);
    EXPECT_FALSE(Show(CT_DscRxTx, CL_Dsc_RxTx_Rx, 4).Error());
    Type(CT_DscRxTx, CL_Dsc_RxTx_Rx, 4, "8414.5");  // receive follows: both sides change
    uint8_t* rec = image_ + MM::kDscPairs + MM::kDscPairSize * 4;
    EXPECT_EQ(datCh::ReadBase100(rec + MM::kDscPairRxFreq, 3), 84145);
    EXPECT_EQ(datCh::ReadBase100(rec + MM::kDscPairTxFreq, 3), 84145);
    Type(CT_DscRxTx, CL_Dsc_RxTx_Tx, 4, "1000");
    EXPECT_EQ(datCh::ReadBase100(rec + MM::kDscPairTxFreq, 3), 10000);
    const Result tx = Show(CT_DscRxTx, CL_Dsc_RxTx_Tx, 4);
    EXPECT_TRUE(tx.Error());
    EXPECT_EQ(tx.markPosition, kMarkPosRight);
    EXPECT_TRUE(indActiveCell(main_.Core()).ErrorMarkOf(CT_Null, CL_Check_Dsc_RxTxFreq, 0));
    // A pair out of use is not checked.
    image_[MM::kDscPairUse + 4] = 0;
    EXPECT_FALSE(indActiveCell(main_.Core()).ErrorMarkOf(CT_Null, CL_Check_Dsc_RxTxFreq, 0));

    image_[MM::kDscPairUse + 4] = 1;
    Type(CT_DscRxTx, CL_Dsc_RxTx_Comment, 4, "Working 1");
    EXPECT_EQ(std::string(reinterpret_cast<char*>(rec), 10), "Working 1 ");
    EXPECT_EQ(Show(CT_DscRxTx, CL_Dsc_RxTx_Comment, 4).text, "Working 1");
    EXPECT_FALSE(Show(CT_DscRxTx, CL_Dsc_RxTx_Comment, 4).Error());
}

}  // namespace
