// The desktop program's host: message boxes with the product's icons and buttons, the open and
// save dialogs made from the resource file's filter, the busy cursor, the fatal path.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>

#include "GuiFixture.h"
#include "ScopedProgramDictionary.h"
#include "app/cuiGuiHost.h"

namespace {

// ---- Filters.

struct FilterCase {
    const char* name;
    const char* filter;
    std::vector<const char*> expected;
};

class NameFilters : public ::testing::TestWithParam<FilterCase> {};

TEST_P(NameFilters, BecomeQtsForm) {
    QStringList expected;
    for (const char* e : GetParam().expected)
        expected << QString::fromLatin1(e);
    EXPECT_EQ(cuiNameFilters(GetParam().filter), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Filters, NameFilters,
    ::testing::Values(FilterCase{"TheProducts",
                                 "T590 clone files (*.t590)|*.t590|All files (*.*)|*.*",
                                 {"T590 clone files (*.t590)", "All files (*)"}},
                      FilterCase{"SeveralPatterns", "Logs|*.txt;*.log", {"Logs (*.txt *.log)"}},
                      FilterCase{
                          "CaptionListsOtherPatterns", "Text (*.doc)|*.txt", {"Text (*.txt)"}},
                      FilterCase{"CaptionWithoutPatternsIsDropped", "A|*.a|B", {"A (*.a)"}},
                      FilterCase{"EmptyPatternsAreDropped", "A||B|*.b", {"B (*.b)"}},
                      FilterCase{"NoCaption", "|*.t590", {"*.t590 (*.t590)"}},
                      FilterCase{"Empty", "", {}}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- The host, with its dialogs looked at instead of run.

class InspectedHost : public cuiGuiHost {
public:
    using cuiGuiHost::cuiGuiHost;

    struct Box {
        QString title;
        QString text;
        QMessageBox::Icon icon;
        QMessageBox::StandardButtons buttons;
        int defaultButton;
        int escapeButton;
        bool arrowCursor;
    };
    std::vector<Box> boxes;
    int answer = QMessageBox::Ok;

    struct Dialog {
        QString title;
        QStringList filters;
        QString suffix;
        QString directory;
        QFileDialog::AcceptMode accept;
        QFileDialog::FileMode mode;
        bool confirmsOverwrite;
        QString typed;
    };
    std::vector<Dialog> dialogs;
    QString chosen;

    struct Terminated {};

protected:
    int RunMessageBox(QMessageBox& box) override {
        const QCursor* cursor = QApplication::overrideCursor();
        boxes.push_back(Box{box.windowTitle(), box.text(), box.icon(), box.standardButtons(),
                            box.defaultButton() ? int(box.standardButton(box.defaultButton())) : 0,
                            box.escapeButton() ? int(box.standardButton(box.escapeButton())) : 0,
                            cursor != nullptr && cursor->shape() == Qt::ArrowCursor});
        return answer;
    }
    bool RunFileDialog(QFileDialog& dialog, QString* out) override {
        auto* edit = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        dialogs.push_back(Dialog{dialog.windowTitle(), dialog.nameFilters(), dialog.defaultSuffix(),
                                 dialog.directory().absolutePath(), dialog.acceptMode(),
                                 dialog.fileMode(),
                                 !dialog.testOption(QFileDialog::DontConfirmOverwrite),
                                 edit ? edit->text() : QString()});
        *out = chosen;
        return !chosen.isEmpty();
    }
    [[noreturn]] void Terminate() override { throw Terminated{}; }
};

struct BoxCase {
    HostButtons buttons;
    QMessageBox::StandardButtons shown;
    int defaultButton;
    int escapeButton;
    int pressed;
    HostAnswer answer;
};

class MessageBoxes : public ::testing::TestWithParam<BoxCase> {};

TEST_P(MessageBoxes, ShowTheButtonsAndAnswerWithThePressedOne) {
    InspectedHost host;
    host.answer = GetParam().pressed;
    EXPECT_EQ(
        host.MessageBox("PQ-T590", "Save the changes?", HostIcon::Warning, GetParam().buttons),
        GetParam().answer);
    ASSERT_EQ(host.boxes.size(), 1u);
    const InspectedHost::Box& box = host.boxes[0];
    EXPECT_EQ(box.title, QStringLiteral("PQ-T590"));
    EXPECT_EQ(box.text, QStringLiteral("Save the changes?"));
    EXPECT_EQ(box.icon, QMessageBox::Warning);
    EXPECT_EQ(box.buttons, GetParam().shown);
    EXPECT_EQ(box.defaultButton, GetParam().defaultButton);
    EXPECT_EQ(box.escapeButton, GetParam().escapeButton);
    EXPECT_TRUE(box.arrowCursor);
}

constexpr auto kOk = QMessageBox::Ok;
constexpr auto kCancel = QMessageBox::Cancel;
constexpr auto kYes = QMessageBox::Yes;
constexpr auto kNo = QMessageBox::No;

INSTANTIATE_TEST_SUITE_P(
    Buttons, MessageBoxes,
    ::testing::Values(
        BoxCase{HostButtons::Ok, kOk, kOk, kOk, kOk, HostAnswer::Ok},
        BoxCase{HostButtons::OkCancel, kOk | kCancel, kOk, kCancel, kOk, HostAnswer::Ok},
        BoxCase{HostButtons::OkCancel, kOk | kCancel, kOk, kCancel, kCancel, HostAnswer::Cancel},
        BoxCase{HostButtons::YesNo, kYes | kNo, kYes, kNo, kNo, HostAnswer::No},
        BoxCase{HostButtons::YesNoCancel, kYes | kNo | kCancel, kYes, kCancel, kYes,
                HostAnswer::Yes},
        BoxCase{HostButtons::YesNoCancel, kYes | kNo | kCancel, kYes, kCancel, kCancel,
                HostAnswer::Cancel},
        // Closed without a button: as its escape button.
        BoxCase{HostButtons::YesNoCancel, kYes | kNo | kCancel, kYes, kCancel, 0,
                HostAnswer::Cancel},
        BoxCase{HostButtons::YesNo, kYes | kNo, kYes, kNo, 0, HostAnswer::No}));

TEST(MessageBoxIcons, AreTheProductsOwn) {
    const std::pair<HostIcon, QMessageBox::Icon> cases[] = {
        {HostIcon::Information, QMessageBox::Information},
        {HostIcon::Warning, QMessageBox::Warning},
        {HostIcon::Error, QMessageBox::Critical},
        {HostIcon::Question, QMessageBox::Question},
        {HostIcon::None, QMessageBox::NoIcon}};
    InspectedHost host;
    for (const auto& c : cases)
        host.MessageBox("T", "x", c.first, HostButtons::Ok);
    ASSERT_EQ(host.boxes.size(), 5u);
    for (size_t i = 0; i < 5; ++i)
        EXPECT_EQ(host.boxes[i].icon, cases[i].second) << i;
}

TEST(GuiHostBox, ARealBoxIsAnsweredByItsButton) {
    cuiGuiHost host;
    QTimer::singleShot(0, [] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        box->button(QMessageBox::No)->click();
    });
    EXPECT_EQ(host.MessageBox("PQ-T590", "Write?", HostIcon::Question, HostButtons::YesNoCancel),
              HostAnswer::No);
}

HostFileDialog CloneFileDialog(const std::string& dir, const std::string& preset = "") {
    return HostFileDialog{"t590", "T590 clone files (*.t590)|*.t590|All files (*.*)|*.*", dir,
                          preset};
}

TEST(GuiHostFiles, TheOpenDialogAsksForAnExistingCloneFile) {
    ScopedProgramDictionary texts;  // the dialogs' titles
    QTemporaryDir dir;
    InspectedHost host;
    host.chosen = dir.filePath(QStringLiteral("radio1.t590"));
    std::string path;
    ASSERT_TRUE(host.AskOpenFileName(CloneFileDialog(dir.path().toStdString()), &path));
    EXPECT_EQ(path, QDir::toNativeSeparators(host.chosen).toStdString());
    ASSERT_EQ(host.dialogs.size(), 1u);
    const InspectedHost::Dialog& d = host.dialogs[0];
    EXPECT_EQ(d.title, QStringLiteral("Open"));
    EXPECT_EQ(d.filters, QStringList({QStringLiteral("T590 clone files (*.t590)"),
                                      QStringLiteral("All files (*)")}));
    EXPECT_EQ(d.suffix, QStringLiteral("t590"));
    EXPECT_EQ(d.directory, QDir(dir.path()).absolutePath());
    EXPECT_EQ(d.accept, QFileDialog::AcceptOpen);
    EXPECT_EQ(d.mode, QFileDialog::ExistingFile);
}

TEST(GuiHostFiles, TheSaveDialogOffersTheNameAndAsksBeforeOverwriting) {
    ScopedProgramDictionary texts;  // the dialogs' titles
    QTemporaryDir dir;
    InspectedHost host;
    std::string path = "unchanged";
    EXPECT_FALSE(host.AskSaveFileName(CloneFileDialog(dir.path().toStdString(), "radio1.t590"),
                                      &path));  // cancelled
    EXPECT_EQ(path, "unchanged");
    ASSERT_EQ(host.dialogs.size(), 1u);
    const InspectedHost::Dialog& d = host.dialogs[0];
    EXPECT_EQ(d.title, QStringLiteral("Save As"));
    EXPECT_EQ(d.accept, QFileDialog::AcceptSave);
    EXPECT_TRUE(d.confirmsOverwrite);
    EXPECT_EQ(d.typed, QStringLiteral("radio1.t590"));
    EXPECT_EQ(d.suffix, QStringLiteral("t590"));
}

// The real save dialog: a name typed without an extension gets ".t590", and an existing file is
// only replaced after the question.
TEST(GuiHostFiles, ARealSaveDialogAddsTheExtensionAndAsksAboutAnExistingFile) {
    ScopedProgramDictionary texts;  // the dialogs' titles
    QTemporaryDir dir;
    {
        QFile existing(dir.filePath(QStringLiteral("old.t590")));
        ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
    }
    cuiGuiHost host;
    std::string path;
    QTimer::singleShot(0, [] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        dialog->selectFile(QStringLiteral("new"));
        QMetaObject::invokeMethod(dialog, "accept");
    });
    ASSERT_TRUE(host.AskSaveFileName(CloneFileDialog(dir.path().toStdString()), &path));
    EXPECT_EQ(path,
              QDir::toNativeSeparators(dir.filePath(QStringLiteral("new.t590"))).toStdString());

    bool asked = false;
    QTimer::singleShot(0, [&asked] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        QTimer::singleShot(0, [&asked] {
            auto* question = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(question, nullptr);
            asked = true;
            question->button(QMessageBox::Yes)->click();
        });
        dialog->selectFile(QStringLiteral("old"));
        QMetaObject::invokeMethod(dialog, "accept");
    });
    ASSERT_TRUE(host.AskSaveFileName(CloneFileDialog(dir.path().toStdString()), &path));
    EXPECT_TRUE(asked);
    EXPECT_EQ(path,
              QDir::toNativeSeparators(dir.filePath(QStringLiteral("old.t590"))).toStdString());
}

TEST(GuiHostBusy, TheWaitCursorComesAndGoesOnce) {
    cuiGuiHost host;
    ASSERT_EQ(QApplication::overrideCursor(), nullptr);
    host.SetBusy(true);
    host.SetBusy(true);
    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    host.SetBusy(false);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    host.SetBusy(false);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    host.SetBusy(true);
    {
        InspectedHost asking;
        asking.MessageBox("T", "x", HostIcon::None, HostButtons::Ok);
        EXPECT_TRUE(asking.boxes[0].arrowCursor);  // a question shows the ordinary pointer
    }
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    host.SetBusy(false);
}

TEST(GuiHostFatal, ShowsAnErrorCaptionedWithTheProgramThenEnds) {
    InspectedHost host;
    host.SetBusy(true);
    EXPECT_THROW(host.Fatal("Self Check Error.\nEEPROM Map is too large."),
                 InspectedHost::Terminated);
    ASSERT_EQ(host.boxes.size(), 1u);
    EXPECT_EQ(host.boxes[0].title, QStringLiteral("widget_tests"));
    EXPECT_EQ(host.boxes[0].text, QStringLiteral("Self Check Error.\nEEPROM Map is too large."));
    EXPECT_EQ(host.boxes[0].icon, QMessageBox::Critical);
    EXPECT_EQ(host.boxes[0].buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    EXPECT_FALSE(host.Busy());
    // The wait cursor went with the busy state; only the box's own pointer was pushed.
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST(GuiHostScreen, TheWorkAreaIsTheWindowsScreensAvailableArea) {
    QWidget window;
    cuiGuiHost host(&window);
    const QRect a = window.screen()->availableGeometry();
    const HostRect r = host.WorkArea();
    EXPECT_EQ(QRect(r.left, r.top, r.width, r.height), a);
    EXPECT_FALSE(host.ShiftPressed());
}

}  // namespace
