#include <gtest/gtest.h>

#include "BehaveTestSupport.h"
#include "cells/cmcCellNames.h"
#include "cells/indBehave.h"

using namespace ConvTest;

namespace {

class BandEdgeBehave : public BehaveTest {
protected:
    BandEdgeBehave() { main_->SetExpertMode(true); }
    std::pair<int32_t, int32_t> Edge(int kind, int index) {
        const datCh ch = Load(kind, index);
        return {ch.lowEdge, ch.highEdge};
    }
};

struct EdgeCase {
    const char* name;
    int category, label, argument;
    const char* typed;  // nullptr: display only
    std::pair<int32_t, int32_t> stored;
    const char* shown;
    bool error;
};

TEST_F(BandEdgeBehave, EdgesAreFineFrequenciesThatTransmitEdgesMayUnset) {
    const EdgeCase cases[] = {
        {"receive edge shown",
         CT_Edge_Rx,
         CL_EdgeFreq_Low,
         0,
         nullptr,
         {30000, 29999999},
         "30.000",
         false},
        {"fine input keeps the Hz",
         CT_Edge_Rx,
         CL_EdgeFreq_Low,
         0,
         "1605.5",
         {1605500, 29999999},
         "1605.500",
         false},
        {"the receive edge cannot be unset",
         CT_Edge_Rx,
         CL_EdgeFreq_High,
         0,
         "0",
         {1605500, 29999999},
         "29999.999",
         false},
        {"receive edge below 30 kHz",
         CT_Edge_Rx,
         CL_EdgeFreq_Low,
         0,
         "20",
         {20000, 29999999},
         "20.000",
         true},
        {"ITU edge in range",
         CT_Edge_Itu,
         CL_EdgeFreq_High,
         2,
         "8900",
         {8000000, 8900000},
         "8900.000",
         false},
        {"ITU edge below its low end",
         CT_Edge_Itu,
         CL_EdgeFreq_High,
         2,
         "7000",
         {8000000, 7000000},
         "7000.000",
         true},
        {"transmit edge unset by zero", CT_Edge_Tx, CL_EdgeFreq_High, 1, "0", {-1, -1}, "", false},
        {"half a transmit edge",
         CT_Edge_Tx,
         CL_EdgeFreq_High,
         2,
         "9000",
         {-1, 9000000},
         "9000.000",
         true},
        {"transmit edge 0 must be set",
         CT_Edge_Tx,
         CL_EdgeFreq_Low,
         0,
         "0",
         {-1, 29999999},
         "",
         true},
    };
    for (const EdgeCase& k : cases) {
        SCOPED_TRACE(k.name);
        if (k.typed != nullptr)
            Type(k.category, k.label, k.argument, k.typed);
        const Result r = Show(k.category, k.label, k.argument);
        EXPECT_EQ(Edge(RecordKindOf(k.category), k.argument), k.stored);
        EXPECT_EQ(r.text, k.shown);
        EXPECT_EQ(r.Error(), k.error);
        EXPECT_EQ(r.markPosition, kMarkPosRight);
    }
}

TEST_F(BandEdgeBehave, AnUnsetEdgeBeforeASetOneMarksBothEnds) {
    SetEdge(datCh::kTxEdge, 3, -1, -1);
    SetEdge(datCh::kTxEdge, 5, 8000000, 9000000);
    EXPECT_TRUE(Show(CT_Edge_Tx, CL_EdgeFreq_Low, 3).Error());
    EXPECT_TRUE(Show(CT_Edge_Tx, CL_EdgeFreq_High, 3).Error());
    SetEdge(datCh::kTxEdge, 5, -1, -1);
    EXPECT_FALSE(Show(CT_Edge_Tx, CL_EdgeFreq_Low, 3).Error());
}

TEST_F(BandEdgeBehave, ChangingAnEdgeRepaintsEveryLabelledCell) {
    struct Log {
        int criteria = 0;
        static void Callback(void* d, cmcCellCapsule&, int c) {
            static_cast<Log*>(d)->criteria = c;
        }
    } log;
    cmcCellCapsule c = Typed("10000");
    c.redraw = &Log::Callback;
    c.redrawData = &log;
    Run(c, CT_Edge_Tx, CL_EdgeFreq_High, 0, true);
    EXPECT_TRUE(log.criteria & kCriteriaAllLabelled);
    // A user channel at 12 MHz is now outside every transmit edge.
    SetChannel(datCh::kUserCh, 1, 12000000, 12000000);
    EXPECT_TRUE(Show(CT_UserCh, CL_UCh_FreqT, 1).Error());
}

TEST_F(BandEdgeBehave, EnterOnAnUnsetEdgeOpensAnEmptyEditor) {
    const Result r = Press(CT_Edge_Tx, CL_EdgeFreq_Low, 4, kKeyEnter);
    EXPECT_EQ(r.action, kActEdit);
    EXPECT_EQ(r.text, "");
    const Result dot = Press(CT_Edge_Rx, CL_EdgeFreq_High, 0, '.');
    EXPECT_EQ(dot.action, kActEdit);
    EXPECT_EQ(last_.selStart, 6);  // after "29999."
}

TEST_F(BandEdgeBehave, OnlyExpertsEditEdgesAndExpansionSettings) {
    main_->SetExpertMode(false);
    for (int label : {int(CL_EdgeFreq_Low), int(CL_Exp_CrossChOp), int(CL_Exp_FreqProg)}) {
        const int category = label == CL_EdgeFreq_Low ? CT_Edge_Rx : CT_Null;
        events.clear();
        const Result r = Press(category, label, 0, '5');
        EXPECT_EQ(r.action, kActNone) << label;
        events_.RunPass();
        const std::vector<Event> status = EventsOf(cmcEvKind::StatusMessage);
        ASSERT_EQ(status.size(), 2u) << label;
        EXPECT_EQ(status[1].text, "Cannot edit");
    }
    // Typed text still reaches no edge: the editor never opened. Display is unaffected.
    EXPECT_EQ(Show(CT_Edge_Rx, CL_EdgeFreq_Low, 0).text, "30.000");
    EXPECT_EQ(main_->WarningChecksScheduled(), 0);
}

struct ExpansionCase {
    int label;
    uint8_t before;
    int key;
    uint8_t after;
    const char* shown;
};

TEST_F(BandEdgeBehave, ExpansionSettingsAreBitsOfOneByte) {
    const ExpansionCase cases[] = {
        {CL_Exp_CrossChOp, 0x00, kKeyDisplay, 0x00, "Disable"},
        {CL_Exp_CrossChOp, 0x10, kKeyDisplay, 0x10, "Enable"},
        {CL_Exp_CrossChOp, 0x63, kKeySpace, 0x73, "Enable"},
        {CL_Exp_ItuCh, 0xFF, kKeySpace, 0x7F, "Disable"},
        {CL_Exp_ItuCh, 0x00, kKeyBackspace, 0x80, "Enable"},
        // Frequency programming: bit 2 is worth 2, bit 3 is worth 1.
        {CL_Exp_FreqProg, 0x04, kKeyDisplay, 0x04, "Tx"},
        {CL_Exp_FreqProg, 0x08, kKeyDisplay, 0x08, "Rx"},
        {CL_Exp_FreqProg, 0x0C, kKeyDisplay, 0x0C, "RxTx"},
        {CL_Exp_FreqProg, 0xF3, kKeySpace, 0xFB, "Rx"},
        {CL_Exp_FreqProg, 0x08, kKeySpace, 0x04, "Tx"},
        {CL_Exp_FreqProg, 0x0C, kKeySpace, 0x00, "Off"},
    };
    for (const ExpansionCase& k : cases) {
        SCOPED_TRACE(::testing::Message() << k.label << " from " << int(k.before));
        image_[MemoryMap::kExpansion] = k.before;
        const Result r = Press(CT_Null, k.label, 0, k.key);
        EXPECT_EQ(image_[MemoryMap::kExpansion], k.after);
        EXPECT_EQ(r.text, k.shown);
    }
}

class TableCheck : public BehaveTest {};

struct CheckCase {
    const char* name;
    void (*spoil)(TableCheck&);
    int label;
};

TEST_F(TableCheck, EachCheckFindsAnErrorAnywhereInItsTable) {
    const CheckCase cases[] = {
        {"user rx", [](TableCheck& t) { t.SetChannel(datCh::kUserCh, 160, 20000, 7000000); },
         CL_Check_UserCh},
        {"user tx", [](TableCheck& t) { t.SetChannel(datCh::kUserCh, 1, 7000000, 1000000); },
         CL_Check_UserCh},
        {"user mode",
         [](TableCheck& t) {
             t.SetChannel(datCh::kUserCh, 80, 7000000, 7000000, 3);
             t.image_[MemoryMap::kModeEnable + 3] = 0;
         },
         CL_Check_UserCh},
        {"ITU frequency", [](TableCheck& t) { t.SetChannel(datCh::kItuCh, 71, 4100000, 0); },
         CL_Check_ItuCh},
        {"ITU mode",
         [](TableCheck& t) {
             t.SetChannel(datCh::kItuCh, 0, 4100000, 0, 5);
             t.image_[MemoryMap::kModeEnable + 5] = 0;
         },
         CL_Check_ItuCh},
        {"e-mail rx", [](TableCheck& t) { t.SetChannel(datCh::kEMailCh, 159, 20000, 20000); },
         CL_Check_EMail},
        {"e-mail tx", [](TableCheck& t) { t.SetChannel(datCh::kEMailCh, 0, 7000000, 1000000); },
         CL_Check_EMail},
        {"receive edge", [](TableCheck& t) { t.SetEdge(datCh::kRxEdge, 0, 20000, 29999999); },
         CL_Check_FreqRange},
        {"ITU edge", [](TableCheck& t) { t.SetEdge(datCh::kItuEdge, 7, 9000000, 8000000); },
         CL_Check_FreqRange},
        {"transmit edge", [](TableCheck& t) { t.SetEdge(datCh::kTxEdge, 10, 1000000, -1); },
         CL_Check_FreqRange},
    };
    const int checks[] = {CL_Check_UserCh, CL_Check_ItuCh, CL_Check_EMail, CL_Check_FreqRange};
    for (const CheckCase& k : cases) {
        SCOPED_TRACE(k.name);
        CleanImage();
        for (int check : checks)
            EXPECT_FALSE(Show(CT_Null, check, 0).Error()) << "clean, check " << check;
        k.spoil(*this);
        for (int check : checks) {
            const Result r = Show(CT_Null, check, 0);
            EXPECT_EQ(r.Error(), check == k.label) << "check " << check;
            EXPECT_FALSE(r.Notice());
            EXPECT_EQ(r.text, "");
        }
    }
}

TEST_F(TableCheck, ChannelsAboveTheMaximumDoNotCount) {
    image_[MemoryMap::kMaxUserChannel] = 100;
    SetChannel(datCh::kUserCh, 101, 20000, 20000);
    EXPECT_FALSE(Show(CT_Null, CL_Check_UserCh, 0).Error());
    image_[MemoryMap::kMaxUserChannel] = 101;
    EXPECT_TRUE(Show(CT_Null, CL_Check_UserCh, 0).Error());
}

class SmallCells : public BehaveTest {};

class ShapeCanvas : public RecordingCanvas {
public:
    struct Shape {
        char what;
        int a, b, c, d;
        uint32_t color;
        bool operator==(const Shape& o) const {
            return what == o.what && a == o.a && b == o.b && c == o.c && d == o.d &&
                   color == o.color;
        }
    };
    std::vector<Shape> drawn;
    void FillRect(int l, int t, int r, int b, uint32_t color) override {
        drawn.push_back({'R', l, t, r, b, color});
    }
    void DrawLine(int x0, int y0, int x1, int y1, uint32_t color) override {
        drawn.push_back({'L', x0, y0, x1, y1, color});
    }
};

TEST_F(SmallCells, TextsAndNumbers) {
    cmcCellObj cell;
    cell.label = Flex0;
    cell.SetText("Choice A");
    cmcCellCapsule c = Display();
    c.cell = &cell;
    indActiveCell active(main_.Core());
    active.Evaluate(c, false);
    EXPECT_EQ(c.outputText, "Choice A");
    cell.label = CL_Dummy;
    active.Evaluate(c, false);
    EXPECT_EQ(c.outputText, "Choice A");

    EXPECT_EQ(Show(CT_Null, CL_Null, 3).text, "");
    EXPECT_EQ(Show(CT_Null, CL_None, 3).text, "");
    EXPECT_EQ(Show(CT_Null, CL_Misc_ChNo_0Base, 7).text, "7");
    EXPECT_EQ(Show(CT_Null, CL_Misc_ChNo_1Base, 7).text, "8");
}

TEST_F(SmallCells, GreyShapesWhileDrawing) {
    cmcCellRect rect{10, 20, 110, 40};
    struct Case {
        int label;
        std::vector<ShapeCanvas::Shape> shapes;
        uint32_t font;
    };
    const Case cases[] = {
        {CL_Misc_QuarterPillar, {{'R', 10, 34, 110, 40, 0x808080}}, 0x80000008u},
        {CL_CannotEdit, {{'L', 109, 20, 10, 39, 0x808080}}, 0x008080},
        {CL_Dummy, {}, 0x008080},
    };
    for (const Case& k : cases) {
        ShapeCanvas canvas;
        cmcCellCapsule c = Display();
        c.canvas = &canvas;
        c.cellRect = &rect;
        Run(c, CT_Null, k.label, 0);
        EXPECT_EQ(canvas.drawn, k.shapes) << k.label;
        EXPECT_EQ(canvas.fontColor, k.font) << k.label;
    }
    // Without a canvas nothing is drawn and nothing breaks.
    EXPECT_EQ(Show(CT_Null, CL_Misc_QuarterPillar, 0).text, "");
}

}  // namespace

namespace {

TEST_F(TableCheck, ABlankModeIndicationRaisesANoticeNotAnError) {
    Result r = Show(CT_Null, CL_Check_ModeReg, 0);
    EXPECT_FALSE(r.Notice());
    std::memcpy(image_ + MemoryMap::kModeIndications + 3 * 5, "   ", 3);
    r = Show(CT_Null, CL_Check_ModeReg, 0);
    EXPECT_TRUE(r.Notice());
    EXPECT_FALSE(r.Error());
    EXPECT_EQ(r.text, "");
}

}  // namespace
