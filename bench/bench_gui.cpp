// The desktop program, offscreen: start-up up to the first sheet painted, switching between two
// nodes of the tree, building the 160-row user channel sheet and painting one full screen of it,
// and a key press up to the repaint of the cells it changed.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QWidget>
#include <memory>
#include <string>

#include "app/TForm1.h"
#include "app/indMain.h"
#include "memory/cmcEnviron.h"
#include "platform/cmcSettingsStore.h"
#include "ui/chrome/cuiTree.h"

#include "cells/cmcFCache.h"
#include "cuiHeadlessMain.h"
#include "events/cmcEvMan.h"
#include "memory/MemoryMap.h"
#include "memory/cmcCloneFile.h"
#include "memory/cmcRange.h"
#include "profile/ModelProfile.h"
#include "text/cmcGTex.h"
#include "ui/sheet/cuiGrid.h"
#include "ui/sheet/cuiImageList.h"
#include "ui/sheet/cuiSheet.h"
#include "ui/sheet/cuiSheetFactory.h"

namespace {

std::string g_resourceDir;

bool AcceptsRevision(void*, int revision) {
    return revision == MemoryMap::kMapRevisionValue;
}

// The program's resources and default image, an event manager, and a shown window of a usual
// size to hold the sheet.
struct Setup {
    cmcGTex dict;
    cmcFCache cache{&dict};
    ScopedHeadlessMain main;
    cmcEvMan events;
    cuiImageList images = cuiImageList::TreeImages();
    QWidget window;

    Setup() {
        dict.SetFile(g_resourceDir + "PQT590.OVL");
        cmcGTex::SetMain(&dict);
        main->SetDictionary(&dict);
        main->SetSectionCache(&cache);
        cmcCloneFile file;
        file.AttachImage(main->WorkingImage());
        file.SetModelCode(ModelProfile::kModelCode);
        file.SetExtraCode(ModelProfile::kExtraCode);
        file.SetMapRevisionCheck(&AcceptsRevision, nullptr);
        file.Read(g_resourceDir + "PQT590_Default.t590", kCloneRanges);
        window.resize(1000, 750);
        window.show();
        QApplication::setActiveWindow(&window);
        QApplication::processEvents();
    }
    ~Setup() { cmcGTex::SetMain(nullptr); }

    std::unique_ptr<cuiSheet> Build(const char* reference) {
        std::unique_ptr<cuiSheet> sheet =
            cuiCreateSheet(main.Core(), &window, reference, dict, &images);
        sheet->Build();
        sheet->SetFocus();
        return sheet;
    }
};

// The desktop program as main() makes it, on settings of its own (a scratch file and lock).
struct Program {
    QTemporaryDir dir;
    cmcEnviron environ{"PQ-T590 bench",
                       cmcSettingsStore::OnFile(dir.filePath("s.ini").toStdString()),
                       dir.path().toStdString()};
    cmcEvMan events;
    std::unique_ptr<indMain> main;
    std::unique_ptr<TForm1> form;

    void Start() {
        main = std::make_unique<indMain>(environ, g_resourceDir);
        main->Initialize({"pqt590"});
        form = std::make_unique<TForm1>(*main);
        form->resize(1000, 750);
        form->show();
        QApplication::setActiveWindow(form.get());
    }
    void Stop() {
        form.reset();
        main.reset();
    }
    // Selects a node as a click does, lets the selection settle and paints the sheet it opens.
    void Open(const char* caption) {
        QTreeWidget* view = main->Tree()->View();
        const auto found =
            view->findItems(QString::fromLatin1(caption), Qt::MatchExactly | Qt::MatchRecursive);
        main->Tree()->SelectNode(found.first());
        main->Tree()->SettleNow();
        main->Sheet()->Grid()->viewport()->repaint();
    }
};

// From nothing to the user channels painted: the controller with its session (resource file,
// initial clone file), the window with menu, tool bar, tree and status bar, then the sheet.
void BM_StartUpToFirstSheetPainted(benchmark::State& state) {
    Program program;
    for (auto _ : state) {
        program.Start();
        program.Open("User channels");
        QApplication::processEvents();
        state.PauseTiming();
        program.Stop();
        QApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_StartUpToFirstSheetPainted)->Unit(benchmark::kMillisecond);

// The user channels and the common settings in turn, each built and painted anew.
void BM_SwitchBetweenTwoTreeNodes(benchmark::State& state) {
    Program program;
    program.Start();
    program.Open("User channels");
    QApplication::processEvents();
    bool common = true;
    for (auto _ : state) {
        program.Open(common ? "Common settings" : "User channels");
        common = !common;
        QApplication::processEvents();
    }
    program.Stop();
}
BENCHMARK(BM_SwitchBetweenTwoTreeNodes)->Unit(benchmark::kMillisecond);

void SendKey(QWidget* target, int key, const QString& text = QString()) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(target, &release);
}

// From nothing to the first full screen of channels painted.
void BM_UserChannelSheetBuildAndPaint(benchmark::State& state) {
    Setup setup;
    for (auto _ : state) {
        std::unique_ptr<cuiSheet> sheet = setup.Build("GI_Sheet_UserCh");
        sheet->Grid()->viewport()->repaint();
        benchmark::DoNotOptimize(sheet->RowCount());
        state.PauseTiming();
        sheet.reset();
        QApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_UserChannelSheetBuildAndPaint)->Unit(benchmark::kMillisecond);

void BM_UserChannelSheetPaintFullScreen(benchmark::State& state) {
    Setup setup;
    std::unique_ptr<cuiSheet> sheet = setup.Build("GI_Sheet_UserCh");
    QApplication::processEvents();
    for (auto _ : state)
        sheet->Grid()->viewport()->repaint();
}
BENCHMARK(BM_UserChannelSheetPaintFullScreen)->Unit(benchmark::kMillisecond);

// The cursor one row down (and back up on the next press), with the repaint of the cells whose
// highlight changed.
void BM_KeyDownToRepaint(benchmark::State& state) {
    Setup setup;
    std::unique_ptr<cuiSheet> sheet = setup.Build("GI_Sheet_UserCh");
    QApplication::processEvents();
    QWidget* grid = sheet->Grid();
    bool down = true;
    for (auto _ : state) {
        SendKey(grid, down ? Qt::Key_Down : Qt::Key_Up);
        down = !down;
        QApplication::processEvents();
    }
}
BENCHMARK(BM_KeyDownToRepaint)->Unit(benchmark::kMicrosecond);

// Space on the mode of channel 1: the behaviour steps the mode in the image and has the row
// repainted (posted, delivered by the event manager's pass).
void BM_KeyEditToRepaint(benchmark::State& state) {
    Setup setup;
    std::unique_ptr<cuiSheet> sheet = setup.Build("GI_Sheet_UserCh");
    SendKey(sheet->Grid(), Qt::Key_Right);
    SendKey(sheet->Grid(), Qt::Key_Right);
    QApplication::processEvents();
    for (auto _ : state) {
        SendKey(sheet->Grid(), Qt::Key_Space, QStringLiteral(" "));
        setup.events.RunPass();
        QApplication::processEvents();
    }
}
BENCHMARK(BM_KeyEditToRepaint)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    const std::string self = argv[0];
    const size_t slash = self.find_last_of("/\\");
    g_resourceDir = slash == std::string::npos ? std::string() : self.substr(0, slash + 1);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setFont(QFont("DejaVu Sans"));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
