#include "DefaultImage.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>

#include "memory/MemoryMap.h"
#include "memory/cmcCloneFile.h"
#include "memory/cmcEeprom.h"
#include "memory/cmcRange.h"
#include "memory/datCh.h"
#include "profile/ModelProfile.h"

namespace MM = MemoryMap;

namespace {

constexpr int kKHz = 1000;

// Modes, numbered as the mode registrations: 0 LSB, 1 USB, 2 AM, 3 CW, 4 AFSK, 5 FSK.
constexpr uint8_t kModeUsb = 1;

// The eight maritime HF bands: band limits, and the first coast station frequency of the duplex
// telephony channels (what the ship receives on channel 401, 601 ...), in kHz.
struct ItuBand {
    int lowKHz;
    int highKHz;
    int firstCoastKHz;
    int channels;  // duplex channels of the band; the 6 MHz band has only eight
};
constexpr ItuBand kItuBands[MM::kItuEdgeCount] = {
    {4063, 4438, 4357, 9},     // 4 MHz
    {6200, 6525, 6501, 8},     // 6 MHz
    {8195, 8815, 8719, 9},     // 8 MHz
    {12230, 13200, 13077, 9},  // 12 MHz
    {16360, 17410, 17242, 9},  // 16 MHz
    {18780, 19800, 19755, 9},  // 18/19 MHz
    {22000, 22855, 22696, 9},  // 22 MHz
    {25070, 26175, 26145, 9},  // 25/26 MHz
};
constexpr int kDuplexSpacingKHz = 3;
// The band numbers of the ITU channel numbers (18/19 MHz channels are 18xx, 25/26 MHz 25xx).
constexpr int kItuBandMHz[MM::kItuEdgeCount] = {4, 6, 8, 12, 16, 18, 22, 25};

// Ship transmit allocations, ascending: the MF band and the HF maritime bands.
struct Edge {
    int lowKHz;
    int highKHz;
};
constexpr Edge kTxEdges[MM::kTxEdgeCount] = {
    {1605, 2850},   {4000, 4438},   {6200, 6525},   {8100, 8815},   {12230, 13200}, {16360, 17410},
    {18780, 18900}, {19680, 19800}, {22000, 22855}, {25070, 25210}, {26100, 26175},
};

// A general-coverage receiver: 30 kHz to 29,999.9 kHz.
constexpr int kRxLowHz = 30 * kKHz;
constexpr int kRxHighHz = 29999900;

struct ModeReg {
    const char* indication;
    uint8_t use;  // 0 not available; AM (entry 2) is receive only
};
// LSB is not used for maritime telephony, so a new radio keeps it switched off.
constexpr ModeReg kModes[MM::kModeCount] = {
    {"LSB", 0}, {"USB", 1}, {"AM ", 1}, {"CW ", 1}, {"AFS", 1}, {"FSK", 1},
};

struct Setting {
    int address;
    uint8_t value;
};
// Common settings, each inside its range and list.
constexpr Setting kSettings[] = {
    {MM::kNbLevel, 5},           // 1-10
    {MM::kBacklight, 5},         // 0-10
    {MM::kContrast, 5},          // 1-10
    {MM::kSquelchLevel, 10},     // 1-100
    {MM::kTxMeter, 0},           // output power
    {MM::kMaxUserChannel, 160},  // every user channel in use
    {MM::kSitorChannel, 0},      // off
    {MM::kAntennaTuner, 1},      // automatic tuner
    {MM::kAtTunerUse, 1},        // on
    {MM::kScanType, 0},          // channel scan
    {MM::kScanSpeed, 5},         // 1-10
    {MM::kIndicationType, 0},    // channel number
    {MM::kFskTone, 0},           // 1615 Hz
    {MM::kFskShift, 0},          // 170 Hz
    {MM::kFskPolarity, 0},       // normal
    {MM::kCwBreakIn, 1},         // semi break-in
    {MM::kMicKey, 1},            // on
    {MM::kMicFunction, 0},       // none
    {MM::kVoiceSquelch, 0},      // off
    {MM::kNmeaId, 1},            // 1-99
    {MM::kNmeaInterface, 1},     // NMEA 0183, 4800 baud
    {MM::kJ2bFilter, 0},         // 2.4 kHz
    {MM::kF1bFilter, 0},         // 500 Hz
    {MM::kRemoteMode, 0},        // off
    {MM::kGpsDisplay, 1},        // position
    {MM::kTimeOffset, 72},       // UTC
    {MM::kModeSel2182, 1},       // on
    {MM::k2182Mode, kModeUsb},   // J3E
    {MM::kItuDirection, 0},      // normal
    {MM::kTxPowerSel, 0},        // high
    {MM::kNonVexaTuner, 0},      // not used
    {MM::kAtTunerType, 0},       // whip antenna
    {MM::kAlarmTimer, 45},       // seconds, 1-99
    {MM::kSel2182Alarm, 1},      // on
    {MM::kScanEnable, 1},        // on
    {MM::kScanReference, 15},    // shown as 150
    {MM::kCompressor, 0},        // off
    {MM::kCommentDisplay, 1},    // on
    {MM::kTxByPtt, 0},           // microphone
    {MM::kTxByAcc, 1},           // ACC
    {MM::kTenKey, 1},            // enable
    {MM::kRfGain, 9},            // 0-9
    {MM::kDscMask, 0},           // accept all calls
    {MM::kDscItuChannel, 0},     // working channel as frequencies
};

// DSC item tables as a new radio has them, bit e = item e (captions in the resource file).
// First telecommands: all but the two F3E/G3E telephony items, which belong to VHF.
constexpr uint16_t kFirstTelecommands = 0x3FF9;
// Reasons for unable to comply: all twelve.
constexpr uint16_t kReasons = 0x0FFF;
// Natures of distress: all but EPIRB emission, which a radio never sends itself.
constexpr uint16_t kNatures = 0x07FF;
// Categories 0 routine, 1 safety, 2 urgency, 3 distress, by call: all ships calls carry safety or
// urgency; group, individual and geographic area calls routine, safety or urgency.
constexpr uint16_t kCategoryAll = 0x0006;
constexpr uint16_t kCategoryGrp = 0x0007;
constexpr uint16_t kCategoryInd = 0x0007;
constexpr uint16_t kCategoryPos = 0x0007;
// Call selection 0 distress, 1 all ships, 2 group, 3 individual, 4 geographic area,
// 5 semi-automatic/automatic, 6 distress relay: 2 send and receive, 1 receive only, 0 off.
constexpr uint8_t kCallSelection[] = {2, 2, 2, 2, 1, 0, 2};
// DSC watch on the six distress and safety frequencies, 2187.5 to 16804.5 kHz.
constexpr uint16_t kDscScan = 0x003F;

constexpr char kComment[] = "T590 DEFAULT";
constexpr uint8_t kNoPairNumber = 255;
constexpr uint8_t kErased = 0xFF;

void PutWord(cmcEeprom& image, int address, uint16_t value) {
    image.SetByte(address, uint8_t(value & 0xFF));
    image.SetByte(address + 1, uint8_t(value >> 8));
}

void PutText(cmcEeprom& image, int address, int length, const char* text) {
    const int n = int(std::strlen(text));
    for (int i = 0; i < length; ++i)
        image.SetByte(address + i, uint8_t(i < n ? text[i] : ' '));
}

void CopyText(char* field, std::size_t length, const char* text) {
    std::memset(field, ' ', length);
    std::memcpy(field, text, std::min(length, std::strlen(text)));
}

void BuildChannels(datCh& ch) {
    // User channel 0 is the radio's own 2182 kHz channel, and user channel 1 repeats it so that
    // the distress and calling frequency is at hand in the channel list.
    for (int e = 0; e <= MM::kUserChannelCount; ++e) {
        ch.SetEmpty(datCh::kUserCh, e);
        if (e <= 1) {
            ch.flags = datCh::kUsed;
            ch.rxFreq = ch.txFreq = 2182 * kKHz;
            ch.mode = kModeUsb;
            CopyText(ch.comment, sizeof ch.comment, "2182 kHz");
        }
        ch.Save();
    }
    for (int band = 0; band < MM::kItuEdgeCount; ++band) {
        for (int n = 0; n < MM::kItuChannelsPerBand; ++n) {
            const int e = band * MM::kItuChannelsPerBand + n;
            ch.SetEmpty(datCh::kItuCh, e);
            if (n < kItuBands[band].channels) {
                ch.flags = datCh::kUsed;
                ch.rxFreq = (kItuBands[band].firstCoastKHz + kDuplexSpacingKHz * n) * kKHz;
                ch.txFreq = ch.rxFreq;
                ch.mode = kModeUsb;
                // The ITU channel number, 401 ... 2509, by which stations name the channel.
                const std::string number = "ITU " + std::to_string(kItuBandMHz[band] * 100 + n + 1);
                CopyText(ch.comment, sizeof ch.comment, number.c_str());
            }
            ch.Save();
        }
    }
    for (int e = 0; e < MM::kEMailChannelCount; ++e) {
        ch.SetEmpty(datCh::kEMailCh, e);
        ch.Save();
    }
}

void BuildEdges(datCh& ch) {
    ch.SetEmpty(datCh::kRxEdge, 0);
    ch.lowEdge = kRxLowHz;
    ch.highEdge = kRxHighHz;
    ch.Save();
    for (int b = 0; b < MM::kItuEdgeCount; ++b) {
        ch.SetEmpty(datCh::kItuEdge, b);
        ch.lowEdge = kItuBands[b].lowKHz * kKHz;
        ch.highEdge = kItuBands[b].highKHz * kKHz;
        ch.Save();
    }
    for (int t = 0; t < MM::kTxEdgeCount; ++t) {
        ch.SetEmpty(datCh::kTxEdge, t);
        ch.lowEdge = kTxEdges[t].lowKHz * kKHz;
        ch.highEdge = kTxEdges[t].highKHz * kKHz;
        ch.Save();
    }
}

void BuildModes(datCh& ch) {
    for (int m = 0; m < MM::kModeCount; ++m) {
        ch.SetEmpty(datCh::kModeReg, m);
        std::memcpy(ch.indication, kModes[m].indication, sizeof ch.indication);
        ch.useValue = kModes[m].use;
        ch.Save();
    }
}

void BuildDsc(cmcEeprom& image, datCh& ch) {
    // No own identity: the radio asks for it once, and a clone write never sets it.
    for (int i = 0; i < MM::kOwnIdentityBlockLength; ++i)
        image.SetByte(MM::kOwnIdentity + i, kErased);
    for (int e = 0; e < MM::kDscIdCount; ++e) {
        ch.SetEmpty(datCh::kDscId, e);
        ch.Save();
    }
    for (int e = 0; e < MM::kDscPairCount; ++e) {
        ch.SetEmpty(datCh::kDscPair, e);
        ch.Save();
        image.SetByte(MM::kDscPairNumbers + e, kNoPairNumber);
    }

    struct ItemTable {
        int kind;
        uint16_t enabled;
        uint8_t bit;
    };
    const ItemTable tables[] = {
        {datCh::kFirstTelecommand, kFirstTelecommands, datCh::kItemFirstTelecommand},
        {datCh::kReason, kReasons, datCh::kItemReason},
        {datCh::kNature, kNatures, datCh::kItemNature},
    };
    for (const ItemTable& t : tables) {
        for (int e = 0; e < MM::kItemBitCount; ++e) {
            ch.Load(t.kind, e);
            ch.itemBits = (t.enabled >> e & 1) ? t.bit : 0;
            ch.Save();
        }
    }
    for (int e = 0; e < MM::kItemBitCount; ++e) {
        ch.Load(datCh::kCategory, e);
        ch.itemBits = 0;
        if (kCategoryAll >> e & 1)
            ch.itemBits |= datCh::kItemCategoryAll;
        if (kCategoryGrp >> e & 1)
            ch.itemBits |= datCh::kItemCategoryGrp;
        if (kCategoryInd >> e & 1)
            ch.itemBits |= datCh::kItemCategoryInd;
        if (kCategoryPos >> e & 1)
            ch.itemBits |= datCh::kItemCategoryPos;
        ch.Save();
    }
    for (int e = 0; e < MM::kItemBitCount; ++e) {
        ch.Load(datCh::kCallSel, e);
        ch.callSelection = e < int(sizeof kCallSelection) ? kCallSelection[e] : 0;
        ch.Save();
    }
    PutWord(image, MM::kDscScanOn, kDscScan);
}

}  // namespace

namespace DefaultImage {

void Build(cmcEeprom& image) {
    image.SetSize(MM::kImageSize);  // every byte 0
    image.SetByte(MM::kMapRevision, MM::kMapRevisionValue);
    image.SetByte(MM::kExpansion, uint8_t(1u << MM::kExpansionItuChBit));
    PutText(image, MM::kComment, MM::kCommentLength, kComment);
    PutText(image, MM::kMakerText, MM::kMakerTextLength, MM::kMakerTextValue);
    for (const Setting& s : kSettings)
        image.SetByte(s.address, s.value);

    datCh ch(image.Bytes());
    BuildChannels(ch);
    BuildEdges(ch);
    BuildModes(ch);
    BuildDsc(image, ch);
}

int Write(const std::string& path) {
    cmcEeprom image;
    Build(image);
    cmcCloneFile file;
    file.AttachImage(image);
    file.SetModelCode(ModelProfile::kModelCode);
    file.SetExtraCode(ModelProfile::kExtraCode);
    file.SetMapRevision(ModelProfile::kMapRevision);
    file.SetComment(cmcCloneFile::ImageComment(image));
    return file.Write(path, kCloneRanges);
}

}  // namespace DefaultImage
