// Memory debug window rows, free fields and the clone information cells.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "SettingsBehaveTest.h"
#include "memory/MemoryMap.h"
#include "memory/cmcEeprom.h"

namespace MM = MemoryMap;
using namespace ConvTest;

namespace {

class BehaveTool : public SettingsBehaveTest {
protected:
    BehaveTool() { reference().CopyFrom(main_->WorkingImage()); }
    cmcEeprom& reference() { return main_->ReferenceImage(); }

    std::vector<int32_t> CursorMoves() {
        events_.RunPass();
        std::vector<int32_t> out;
        for (const Event& e : EventsOf(cmcEvKind::MemoryDebugCursor))
            out.push_back(e.second);
        return out;
    }
    // Evaluates the memory window cell of address a.
    Result Byte(int a, cmcCellCapsule c) {
        return Run(c, CT_Null, CL_EeDebugWin_0 + a % 16, a / 16);
    }
};

TEST_F(BehaveTool, RowAddressInHex) {
    EXPECT_EQ(Show(CT_Null, CL_EeDebugWin_Adr, 0).text, "   0");
    EXPECT_EQ(Show(CT_Null, CL_EeDebugWin_Adr, 0x2F).text, " 2F0");
    EXPECT_EQ(Show(CT_Null, CL_EeDebugWin_Adr, 0x3FF).text, "3FF0");
}

TEST_F(BehaveTool, ByteCellsShowAndEditTheWorkingImage) {
    image_[0x123] = 0xA5;
    reference().SetByte(0x123, 0xA5);
    RecordingCanvas canvas;
    cmcCellCapsule drawing;
    drawing.canvas = &canvas;
    EXPECT_EQ(Byte(0x123, drawing).text, "A5");
    EXPECT_NE(canvas.fontColor, cmcCellCapsule::kColorDiffers);

    reference().SetByte(0x123, 0x00);  // differs from the reference: drawn in red
    Byte(0x123, drawing);
    EXPECT_EQ(canvas.fontColor, cmcCellCapsule::kColorDiffers);

    Byte(0x123, Typed("f"));
    EXPECT_EQ(image_[0x123], 0x0F);
    EXPECT_EQ(Byte(0x123, Display()).text, "0F");
    events_.RunPass();
    EXPECT_EQ(EventsOf(cmcEvKind::RepaintAll).size(), 1u);
    EXPECT_EQ(image_[0x122], 0);
    EXPECT_EQ(image_[0x124], 0);

    // Enter hands the byte to the bit-field editor, bits 1..8.
    Byte(0x123, Key(kKeyEnter));
    ASSERT_EQ(main_->BitEditors().size(), 1u);
    EXPECT_EQ(main_->BitEditors()[0].value, 0x0Fu << cmcCellCapsule::kBitEditorShift);
    EXPECT_EQ(main_->BitEditors()[0].firstBit, 1);
    EXPECT_EQ(main_->BitEditors()[0].lastBit, 8);
}

TEST_F(BehaveTool, F3AndF4FindTheNextDifference) {
    image_[0x0100] = 1;
    image_[0x0250] = 1;
    image_[0x2FFF] = 1;
    image_[0x3000] = 1;  // beyond the searched range

    Byte(0x0000, Key(kKeyF3));
    EXPECT_EQ(CursorMoves(), std::vector<int32_t>{0x0100});
    events.clear();
    Byte(0x0100, Key(kKeyF3));
    EXPECT_EQ(CursorMoves(), std::vector<int32_t>{0x0250});
    events.clear();
    Byte(0x0250, Key(kKeyF3));
    EXPECT_EQ(CursorMoves(), std::vector<int32_t>{0x2FFF});
    events.clear();
    Byte(0x2FFF, Key(kKeyF3));  // the last difference: nothing further
    EXPECT_TRUE(CursorMoves().empty());

    events.clear();
    Byte(0x0250, Key(kKeyF4));
    EXPECT_EQ(CursorMoves(), std::vector<int32_t>{0x0100});
    events.clear();
    Byte(0x0100, Key(kKeyF4));
    EXPECT_TRUE(CursorMoves().empty());
    events.clear();
    Byte(0x0000, Key(kKeyF4));
    EXPECT_TRUE(CursorMoves().empty());
}

TEST_F(BehaveTool, RowsBeyondTheImageShowNothing) {
    const Result r = Run(Typed("7"), CT_Null, CL_EeDebugWin_0, MM::kImageSize / 16);
    EXPECT_EQ(r.text, "");
    EXPECT_EQ(r.action, kActNone);
    EXPECT_EQ(Show(CT_Null, CL_EeDebugWin_F, -1).text, "");
}

TEST_F(BehaveTool, FreeFieldsAddressTheImage) {
    image_[0x1E00] = 200;
    EXPECT_EQ(Show(CT_Null, CL_Free_Byte_Dec, 0x1E00).text, "200");
    Type(CT_Null, CL_Free_Byte_Dec, 0x1E00, "300");
    EXPECT_EQ(image_[0x1E00], 255);
    Press(CT_Null, CL_Free_Byte_Dec, 0x1E00, kKeySpace);
    EXPECT_EQ(image_[0x1E00], 0);
    EXPECT_EQ(Show(CT_Null, CL_Free_Byte_Dec, MM::kImageSize).text, "");  // outside: nothing

    image_[0x1E00] = 12;
    EXPECT_EQ(Show(CT_Null, CL_Free_Byte_Hex, 0x1E00).text, "");

    std::memset(image_ + 0x2000, 0xFF, 5);
    EXPECT_EQ(Show(CT_Null, CL_Free_DscId, 0x2000).text, "(no ID)");
    const Result editing = Press(CT_Null, CL_Free_DscId, 0x2000, kKeyEnter);
    EXPECT_EQ(editing.action, kActEdit);
    EXPECT_EQ(editing.text, "");
    Type(CT_Null, CL_Free_DscId, 0x2000, "123456789");
    EXPECT_EQ(Show(CT_Null, CL_Free_DscId, 0x2000).text, "123456789");
    EXPECT_EQ(image_[0x2004], 90);
    // The last four addresses cannot hold five bytes.
    EXPECT_EQ(Show(CT_Null, CL_Free_DscId, MM::kImageSize - 4).text, "");
}

TEST_F(BehaveTool, CloneInformationIsShownAndNeverEdited) {
    uint8_t info[24] = {24, 0x23, 7};
    std::memcpy(info + 3, "T590 \x01\x02 unit   ", 16);
    main_->SetCloneInfo(info, sizeof info);

    EXPECT_EQ(Show(CT_Null, CL_CloneInfo_Model, 0).text, "USA");
    EXPECT_EQ(Show(CT_Null, CL_CloneInfo_Revision, 0).text, "2.3");
    EXPECT_EQ(Show(CT_Null, CL_CloneInfo_Comment, 0).text, "T590    unit");
    // What the radio reported stays as it was.
    EXPECT_EQ(main_->CloneInfo()[8], 0x01);

    const Result typed = Press(CT_Null, CL_CloneInfo_Comment, 0, 'x');
    EXPECT_EQ(typed.action, kActNone);
    EXPECT_EQ(typed.key, 0);
    EXPECT_TRUE(StatusTexts().empty());  // refused silently
    EXPECT_EQ(Press(CT_Null, CL_CloneInfo_Comment, 0, kKeyEnter).action, kActNone);
}

}  // namespace

namespace {

// Cells evaluated over an image other than the working one (as the model checks do) read and keep
// to that image and its size.
TEST_F(BehaveTool, CellsOfAnotherImageKeepToThatImage) {
    cmcEeprom other;
    other.SetSize(MM::kMapEnd);
    other.SetByte(0x1E00, 77);
    image_[0x1E00] = 5;
    image_[0x2FF0] = 6;
    indActiveCell active(main_.Core(), &other);
    auto show = [&active](int label, int argument) {
        cmcCellObj cell;
        cell.category = CT_Null;
        cell.label = label;
        cell.argument = argument;
        cmcCellCapsule c;
        c.cell = &cell;
        active.Evaluate(c, false);
        return c.outputText;
    };
    EXPECT_EQ(show(CL_Free_Byte_Dec, 0x1E00), "77");
    EXPECT_EQ(show(CL_Free_Byte_Dec, 0x2FF0), "");  // beyond that image's end
    EXPECT_EQ(show(CL_EeDebugWin_0, 0x2FF), "");
    EXPECT_EQ(show(CL_Free_DscId, MM::kMapEnd - 4), "");
}

}  // namespace
