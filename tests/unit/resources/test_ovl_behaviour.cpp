// The resource file together with the cell behaviours and the default radio: every selection list
// builds in the section cache, no cell of any sheet is marked, and the warning checks find nothing
// to mark on a new radio.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "DefaultImage.h"
#include "OvlKeys.h"
#include "OvlResource.h"
#include "ScopedMainDictionary.h"
#include "cells/cmcCellCapsule.h"
#include "cells/cmcCellNames.h"
#include "cells/cmcCellObj.h"
#include "cells/cmcCellParser.h"
#include "cells/cmcFCache.h"
#include "cells/indActiveCell.h"
#include "cuiHeadlessMain.h"
#include "memory/cmcEeprom.h"
#include "memory/datCh.h"
#include "profile/ModelProfile.h"

namespace {

class OvlBehaviour : public OvlResource {
protected:
    void SetUp() override {
        OvlResource::SetUp();
        mainDictionary_ = std::make_unique<ScopedMainDictionary>(&dict_);
        main_->SetDictionary(&dict_);
        main_->SetSectionCache(&cache_);
        DefaultImage::Build(main_->WorkingImage());
    }
    void TearDown() override { mainDictionary_.reset(); }

    static int EntryLabelOf(const std::string& list) {
        return list == "GI_Sheet_Sel_Mode1_R" ? CL_Sel_Mode_U : Flex0;
    }

    struct Shown {
        std::string where;
        std::string text;
        uint8_t marks = 0;
    };

    // Every labelled cell of a sheet as the sheet builder lays it out (rows of a one-line loop
    // body are the template with the argument counting up), evaluated for display.
    std::vector<Shown> Display(const std::string& base) {
        std::vector<Shown> shown;
        cmcCellObj basic;
        ParseCell(dict_.Text(base + "_BasicCell"), basic, nullptr, nullptr);
        const std::vector<std::string> lines = Body(base + "_Cells");
        int repeat = 1;
        for (const std::string& line : lines) {
            if (!line.empty() && line[0] == ':') {
                const std::size_t at = line.find("(LoopFrom ");
                if (at != std::string::npos)
                    repeat = std::stoi(line.substr(at + 10));
                else if (line.find("(LoopTo)") != std::string::npos)
                    repeat = 1;
                continue;
            }
            std::vector<std::unique_ptr<cmcCellObj>> row;
            std::string_view rest = line;
            while (!rest.empty()) {
                row.push_back(std::make_unique<cmcCellObj>());
                rest = ParseCell(rest, *row.back(), counters_, &basic);
            }
            for (int k = 0; k < repeat; ++k) {
                for (const auto& templ : row) {
                    if (templ->label == CL_None)
                        continue;
                    cmcCellObj cell;
                    cell.CopyFrom(*templ);
                    cell.argument += k;
                    cmcCellCapsule capsule;
                    capsule.cell = &cell;
                    indActiveCell(main_.Core()).Evaluate(capsule, false);
                    shown.push_back({base + " " +
                                         (LabelName(cell.label) ? LabelName(cell.label) : "?") +
                                         "[" + std::to_string(cell.argument) + "]",
                                     capsule.outputText, capsule.markBits});
                }
            }
        }
        return shown;
    }

    std::unique_ptr<ScopedMainDictionary> mainDictionary_;
    cmcFCache cache_{&dict_};
    ScopedHeadlessMain main_;
    std::int32_t counters_[cmcCellObj::kCounterCount] = {};
};

TEST_F(OvlBehaviour, EverySelectionListBuildsWithDistinctKeysAndTexts) {
    for (const std::string& list : OvlSelectionLists()) {
        const int label = EntryLabelOf(list);
        cache_.BuildList(list, label);
        const cmcFCacheRecord* record = cache_.Record(list, label);
        ASSERT_NE(record, nullptr) << list;
        EXPECT_GE(record->count, 2) << list;
        for (std::size_t i = 1; i < record->byKey.size(); ++i)
            EXPECT_LT(record->byKey[i - 1].key, record->byKey[i].key) << list << ": a key twice";
        for (const cmcFCacheEntry& e : record->byKey) {
            EXPECT_FALSE(record->TextOf(e).empty()) << list << " key " << e.key;
            EXPECT_NE(cache_.TextOf(list, label, e.key), "error") << list << " key " << e.key;
        }
        // Space and Backspace walk the whole list and come back.
        const int first = record->byPosition.front().key;
        int key = first;
        for (int i = 0; i < record->count; ++i)
            key = cache_.StepKey(list, label, key, +1).value_or(-1);
        EXPECT_EQ(key, first) << list;
    }
}

// On a new radio every cell of every sheet shows its value: none shows "error" (a value that is not
// in its list), no label lacks its behaviour ("*Yet*"), and no cell carries an error or notice
// mark.
TEST_F(OvlBehaviour, EveryCellOfEverySheetShowsItsValueUnmarkedOnTheDefaultRadio) {
    std::vector<std::string> sheets = TreeSheetBases();
    sheets.push_back("GI_Sheet_CloneInfo");
    sheets.push_back("GI_Sheet_EeDebugWin");
    int cells = 0;
    for (const std::string& base : sheets) {
        for (const Shown& s : Display(base)) {
            ++cells;
            EXPECT_NE(s.text, "error") << s.where;
            EXPECT_EQ(s.text.find("*Yet*"), std::string::npos) << s.where << ": " << s.text;
            EXPECT_FALSE(s.marks & (kMarkError | kMarkNotice)) << s.where << ": " << s.text;
        }
    }
    EXPECT_GT(cells, 16 * 1024) << "the memory dump alone has 17 cells per row";
}

// Every entry of every choice list has its behaviour. (The mode list marks the modes that are not
// available, so marks are not looked at here.)
TEST_F(OvlBehaviour, ChoiceListEntriesShowTheirTexts) {
    for (const std::string& list : OvlSelectionLists()) {
        for (const Shown& s : Display(list)) {
            EXPECT_FALSE(s.text.empty()) << s.where;
            EXPECT_EQ(s.text.find("*Yet*"), std::string::npos) << s.where << ": " << s.text;
        }
    }
}

TEST_F(OvlBehaviour, WarningCheckFindsNothingOnTheDefaultRadio) {
    const ModelProfile::WarningLists found = ModelProfile::RunWarningCheck(main_.Core());
    EXPECT_TRUE(found.marksTree) << "the list names the sheets to mark";
    EXPECT_TRUE(found.errors.empty()) << found.errors.front();
    EXPECT_TRUE(found.notices.empty()) << found.notices.front();
}

// The checks do look: a user channel outside every transmit edge marks the user channel sheet, and
// the same identity twice in the address book gives the address book a notice.
TEST_F(OvlBehaviour, WarningCheckMarksTheSheetsThatHoldTheFaults) {
    datCh ch(main_->WorkingImage().Bytes());
    ch.Load(datCh::kUserCh, 2);
    ch.flags = datCh::kUsed;
    ch.rxFreq = ch.txFreq = 10000000;  // a time signal frequency: receive only
    ch.mode = 1;
    ch.Save();
    for (int e : {3, 7}) {
        ch.SetEmpty(datCh::kDscId, e);
        const uint8_t mmsi[5] = {23, 12, 34, 56, 70};  // 231234567, a ship
        std::copy(mmsi, mmsi + 5, ch.identity);
        std::fill(ch.name, ch.name + sizeof ch.name, 'X');
        ch.rxFreq = ch.txFreq = 2182000;
        ch.Save();
    }
    const ModelProfile::WarningLists found = ModelProfile::RunWarningCheck(main_.Core());
    EXPECT_EQ(found.errors, std::vector<std::string>{"GI_Sheet_UserCh"});
    EXPECT_EQ(found.notices, std::vector<std::string>{"GI_Sheet_DscAdr"});
}

// Start-up normalises the template against itself, and every save and clone write normalises the
// working image against it: the default radio must come out of both unchanged, so that File New
// followed by Save gives back the initial file.
TEST_F(OvlBehaviour, DefaultRadioIsUnchangedByNormalisation) {
    cmcEeprom templ;
    DefaultImage::Build(templ);
    for (bool forWriting : {false, true}) {
        cmcEeprom image;
        image.CopyFrom(templ);
        ModelProfile::NormalizeImage(main_.Core(), image, templ, forWriting);
        for (int a = 0; a < image.GetSize(); ++a)
            ASSERT_EQ(image.GetByte(a), templ.GetByte(a))
                << "address " << a << (forWriting ? " when writing" : " when loading");
    }
}

}  // namespace
