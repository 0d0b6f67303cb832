// The information window: the clone information sheet with an OK button, modal by disabling its
// owner, gone with its button, Escape or its close box, the focus back on the main window.
#include <QPushButton>

#include "DialogTestSupport.h"
#include "ui/windows/cuiInformation.h"

namespace {

class Information : public DialogTest {
protected:
    Information() {
        host_->SetWorkArea(HostRect{0, 0, 1280, 1024});
        OpenReal("GI_Sheet_UserCh", 3, 1);
        const uint8_t info[cuiDocument::kCloneInfoLength] = {0x01, 0x23, 0x00, 'T', '5', '9',
                                                             '0',  ' ',  'D',  'E', 'M', 'O'};
        main_->SetCloneInfo(info, sizeof info);
    }
    cuiInformation* ShowIt() {
        cuiShowInformation(core_, window_.get(), dict_.Text("GI_Sys_AppTitle"), dict_,
                           "GI_Sheet_CloneInfo", &images_);
        QApplication::processEvents();
        return window_->findChild<cuiInformation*>();
    }
};

TEST_F(Information, ShowsTheSheetWholeCentredOverTheDisabledOwner) {
    cuiInformation* info = ShowIt();
    ASSERT_NE(info, nullptr);
    EXPECT_TRUE(info->isVisible());
    EXPECT_EQ(info->windowTitle().toStdString(), dict_.Text("GI_Sys_AppTitle"));
    EXPECT_FALSE(info->windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(info->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_FALSE(window_->isEnabled());
    EXPECT_TRUE(info->isEnabled());
    EXPECT_TRUE(info->Button()->isEnabled());
    EXPECT_EQ(info->Button()->text(), QStringLiteral("OK"));
    EXPECT_TRUE(info->Button()->isDefault());
    EXPECT_TRUE(info->Button()->hasFocus());
    // The whole sheet, without scroll bars, in the panel; the button 5 pixels from the right
    // and bottom edges.
    cuiGrid& grid = *info->Sheet()->Grid();
    EXPECT_FALSE(grid.ScrollBarsEnabled());
    EXPECT_EQ(grid.viewport()->size(), QSize(grid.ContentWidth(), grid.ContentHeight()));
    EXPECT_EQ(info->Panel()->geometry().top(), 0);
    EXPECT_EQ(info->Panel()->width(), info->width());
    const QRect b = info->Button()->geometry();
    EXPECT_EQ(info->width() - (b.right() + 1), 5);
    EXPECT_EQ(info->height() - (b.bottom() + 1), 5);
    EXPECT_EQ(b.top() - (info->Panel()->geometry().bottom() + 1), 5);
    // Centred over the owner (within its own frame, unknown until first shown).
    const QPoint d = info->frameGeometry().center() - window_->frameGeometry().center();
    EXPECT_LE(std::abs(d.x()), 2);
    EXPECT_LE(std::abs(d.y()), 2);
}

TEST_F(Information, TheMainWindowTakesNoInputMeanwhile) {
    ASSERT_NE(ShowIt(), nullptr);
    const std::vector<uint8_t> before = Image();
    const auto cursor = Cursor();
    Key(Qt::Key_Down);
    Type("7");
    Click(3, 4);
    EXPECT_EQ(Cursor(), cursor);
    EXPECT_FALSE(sheet_->EditorShowing());
    EXPECT_TRUE(Differences(before, Image()).empty());
}

TEST_F(Information, TheCloneInformationIsShown) {
    cuiInformation* info = ShowIt();
    ASSERT_NE(info, nullptr);
    cuiSheet& s = *info->Sheet();
    // The revision cell shows "2.3" and the comment "T590 DEMO", drawn from the stored bytes.
    std::vector<std::string> texts;
    for (int r = 0; r < s.RowCount(); ++r) {
        for (int c = 0; c < s.ColumnCount(); ++c) {
            cmcCellCapsule k;
            s.FillCapsule(c, r, k);
            indActiveCell(core_).Evaluate(k, false);
            if (s.CellAt(c, r).label != CL_None)
                texts.push_back(k.outputText);
        }
    }
    EXPECT_EQ(texts, (std::vector<std::string>{"USA", "2.3", "T590 DEMO"}));
    Keep(*info, "information");
    KeepScreen("screen_information");
}

struct InfoCloseCase {
    const char* name;
    void (*close)(cuiInformation& info);
};

class InformationCloses : public Information,
                          public ::testing::WithParamInterface<InfoCloseCase> {};

TEST_P(InformationCloses, AndTheFocusComesBackToTheMainWindow) {
    QPointer<cuiInformation> info = ShowIt();
    ASSERT_FALSE(info.isNull());
    GetParam().close(*info);
    Settle();
    EXPECT_TRUE(info.isNull());
    EXPECT_TRUE(window_->isEnabled());
    EXPECT_TRUE(window_->isActiveWindow());
    EXPECT_EQ(QApplication::focusWidget(), static_cast<QWidget*>(&Grid()));
    // And the main window takes input again.
    Key(Qt::Key_Down);
    EXPECT_EQ(Cursor(), (std::pair<int, int>{3, 2}));
}

INSTANTIATE_TEST_SUITE_P(
    Ways, InformationCloses,
    ::testing::Values(
        InfoCloseCase{"Button",
                      [](cuiInformation& i) { QTest::mouseClick(i.Button(), Qt::LeftButton); }},
        InfoCloseCase{"Enter",
                      [](cuiInformation& i) { QTest::keyClick(i.Button(), Qt::Key_Return); }},
        InfoCloseCase{"Escape",
                      [](cuiInformation& i) { QTest::keyClick(i.Button(), Qt::Key_Escape); }},
        InfoCloseCase{"CloseBox", [](cuiInformation& i) { i.close(); }}),
    [](const ::testing::TestParamInfo<InfoCloseCase>& info) { return info.param.name; });

}  // namespace
