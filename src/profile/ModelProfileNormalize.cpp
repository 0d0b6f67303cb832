// The normalisation of images against the template, and the DSC pair numbering.
#include <cstring>

#include "cells/cmcCellNames.h"
#include "cells/indActiveCell.h"
#include "memory/cmcEeprom.h"
#include "memory/datCh.h"
#include "profile/ModelProfile.h"

namespace ModelProfile {

namespace {

namespace MM = MemoryMap;

constexpr int kNoUserChannelLimit = MM::kUserChannelCount + 1;

// The template is only read; the accessor wants mutable bytes for its other uses.
cmcEeprom& Mutable(const cmcEeprom& image) {
    return const_cast<cmcEeprom&>(image);
}

void CopyBlock(cmcEeprom& image, const cmcEeprom& templ, int address, int length) {
    // The template may be the image itself (the template is normalised at start).
    std::memmove(image.Bytes() + address, templ.Bytes() + address, size_t(length));
}

void CopyBits(cmcEeprom& image, const cmcEeprom& templ, int address, uint8_t mask) {
    uint8_t& b = image.Bytes()[address];
    b = uint8_t((b & ~mask) | (templ.Bytes()[address] & mask));
}

// A 16-bit little-endian word.
void CopyWordBits(cmcEeprom& image, const cmcEeprom& templ, int address, uint16_t mask) {
    CopyBits(image, templ, address, uint8_t(mask & 0xFF));
    CopyBits(image, templ, address + 1, uint8_t(mask >> 8));
}

// User channels above the maximum channel number are invisible on the sheet; those that would
// carry an error are erased so that they can neither reach the radio nor hide a fault.
void EraseFaultyHiddenChannels(const cuiMainCore& core, cmcEeprom& image) {
    uint8_t& limit = image.Bytes()[MM::kMaxUserChannel];
    const int m = limit;
    limit = kNoUserChannelLimit;  // every row is checked as a visible one
    datCh ch(image);
    indActiveCell active(core, &image);
    for (int n = m + 1; n <= MM::kUserChannelCount; ++n) {
        bool faulty = false;
        for (int label : {CL_UCh_FreqR, CL_UCh_FreqT, CL_UCh_Mode})
            faulty = faulty || active.ErrorMarkOf(CT_UserCh, label, n);
        if (faulty) {
            ch.SetEmpty(datCh::kUserCh, n);
            ch.Save();
        }
    }
    limit = uint8_t(m);
}

void BlankUnprintable(char* text, int length) {
    for (int k = 0; k < length; ++k) {
        const unsigned char c = static_cast<unsigned char>(text[k]);
        if (c < 32 || c > 126)
            text[k] = ' ';
    }
}

// Before writing, a blank side of a record takes the template's side: an unused record becomes
// the template's record (still unused), a blank transmit side the template's transmit side, and a
// blank receive side beside a present transmit side the template's record with this transmit
// side.
void MergeWithTemplate(datCh& rec, const datCh& tmpl) {
    const uint8_t f = rec.flags;
    if (!(f & datCh::kUsed)) {
        rec.CopyFieldsFrom(tmpl.Fields());
        rec.flags &= uint8_t(~datCh::kUsed);
    } else if (!(f & datCh::kRxBlank) || (f & datCh::kTxBlank)) {
        if (f & datCh::kTxBlank) {
            rec.flags = uint8_t((rec.flags & ~datCh::kTxBlank) | (tmpl.flags & datCh::kTxBlank));
            rec.txFreq = tmpl.txFreq;
        }
    } else {
        const int32_t tx = rec.txFreq;
        rec.CopyFieldsFrom(tmpl.Fields());
        rec.flags &= uint8_t(~datCh::kTxBlank);
        rec.txFreq = tx;
    }
}

void NormalizeRecords(cmcEeprom& image, const cmcEeprom& templ, bool forWriting) {
    struct Table {
        int kind, first, last;
    };
    static const Table kTables[] = {
        {datCh::kUserCh, 0, MM::kUserChannelCount},
        {datCh::kItuCh, 0, MM::kItuChannelCount - 1},
        {datCh::kEMailCh, 0, MM::kEMailChannelCount - 1},
        {datCh::kDscId, 0, MM::kDscIdCount - 1},
        {datCh::kDscPair, 0, MM::kDscPairCount - 1},
    };
    datCh rec(image);
    datCh tmpl(Mutable(templ));
    for (const Table& t : kTables) {
        for (int e = t.first; e <= t.last; ++e) {
            rec.Load(t.kind, e);
            if (forWriting) {
                tmpl.Load(t.kind, e);
                MergeWithTemplate(rec, tmpl);
            }
            BlankUnprintable(rec.comment, sizeof rec.comment);
            BlankUnprintable(rec.name, sizeof rec.name);
            rec.Store(t.kind, e);
        }
    }
}

// DSC item records the radio fixes: first telecommand, reason and nature item 0, and call
// selection items 0, 5 and 6.
void CopyFixedItems(cmcEeprom& image, const cmcEeprom& templ) {
    struct Item {
        int kind, entry;
    };
    static const Item kItems[] = {
        {datCh::kFirstTelecommand, 0}, {datCh::kReason, 0},  {datCh::kNature, 0},
        {datCh::kCallSel, 0},          {datCh::kCallSel, 5}, {datCh::kCallSel, 6},
    };
    datCh rec(image);
    datCh tmpl(Mutable(templ));
    for (const Item& item : kItems) {
        tmpl.Load(item.kind, item.entry);
        rec.Load(item.kind, item.entry);
        rec.CopyFieldsFrom(tmpl.Fields());
        rec.Store(item.kind, item.entry);
    }
}

void NormalizeOwnIdentity(cmcEeprom& image, const cmcEeprom& templ) {
    uint8_t* im = image.Bytes();
    if (datCh::HasNoIdentity(im + MM::kOwnIdentity)) {
        CopyBlock(image, templ, MM::kOwnIdentity, MM::kOwnIdentityBlockLength);
        return;
    }
    uint8_t sum = 0;
    for (int k = 0; k < MM::kIdentityLength; ++k)
        sum = uint8_t(sum + im[MM::kOwnIdentity + k]);
    im[MM::kOwnIdentityCheck] = uint8_t(~sum);
    im[MM::kOwnIdentityTail] = 0;
}

}  // namespace

void NumberDscPairs(uint8_t* image) {
    int a = 1, b = 51, c = 101;
    for (int i = 0; i < MM::kDscPairCount; ++i) {
        const uint8_t use = image[MM::kDscPairUse + i];
        int number = kNoPairNumber;
        if (use == 1 && a <= 50)
            number = a++;
        else if (use == 2 && b <= 100)
            number = b++;
        else if (use == 3 && c <= 106)
            number = c++;
        image[MM::kDscPairNumbers + i] = uint8_t(number);
    }
}

void DscPairUsesOfNumbers(uint8_t* image) {
    int scanned = 0;
    for (int i = 0; i < MM::kDscPairCount; ++i) {
        const int x = image[MM::kDscPairNumbers + i];
        uint8_t use = 0;
        if (x >= 1 && x <= 50)
            use = 1;
        else if (x >= 51 && x <= 100)
            use = 2;
        else if (x >= 101 && x <= 106 && scanned <= 5) {
            use = 3;
            ++scanned;
        }
        image[MM::kDscPairUse + i] = use;
    }
}

void NormalizeImage(const cuiMainCore& core, cmcEeprom& image, const cmcEeprom& templ,
                    bool forWriting) {
    if (image.GetSize() < MM::kMapEnd || templ.GetSize() < MM::kMapEnd)
        return;
    CopyBlock(image, templ, MM::kMakerText, MM::kMakerTextLength);
    EraseFaultyHiddenChannels(core, image);
    NormalizeRecords(image, templ, forWriting);
    // User channel 0, the radio's own working channel.
    CopyBlock(image, templ, MM::kUserChannels, MM::kUserChannelSize);
    for (int address : {MM::kModeEnable + 1, MM::kModeSel2182, MM::k2182Mode, MM::kAlarmTimer,
                        MM::kSel2182Alarm, MM::kTemplateByte1DB1})
        CopyBlock(image, templ, address, 1);
    CopyBits(image, templ, MM::kExpansion, MM::kExpansionTemplateMask);
    CopyBlock(image, templ, MM::kTemplateByte0273, 1);
    CopyFixedItems(image, templ);
    CopyWordBits(image, templ, MM::kCategoryAllWord, 0x0009);  // bits 0 and 3
    CopyWordBits(image, templ, MM::kCategoryGrpWord, 0x000F);
    CopyWordBits(image, templ, MM::kCategoryPosWord, 0x000F);
    CopyBlock(image, templ, MM::kTemplateWord1E77, 2);
    CopyBlock(image, templ, MM::kTemplateBlock2A65, MM::kTemplateBlock2A65Length);
    NormalizeOwnIdentity(image, templ);
    CopyBlock(image, templ, MM::kTemplateBlock2B4B, MM::kTemplateBlock2B4BLength);
    CopyBlock(image, templ, MM::kTemplateBlock2F68, MM::kTemplateBlock2F68Length);
    CopyBlock(image, templ, MM::kMapRevision, 1);
    if (forWriting)
        NumberDscPairs(image.Bytes());
    else
        DscPairUsesOfNumbers(image.Bytes());
}

}  // namespace ModelProfile
