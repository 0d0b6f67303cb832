// The radio's common settings: each label edits one byte of the working image with one
// conversion (a choice list, a bounded number, the clone comment text or the time offset).
#include <cstdio>

#include "cells/BehaveSettings.h"
#include "cells/BehaveUtil.h"
#include "cells/cmcCellCapsule.h"
#include "cells/cmcCellNames.h"
#include "cells/indBehave.h"
#include "memory/MemoryMap.h"

namespace MM = MemoryMap;

namespace {

enum class Conv : uint8_t {
    Choice,      // the byte is an index into the list
    Number,      // the byte is the number, min..max
    Text,        // the clone comment, MM::kCommentLength characters
    TimeOffset,  // steps of 10 minutes around 72
    Tenths,      // the number shown is ten times the byte (scan reference)
    TwoDigits,   // a number shown with two digits unless the editor opens (NMEA ID)
};

struct Setting {
    int label;
    int address;
    Conv conv;
    const char* list;  // Choice only
    int min;
    int max;
};

constexpr const char* kOnOff = "GI_Sheet_Sel_Misc_OnOff";

// clang-format off
constexpr Setting kSettings[] = {
    {CL_Comm_CloneComm,    MM::kComment,         Conv::Text,       nullptr, 0, 0},
    {CL_Comm_TxMeter,      MM::kTxMeter,         Conv::Choice,     "GI_Sheet_Sel_Comm_TxMeter", 0, 0},
    {CL_Comm_TxPwrSel,     MM::kTxPowerSel,      Conv::Choice,     "GI_Sheet_Sel_Comm_PwrSel", 0, 0},
    {CL_Comm_ModeSel2182,  MM::kModeSel2182,     Conv::Choice,     kOnOff, 0, 0},
    {CL_Comm_MaxUserChNo,  MM::kMaxUserChannel,  Conv::Number,     nullptr, 1, MM::kUserChannelCount},
    {CL_Comm_SitorCh,      MM::kSitorChannel,    Conv::Choice,     kOnOff, 0, 0},
    {CL_Comm_ItuDir,       MM::kItuDirection,    Conv::Choice,     "GI_Sheet_Sel_Comm_ItuDir", 0, 0},
    {CL_Comm_AntTuner,     MM::kAntennaTuner,    Conv::Choice,     "GI_Sheet_Sel_Comm_Tuner", 0, 0},
    {CL_Comm_AtTunUse,     MM::kAtTunerUse,      Conv::Choice,     kOnOff, 0, 0},
    {CL_Comm_AtTunType,    MM::kAtTunerType,     Conv::Choice,     "GI_Sheet_Sel_Comm_AtTunType", 0, 0},
    {CL_Comm_AlmTimer,     MM::kAlarmTimer,      Conv::Number,     nullptr, 1, 99},
    {CL_Comm_Sel2182Alm,   MM::kSel2182Alarm,    Conv::Choice,     kOnOff, 0, 0},
    {CL_Comm_ScanType,     MM::kScanType,        Conv::Choice,     "GI_Sheet_Sel_Comm_ScanType", 0, 0},
    {CL_Comm_ScanRef,      MM::kScanReference,   Conv::Tenths,     nullptr, 100, 200},
    {CL_Comm_ScanSpeed,    MM::kScanSpeed,       Conv::Number,     nullptr, 1, 10},
    {CL_Comm_IndType,      MM::kIndicationType,  Conv::Choice,     "GI_Sheet_Sel_Comm_IndType", 0, 0},
    {CL_Comm_FskTone,      MM::kFskTone,         Conv::Choice,     "GI_Sheet_Sel_Comm_FskTone", 0, 0},
    {CL_Comm_FskShift,     MM::kFskShift,        Conv::Choice,     "GI_Sheet_Sel_Comm_FskShift", 0, 0},
    {CL_Comm_FskPolar,     MM::kFskPolarity,     Conv::Choice,     "GI_Sheet_Sel_Comm_FskPolar", 0, 0},
    {CL_Comm_CwBkIn,       MM::kCwBreakIn,       Conv::Choice,     "GI_Sheet_Sel_Comm_BkIn", 0, 0},
    {CL_Comm_TxByAcc,      MM::kTxByAcc,         Conv::Choice,     "GI_Sheet_Sel_Comm_ModSel", 0, 0},
    {CL_Comm_TxByPtt,      MM::kTxByPtt,         Conv::Choice,     "GI_Sheet_Sel_Comm_ModSel", 0, 0},
    {CL_Comm_MicKey,       MM::kMicKey,          Conv::Choice,     kOnOff, 0, 0},
    {CL_Comm_MicFunc,      MM::kMicFunction,     Conv::Choice,     "GI_Sheet_Sel_Comm_PKey", 0, 0},
    {CL_Comm_NmeaId,       MM::kNmeaId,          Conv::TwoDigits,  nullptr, 1, 99},
    {CL_Comm_NmeaIf,       MM::kNmeaInterface,   Conv::Choice,     "GI_Sheet_Sel_Comm_NmeaIf", 0, 0},
    {CL_Comm_J2bFilt,      MM::kJ2bFilter,       Conv::Choice,     "GI_Sheet_Sel_Comm_FiltJ2B", 0, 0},
    {CL_Comm_F1bFilt,      MM::kF1bFilter,       Conv::Choice,     "GI_Sheet_Sel_Comm_FiltF1B", 0, 0},
    {CL_Comm_RemoteMod,    MM::kRemoteMode,      Conv::Choice,     "GI_Sheet_Sel_Comm_RemoteMod", 0, 0},
    {CL_Comm_GpsDisp,      MM::kGpsDisplay,      Conv::Choice,     "GI_Sheet_Sel_Comm_GpsDisp", 0, 0},
    {CL_Comm_OfsTime,      MM::kTimeOffset,      Conv::TimeOffset, nullptr, 0, 0},
    {CL_Comm_NbLev,        MM::kNbLevel,         Conv::Number,     nullptr, 1, 10},
    {CL_Comm_Backlight,    MM::kBacklight,       Conv::Number,     nullptr, 0, 10},
    {CL_Comm_Contrast,     MM::kContrast,        Conv::Number,     nullptr, 1, 10},
    {CL_Comm_SqlLev,       MM::kSquelchLevel,    Conv::Number,     nullptr, 1, 100},
    {CL_Comm_NonVexaTuner, MM::kNonVexaTuner,    Conv::Choice,     "GI_Sheet_Sel_Comm_NVTuner", 0, 0},
    {CL_Comm_VoiceSql,     MM::kVoiceSquelch,    Conv::Choice,     kOnOff, 0, 0},
    {CL_Comm_2182Mode,     MM::k2182Mode,        Conv::Choice,     "GI_Sheet_Sel_Mode0", 0, 0},
    {CL_Comm_ScanEnable,   MM::kScanEnable,      Conv::Choice,     kOnOff, 0, 0},
    {CL_Comm_Comp,         MM::kCompressor,      Conv::Choice,     kOnOff, 0, 0},
    {CL_Comm_CommDisp,     MM::kCommentDisplay,  Conv::Choice,     kOnOff, 0, 0},
    {CL_Comm_TenKey,       MM::kTenKey,          Conv::Choice,     "GI_Sheet_Sel_Misc_Enable_I", 0, 0},
    {CL_Comm_RfGain,       MM::kRfGain,          Conv::Number,     nullptr, 0, 9},
};
// clang-format on

static_assert(sizeof kSettings / sizeof kSettings[0] == CL_Comm_RfGain - CL_Comm_CloneComm + 1,
              "one entry per common setting label");

const Setting* SettingOf(int label) {
    for (const Setting& s : kSettings) {
        if (s.label == label)
            return &s;
    }
    return nullptr;
}

void CommonSetting(indBehaveCall& call) {
    const Setting* s = SettingOf(call.label);
    if (s == nullptr)
        return;
    cmcCellCapsule& c = call.capsule;
    uint8_t& byte = call.image[s->address];
    switch (s->conv) {
        case Conv::Choice:
            c.ConvChoiceByte(s->list, byte);
            break;
        case Conv::Number:
            c.ConvNumberByte(byte, s->min, s->max);
            break;
        case Conv::Text:
            c.ConvText(reinterpret_cast<char*>(call.image + s->address), MM::kCommentLength);
            break;
        case Conv::TimeOffset:
            c.ConvTimeOffset(byte);
            break;
        case Conv::Tenths: {
            int32_t value = int32_t(byte) * 10;
            if (c.ConvNumber(value, s->min, s->max, 0, 10, false, nullptr))
                byte = uint8_t(value / 10);
            break;
        }
        case Conv::TwoDigits:
            c.ConvNumberByte(byte, s->min, s->max);
            if (c.action != kActEdit) {
                char text[8];
                std::snprintf(text, sizeof text, "%02d", byte);
                c.outputText = text;
            }
            break;
    }
}

}  // namespace

void indRegisterCommonSettingBehaviours(indBehaveTable& table) {
    for (const Setting& s : kSettings)
        table.Set(s.label, CommonSetting);
}
