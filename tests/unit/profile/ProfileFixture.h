#pragma once

#include <gtest/gtest.h>

#include <cstring>

#include "ScopedMainDictionary.h"
#include "cells/cmcFCache.h"
#include "cmcTestHost.h"
#include "cuiHeadlessMain.h"
#include "memory/MemoryMap.h"
#include "memory/cmcEeprom.h"
#include "memory/datCh.h"
#include "profile/ModelProfile.h"
#include "text/cmcGTex.h"

// A headless controller and two consistent images, I (the image to normalise) and T (the
// template): every list empty, every mode available, a receive edge of 30 kHz..29.999999 MHz and
// ITU band b at 4 + 2b .. 5 + 2b MHz and one transmit edge of 1.6..29.999999 MHz.
class ProfileTest : public ::testing::Test {
public:
    ProfileTest() {
        dict.SetLines(kLines, sizeof(kLines) / sizeof(kLines[0]));
        main->SetDictionary(&dict);
        main->SetSectionCache(&cache);
        MakeConsistent(image);
        MakeConsistent(templ);
    }

    // The model's rules on the fixture's controller.
    void NormalizeImage(cmcEeprom& i, const cmcEeprom& t, bool forWriting) {
        ModelProfile::NormalizeImage(main.Core(), i, t, forWriting);
    }
    // The warning check over a dictionary (the fixture's unless another is given).
    ModelProfile::WarningLists RunWarningCheck(cmcGTex& dictionary) {
        main->SetDictionary(&dictionary);
        struct Restore {
            ScopedHeadlessMain& main;
            cmcGTex* dict;
            ~Restore() { main->SetDictionary(dict); }
        } restore{main, &dict};
        return ModelProfile::RunWarningCheck(main.Core());
    }

    static constexpr const char* kLines[] = {
        "#GI_Sheet_Sel_Mode1_R_Cells",
        "{(%.CL_Sel_Mode_U[0])}|{(%.CL_Sel_Mode_U[1])}|{(%.CL_Sel_Mode_U[2])}",
        "{(%.CL_Sel_Mode_U[3])}|{(%.CL_Sel_Mode_U[4])}|{(%.CL_Sel_Mode_U[5])}",
        "#",
        "#GI_AppInd_DscRxTxNoUse",
        "No use",
        "#GI_StatusPanel_Expert",
        "[ EXPERT ]",
        "#GI_WarningCheckList",
        "{(%CT_Null.CL_Check_UserCh:GI_Sheet_UserCh)}",
        "{(%CT_Null.CL_Check_ItuCh:GI_Sheet_ItuCh)}",
        "{(%CT_Null.CL_Check_EMail:GI_Sheet_EMail)}",
        "{(%CT_Null.CL_Check_FreqRange:GI_Sheet_BandEdge)}",
        "{(%CT_Null.CL_Check_ModeReg:GI_Sheet_ModeReg)}",
        "#",
        "#GI_EmptyList",
        "#",
        "#End_Of_Ovl",
    };

    static void MakeConsistent(cmcEeprom& im) {
        namespace MM = MemoryMap;
        im.SetSize(MM::kImageSize);
        uint8_t* b = im.Bytes();
        b[MM::kMapRevision] = MM::kMapRevisionValue;
        std::memcpy(b + MM::kMakerText, MM::kMakerTextValue, MM::kMakerTextLength);
        b[MM::kMaxUserChannel] = 160;
        for (int m = 0; m < MM::kModeCount; ++m) {
            b[MM::kModeEnable + m] = 1;
            std::memcpy(b + MM::kModeIndications + 3 * m, "LSBUSBAM CW FSKTLX" + 3 * m, 3);
        }
        datCh ch(im);
        for (int kind :
             {datCh::kUserCh, datCh::kItuCh, datCh::kEMailCh, datCh::kDscId, datCh::kDscPair}) {
            const int last = kind == datCh::kUserCh ? 160 : datCh::LastEntry(b, kind);
            for (int e = kind == datCh::kUserCh ? 0 : 0; e <= last; ++e) {
                ch.SetEmpty(kind, e);
                ch.Save();
            }
        }
        for (int i = 0; i < MM::kDscPairCount; ++i)
            b[MM::kDscPairNumbers + i] = ModelProfile::kNoPairNumber;
        b[MM::kOwnIdentity] = 0xFF;
        SetEdge(im, datCh::kRxEdge, 0, 30000, 29999999);
        for (int b = 0; b < MM::kItuEdgeCount; ++b)
            SetEdge(im, datCh::kItuEdge, b, 4000000 + 2000000 * b, 5000000 + 2000000 * b);
        SetEdge(im, datCh::kTxEdge, 0, 1600000, 29999999);
        for (int e = 1; e < MM::kTxEdgeCount; ++e)
            SetEdge(im, datCh::kTxEdge, e, -1, -1);
    }

    static void SetEdge(cmcEeprom& im, int kind, int index, int32_t low, int32_t high) {
        datCh ch(im);
        ch.Load(kind, index);
        ch.lowEdge = low;
        ch.highEdge = high;
        ch.Save();
    }

    // A record with both sides given (-1: blank).
    static void Put(cmcEeprom& im, int kind, int entry, int32_t rx, int32_t tx,
                    const char* comment = "        ") {
        datCh ch(im);
        ch.SetEmpty(kind, entry);
        ch.flags = 0;
        if (rx < 0)
            ch.flags |= datCh::kRxBlank;
        else
            ch.rxFreq = rx;
        if (tx < 0)
            ch.flags |= datCh::kTxBlank;
        else
            ch.txFreq = tx;
        std::memcpy(ch.comment, comment, 8);
        ch.Save();
    }

    static datCh Load(cmcEeprom& im, int kind, int entry) {
        datCh ch(im);
        ch.Load(kind, entry);
        return ch;
    }

    ScopedTestHost host;
    cmcGTex dict;
    ScopedMainDictionary mainDictionary{&dict};
    cmcFCache cache{&dict};
    ScopedHeadlessMain main;
    cmcEeprom image;
    cmcEeprom templ;
};
