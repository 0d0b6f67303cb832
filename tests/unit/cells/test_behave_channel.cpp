#include <gtest/gtest.h>

#include <functional>

#include "BehaveTestSupport.h"
#include "cells/cmcCellNames.h"

using namespace ConvTest;

namespace {

constexpr int kBlank = -1;  // a blank side in the tables below

class ChannelBehave : public BehaveTest {
protected:
    // (receive, transmit) of a record as the tables write them: Hz, or kBlank.
    std::pair<int, int> Sides(int kind, int entry) {
        const datCh ch = Load(kind, entry);
        return {ch.IsRxBlank() ? kBlank : ch.rxFreq, ch.IsTxBlank() ? kBlank : ch.txFreq};
    }
    void Put(int kind, int entry, int rx, int tx) {
        datCh ch(image_);
        ch.SetEmpty(kind, entry);
        ch.flags = 0;
        if (rx == kBlank)
            ch.flags |= datCh::kRxBlank;
        else
            ch.rxFreq = rx;
        if (tx == kBlank)
            ch.flags |= datCh::kTxBlank;
        else
            ch.txFreq = tx;
        ch.Save();
    }
};

// One request to one cell of a channel row.
struct Request {
    enum Kind { kShow, kPress, kType } kind;
    int key = 0;
    const char* text = "";
};

Request ShowIt() {
    return {Request::kShow};
}
Request PressKey(int key) {
    return {Request::kPress, key};
}
Request TypeIn(const char* text) {
    return {Request::kType, 0, text};
}

struct FreqCase {
    const char* name;
    int category, label, argument;
    int rx, tx;  // the row before
    bool gene;
    Request request;
    int storedRx, storedTx;  // the row after
    const char* shown;       // the reply's text; after a typed text, what the cell then shows
    bool error;
    int action;
};

TEST_F(ChannelBehave, FrequencyCells) {
    const FreqCase cases[] = {
        {"user rx shown", CT_UserCh, CL_UCh_FreqR, 5, 7000000, 7000000, false, ShowIt(), 7000000,
         7000000, "7000.0", false, kActNone},
        {"user rx below the receive edge", CT_UserCh, CL_UCh_FreqR, 5, 20000, 7000000, false,
         ShowIt(), 20000, 7000000, "20.0", true, kActNone},
        {"typing into an empty row follows to transmit", CT_UserCh, CL_UCh_FreqR, 5, kBlank, kBlank,
         false, TypeIn("2182"), 2182000, 2182000, "2182.0", false, kActDone},
        {"rounded down to 100 Hz", CT_UserCh, CL_UCh_FreqR, 5, kBlank, kBlank, false,
         TypeIn("8291.15"), 8291100, 8291100, "8291.1", false, kActDone},
        {"duplex row keeps its transmit side", CT_UserCh, CL_UCh_FreqR, 5, 2182000, 2187500, false,
         TypeIn("4125"), 4125000, 2187500, "4125.0", false, kActDone},
        {"zero blanks a simplex row", CT_UserCh, CL_UCh_FreqR, 5, 7000000, 7000000, false,
         TypeIn("0"), kBlank, kBlank, "", false, kActDone},
        {"too high is cut", CT_UserCh, CL_UCh_FreqR, 5, kBlank, kBlank, false, TypeIn("40000"),
         29999900, 29999900, "29999.9", false, kActDone},
        {"dot opens the editor", CT_UserCh, CL_UCh_FreqR, 5, 7000000, 7000000, false, PressKey('.'),
         7000000, 7000000, "7000.0", false, kActEdit},
        {"a digit opens the editor with it", CT_UserCh, CL_UCh_FreqR, 5, 7000000, 7000000, false,
         PressKey('3'), 7000000, 7000000, "3", false, kActEdit},
        {"transmit follows as <-", CT_UserCh, CL_UCh_FreqT, 5, 7000000, 7000000, false, ShowIt(),
         7000000, 7000000, "<-", false, kActNone},
        {"transmit inside transmit edge 0", CT_UserCh, CL_UCh_FreqT, 5, 7000000, 7100000, false,
         ShowIt(), 7000000, 7100000, "7100.0", false, kActNone},
        {"transmit below every transmit edge", CT_UserCh, CL_UCh_FreqT, 5, 7000000, 1000000, false,
         ShowIt(), 7000000, 1000000, "1000.0", true, kActNone},
        {"a blank transmit side has no error", CT_UserCh, CL_UCh_FreqT, 5, 7000000, kBlank, false,
         ShowIt(), 7000000, kBlank, "", false, kActNone},
        {"typed transmit side", CT_UserCh, CL_UCh_FreqT, 5, 7000000, 7000000, false, TypeIn("7100"),
         7000000, 7100000, "7100.0", false, kActDone},
        {"e-mail rx outside the receive edge", CT_EMail, CL_EMail_FreqR, 0, 20000, 20000, false,
         ShowIt(), 20000, 20000, "20.0", true, kActNone},
        {"e-mail typed", CT_EMail, CL_EMail_FreqR, 159, kBlank, kBlank, false, TypeIn("10142.1"),
         10142100, 10142100, "10142.1", false, kActDone},
        {"e-mail blank transmit side shows nothing", CT_EMail, CL_EMail_FreqT, 3, 10142100, kBlank,
         false, ShowIt(), 10142100, kBlank, "", false, kActNone},
        {"e-mail transmit below every edge", CT_EMail, CL_EMail_FreqT, 3, 10142100, 1500000, false,
         ShowIt(), 10142100, 1500000, "1500.0", true, kActNone},
    };
    for (const FreqCase& k : cases) {
        SCOPED_TRACE(k.name);
        const int kind = RecordKindOf(k.category);
        Put(kind, k.argument, k.rx, k.tx);
        main_->SetGeneralCoverageMode(k.gene);
        Result r;
        switch (k.request.kind) {
            case Request::kShow:
                r = Show(k.category, k.label, k.argument);
                break;
            case Request::kPress:
                r = Press(k.category, k.label, k.argument, k.request.key);
                break;
            case Request::kType:
                r = Type(k.category, k.label, k.argument, k.request.text);
                break;
        }
        EXPECT_EQ(Sides(kind, k.argument), std::make_pair(k.storedRx, k.storedTx));
        EXPECT_EQ(r.action, k.action);
        if (k.request.kind == Request::kType)
            r = Show(k.category, k.label, k.argument);
        EXPECT_EQ(r.text, k.shown);
        EXPECT_EQ(r.Error(), k.error);
        EXPECT_EQ(r.markPosition, kMarkPosRight);
        EXPECT_EQ(r.moveRequest, 0);
    }
}

TEST_F(ChannelBehave, GeneralCoverageWidensTheTransmitCheck) {
    SetEdge(datCh::kTxEdge, 0, 4000000, 5000000);
    Put(datCh::kUserCh, 9, 2000000, 2000000);
    EXPECT_TRUE(Show(CT_UserCh, CL_UCh_FreqT, 9).Error());
    main_->SetGeneralCoverageMode(true);
    EXPECT_FALSE(Show(CT_UserCh, CL_UCh_FreqT, 9).Error());
    Put(datCh::kUserCh, 9, 1000000, 1000000);  // below 1.6 MHz even with "/gene"
    EXPECT_TRUE(Show(CT_UserCh, CL_UCh_FreqT, 9).Error());
}

TEST_F(ChannelBehave, ItuFrequencyIsCheckedAgainstItsBand) {
    // Channel 12 lies in band 1: 6..7 MHz.
    SetChannel(datCh::kItuCh, 12, 6500000, 0);
    Result r = Show(CT_ItuCh, CL_ICh_Freq, 12);
    EXPECT_EQ(r.text, "6500.0");
    EXPECT_FALSE(r.Error());
    SetChannel(datCh::kItuCh, 12, 4500000, 0);  // band 0's range
    EXPECT_TRUE(Show(CT_ItuCh, CL_ICh_Freq, 12).Error());
    // Typing stores the frequency in both halves of the record.
    r = Type(CT_ItuCh, CL_ICh_Freq, 12, "6250");
    EXPECT_FALSE(r.Error());
    const int base = MemoryMap::kItuChannels + MemoryMap::kItuChannelSize * 12;
    int32_t first, second;
    std::memcpy(&first, image_ + base, 4);
    std::memcpy(&second, image_ + base + 4, 4);
    EXPECT_EQ(first, 6250000);
    EXPECT_EQ(second, 6250000);
    // An unused channel carries no mark.
    Type(CT_ItuCh, CL_ICh_Freq, 12, "");
    EXPECT_FALSE(Load(datCh::kItuCh, 12).IsUsed());
    EXPECT_FALSE(Show(CT_ItuCh, CL_ICh_Freq, 12).Error());
}

TEST_F(ChannelBehave, ItuChannelNumbersNameTheirBand) {
    EXPECT_EQ(Show(CT_Null, CL_Ich_ChNo, 0).text, "4M-1");
    EXPECT_EQ(Show(CT_Null, CL_Ich_ChNo, 12).text, "6M-4");
    EXPECT_EQ(Show(CT_Null, CL_Ich_ChNo, 71).text, "25M-9");
}

TEST_F(ChannelBehave, ModeShowsTheRegisteredIndicationAndMarksUnavailableModes) {
    SetChannel(datCh::kUserCh, 3, 7000000, 7000000, 2);
    Result r = Show(CT_UserCh, CL_UCh_Mode, 3);
    EXPECT_EQ(r.text, "AM ");
    EXPECT_FALSE(r.Error());
    image_[MemoryMap::kModeEnable + 2] = 0;
    EXPECT_TRUE(Show(CT_UserCh, CL_UCh_Mode, 3).Error());
    // User channel 0 may hold any mode; ITU channels may not.
    SetChannel(datCh::kUserCh, 0, 7000000, 7000000, 2);
    EXPECT_FALSE(Show(CT_UserCh, CL_UCh_Mode, 0).Error());
    SetChannel(datCh::kItuCh, 0, 4100000, 0, 2);
    EXPECT_TRUE(Show(CT_ItuCh, CL_ICh_Mode, 0).Error());
}

TEST_F(ChannelBehave, ModeStepsInListPositionOrderAndOpensTheList) {
    // The list is two rows of three: position order 0, 3, 1, 4, 2, 5.
    SetChannel(datCh::kUserCh, 3, 7000000, 7000000, 0);
    Result r = Press(CT_UserCh, CL_UCh_Mode, 3, kKeySpace);
    EXPECT_EQ(Load(datCh::kUserCh, 3).mode, 3);
    EXPECT_EQ(r.text, "CW ");
    EXPECT_EQ(r.action, kActDone);
    Press(CT_UserCh, CL_UCh_Mode, 3, kKeyBackspace);
    Press(CT_UserCh, CL_UCh_Mode, 3, kKeyBackspace);
    EXPECT_EQ(Load(datCh::kUserCh, 3).mode, 5);  // wrapped from the first entry to the last

    r = Press(CT_ItuCh, CL_ICh_Mode, 0, kKeyEnter);
    EXPECT_EQ(r.moveRequest, 1);  // ITU channel 0 is empty: to its frequency first
    SetChannel(datCh::kItuCh, 0, 4100000, 0, 1);
    r = Press(CT_ItuCh, CL_ICh_Mode, 0, kKeyEnter);
    EXPECT_EQ(r.action, kActDone);
    ASSERT_EQ(main_->ChoiceLists().size(), 1u);
    EXPECT_EQ(main_->ChoiceLists()[0].listKey, "GI_Sheet_Sel_Mode1_R");
    EXPECT_EQ(main_->ChoiceLists()[0].itemLabel, CL_Sel_Mode_U);
    EXPECT_EQ(main_->ChoiceLists()[0].currentValue, 1);
}

TEST_F(ChannelBehave, ModeChoiceReplyIsStored) {
    SetChannel(datCh::kUserCh, 3, 7000000, 7000000, 0);
    cmcCellObj chosen;
    chosen.label = CL_Sel_Mode_U;
    chosen.argument = 4;
    cmcCellCapsule entry;
    entry.cell = &chosen;
    cmcCellCapsule reply = Display();
    reply.parent = &entry;
    reply.inputKind = kInputChoice;
    Run(reply, CT_UserCh, CL_UCh_Mode, 3);
    EXPECT_EQ(Load(datCh::kUserCh, 3).mode, 4);
    // An entry of another list's label is no answer.
    chosen.label = Flex0;
    chosen.argument = 1;
    Run(reply, CT_UserCh, CL_UCh_Mode, 3);
    EXPECT_EQ(Load(datCh::kUserCh, 3).mode, 4);
}

TEST_F(ChannelBehave, CommentsAreFixedWidthPrintableText) {
    SetChannel(datCh::kUserCh, 3, 7000000, 7000000, 1, "OLD\x01    ");
    EXPECT_EQ(Show(CT_UserCh, CL_UCh_Comment, 3).text, "OLD");
    Result r = Type(CT_UserCh, CL_UCh_Comment, 3, "HARBOUR1X");
    EXPECT_EQ(r.text, "HARBOUR1");
    EXPECT_EQ(std::string(Load(datCh::kUserCh, 3).comment, 8), "HARBOUR1");
    SetChannel(datCh::kItuCh, 3, 4100000, 0);
    Type(CT_ItuCh, CL_ICh_Comment, 3, "ITU");
    EXPECT_EQ(std::string(Load(datCh::kItuCh, 3).comment, 8), "ITU     ");
    SetChannel(datCh::kEMailCh, 3, 4100000, 4100000);
    Type(CT_EMail, CL_EMail_Comment, 3, "MAIL");
    EXPECT_EQ(std::string(Load(datCh::kEMailCh, 3).comment, 8), "MAIL    ");
    EXPECT_EQ(Press(CT_EMail, CL_EMail_Comment, 3, 'Q').action, kActEdit);
}

TEST_F(ChannelBehave, EMailFilterIsAChoiceOfTheRecord) {
    SetChannel(datCh::kEMailCh, 7, 10142100, 10142100);
    datCh ch = Load(datCh::kEMailCh, 7);
    ch.filter = 1;
    ch.Save();
    EXPECT_EQ(Show(CT_EMail, CL_EMail_Filt, 7).text, "Mid");
    Press(CT_EMail, CL_EMail_Filt, 7, kKeySpace);
    EXPECT_EQ(Load(datCh::kEMailCh, 7).filter, 2);
    Press(CT_EMail, CL_EMail_Filt, 7, kKeySpace);
    EXPECT_EQ(Load(datCh::kEMailCh, 7).filter, 0);
    // A filter value the list does not know.
    ch = Load(datCh::kEMailCh, 7);
    ch.filter = 9;
    ch.Save();
    EXPECT_EQ(Show(CT_EMail, CL_EMail_Filt, 7).text, "error");
}

}  // namespace
