// The small windows of the program: the clone progress window, the About box, the debug compare
// window and the port chooser.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

#include "GuiFixture.h"
#include "app/cuiAboutBox.h"
#include "app/cuiDebugCompare.h"
#include "app/cuiPortChooser.h"
#include "app/cuiProgressWindow.h"
#include "clone/cmcPortName.h"
#include "memory/cmcEeprom.h"
#include "platform/cmcSettingsStore.h"

namespace {

// ---- Progress.

class ProgressCells : public ::testing::TestWithParam<int> {};

TEST_P(ProgressCells, FillTheFirstCellsAndKeepASeparatorColumn) {
    const int filled = GetParam();
    QImage image(256, 16, QImage::Format_RGB32);
    {
        QPainter p(&image);
        cuiProgressWindow::PaintCells(p, image.rect(), filled, 32, Qt::blue, Qt::white);
    }
    for (int i = 0; i < 32; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(image.pixelColor(i * 8, 8), i < filled ? QColor(Qt::blue) : QColor(Qt::white));
        EXPECT_EQ(image.pixelColor(i * 8 + 6, 15),
                  i < filled ? QColor(Qt::blue) : QColor(Qt::white));
        EXPECT_EQ(image.pixelColor(i * 8 + 7, 0), QColor(Qt::white));
    }
}

INSTANTIATE_TEST_SUITE_P(Fills, ProgressCells, ::testing::Values(0, 1, 16, 31, 32, 33));

class ProgressWindow : public GuiFixture {
protected:
    ProgressWindow() : progress_(&main_window_) {
        host_->SetWorkArea(HostRect{0, 0, 1280, 1024});
        main_window_.setGeometry(100, 100, 800, 600);
        main_window_.show();
    }
    QWidget main_window_;
    cuiProgressWindow progress_;
};

TEST_F(ProgressWindow, ShowsTheBarOverTheDisabledMainWindow) {
    progress_.SetActivity("Reading from the radio");
    progress_.Show("Cloning");
    QWidget* w = progress_.Window();
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(w->windowTitle(), QStringLiteral("Cloning"));
    EXPECT_TRUE(w->windowFlags() & Qt::Tool);
    EXPECT_FALSE(w->windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(main_window_.isEnabled());
    EXPECT_TRUE(w->isEnabled());
    // The bar: 256 by 16, in a one-pixel sunken frame 16 from the left and 8 from the top.
    QWidget* box = progress_.Box();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->size(), QSize(256, 16));
    EXPECT_EQ(box->mapTo(w, QPoint(0, 0)), QPoint(17, 9));
    EXPECT_EQ(w->width(), 256 + 2 + 32);
    // Centred over the main window (within its own frame, unknown until first shown).
    const QPoint centre = w->frameGeometry().center();
    EXPECT_LE(std::abs(centre.x() - main_window_.frameGeometry().center().x()), 2);
    EXPECT_LE(std::abs(centre.y() - main_window_.frameGeometry().center().y()), 2);

    progress_.Update(16, 32, 5776, 11552);
    EXPECT_EQ(progress_.StatusText(),
              QStringLiteral("Reading from the radio\n5,776 of 11,552 bytes (50 %)"));
    EXPECT_EQ(w->findChild<QLabel*>(QStringLiteral("progressStatus"))->text(),
              progress_.StatusText());
    const QImage bar = Grab(*box);
    const QColor highlight = box->palette().color(QPalette::Highlight);
    const QColor window = box->palette().color(QPalette::Base);
    EXPECT_EQ(bar.pixelColor(15 * 8 + 3, 8), highlight);
    EXPECT_EQ(bar.pixelColor(16 * 8 + 3, 8), window);
    Keep(*w, "progress");

    // Closing it by hand is refused while the transfer runs.
    w->close();
    EXPECT_TRUE(w->isVisible());
}

TEST_F(ProgressWindow, GoesAtTheEndAndGivesTheMainWindowBack) {
    progress_.Show("Cloning");
    QPointer<QWidget> w = progress_.Window();
    progress_.Update(32, 32, 11552, 11552);
    EXPECT_EQ(progress_.StatusText(), QStringLiteral("11,552 of 11,552 bytes (100 %)"));
    progress_.SetMainWindowEnabled(true);
    progress_.Hide();
    EXPECT_EQ(progress_.Window(), nullptr);
    EXPECT_TRUE(main_window_.isEnabled());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(w);

    // Shown again for the next transfer, empty.
    progress_.Show("Cloning");
    EXPECT_EQ(progress_.Filled(), 0);
    EXPECT_EQ(progress_.StatusText(), QString());
    progress_.Hide();
}

// ---- About.

class AboutBox : public GuiFixture {};

TEST_F(AboutBox, IsLaidOutByTheIconsSize) {
    QWidget main;
    main.setGeometry(100, 100, 800, 600);
    main.show();
    QPointer<cuiAboutBox> box = cuiAboutBox::ShowAbout(&main, dict_);
    ASSERT_TRUE(box);
    EXPECT_TRUE(box->isVisible());
    EXPECT_EQ(box->windowModality(), Qt::WindowModal);
    EXPECT_EQ(box->windowTitle(), QStringLiteral("About PQ-T590"));
    EXPECT_EQ(box->Button()->text(), QStringLiteral("OK"));
    EXPECT_TRUE(box->Button()->isDefault());
    const QString info = box->Information()->text();
    EXPECT_TRUE(info.contains(QStringLiteral("PQ-T590 Programmer  Rev. 1.0")));
    EXPECT_TRUE(info.contains(QStringLiteral("T590 HF transceiver")));
    EXPECT_TRUE(info.contains(QStringLiteral("Vexa Inc.")));
    EXPECT_EQ(box->Information()->textFormat(), Qt::PlainText);

    // Icon 32: picture at (16, 16), text 48 right of it, button 64 right of the text, 8 down.
    EXPECT_EQ(box->Picture()->geometry(), QRect(16, 16, 32, 32));
    const QRect text = box->Information()->geometry();
    EXPECT_EQ(text.left(), 64);
    EXPECT_EQ(text.top(), 0);
    const QRect button = box->Button()->geometry();
    EXPECT_EQ(button.left(), text.right() + 1 + 64);
    EXPECT_EQ(button.top(), 8);
    EXPECT_GE(button.width(), 80);
    EXPECT_EQ(box->width(), button.right() + 1 + 8);
    EXPECT_EQ(box->height(), text.bottom() + 1 + 16);
    // The picture is the program's icon, drawn.
    const QImage picture = box->Picture()->pixmap().toImage();
    EXPECT_EQ(picture.pixelColor(2, 16).alpha(), 255);
    Keep(*box, "about");

    // The button closes it, and it goes.
    QTest::mouseClick(box->Button(), Qt::LeftButton);
    EXPECT_FALSE(box->isVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(box);
}

TEST_F(AboutBox, EscapeClosesItToo) {
    QWidget main;
    main.show();
    QPointer<cuiAboutBox> box = cuiAboutBox::ShowAbout(&main, dict_);
    QTest::keyClick(box, Qt::Key_Escape);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(box);
}

// ---- Debug compare.

class DebugCompare : public GuiFixture {
protected:
    DebugCompare() {
        reference_.CopyFrom(main_->WorkingImage());  // the template, as at start-up
    }
    cmcEeprom& Working() { return main_->WorkingImage(); }
    cmcEeprom reference_;
};

TEST_F(DebugCompare, ListsTheBytesChangedSinceTheLastComparison) {
    QWidget area;
    EXPECT_TRUE(cuiDebugCompare::CompareLines(reference_, Working()).empty());

    Working().Bytes()[0x1D83] = 0x20;
    reference_.Bytes()[0x1D83] = 0x20;
    Working().Bytes()[0x1D83] = 0x30;
    Working().Bytes()[0x0270] ^= 0xFF;
    const uint8_t was = reference_.Bytes()[0x0270];
    char first[32];
    std::snprintf(first, sizeof first, "0270 : %02X -> %02X", was, uint8_t(was ^ 0xFF));
    auto window = cuiDebugCompare::Prepare(nullptr, &area, reference_, Working());
    EXPECT_EQ(window->List()->toPlainText().toStdString(),
              std::string(first) + "\n1D83 : 20 -> 30");
    EXPECT_TRUE(window->List()->isReadOnly());

    // Compared, the reference caught up: at once again the list is empty.
    window = cuiDebugCompare::Prepare(nullptr, &area, reference_, Working());
    EXPECT_TRUE(window->List()->toPlainText().isEmpty());
}

TEST_F(DebugCompare, ImagesOfDifferentSizesDoNotCompare) {
    cmcEeprom small;
    small.SetSize(100);
    EXPECT_EQ(cuiDebugCompare::CompareLines(small, Working()),
              std::vector<std::string>{"Not match size !"});
}

TEST_F(DebugCompare, LiesOverTheTreeAreaWithCloseAtTheBottomLeft) {
    QWidget main;
    main.setGeometry(60, 80, 900, 600);
    auto* area = new QWidget(&main);
    area->setGeometry(0, 40, 220, 500);
    main.show();
    Working().Bytes()[0x1D83] ^= 0x10;
    auto window = cuiDebugCompare::Prepare(&main, area, reference_, Working());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Debug compare"));
    EXPECT_EQ(window->geometry(), QRect(area->mapToGlobal(QPoint(0, 0)), area->size()));
    EXPECT_FALSE(window->windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(window->windowFlags() & Qt::WindowMaximizeButtonHint);
    window->show();
    QPushButton* close = window->CloseButton();
    EXPECT_EQ(close->text(), QStringLiteral("Close"));
    EXPECT_TRUE(close->isDefault());
    EXPECT_LE(close->x(), 1);
    EXPECT_GE(close->geometry().bottom(), window->height() - 2);
    EXPECT_GT(window->List()->height(), window->height() / 2);
    Keep(*window, "debug-compare");
    QTest::mouseClick(close, Qt::LeftButton);
    EXPECT_EQ(window->result(), QDialog::Accepted);
    EXPECT_FALSE(window->isVisible());
}

// ---- Port chooser.

std::vector<cuiPortChooser::Port> TwoPorts() {
    return {{"/dev/ttyUSB0", "ttyUSB0", "USB-Serial Controller", "Prolific", "A1B2"},
            {"/dev/ttyUSB1", "ttyUSB1", "FT232R USB UART", "FTDI", "FT9XQ2"}};
}

class PortChooser : public GuiFixture {};

TEST_F(PortChooser, ListsThePortsWithWhatTellsThemApart) {
    cuiPortChooser chooser(nullptr, 3, "/dev/ttyUSB1", TwoPorts());
    EXPECT_EQ(chooser.windowTitle(), QStringLiteral("Port for COM3"));
    QTreeWidget* list = chooser.List();
    ASSERT_EQ(list->topLevelItemCount(), 2);
    QTreeWidgetItem* second = list->topLevelItem(1);
    EXPECT_EQ(second->text(0), QStringLiteral("ttyUSB1"));
    EXPECT_EQ(second->text(1), QStringLiteral("FT232R USB UART"));
    EXPECT_EQ(second->text(2), QStringLiteral("FTDI"));
    EXPECT_EQ(second->text(3), QStringLiteral("FT9XQ2"));
    EXPECT_EQ(list->currentItem(), second);  // the device COM3 stands for now
    EXPECT_EQ(chooser.Device(), "/dev/ttyUSB1");
    chooser.resize(620, 320);
    chooser.show();
    Keep(chooser, "port-chooser");

    // Clicking a port takes its device.
    const QRect first = list->visualItemRect(list->topLevelItem(0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, first.center());
    EXPECT_EQ(chooser.Device(), "/dev/ttyUSB0");
}

TEST_F(PortChooser, ShowingItKeepsTheCurrentDeviceThatTheSystemDoesNotList) {
    cuiPortChooser chooser(nullptr, 1, "/dev/pts/7", TwoPorts());
    chooser.show();
    QApplication::setActiveWindow(&chooser);
    QCoreApplication::processEvents();
    EXPECT_EQ(chooser.List()->currentItem(), nullptr);
    EXPECT_EQ(chooser.Device(), "/dev/pts/7");
    EXPECT_TRUE(chooser.DeviceField()->hasFocus());
}

TEST_F(PortChooser, ADeviceTheSystemDoesNotListCanBeTyped) {
    cuiPortChooser chooser(nullptr, 1, "", {});
    chooser.show();
    EXPECT_EQ(chooser.List()->topLevelItemCount(), 0);
    EXPECT_FALSE(chooser.OkButton()->isEnabled());  // nothing chosen yet
    QTest::keyClicks(chooser.DeviceField(), "  /dev/pts/7 ");
    EXPECT_TRUE(chooser.OkButton()->isEnabled());
    QTest::mouseClick(chooser.OkButton(), Qt::LeftButton);
    EXPECT_EQ(chooser.result(), QDialog::Accepted);
    EXPECT_EQ(chooser.Device(), "/dev/pts/7");
}

TEST_F(PortChooser, ThePortIsKeptWhereTheSerialLinkLooksItUp) {
    QTemporaryDir dir;
    const std::string file = dir.filePath(QStringLiteral("settings.ini")).toStdString();
    auto store = cmcSettingsStore::OnFile(file);
    EXPECT_EQ(cuiPortChooser::StoredDevice(*store, 3), "");
    ASSERT_TRUE(cuiPortChooser::StoreDevice(*store, 3, "/dev/ttyUSB1"));
    EXPECT_EQ(cuiPortChooser::StoredDevice(*store, 3), "/dev/ttyUSB1");
    auto reread = cmcSettingsStore::OnFile(file);
    const auto lookup = [&reread](const std::string& key) {
        const std::size_t slash = key.find('/');
        std::string value;
        reread->ReadText(key.substr(0, slash).c_str(), key.substr(slash + 1).c_str(), value);
        return value;
    };
#ifndef _WIN32
    EXPECT_EQ(cmcPortDevice(3, lookup), "/dev/ttyUSB1");
    EXPECT_EQ(cmcPortDevice(1, lookup), "/dev/ttyUSB0");  // nothing kept: the default device
    // An empty choice gives COM3 its default device back.
    ASSERT_TRUE(cuiPortChooser::StoreDevice(*store, 3, ""));
    reread = cmcSettingsStore::OnFile(file);
    EXPECT_EQ(cmcPortDevice(3, lookup), "/dev/ttyUSB2");
#endif
}

}  // namespace
