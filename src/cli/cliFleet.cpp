// pqt590-cli fleet: one clone file onto radio after radio (on one port or several at once), each
// read first, given its own values, checked, written, verified and journaled. Between radios the
// tool asks on the terminal, or with --wait watches the port for the next radio.
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>
#include <QTimer>

#include <cstdio>
#include <string>
#include <vector>

#ifndef _WIN32
#include <poll.h>
#include <unistd.h>
#endif

#include "cli/cliInterruptHold.h"
#include "cli/cliProgressLines.h"
#include "cli/cliSession.h"
#include "clone/cmcPortName.h"
#include "platform/cmcTextProgress.h"
#include "session/indFleetRun.h"
#include "session/indSessionUtil.h"
#include "ui/table/cuiFleetValues.h"

namespace {

// While the old radio still answers, the port is left alone this long between looks, so that
// the radio (or the emulator) sees the cable let go of.
constexpr int kLookAgainWhileAnsweringMs = 1500;
constexpr int kLookAgainWhileSilentMs = 300;

// One line typed on stdin; false at its end or on an interrupt. Waits without blocking the
// interrupt check.
bool ReadLine(std::string& line) {
    line.clear();
#ifndef _WIN32
    for (;;) {
        if (cliInterruptHold::Interrupted())
            return false;
        struct pollfd p {
            0, POLLIN, 0
        };
        const int ready = ::poll(&p, 1, 100);
        if (ready <= 0)
            continue;
        char c = 0;
        const ssize_t n = ::read(0, &c, 1);
        if (n <= 0)
            return !line.empty();
        if (c == '\n')
            return true;
        if (c != '\r')
            line += c;
    }
#else
    int c;
    while ((c = std::fgetc(stdin)) != EOF && c != '\n')
        line += static_cast<char>(c);
    return c != EOF || !line.empty();
#endif
}

std::string PortName(const cmcPortArgument& port) {
    return cmcPortLabel(port.number, port.device);
}

// The tool's side of a run: prompts, looks for the next radio, shows each port's progress,
// reports each radio and keeps count.
class FleetConsole : public indFleetListener {
public:
    FleetConsole(cliSession& session, bool wait, int count)
        : session_(session), gtex_(session.core.Dictionary()), wait_(wait), count_(count) {}

    // lines: one progress line per station of run (not owned).
    void Attach(indFleetRun& run, cliProgressLines& lines) {
        run_ = &run;
        lines_ = &lines;
        const size_t n = static_cast<size_t>(run.Stations());
        phases_.assign(n, Phase::LookForAnswer);
        retried_.assign(n, false);
        lastComment_.assign(n, std::string());
        number_.assign(n, 0);
        counted_.assign(n, true);
        shown_.assign(n, indFleetRun::Step::Idle);
        for (int s = 0; s < run.Stations(); ++s)
            lines.Set(s, FormatText(gtex_.Line("GI_Fleet_Progress", 1),
                                    {PortName(run.Port(s)), StepText(indFleetRun::Step::Idle)}));
    }

    // Runs until the count is reached, the user ends it, or the journal fails.
    void Run() {
        if (wait_) {
            for (int s = 0; s < run_->Stations(); ++s)
                Look(s);
        }
        while (!Ending() || run_->AnyBusy()) {
            if (!wait_ && !Ending() && !run_->AnyBusy() && !Prompt())
                ending_ = true;
            if (run_->AnyBusy() || wait_)
                QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        }
    }

    int done() const { return done_; }
    bool Interrupted() const { return interrupted_; }

    // ---- indFleetListener

    void StepChanged(int station) override {
        indFleetRun::Step& shown = shown_[static_cast<size_t>(station)];
        const indFleetRun::Step step = run_->StepOf(station);
        if (step == shown)
            return;
        // Off a terminal, each step of a radio that ends is one line, with how far it got. Idle,
        // the line keeps what it said last.
        if (IsTransfer(shown))
            lines_->Print(station);
        shown = step;
        if (step != indFleetRun::Step::Idle)
            Show(station);
    }

    // The last moment to keep a radio unwritten: an interrupt that came during its read, even
    // one the event loop has not yet returned to see, stops it here.
    void RadioRead(const indFleetEntry&) override { (void)Ending(); }

    void Progressed(int station) override {
        if (IsTransfer(shown_[static_cast<size_t>(station)]))
            Show(station);
    }

    void ProbeEnded(int station, int status, const std::string& comment) override {
        if (Ending())
            return;
        Phase& phase = phases_[static_cast<size_t>(station)];
        if (phase == Phase::LookForSilence) {
            // The radio just done still answers (it reports the comment it was given): look
            // again later. A silent port, or a radio with another comment, is the next one.
            if (status == 0 && comment == lastComment_[static_cast<size_t>(station)]) {
                Later(station, kLookAgainWhileAnsweringMs);
                return;
            }
            phase = Phase::LookForAnswer;
        }
        if (status != 0) {
            Later(station, kLookAgainWhileSilentMs);
            return;
        }
        StartRadio(station);
    }

    void RadioDone(const indFleetEntry& e) override {
        const size_t s = static_cast<size_t>(e.station);
        lines_->Clear();
        if (e.skipped) {
            session_.Report(FormatText(gtex_.Line("GI_Fleet_Radio", 2),
                                       {std::to_string(number_[s]), PortOf(e), Who(e)}));
        } else {
            Print(e);
            const bool given_up = !e.Succeeded() && (!wait_ || retried_[s]);
            // A radio counted is done with: the next on this port has a number of its own.
            counted_[s] = e.Succeeded() || (wait_ && given_up);
            if (counted_[s])
                ++done_;
            retried_[s] = !e.Succeeded() && !retried_[s];
        }
        if (run_->JournalFailed()) {
            session_.Report(FormatText(gtex_.Line("GI_Fleet_Summary", 3), {run_->JournalError()}));
            ending_ = true;
            return;
        }
        if (!wait_ || Ending())
            return;
        if (retried_[s]) {
            // A radio that failed is tried once more while it stays on the cable.
            Later(e.station, kLookAgainWhileSilentMs);
            phases_[s] = Phase::LookForAnswer;
            return;
        }
        phases_[s] = Phase::LookForSilence;
        lastComment_[s] = e.written ? e.commentAfter : e.commentBefore;
        Later(e.station, kLookAgainWhileAnsweringMs);
    }

    bool WriteAgain(const indFleetEntry& radio, const indFleetEntry& earlier) override {
        const std::string question =
            FormatText(gtex_.Text("GI_Fleet_WriteAgain"), {Who(radio), earlier.clockTime});
        lines_->Clear();
        if (wait_) {
            session_.Report(question + " (no: --wait asks nobody)");
            return false;
        }
        std::fprintf(stderr, "%s [y/N] ", question.c_str());
        std::fflush(stderr);
        std::string answer;
        if (!ReadLine(answer))
            return false;
        return !answer.empty() && (answer[0] == 'y' || answer[0] == 'Y');
    }

private:
    enum class Phase { LookForAnswer, LookForSilence };

    static bool IsTransfer(indFleetRun::Step step) {
        return step == indFleetRun::Step::Reading || step == indFleetRun::Step::Writing ||
               step == indFleetRun::Step::Verifying;
    }
    std::string StepText(indFleetRun::Step step) const {
        return gtex_.Line("GI_Fleet_Steps", static_cast<int>(step));
    }
    // The station's line: the port, the radio and how far its step is; the port and the step
    // while no radio is under way on it.
    void Show(int station) {
        const size_t s = static_cast<size_t>(station);
        const std::string port = PortName(run_->Port(station));
        const std::string step = StepText(shown_[s]);
        lines_->Set(station, IsTransfer(shown_[s])
                                 ? FormatText(gtex_.Line("GI_Fleet_Progress", 0),
                                              {port, std::to_string(number_[s]), step,
                                               std::to_string(run_->PercentOf(station)) + "%"})
                                 : FormatText(gtex_.Line("GI_Fleet_Progress", 1), {port, step}));
    }

    // Starts the radio on a station: a new number unless the station's last radio is not done
    // with yet (it failed, or was met again, and is the one tried now).
    void StartRadio(int station) {
        const size_t s = static_cast<size_t>(station);
        if (run_->Busy(station))
            return;
        if (counted_[s]) {
            number_[s] = ++numbered_;
            counted_[s] = false;
        }
        run_->Start(station);
    }

    bool Ending() {
        if (cliInterruptHold::Interrupted() && !interrupted_) {
            interrupted_ = true;
            // A radio still being read is not written; a write under way finishes.
            run_->RequestStop();
        }
        return ending_ || interrupted_ || (count_ > 0 && done_ >= count_);
    }

    void Look(int station) {
        if (!Ending())
            run_->StartProbe(station);
    }
    void Later(int station, int ms) {
        QTimer::singleShot(ms, [this, station] {
            if (!run_->Busy(station))
                Look(station);
        });
    }

    // Asks for the next radio (or radios, one per port); false when the user ends the run.
    bool Prompt() {
        lines_->Clear();
        std::fprintf(
            stderr, "%s ",
            FormatText(gtex_.Text("GI_Fleet_Prompt"), {std::to_string(done_ + 1)}).c_str());
        std::fflush(stderr);
        std::string line;
        if (!ReadLine(line))
            return false;
        if (!line.empty() && (line[0] == 'q' || line[0] == 'Q'))
            return false;
        for (int s = 0; s < run_->Stations(); ++s)
            StartRadio(s);
        return true;
    }

    std::string PortOf(const indFleetEntry& e) const { return PortName(run_->Port(e.station)); }
    static std::string Who(const indFleetEntry& e) {
        return e.mmsiBefore.empty() ? "\"" + e.commentBefore + "\"" : "MMSI " + e.mmsiBefore;
    }
    std::string Word(int n) const { return gtex_.Line("GI_Fleet_Words", n); }

    void Print(const indFleetEntry& e) {
        const std::string head = FormatText(
            gtex_.Line("GI_Fleet_Radio", 0),
            {std::to_string(number_[static_cast<size_t>(e.station)]), PortOf(e), e.statusText});
        session_.Report(head);
        if (!e.message.empty() && e.message != e.statusText)
            std::fprintf(stderr, "%s\n", e.message.c_str());
        if (e.identified) {
            const std::string state = e.MmsiState();
            const int stateWord = state == "kept" ? 0 : state == "set" ? 1 : 2;
            const int verifiedWord = e.verified == "yes" ? 3 : e.verified == "no" ? 4 : 5;
            std::fprintf(stderr, "%s\n",
                         FormatText(gtex_.Line("GI_Fleet_Radio", 1),
                                    {e.commentBefore, e.commentAfter,
                                     e.mmsiAfter.empty() ? "-" : e.mmsiAfter, Word(stateWord),
                                     e.rowText.empty() ? "-" : e.rowText, Word(verifiedWord),
                                     e.backupFile.empty() ? "-" : e.backupFile})
                             .c_str());
        }
        // The preview: what the write changes on this radio, the first cells of it.
        if (e.changedCells == 0) {
            std::fprintf(stderr, "%s\n", gtex_.Line("GI_Fleet_Radio", 4).c_str());
        } else if (e.changedCells > 0) {
            std::fprintf(
                stderr, "%s\n",
                FormatText(gtex_.Line("GI_Fleet_Radio", 3), {std::to_string(e.changedCells)})
                    .c_str());
            for (const std::string& line : e.changes)
                std::fprintf(stderr, "  %s\n", line.c_str());
            if (e.changedCells > static_cast<int>(e.changes.size()))
                std::fprintf(stderr, "  ...\n");
        }
        std::fflush(stderr);
    }

    cliSession& session_;
    cmcGTex& gtex_;
    indFleetRun* run_ = nullptr;
    cliProgressLines* lines_ = nullptr;
    bool wait_;
    int count_;
    int done_ = 0;
    bool ending_ = false;
    bool interrupted_ = false;
    std::vector<Phase> phases_;
    std::vector<bool> retried_;
    std::vector<std::string> lastComment_;
    std::vector<int> number_;               // the radio under way (or last) on each station, from 1
    std::vector<bool> counted_;             // that radio is done with
    int numbered_ = 0;                      // the radios numbered so far
    std::vector<indFleetRun::Step> shown_;  // the step each station's line shows
};

bool ParsePorts(const QString& text, std::vector<cmcPortArgument>& ports, std::string& bad) {
    for (const QString& part : text.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        cmcPortArgument port;
        const std::string one = part.trimmed().toLocal8Bit().toStdString();
        if (!cmcPortArgument::Parse(one, port)) {
            bad = one;
            return false;
        }
        ports.push_back(port);
    }
    return !ports.empty();
}

}  // namespace

int cliFleet(cliSession& session, const QStringList& arguments) {
    // Held from the start: an interrupt ends the run between radios, never inside a write.
    const cliInterruptHold hold;
    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Writes one clone file to radio after radio: each radio is read (and backed up),\n"
        "given its own values from the per-radio table, checked, written, read back to\n"
        "verify it, and journaled. A radio keeps its own MMSI. On a terminal the tool asks for\n"
        "each radio; with --wait it watches the port and goes on when the next radio answers.\n"
        "After each radio it lists the cells the write changed there. Several ports\n"
        "(--port 1,2,3) run their radios at the same time. Ctrl+C ends the run: a radio being\n"
        "written is finished first, a radio only being read is not written.");
    cliSession::AddCommonOptions(parser);
    parser.addOption(
        {"port", "The COM ports or devices of the cloning cables, comma-separated.", "P"});
    parser.addOption({"journal", "The journal (CSV), appended line by line.", "J.csv"});
    parser.addOption({"radios", "The per-radio table (CSV): MMSI or # and cell columns.", "R.csv"});
    parser.addOption({"count", "Ends after N radios.", "N"});
    parser.addOption({"no-backup", "Does not save what each radio held before writing it."});
    parser.addOption(
        {"backup-dir", "Where the backups go (default: the journal's folder).", "DIR"});
    parser.addOption({"no-verify", "Does not read each radio back after writing it."});
    parser.addOption({"wait", "Waits for the next radio to answer instead of asking."});
    parser.addPositionalArgument("FILE", "The clone file to write to every radio.");
    int exitCode = kExitOk;
    std::string path;
    if (!session.Parse(parser, arguments, &path, &exitCode))
        return exitCode;
    indFleetOptions options;
    std::string bad;
    if (!parser.isSet("port") || !ParsePorts(parser.value("port"), options.ports, bad)) {
        session.Report(bad.empty() ? "--port is required (see --help)"
                                   : "'" + bad +
                                         "' is neither a COM port number (1-255) nor a device "
                                         "path");
        return kExitUsage;
    }
    if (parser.value("journal").isEmpty()) {
        session.Report("--journal is required (see --help)");
        return kExitUsage;
    }
    int count = 0;
    if (parser.isSet("count")) {
        bool ok = false;
        count = parser.value("count").toInt(&ok);
        if (!ok || count < 1) {
            session.Report("--count takes a number from 1 (see --help)");
            return kExitUsage;
        }
    }
    options.journalPath = parser.value("journal").toLocal8Bit().toStdString();
    options.radiosPath = parser.value("radios").toLocal8Bit().toStdString();
    options.backup = !parser.isSet("no-backup");
    options.verify = !parser.isSet("no-verify");
    options.backupDir =
        (parser.isSet("backup-dir")
             ? parser.value("backup-dir")
             : QFileInfo(QString::fromLocal8Bit(options.journalPath.c_str())).absolutePath())
            .toLocal8Bit()
            .toStdString();
    options.cloneFile =
        QFileInfo(QString::fromLocal8Bit(path.c_str())).fileName().toLocal8Bit().toStdString();
    if (!session.Start(parser, true))
        return kExitFile;
    if (!session.OpenFile(path))
        return kExitFile;

    cuiFleetValues values;
    FleetConsole console(session, parser.isSet("wait"), count);
    indFleetRun run(session.core, &values, &console);
    std::string why;
    if (!run.Begin(options, why)) {
        if (why.empty()) {
            const int errors = session.ErrorSheets();
            session.Report("refused: the data has errors in " + std::to_string(errors) +
                           (errors == 1 ? " sheet" : " sheets") + " (see check)");
            return kExitDataErrors;
        }
        session.Report("failed: " + why);
        return kExitFile;
    }
    // A progress line per port: in place on a terminal, else a line as each step ends.
    cliProgressLines lines(stderr, cmcTextProgress::IsTerminal(stderr), run.Stations());
    console.Attach(run, lines);
    console.Run();
    lines.Clear();

    if (console.Interrupted())
        session.Report(session.core.Dictionary().Line("GI_Fleet_Summary", 2));
    const std::vector<const indFleetEntry*> failed = run.FailedRadios();
    int written = 0;
    for (const indFleetEntry& e : run.Entries())
        written += e.Succeeded() ? 1 : 0;
    cmcGTex& gtex = session.core.Dictionary();
    if (failed.empty()) {
        session.Report(FormatText(gtex.Line("GI_Fleet_Summary", 0), {std::to_string(written)}));
    } else {
        std::string names;
        for (const indFleetEntry* e : failed) {
            const std::string who = !e->identified          ? PortName(run.Port(e->station))
                                    : e->mmsiBefore.empty() ? "\"" + e->commentBefore + "\""
                                                            : "MMSI " + e->mmsiBefore;
            names += (names.empty() ? "" : ", ") + who + " (" + std::to_string(e->status) + ")";
        }
        session.Report(FormatText(gtex.Line("GI_Fleet_Summary", 1),
                                  {std::to_string(written), std::to_string(failed.size()), names}));
    }
    if (run.JournalFailed())
        return kExitFile;
    return failed.empty() ? kExitOk : kExitClone;
}
