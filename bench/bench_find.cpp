// Find and sort over a full image: every user channel in use, found across every sheet of the
// tree; the 160 rows of the user channels sorted by frequency with the undo step; and the
// program's own Sort rows with the repaint of the open sheet.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTemporaryDir>
#include <memory>
#include <string>

#include "app/TForm1.h"
#include "app/indMain.h"
#include "events/cmcEvMan.h"
#include "memory/cmcEnviron.h"
#include "memory/datCh.h"
#include "platform/cmcSettingsStore.h"
#include "session/indSession.h"
#include "ui/sheet/cuiSheet.h"
#include "ui/table/cuiFind.h"
#include "ui/table/cuiSortRows.h"

namespace {

std::string g_resourceDir;

// The program with the direction of a sort answered: ascending.
class BenchMain : public indMain {
public:
    using indMain::indMain;

protected:
    int AskSortDirection(const std::string&) override { return kSortAscending; }
};

// The program as main() makes it, with every user channel in use on a frequency of its own
// and the highest user channel number at 160.
struct Program {
    QTemporaryDir dir;
    cmcEnviron environ{"PQ-T590 bench",
                       cmcSettingsStore::OnFile(dir.filePath("s.ini").toStdString()),
                       dir.path().toStdString()};
    cmcEvMan events;
    std::unique_ptr<BenchMain> main;
    std::unique_ptr<TForm1> form;

    Program() {
        main = std::make_unique<BenchMain>(environ, g_resourceDir);
        main->Initialize({"pqt590"});
        form = std::make_unique<TForm1>(*main);
        form->resize(1000, 750);
        form->show();
        Fill();
    }
    void Fill() {
        cmcEeprom& image = main->Session().WorkingImage();
        const int last = datCh::LastEntry(image.Bytes(), datCh::kUserCh);
        for (int n = 1; n <= last; ++n) {
            datCh ch(image);
            ch.Load(datCh::kUserCh, n);
            ch.flags = datCh::kUsed;
            // Scattered, so that a sort has work to do.
            ch.rxFreq = ch.txFreq = 2000000 + ((n * 7919) % 160) * 100000;
            ch.Save();
        }
    }
};

void FindAcrossAllSheets(benchmark::State& state) {
    Program program;
    const cuiFindQuery query("8291", cuiFindOptions());
    for (auto _ : state) {
        std::vector<cuiFindMatch> matches = cuiFindInSheets(program.main->Core(), query);
        benchmark::DoNotOptimize(matches);
    }
}
BENCHMARK(FindAcrossAllSheets)->Unit(benchmark::kMillisecond);

void SortUserChannelsWithUndoStep(benchmark::State& state) {
    Program program;
    indSession& session = program.main->Session();
    for (auto _ : state) {
        state.PauseTiming();
        program.Fill();
        session.CommitChange(indSession::UndoStep::Change);
        state.ResumeTiming();
        const cuiSortResult result = cuiSortRows(program.main->Core(), "GI_Sheet_UserCh", 1, false);
        session.CommitChange(indSession::UndoStep::Sort, "User channels");
        benchmark::DoNotOptimize(result);
    }
}
BENCHMARK(SortUserChannelsWithUndoStep)->Unit(benchmark::kMillisecond);

// Edit > Sort rows... on the open user channel sheet: the sort, the undo step and the repaint.
void SortRowsInTheWindow(benchmark::State& state) {
    Program program;
    program.main->OpenSheet("GI_Sheet_UserCh");
    for (auto _ : state) {
        state.PauseTiming();
        program.Fill();
        program.main->Session().CommitChange(indSession::UndoStep::Change);
        program.main->Sheet()->MoveTo(1, 1);
        state.ResumeTiming();
        benchmark::DoNotOptimize(program.main->SortRows());
        QApplication::processEvents();
    }
}
BENCHMARK(SortRowsInTheWindow)->Unit(benchmark::kMillisecond);

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
