// The desktop program's sheets, offscreen: building the 160-row user channel sheet and painting
// one full screen of it, and a key press up to the repaint of the cells it changed.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>
#include <memory>
#include <string>

#include "cells/cmcFCache.h"
#include "cuiHeadlessMain.h"
#include "events/cmcEvMan.h"
#include "memory/MemoryMap.h"
#include "memory/cmcCloneFile.h"
#include "memory/cmcRange.h"
#include "profile/ModelProfile.h"
#include "text/cmcGTex.h"
#include "ui/cuiGrid.h"
#include "ui/cuiImageList.h"
#include "ui/cuiSheet.h"
#include "ui/cuiSheetFactory.h"

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
