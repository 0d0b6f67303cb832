#pragma once

#include <string>
#include <vector>

#include "BehaveTestSupport.h"
#include "ScopedMainDictionary.h"
#include "cells/cmcFCache.h"

// The behaviour fixture with a dictionary of its own: every choice list of the settings and DSC
// cells, with texts that name their list ("<short name>:<index>"), and the captions and messages
// those cells show.
class SettingsBehaveTest : public BehaveTest {
protected:
    // Lists with three entries 0..2, each text "<list>:<index>" without the "GI_Sheet_Sel_"
    // prefix, so that a shown text proves which list was used.
    static std::vector<std::string> ListKeys() {
        return {"GI_Sheet_Sel_Misc_OnOff",
                "GI_Sheet_Sel_Comm_TxMeter",
                "GI_Sheet_Sel_Comm_PwrSel",
                "GI_Sheet_Sel_Comm_ItuDir",
                "GI_Sheet_Sel_Comm_Tuner",
                "GI_Sheet_Sel_Comm_AtTunType",
                "GI_Sheet_Sel_Comm_ScanType",
                "GI_Sheet_Sel_Comm_IndType",
                "GI_Sheet_Sel_Comm_FskTone",
                "GI_Sheet_Sel_Comm_FskShift",
                "GI_Sheet_Sel_Comm_FskPolar",
                "GI_Sheet_Sel_Comm_BkIn",
                "GI_Sheet_Sel_Comm_ModSel",
                "GI_Sheet_Sel_Comm_PKey",
                "GI_Sheet_Sel_Comm_NmeaIf",
                "GI_Sheet_Sel_Comm_FiltJ2B",
                "GI_Sheet_Sel_Comm_FiltF1B",
                "GI_Sheet_Sel_Comm_RemoteMod",
                "GI_Sheet_Sel_Comm_GpsDisp",
                "GI_Sheet_Sel_Comm_NVTuner",
                "GI_Sheet_Sel_Mode0",
                "GI_Sheet_Sel_Misc_Enable_I",
                "GI_Sheet_Sel_ModeRx",
                "GI_Sheet_Sel_ModeOk",
                "GI_Sheet_Sel_DscMask",
                "GI_Sheet_Sel_Misc_ItuChSel",
                "GI_Sheet_Sel_Misc_Dsc_AdrType",
                "GI_Sheet_Sel_Misc_Dsc_Use1",
                "GI_Sheet_Sel_Misc_Dsc_Use2",
                "GI_Sheet_Sel_Misc_TinyEnable",
                "GI_Sheet_Sel_DscCallSel",
                "GI_Sheet_Sel_DscCallSel_R"};
    }

    static std::string ShortName(const std::string& key) {
        const std::string prefix = "GI_Sheet_Sel_";
        return key.compare(0, prefix.size(), prefix) == 0 ? key.substr(prefix.size()) : key;
    }
    static std::string EntryText(const std::string& key, int index) {
        return ShortName(key) + ":" + std::to_string(index);
    }

    SettingsBehaveTest() {
        std::vector<std::string>& l = lines_;
        auto section = [&l](const char* name, std::initializer_list<const char*> body) {
            l.push_back(std::string("#") + name);
            for (const char* line : body)
                l.push_back(line);
            l.push_back("#");
        };
        section("GI_Botttom_EditRestrected", {"Cannot edit"});
        section("GI_AppInd_DscRxTxNoUse", {"No use"});
        section("GI_AppInd_Dsc_SelfIdOff", {"(no ID)"});
        section("GI_AppInd_Mode", {"LSB", "USB", "AM", "CW", "FSK", "J2B"});
        section("GI_AppInd_NatureItem", {"Fire", "Flooding", "Collision"});
        section("GI_AppInd_CallSelItem", {"All ships", "Group", "Individual"});
        section("GI_AppInd_CateItem", {"Distress", "Urgency", "Safety", "Routine"});
        section("GI_AppInd_1stTelItem", {"F3E/G3E", "J3E", "Polling"});
        section("GI_AppInd_ReasonItem", {"No reason", "Busy", "Queue"});
        section("GI_Sys_MyHelpFile", {"help/index.html"});
        section("GI_PMenu_NoItem", {"No item"});
        for (const std::string& key : ListKeys()) {
            l.push_back("#" + key + "_Cells");
            std::string row;
            for (int i = 0; i < 3; ++i) {
                row += "{(%.Flex0[" + std::to_string(i) + "]:" + EntryText(key, i) + ")}" +
                       (i < 2 ? "|" : "");
            }
            l.push_back(row);
            l.push_back("#");
        }
        // What the dispatcher says of typed values, as the product says it.
        for (const char* line :
             {"#GI_AppMess_Typed",
              "\"%s\" was taken as %s: the characters that are no part of it were left out.",
              "%s is above %s: %s stored.", "%s is below %s: %s stored.",
              "%s stored as %s: the field keeps no finer steps.",
              "\"%s\" has %s digits, not %s: no number stored.",
              "\"%s\" was not taken, nothing changed: %s.",
              "\"%s\" stored as \"%s\": the radio has no %s; each such letter became a blank.",
              "\"%s\" is longer than %s characters: \"%s\" stored.",
              "\"%s\" holds no value: the field is cleared.", "kHz", "#GI_AppMess_TypedForms",
              "a time offset is -12:00 to +12:00, as h:mm", "a number from %s to %s",
              "a byte is 00 to FF, as one or two hexadecimal digits",
              "a frequency is given in kHz, such as 2182.0"})
            l.push_back(line);
        l.push_back("#End_Of_Ovl");
        for (const std::string& line : lines_)
            pointers_.push_back(line.c_str());
        settingsDict_.SetLines(pointers_.data(), pointers_.size());
        // The settings' texts replace the plain fixture's as the main dictionary.
        mainDictionary_.reset();
        mainDictionary_ = std::make_unique<ScopedMainDictionary>(&settingsDict_);
        main_->SetDictionary(&settingsDict_);
        main_->SetSectionCache(&settingsCache_);
    }

    // Evaluates a cell that carries an argument text (and a display text), as the item tables and
    // menus have them.
    Result RunCell(cmcCellCapsule c, cmcCellObj& cell) {
        c.cell = &cell;
        indActiveCell active(main_.Core());
        Result r;
        r.action = active.Evaluate(c, false);
        r.text = c.outputText;
        r.marks = c.markBits;
        r.markPosition = c.markPosition;
        r.key = c.key;
        return r;
    }

    // Status messages that reached the status bar (after the posted events were delivered).
    std::vector<std::string> StatusTexts() {
        events_.RunPass();
        std::vector<std::string> out;
        for (const Event& e : EventsOf(cmcEvKind::StatusMessage)) {
            if (!e.text.empty())
                out.push_back(e.text);
        }
        return out;
    }

    std::vector<std::string> lines_;
    std::vector<const char*> pointers_;
    cmcGTex settingsDict_;
    cmcFCache settingsCache_{&settingsDict_};
};
