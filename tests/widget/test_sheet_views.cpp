// Every sheet of the tree, built over the default image in a window of a usual size: it opens
// with the cursor on a cell it may stop on, with its title, and draws. With PQ_SHEET_SHOTS set
// to a directory the sheets are also saved there as PNG files to be looked at.
#include <QDir>
#include <QLabel>
#include <cstring>

#include "SheetTestSupport.h"

namespace {

class EverySheet : public SheetTest, public ::testing::WithParamInterface<std::string> {};

std::string FileNameOf(std::string reference) {
    for (char& c : reference)
        if (c == '[' || c == ']' || c == ',' || c == '/')
            c = '_';
    return reference;
}

TEST_P(EverySheet, OpensOnASelectableCellAndDraws) {
    cuiSheet& sheet = Open(GetParam());
    EXPECT_GT(sheet.RowCount(), 1);
    EXPECT_GT(sheet.ColumnCount(), 1);
    EXPECT_TRUE(sheet.CellAt(sheet.CursorCol(), sheet.CursorRow()).state & cmcCellObj::kSelectable);
    EXPECT_TRUE(Grid().isEnabled());
    ASSERT_NE(sheet.TitleLabel(), nullptr);
    EXPECT_EQ(sheet.TitleLabel()->text().toStdString(), sheet.GetTitle());
    EXPECT_FALSE(sheet.GetTitle().empty());
    // The current cell is drawn in the highlight colour of a focused grid.
    const QImage shot = Shot();
    const QRect cur = Grid().CellRect(sheet.CursorCol(), sheet.CursorRow());
    ASSERT_FALSE(cur.isEmpty());
    EXPECT_EQ(shot.pixelColor(cur.left() + 1, cur.top() + 1),
              Grid().palette().color(QPalette::Active, QPalette::Highlight));
    const QString dir = qEnvironmentVariable("PQ_SHEET_SHOTS");
    if (!dir.isEmpty()) {
        QDir().mkpath(dir);
        QApplication::processEvents();
        window_->grab().save(dir + "/" + QString::fromStdString(FileNameOf(GetParam())) + ".png");
    }
}

std::vector<std::string> References() {
    ScopedTestHost host;
    cmcGTex dict;
    dict.SetFile(ResourcePath("PQT590.OVL"));
    return TreeSheetReferences(dict);
}

INSTANTIATE_TEST_SUITE_P(Tree, EverySheet, ::testing::ValuesIn(References()),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                             std::string name;
                             for (char c : info.param)
                                 if (std::isalnum(static_cast<unsigned char>(c)))
                                     name += c;
                             return name;
                         });

}  // namespace

namespace {

// Scenes of a working day, with their marks and the editor, saved beside the sheets.
class SheetScenes : public SheetTest {
protected:
    void Save(const char* name) {
        const QString dir = qEnvironmentVariable("PQ_SHEET_SHOTS");
        if (dir.isEmpty())
            return;
        QDir().mkpath(dir);
        QApplication::processEvents();
        window_->grab().save(dir + "/scene_" + name + ".png");
    }
    void SetChannel(int n, int32_t rx, int32_t tx, const char* comment) {
        datCh ch(image_);
        ch.SetEmpty(datCh::kUserCh, n);
        ch.flags = datCh::kUsed;
        ch.rxFreq = rx;
        ch.txFreq = tx;
        ch.mode = 1;
        std::memcpy(ch.comment, comment, sizeof ch.comment);
        ch.Save();
    }
};

TEST_F(SheetScenes, AChannelTheRadioCannotTransmitOnCarriesTheErrorMark) {
    SetChannel(2, 8291100, 8291100, "WORKING ");
    SetChannel(3, 1000000, 1000000, "BAD TX  ");  // below every transmit band
    ASSERT_TRUE(indActiveCell(main_.Core()).ErrorMarkOf(CT_UserCh, CL_UCh_FreqT, 3));
    ASSERT_FALSE(indActiveCell(main_.Core()).ErrorMarkOf(CT_UserCh, CL_UCh_FreqT, 2));
    Open("GI_Sheet_UserCh");
    const QImage shot = Shot();
    auto reddish = [&shot](const QRect& r) {
        int n = 0;
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x) {
                const QColor c = shot.pixelColor(x, y);
                n += c.red() > 150 && c.green() < 90 && c.blue() < 90;
            }
        return n;
    };
    EXPECT_GT(reddish(Grid().CellRect(2, 3)), 10);
    EXPECT_EQ(reddish(Grid().CellRect(2, 2)), 0);
    Save("error_mark");
}

TEST_F(SheetScenes, TheEditorSitsOverItsCell) {
    image_[MemoryMap::kMaxUserChannel] = 20;
    Open("GI_Sheet_UserCh");
    Key(Qt::Key_Down);
    Key(Qt::Key_Down);
    Type("8");
    QTest::keyClicks(sheet_->Editor(), "291.1");
    ASSERT_TRUE(sheet_->EditorShowing());
    EXPECT_EQ(sheet_->Editor()->toPlainText(), "8291.1");
    Save("editor");
    QTest::keyClick(sheet_->Editor(), Qt::Key_Return);
    EXPECT_EQ(Load(datCh::kUserCh, 3).rxFreq, 8291100);
    Save("after_edit");
}

TEST_F(SheetScenes, ARangeOfChannelsSelected) {
    SetChannel(2, 8291100, 8291100, "WORKING ");
    SetChannel(3, 4125000, 4125000, "4 MHZ   ");
    SetChannel(4, 6215000, 6215000, "6 MHZ   ");
    Open("GI_Sheet_UserCh");
    Key(Qt::Key_Down);
    Key(Qt::Key_Down, Qt::ShiftModifier);
    Key(Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_TRUE(sheet_->RangePresent());
    Save("range");
}

}  // namespace
