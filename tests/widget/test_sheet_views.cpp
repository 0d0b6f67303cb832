// Every sheet of the tree, built over the default image in a window of a usual size: it opens
// with the cursor on a cell it may stop on, with its title, and draws. With PQ_SHEET_SHOTS set
// to a directory the sheets are also saved there as PNG files to be looked at.
#include <QDir>
#include <QLabel>

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
