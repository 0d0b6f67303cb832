// pqt590-cli fleet against t590-sim --fleet: radio after radio on one cable (asked for on stdin,
// or found with --wait), per-radio values, a radio that fails once and is retried, a radio met
// again, several cables at once (one failing while the others go on), each port's progress line,
// the journal line by line, and a tool killed mid-run.
#ifndef _WIN32

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStringList>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "FleetFixture.h"

namespace {

const char kCommentColumn[] = "[St_Common]GI_Sheet_Common:Clone comment:Value";
const char kMmsiColumn[] = "GI_Sheet_DscSelf:Own ship identity, MMSI:Value";

class CliFleet : public FleetFixture {
protected:
    // The plan: the default image with a comment of its own and user channel 1 in use.
    std::string Plan() {
        cmcEeprom plan;
        DefaultImage(plan, "FLEET PLAN");
        datCh ch(plan.Bytes(), plan.GetSize());
        ch.Load(datCh::kUserCh, 1);
        ch.flags = datCh::kUsed;
        ch.rxFreq = 8291000;
        ch.txFreq = 8291000;
        ch.Save();
        SetImageMmsi(plan, "");
        return Save(plan, "plan.t590");
    }
    std::string Table(const std::string& text) {
        const std::string path = Path("radios.csv");
        QFile f(QString::fromStdString(path));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text.c_str());
        return path;
    }
    void Written(const std::string& radioFile, cmcEeprom& image) {
        Load(image, radioFile.substr(0, radioFile.size() - 5) + ".written.t590");
    }
    static bool HoldsThePlan(cmcEeprom& image) {
        datCh mine(image.Bytes(), image.GetSize());
        mine.Load(datCh::kUserCh, 1);
        return mine.rxFreq == 8291000;
    }
    // A bench of radios "RADIO 1".. on one emulator paced at 115200 baud (or slower), so that
    // each radio takes long enough for something to happen in the middle of it.
    std::unique_ptr<SimProcess> PacedBench(int radios, int baud = 115200) {
        for (int i = 1; i <= radios; ++i)
            Radio("bench", std::to_string(i) + ".t590", "RADIO " + std::to_string(i), "");
        return std::make_unique<SimProcess>(
            QStringList{"--fleet", QString::fromStdString(Path("bench")), "--verbose", "--baud",
                        QString::number(baud)});
    }
    // The tool on that bench, finding each next radio by itself, without backups.
    std::unique_ptr<CliLive> WaitingFleet(SimProcess& sim, const std::string& journal) {
        return std::make_unique<CliLive>(QStringList{
            "fleet", "--port", QString::fromStdString(sim.Device()), QString::fromStdString(Plan()),
            "--journal", QString::fromStdString(journal), "--wait", "--no-backup"});
    }
};

TEST_F(CliFleet, FiveRadiosOneRetriedOneMetAgainEachJournaledAsReported) {
    const std::string r1 = Radio("bench", "1.t590", "RADIO ONE", "211000001");
    const std::string r2 = Radio("bench", "2.t590", "RADIO TWO", "");
    const std::string r3 = Radio("bench", "3.t590", "RADIO THREE", "211000003");
    const std::string r4 = Radio("bench", "4.t590", "RADIO FOUR", "");
    // The fifth radio on the bench is the first one again.
    const std::string r5 = Radio("bench", "5.t590", "RADIO ONE", "211000001");
    const std::string plan = Plan();
    const std::string radios = Table(std::string("MMSI,") + kCommentColumn + ",\"" + kMmsiColumn +
                                     "\"\r\n"
                                     "211000001,MV ALPHA,\r\n"
                                     "#,MV BRAVO,\r\n"
                                     "#,MV CHARLIE,211000099\r\n"
                                     "211000003,MV DELTA,\r\n");
    const std::string journal = Path("journal.csv");
    // Radio 3 sends a damaged frame the first time it is read.
    SimProcess sim({"--fleet", QString::fromStdString(Path("bench")), "--verbose", "--swap-ms",
                    "200", "--fault-at", "3", "--fault", "bad-checksum=5"});
    ASSERT_FALSE(sim.Device().empty()) << sim.Errors();

    CliLive cli({"fleet", "--port", QString::fromStdString(sim.Device()),
                 QString::fromStdString(plan), "--journal", QString::fromStdString(journal),
                 "--radios", QString::fromStdString(radios), "--backup-dir",
                 QString::fromStdString(Path("backups"))});
    ASSERT_TRUE(cli.Running());
    const std::string prompt = "Connect radio ";
    const std::string done = "pqt590-cli: fleet: Radio ";
    auto next = [&](int radio) {
        ASSERT_TRUE(sim.WaitForError("radio " + std::to_string(radio) + " answers"))
            << sim.Errors();
        ASSERT_TRUE(cli.WaitFor(prompt, cli.Occurrences(cli.Err(), done) + 1)) << cli.Err();
        cli.Type("");
    };
    for (int radio = 1; radio <= 3; ++radio) {
        next(radio);
        ASSERT_TRUE(cli.WaitFor(done, radio)) << cli.Err();
    }
    // The third radio failed on its damaged frame: Enter tries it again.
    EXPECT_TRUE(Contains(cli.Err(), Line("GI_Mess_CloneErr_Head", 6))) << cli.Err();
    ASSERT_TRUE(cli.WaitFor(prompt, 4)) << cli.Err();
    cli.Type("");
    ASSERT_TRUE(cli.WaitFor(done, 4)) << cli.Err();
    next(4);
    ASSERT_TRUE(cli.WaitFor(done, 5)) << cli.Err();
    next(5);
    // Met again: the tool asks, naming when it was written, and is told yes.
    ASSERT_TRUE(cli.WaitFor("was written at")) << cli.Err();
    EXPECT_TRUE(Contains(cli.Err(), "This radio, MMSI 211000001, was written at")) << cli.Err();
    cli.Type("y");
    ASSERT_TRUE(cli.WaitFor(done, 6)) << cli.Err();
    ASSERT_TRUE(cli.WaitFor(prompt, 7)) << cli.Err();
    cli.Type("q");
    EXPECT_EQ(cli.Finish(), 0) << cli.Err();
    EXPECT_TRUE(Contains(cli.Err(), "5 radio(s) written, every one verified as asked."))
        << cli.Err();

    // Every attempt the tool reported is one whole journal line, in the same order.
    const auto lines = Journal(journal);
    ASSERT_EQ(lines.size(), 6u) << cli.Err();
    EXPECT_EQ(CliLive::Occurrences(cli.Err(), done), 6);
    const std::vector<std::string> statuses{"0", "0", "6", "0", "0", "0"};
    const std::vector<std::string> before{"RADIO ONE",   "RADIO TWO",  "",
                                          "RADIO THREE", "RADIO FOUR", "RADIO ONE"};
    const std::vector<std::string> after{"MV ALPHA", "MV BRAVO",   "",
                                         "MV DELTA", "MV CHARLIE", "MV ALPHA"};
    for (size_t i = 0; i < lines.size(); ++i) {
        const auto& l = lines[i];
        EXPECT_EQ(l[kStatus], statuses[i]) << i;
        EXPECT_EQ(l[kCommentBefore], before[i]) << i;
        EXPECT_EQ(l[kCloneFile], "plan.t590") << i;
        EXPECT_EQ(l[kDevice], sim.Device()) << i;
        EXPECT_EQ(l[kModel], "2429/0001") << i;
        EXPECT_EQ(l[kMapRevision], "7") << i;
        const bool ok = statuses[i] == "0";
        EXPECT_EQ(l[kVerified], ok ? "yes" : "no") << i;
        EXPECT_EQ(l[kCommentAfter], after[i]) << i;
        EXPECT_EQ(l[kSha].size(), ok ? 64u : 0u) << i;
        EXPECT_EQ(l[kTime].size(), 20u) << l[kTime];
        if (ok) {
            EXPECT_TRUE(QFile::exists(QString::fromStdString(l[kBackup]))) << l[kBackup];
        }
    }
    EXPECT_EQ(lines[0][kMmsiBefore], "211000001");
    EXPECT_EQ(lines[0][kMmsiAfter], "211000001");
    EXPECT_EQ(lines[1][kMmsiAfter], "");
    EXPECT_EQ(lines[4][kMmsiBefore], "");
    EXPECT_EQ(lines[4][kMmsiAfter], "211000099");
    EXPECT_EQ(lines[0][kRow], "line 2 (MMSI 211000001)");
    EXPECT_EQ(lines[1][kRow], "line 3 (#)");
    EXPECT_EQ(lines[4][kRow], "line 4 (#)");
    EXPECT_EQ(lines[2][kStatusText], Line("GI_Mess_CloneErr_Head", 6));
    EXPECT_EQ(lines[2][kBackup], "");

    // Each radio holds the plan with its own identity and its own values.
    sim.Stop();
    const std::vector<std::string> files{r1, r2, r3, r4, r5};
    const std::vector<std::string> comments{"MV ALPHA", "MV BRAVO", "MV DELTA", "MV CHARLIE",
                                            "MV ALPHA"};
    const std::vector<std::string> mmsis{"211000001", "", "211000003", "211000099", "211000001"};
    for (size_t i = 0; i < files.size(); ++i) {
        cmcEeprom w;
        Written(files[i], w);
        EXPECT_TRUE(HoldsThePlan(w)) << files[i];
        EXPECT_EQ(CommentOf(w), comments[i]) << files[i];
        EXPECT_EQ(indFleetOwnMmsi(w), mmsis[i]) << files[i];
    }
}

TEST_F(CliFleet, WaitFindsEachNextRadioByItselfAndTriesAFailedOneOnceMore) {
    Radio("bench", "1.t590", "RADIO ONE", "211000001");
    Radio("bench", "2.t590", "RADIO TWO", "211000002");
    const std::string plan = Plan();
    const std::string journal = Path("journal.csv");
    // The second radio refuses its first write. The swap is longer than the tool's pause
    // between looks at a port that still answers, as a technician's would be.
    SimProcess sim({"--fleet", QString::fromStdString(Path("bench")), "--verbose", "--fault-at",
                    "2", "--fault", "write-refused=FA"});
    ASSERT_FALSE(sim.Device().empty()) << sim.Errors();
    const CliRun run = RunCli(
        {"fleet", "--port", QString::fromStdString(sim.Device()), QString::fromStdString(plan),
         "--journal", QString::fromStdString(journal), "--wait", "--count", "2", "--no-backup"});
    // The second radio failed on its first write and was tried once more, which it took.
    EXPECT_EQ(run.exitCode, 0) << run.err;
    const auto lines = Journal(journal);
    ASSERT_EQ(lines.size(), 3u) << run.err;
    EXPECT_EQ(lines[0][kStatus], "0");
    EXPECT_EQ(lines[0][kBackup], "");
    EXPECT_EQ(lines[1][kStatus], "10");
    EXPECT_EQ(lines[1][kCommentBefore], "RADIO TWO");
    EXPECT_EQ(lines[2][kStatus], "0");
    EXPECT_EQ(lines[2][kCommentBefore], "RADIO TWO");
    EXPECT_TRUE(Contains(run.err, Line("GI_Mess_CloneErr_Head", 10))) << run.err;
}

TEST_F(CliFleet, ARadioThatFailsItsRetryTooIsNamedInTheSummaryWithExit3) {
    cmcEeprom radio;
    DefaultImage(radio, "STUBBORN");
    SimProcess sim({"--image", QString::fromStdString(Save(radio, "radio.t590")), "--fault",
                    "write-refused=FA"});
    ASSERT_FALSE(sim.Device().empty());
    const std::string journal = Path("journal.csv");
    const CliRun run = RunCli({"fleet", "--port", QString::fromStdString(sim.Device()),
                               QString::fromStdString(Plan()), "--journal",
                               QString::fromStdString(journal), "--wait", "--count", "1"});
    EXPECT_EQ(run.exitCode, 3) << run.err;
    EXPECT_TRUE(Contains(run.err, "1 failed: \"STUBBORN\" (10)")) << run.err;
    const auto lines = Journal(journal);
    ASSERT_EQ(lines.size(), 2u) << run.err;
    EXPECT_EQ(lines[1][kStatus], "10");
}

TEST_F(CliFleet, FourCablesAtOnceEachWithItsOwnRadio) {
    const std::string plan = Plan();
    std::vector<std::unique_ptr<SimProcess>> sims;
    QStringList ports;
    for (int i = 1; i <= 4; ++i) {
        cmcEeprom radio;
        DefaultImage(radio, "CABLE " + std::to_string(i));
        SetImageMmsi(radio, "21100000" + std::to_string(i));
        sims.push_back(std::make_unique<SimProcess>(QStringList{
            "--image", QString::fromStdString(Save(radio, "r" + std::to_string(i) + ".t590")),
            "--save", QString::fromStdString(Path("w" + std::to_string(i) + ".t590"))}));
        ASSERT_FALSE(sims.back()->Device().empty());
        ports << QString::fromStdString(sims.back()->Device());
    }
    const std::string journal = Path("journal.csv");
    const CliRun run =
        RunCli({"fleet", "--port", ports.join(','), QString::fromStdString(plan), "--journal",
                QString::fromStdString(journal), "--wait", "--count", "4", "--no-backup"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    const auto lines = Journal(journal);
    ASSERT_EQ(lines.size(), 4u) << run.err;
    std::vector<std::string> devices;
    for (const auto& l : lines) {
        EXPECT_EQ(l[kStatus], "0");
        EXPECT_EQ(l[kVerified], "yes");
        EXPECT_EQ(l[kMmsiBefore], l[kMmsiAfter]);
        devices.push_back(l[kDevice]);
    }
    for (int i = 0; i < 4; ++i) {
        EXPECT_NE(std::find(devices.begin(), devices.end(), sims[static_cast<size_t>(i)]->Device()),
                  devices.end());
        sims[static_cast<size_t>(i)]->Stop();
        cmcEeprom w;
        Load(w, Path("w" + std::to_string(i + 1) + ".t590"));
        EXPECT_TRUE(HoldsThePlan(w));
        EXPECT_EQ(indFleetOwnMmsi(w), "21100000" + std::to_string(i + 1));
        EXPECT_EQ(CommentOf(w), "FLEET PLAN");
    }
}

TEST_F(CliFleet, TwoCablesAtOnceOneFailsTheOtherFinishesEachWithItsProgressLines) {
    Radio("benchA", "1.t590", "CABLE A", "");
    Radio("benchB", "1.t590", "CABLE B", "211000002");
    const std::string plan = Plan();
    const std::string journal = Path("journal.csv");
    // The radio on A sends a damaged frame early in its first read; B, paced, takes seconds.
    SimProcess a({"--fleet", QString::fromStdString(Path("benchA")), "--fault-at", "1", "--fault",
                  "bad-checksum=5"});
    SimProcess b({"--fleet", QString::fromStdString(Path("benchB")), "--baud", "115200"});
    ASSERT_FALSE(a.Device().empty()) << a.Errors();
    ASSERT_FALSE(b.Device().empty()) << b.Errors();
    CliLive cli({"fleet", "--port", QString::fromStdString(a.Device() + "," + b.Device()),
                 QString::fromStdString(plan), "--journal", QString::fromStdString(journal),
                 "--no-backup"});
    ASSERT_TRUE(cli.WaitFor("Connect radio 1")) << cli.Err();
    cli.Type("");
    ASSERT_TRUE(cli.WaitFor("pqt590-cli: fleet: Radio ", 2)) << cli.Err();
    ASSERT_TRUE(cli.WaitFor("Connect radio ", 2)) << cli.Err();
    cli.Type("q");
    EXPECT_EQ(cli.Finish(), 3) << cli.Err();
    const std::string& err = cli.Err();

    // Off a terminal, each step that ends is a line: the port, the radio's number, the step and
    // how far it got; never a terminal's escape sequence.
    const std::string stepA = a.Device() + ", radio 1: " + Line("GI_Fleet_Steps", 2) + " ";
    const std::string headA =
        "pqt590-cli: fleet: Radio 1 on " + a.Device() + ": " + Line("GI_Mess_CloneErr_Head", 6);
    const size_t failedA = err.find(headA);
    ASSERT_NE(failedA, std::string::npos) << err;
    const size_t lineA = err.find(stepA);
    ASSERT_LT(lineA, failedA) << err;
    const int percentA = std::atoi(err.c_str() + lineA + stepA.size());
    EXPECT_LT(percentA, 100) << err;  // the read stopped at the damaged frame
    EXPECT_EQ(err.compare(err.find('\n', lineA) - 1, 1, "%"), 0) << err;
    const std::string prefixB = b.Device() + ", radio 2: ";
    size_t at = 0;
    for (int step = 2; step <= 4; ++step) {
        const std::string line = prefixB + Line("GI_Fleet_Steps", step) + " 100%\n";
        EXPECT_EQ(CliLive::Occurrences(err, line), 1) << line << err;
        const size_t found = err.find(line);
        EXPECT_GT(found, at) << line << err;
        at = found;
    }
    // B went on after A had failed: its write and verify ended later.
    EXPECT_GT(err.find(prefixB + Line("GI_Fleet_Steps", 4)), failedA) << err;
    EXPECT_TRUE(Contains(err, "pqt590-cli: fleet: Radio 2 on " + b.Device() + ": " +
                                  Line("GI_Mess_CloneErr_Head", 0)))
        << err;
    // A's radio was never read whole: the summary names its port.
    EXPECT_TRUE(Contains(err, "1 radio(s) written; 1 failed: " + a.Device() + " (6)")) << err;
    EXPECT_FALSE(Contains(err, "\x1b[")) << err;

    // The journal has the two radios in the order they finished.
    const auto lines = Journal(journal);
    ASSERT_EQ(lines.size(), 2u) << err;
    EXPECT_EQ(lines[0][kDevice], a.Device());
    EXPECT_EQ(lines[0][kStatus], "6");
    EXPECT_EQ(lines[0][kVerified], "no");
    EXPECT_EQ(lines[1][kDevice], b.Device());
    EXPECT_EQ(lines[1][kStatus], "0");
    EXPECT_EQ(lines[1][kVerified], "yes");
    b.Stop();
    cmcEeprom w;
    Load(w, Path("benchB/1.written.t590"));
    EXPECT_TRUE(HoldsThePlan(w));
    EXPECT_EQ(indFleetOwnMmsi(w), "211000002");
}

TEST_F(CliFleet, OnATerminalEachPortsLineIsRedrawnInPlace) {
    Radio("benchA", "1.t590", "CABLE A", "");
    Radio("benchB", "1.t590", "CABLE B", "");
    SimProcess a({"--fleet", QString::fromStdString(Path("benchA")), "--baud", "115200"});
    SimProcess b({"--fleet", QString::fromStdString(Path("benchB")), "--baud", "115200"});
    ASSERT_FALSE(a.Device().empty()) << a.Errors();
    ASSERT_FALSE(b.Device().empty()) << b.Errors();
    const CliRun run = RunCliOnTerminal(
        {"fleet", "--port", QString::fromStdString(a.Device() + "," + b.Device()),
         QString::fromStdString(Plan()), "--journal", QString::fromStdString(Path("journal.csv")),
         "--wait", "--count", "2", "--no-backup"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    // Two lines: back to the first (one line up) and each line cleared before it is drawn.
    EXPECT_TRUE(Contains(run.err, "\r\x1b[1A\x1b[2K")) << run.err;
    // The lines went through the transfers' percentages, not just their ends.
    for (const std::string& device : {a.Device(), b.Device()}) {
        const std::string writing = device + ", radio ";
        bool between = false;
        for (size_t at = run.err.find(writing); at != std::string::npos && !between;
             at = run.err.find(writing, at + 1)) {
            const size_t step = run.err.find(Line("GI_Fleet_Steps", 3) + " ", at);
            if (step != at + writing.size() + 3)
                continue;
            const int percent =
                std::atoi(run.err.c_str() + step + Line("GI_Fleet_Steps", 3).size() + 1);
            between = percent > 0 && percent < 100;
        }
        EXPECT_TRUE(between) << device << run.err;
    }
    // Taken away before each report, which starts on a line of its own.
    EXPECT_TRUE(Contains(run.err, "\x1b[Jpqt590-cli: fleet: Radio ")) << run.err;
    EXPECT_TRUE(Contains(run.err, "2 radio(s) written, every one verified as asked.")) << run.err;
}

TEST_F(CliFleet, KilledMidRunTheJournalHoldsEveryEarlierLineWhole) {
    const std::string journal = Path("journal.csv");
    // Paced, a radio takes long enough to be killed in the middle of one.
    const std::unique_ptr<SimProcess> bench = PacedBench(3);
    SimProcess& sim = *bench;
    ASSERT_FALSE(sim.Device().empty());
    const std::unique_ptr<CliLive> tool = WaitingFleet(sim, journal);
    CliLive& cli = *tool;
    ASSERT_TRUE(cli.WaitFor("pqt590-cli: fleet: Radio ", 2)) << cli.Err();
    // The third radio is being written when the tool dies.
    ASSERT_TRUE(sim.WaitForError("radio 3 answers", 120000)) << sim.Errors();
    ASSERT_TRUE(sim.WaitForError("radio 3: write frame 1 received", 120000)) << sim.Errors();
    cli.Kill();
    const auto lines = Journal(journal);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0][kCommentBefore], "RADIO 1");
    EXPECT_EQ(lines[1][kCommentBefore], "RADIO 2");
}

// Ctrl+C while a radio is being written: that radio is written (and verified) to the end and
// journaled, then the run ends with the summary; the next radio is never touched.
TEST_F(CliFleet, CtrlCDuringAWriteLetsThatRadioFinishThenEndsTheRun) {
    const std::string journal = Path("journal.csv");
    const std::unique_ptr<SimProcess> bench = PacedBench(2);
    SimProcess& sim = *bench;
    ASSERT_FALSE(sim.Device().empty());
    const std::unique_ptr<CliLive> tool = WaitingFleet(sim, journal);
    CliLive& cli = *tool;
    ASSERT_TRUE(sim.WaitForError("radio 1: write frame 1 received", 120000)) << sim.Errors();
    ASSERT_TRUE(cli.Running());
    cli.Interrupt();
    EXPECT_EQ(cli.Finish(), 0) << cli.Err();
    EXPECT_TRUE(Contains(cli.Err(), Line("GI_Fleet_Summary", 2))) << cli.Err();
    EXPECT_TRUE(Contains(cli.Err(), "1 radio(s) written, every one verified as asked."))
        << cli.Err();
    const auto lines = Journal(journal);
    ASSERT_EQ(lines.size(), 1u) << cli.Err();
    EXPECT_EQ(lines[0][kCommentBefore], "RADIO 1");
    EXPECT_EQ(lines[0][kStatus], "0");
    EXPECT_EQ(lines[0][kVerified], "yes");
    sim.Stop();
    cmcEeprom written;
    Load(written, Path("bench/1.written.t590"));
    EXPECT_EQ(CommentOf(written), "FLEET PLAN");
    EXPECT_FALSE(QFile::exists(QString::fromStdString(Path("bench/2.written.t590"))));
}

// The journal's disk fills after the first radio (a file-size limit stands for it): the second
// radio's line is refused, the run says why and stops before the third radio is touched, and the
// journal ends with the last whole line.
TEST_F(CliFleet, AJournalThatCannotBeWrittenMidRunStopsTheRunBeforeTheNextRadio) {
    for (int i = 1; i <= 3; ++i)
        Radio("bench", std::to_string(i) + ".t590", "RADIO " + std::to_string(i), "");
    SimProcess sim({"--fleet", QString::fromStdString(Path("bench")), "--verbose"});
    ASSERT_FALSE(sim.Device().empty()) << sim.Errors();
    const std::string plan = Plan();

    // About how long a line of this run is; the journal is filled up to the limit less one and
    // a half of them, so that the first radio's line fits and the second's does not.
    indFleetEntry likely;
    likely.timeUtc = "2026-12-11T10:00:00Z";
    likely.device = sim.Device();
    likely.model = "2429/0001";
    likely.mapRevision = 1;
    likely.commentBefore = "RADIO 1";
    likely.commentAfter = "FLEET PLAN";
    likely.cloneFile = plan;
    likely.sha256 = std::string(64, '0');
    likely.status = 0;
    likely.statusText = Line("GI_Mess_CloneErr_Head", 0);
    likely.verified = "yes";
    const size_t lineBytes = cmcCsv::Line(indFleetJournal::Fields(likely)).size();
    constexpr size_t kLimitBytes = 4096;
    const std::string journal = Path("journal.csv");
    {
        indFleetEntry filler = likely;
        filler.commentBefore.clear();
        const std::string head = cmcCsv::Line(indFleetJournal::Header());
        const size_t bare = head.size() + cmcCsv::Line(indFleetJournal::Fields(filler)).size();
        filler.commentBefore = std::string(kLimitBytes - bare - lineBytes * 3 / 2, 'x');
        QFile f(QString::fromStdString(journal));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write((head + cmcCsv::Line(indFleetJournal::Fields(filler))).c_str());
    }
    const std::string before = ReadWholeFile(journal);

    QProcess tool;
    tool.setProgram(QStringLiteral("bash"));
    tool.setArguments(
        {QStringLiteral("-c"),
         QStringLiteral("trap '' XFSZ; ulimit -f %1; exec \"$@\"").arg(kLimitBytes / 1024),
         QStringLiteral("bash"), QString::fromStdString(CliPath()), "fleet", "--port",
         QString::fromStdString(sim.Device()), QString::fromStdString(plan), "--journal",
         QString::fromStdString(journal), "--wait", "--count", "3", "--no-backup"});
    tool.start();
    ASSERT_TRUE(tool.waitForStarted(30000));
    tool.closeWriteChannel();
    ASSERT_TRUE(tool.waitForFinished(120000));
    const std::string err = tool.readAllStandardError().toStdString();
    EXPECT_EQ(tool.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(tool.exitCode(), 2) << err;
    const std::string said = Line("GI_Fleet_Summary", 3);
    EXPECT_TRUE(Contains(err, said.substr(0, said.find("%s")) + journal + ": ")) << err;
    // The first radio's line is there whole after what was there before, and nothing after it.
    const std::string after = ReadWholeFile(journal);
    ASSERT_EQ(after.compare(0, before.size(), before), 0);
    const auto lines = Journal(journal);
    ASSERT_EQ(lines.size(), 2u) << err;
    EXPECT_EQ(lines[1][kCommentBefore], "RADIO 1");
    EXPECT_EQ(lines[1][kStatus], "0");
    // The second radio was written before its line was refused; the third was never touched.
    sim.Stop();
    EXPECT_TRUE(QFile::exists(QString::fromStdString(Path("bench/2.written.t590"))));
    EXPECT_FALSE(QFile::exists(QString::fromStdString(Path("bench/3.written.t590"))));
}

// Ctrl+C while a radio is only being read: it is not written; its attempt is journaled as
// stopped, the summary names it and the exit status says that not every radio was written.
TEST_F(CliFleet, CtrlCDuringAReadWritesNothingToThatRadio) {
    const std::string journal = Path("journal.csv");
    // A read of six seconds: room enough for the interrupt to come during it on a busy machine.
    const std::unique_ptr<SimProcess> bench = PacedBench(2, 19200);
    SimProcess& sim = *bench;
    ASSERT_FALSE(sim.Device().empty());
    const std::unique_ptr<CliLive> tool = WaitingFleet(sim, journal);
    CliLive& cli = *tool;
    ASSERT_TRUE(sim.WaitForError("radio 1: read 1 answered", 120000)) << sim.Errors();
    ASSERT_TRUE(cli.Running());
    cli.Interrupt();
    EXPECT_EQ(cli.Finish(), 3) << cli.Err();
    EXPECT_TRUE(Contains(cli.Err(), Line("GI_Fleet_Status", 5))) << cli.Err();
    EXPECT_TRUE(Contains(cli.Err(), "0 radio(s) written; 1 failed: \"RADIO 1\" (105)"))
        << cli.Err();
    const auto lines = Journal(journal);
    ASSERT_EQ(lines.size(), 1u) << cli.Err();
    EXPECT_EQ(lines[0][kCommentBefore], "RADIO 1");
    EXPECT_EQ(lines[0][kStatus], "105");
    EXPECT_EQ(lines[0][kSha], "");
    sim.Stop();
    EXPECT_FALSE(Contains(sim.Errors(), "write frame 1 received")) << sim.Errors();
    EXPECT_FALSE(QFile::exists(QString::fromStdString(Path("bench/1.written.t590"))));
}

// The read that backs a radio up previews its write: the tool says how many cells the write
// changes and lists them, or that the radio held the plan already.
TEST_F(CliFleet, EachRadioIsToldWhatTheWriteChangesOnIt) {
    const std::string plan = Plan();
    QDir().mkpath(QString::fromStdString(Path("bench")));
    ASSERT_TRUE(
        QFile::copy(QString::fromStdString(plan), QString::fromStdString(Path("bench/1.t590"))));
    Radio("bench", "2.t590", "RADIO 2", "");
    SimProcess sim({"--fleet", QString::fromStdString(Path("bench")), "--verbose"});
    ASSERT_FALSE(sim.Device().empty()) << sim.Errors();
    const CliRun run = RunCli({"fleet", "--port", QString::fromStdString(sim.Device()),
                               QString::fromStdString(plan), "--journal",
                               QString::fromStdString(Path("journal.csv")), "--wait", "--count",
                               "2", "--no-backup"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    const size_t second = run.err.find("Radio 2 on ");
    ASSERT_NE(second, std::string::npos) << run.err;
    const std::string first = run.err.substr(0, second), rest = run.err.substr(second);
    EXPECT_TRUE(Contains(first, Line("GI_Fleet_Radio", 4))) << first;
    // Radio 2 is given the plan's comment and its user channel 1.
    const std::string said = Line("GI_Fleet_Radio", 3);
    const size_t head = rest.find(said.substr(0, said.find("%s")));
    ASSERT_NE(head, std::string::npos) << rest;
    const int cells = std::atoi(rest.c_str() + head + said.find("%s"));
    EXPECT_GE(cells, 2) << rest;
    EXPECT_TRUE(Contains(rest, "RADIO 2")) << rest;
    EXPECT_TRUE(Contains(rest, "FLEET PLAN")) << rest;
    EXPECT_TRUE(Contains(rest, "8291.0")) << rest;
    EXPECT_FALSE(Contains(rest, Line("GI_Fleet_Radio", 4))) << rest;
}

TEST_F(CliFleet, APlanWithDataErrorsIsRefusedBeforeAnyPortIsOpened) {
    cmcEeprom plan;
    DefaultImage(plan, "BROKEN PLAN");
    BreakUserChannel1(plan);
    const CliRun run = RunCli({"fleet", "--port", "/dev/ttyNoSuchPort42",
                               QString::fromStdString(Save(plan, "plan.t590")), "--journal",
                               QString::fromStdString(Path("journal.csv")), "--wait"});
    EXPECT_EQ(run.exitCode, 4) << run.err;
    EXPECT_TRUE(Contains(run.err, Line("GI_Mess_DataError", 0))) << run.err;
    EXPECT_FALSE(QFile::exists(QString::fromStdString(Path("journal.csv"))));
}

TEST_F(CliFleet, ATableColumnThatNamesNoCellIsRefusedBeforeAnyRadio) {
    const std::string radios = Table("MMSI,GI_Sheet_DscSelf:No such row:Value\r\n#,x\r\n");
    const CliRun run =
        RunCli({"fleet", "--port", "/dev/ttyNoSuchPort42", QString::fromStdString(Plan()),
                "--journal", QString::fromStdString(Path("journal.csv")), "--radios",
                QString::fromStdString(radios), "--wait"});
    EXPECT_EQ(run.exitCode, 2) << run.err;
    EXPECT_TRUE(Contains(run.err, "No such row")) << run.err;
    EXPECT_FALSE(QFile::exists(QString::fromStdString(Path("journal.csv"))));
}

TEST_F(CliFleet, ARefusedValueFailsThatRadioBeforeAnythingIsWritten) {
    cmcEeprom radio;
    DefaultImage(radio, "BEFORE");
    const std::string saved = Path("after.t590");
    SimProcess sim({"--image", QString::fromStdString(Save(radio, "radio.t590")), "--save",
                    QString::fromStdString(saved)});
    ASSERT_FALSE(sim.Device().empty());
    // An MMSI of eight digits is not one the cell takes.
    const std::string radios = Table(std::string("MMSI,\"") + kMmsiColumn + "\"\r\n#,12345678\r\n");
    const std::string journal = Path("journal.csv");
    const CliRun run =
        RunCli({"fleet", "--port", QString::fromStdString(sim.Device()),
                QString::fromStdString(Plan()), "--journal", QString::fromStdString(journal),
                "--radios", QString::fromStdString(radios), "--wait", "--count", "1"});
    EXPECT_EQ(run.exitCode, 3) << run.err;
    const auto lines = Journal(journal);
    ASSERT_GE(lines.size(), 1u) << run.err;
    EXPECT_EQ(lines[0][kStatus], "100");
    EXPECT_EQ(lines[0][kSha], "");
    sim.Stop();
    cmcEeprom after;
    Load(after, saved);
    EXPECT_EQ(CommentOf(after), "BEFORE");
}

}  // namespace

#endif  // _WIN32
