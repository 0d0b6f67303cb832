// t590-sim: a T590 on a pseudo-terminal. Prints the device the program should open, then
// echoes and answers the clone protocol until it is stopped (SIGINT or SIGTERM), optionally
// saving what the program wrote.
#include <errno.h>
#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "SimFleet.h"
#include "SimImage.h"
#include "SimLink.h"
#include "SimRadio.h"

namespace {

volatile sig_atomic_t g_stop = 0;
void OnSignal(int) {
    g_stop = 1;
}

std::string ExecutableDir() {
    char path[4096];
    const ssize_t n = ::readlink("/proc/self/exe", path, sizeof path - 1);
    if (n <= 0)
        return std::string();
    std::string p(path, static_cast<size_t>(n));
    return p.substr(0, p.rfind('/') + 1);
}

void Usage() {
    std::fprintf(stderr,
                 "usage: t590-sim [--device PATH] [--image FILE] [--save FILE] [--baud N]\n"
                 "                [--fault KIND[=N]]... [--verbose]\n"
                 "       t590-sim --fleet DIR [--swap-ms N] [--fault KIND[=N]]...\n"
                 "                [--fault-at K --fault KIND[=N]...]... [--baud N] [--verbose]\n"
                 "Plays a T590 on a new pseudo-terminal (or PATH) and prints the device to use.\n"
                 "Without --image it holds PQT590_Default.t590 from beside it, if present.\n"
                 "--baud paces the radio's output at N baud 8N1 (default: unpaced).\n"
                 "--fleet plays the radios of the clone files in DIR (name order) one after\n"
                 "  another: each answers until a write to it was stored and the port then stayed\n"
                 "  closed for a second; the cable is silent for the swap (--swap-ms, default\n"
                 "  1500) and the next radio answers. Written images go to NAME.written.t590.\n"
                 "  Faults after --fault-at K hit radio K only, once each (a retry succeeds).\n"
                 "Faults: no-answer, no-echo, wrong-echo[=byte], bad-checksum[=frame],\n"
                 "  wrong-count, missing-frame, extra-frame, beyond-image, write-refused[=XX],\n"
                 "  noise, cut-link[=frames], wrong-model, wrong-extra, map-revision[=N],\n"
                 "  byte23, stuck-byte=ADDR (hex), keep-identity\n");
}

bool ApplyFault(const std::string& option, SimFaults& f) {
    const size_t eq = option.find('=');
    const std::string kind = option.substr(0, eq);
    const bool hasValue = eq != std::string::npos;
    const std::string value = hasValue ? option.substr(eq + 1) : std::string();
    auto number = [&](int fallback, int base = 10) {
        return hasValue ? static_cast<int>(std::strtol(value.c_str(), nullptr, base)) : fallback;
    };
    if (kind == "no-answer")
        f.noAnswer = true;
    else if (kind == "no-echo")
        f.noEcho = true;
    else if (kind == "wrong-echo")
        f.wrongEchoAt = number(4);
    else if (kind == "bad-checksum")
        f.badChecksumFrame = number(0);
    else if (kind == "wrong-count")
        f.wrongCount = true;
    else if (kind == "missing-frame")
        f.missingFrame = true;
    else if (kind == "extra-frame")
        f.extraFrame = true;
    else if (kind == "beyond-image")
        f.beyondImage = true;
    else if (kind == "write-refused")
        f.writeResult = number(0xFA, 16);
    else if (kind == "noise")
        f.noise = true;
    else if (kind == "cut-link")
        f.cutAfterFrames = number(100);
    else if (kind == "wrong-model")
        f.wrongModel = true;
    else if (kind == "wrong-extra")
        f.wrongExtra = true;
    else if (kind == "map-revision")
        f.mapRevision = number(6);
    else if (kind == "byte23")
        f.byte23 = true;
    else if (kind == "stuck-byte" && hasValue)
        f.stuckByte = number(-1, 16);
    else if (kind == "keep-identity")
        f.keepIdentity = true;
    else
        return false;
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    std::string device, imagePath, savePath;
    int baud = 0;
    bool verbose = false;
    SimFaults faults;
    SimFleetOptions fleet;
    int faultAt = 0;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        auto next = [&]() -> std::string {
            if (i + 1 >= argc) {
                Usage();
                std::exit(2);
            }
            return argv[++i];
        };
        if (a == "--device")
            device = next();
        else if (a == "--image")
            imagePath = next();
        else if (a == "--save")
            savePath = next();
        else if (a == "--baud")
            baud = std::atoi(next().c_str());
        else if (a == "--verbose")
            verbose = true;
        else if (a == "--fleet")
            fleet.dir = next();
        else if (a == "--swap-ms")
            fleet.swapMs = std::max(0, std::atoi(next().c_str()));
        else if (a == "--fault-at") {
            faultAt = std::atoi(next().c_str());
            if (faultAt < 1) {
                std::fprintf(stderr, "t590-sim: --fault-at takes a radio number from 1\n");
                return 2;
            }
            if (fleet.radioFaults.size() < static_cast<size_t>(faultAt)) {
                fleet.radioFaults.resize(static_cast<size_t>(faultAt));
                fleet.hasRadioFaults.resize(static_cast<size_t>(faultAt), false);
            }
            fleet.hasRadioFaults[static_cast<size_t>(faultAt - 1)] = true;
        } else if (a == "--fault") {
            const std::string option = next();
            SimFaults& target =
                faultAt > 0 ? fleet.radioFaults[static_cast<size_t>(faultAt - 1)] : faults;
            if (!ApplyFault(option, target)) {
                std::fprintf(stderr, "t590-sim: unknown fault '%s'\n", option.c_str());
                Usage();
                return 2;
            }
        } else if (a == "--help" || a == "-h") {
            Usage();
            return 0;
        } else {
            std::fprintf(stderr, "t590-sim: unknown option '%s'\n", a.c_str());
            Usage();
            return 2;
        }
    }

    std::vector<std::uint8_t> memory = SimImage::Default();
    std::string error;
    // Without an image the radio holds the program's default settings when they lie beside the
    // emulator (as they do in a build) or in the installed data folder, else a built-in pattern.
    for (const std::string& dir : {std::string(), std::string(PQ_DATA_SUBDIR "/")}) {
        const std::string path = ExecutableDir() + dir + "PQT590_Default.t590";
        if (imagePath.empty() && ::access(path.c_str(), R_OK) == 0)
            imagePath = path;
    }
    if (!imagePath.empty() && !SimImage::Load(imagePath, memory, error)) {
        std::fprintf(stderr, "t590-sim: %s\n", error.c_str());
        return 1;
    }

    if (!fleet.dir.empty() && SimFleetFiles(fleet.dir).empty()) {
        std::fprintf(stderr, "t590-sim: no clone files (*.t590) in %s\n", fleet.dir.c_str());
        return 1;
    }

    SimLink link;
    if (device.empty() ? !link.OpenPty(error) : !link.OpenDevice(device, baud, error)) {
        std::fprintf(stderr, "t590-sim: %s\n", error.c_str());
        return 1;
    }
    link.SetBaud(baud);

    struct sigaction sa {};
    sa.sa_handler = OnSignal;
    ::sigaction(SIGINT, &sa, nullptr);
    ::sigaction(SIGTERM, &sa, nullptr);
    ::signal(SIGPIPE, SIG_IGN);

    std::printf("%s\n", link.Path().c_str());
    std::fflush(stdout);

    if (!fleet.dir.empty()) {
        fleet.faults = faults;
        fleet.baud = baud;
        fleet.verbose = verbose;
        return SimRunFleet(link, fleet, g_stop);
    }

    SimRadio radio(memory, faults);
    std::vector<std::uint8_t> heard, answer;
    int wait = -1;
    bool writeSeen = false;
    int readsTold = 0;
    while (!g_stop) {
        struct pollfd p {
            link.Fd(), POLLIN, 0
        };
        const int timeout = wait < 0 ? 200 : wait;
        if (::poll(&p, 1, timeout) < 0 && errno != EINTR)
            break;
        heard.clear();
        if (!link.Read(heard))
            break;
        if (!heard.empty()) {
            answer.clear();
            radio.Hear(heard.data(), heard.size(), answer);
            if (verbose)
                std::fprintf(stderr, "t590-sim: heard %zu bytes, answering %zu\n", heard.size(),
                             answer.size());
            link.Queue(answer);
            // Tests count these lines to know how often the program read the radio.
            if (verbose && radio.ReadsAnswered() > readsTold) {
                readsTold = radio.ReadsAnswered();
                std::fprintf(stderr, "t590-sim: read %d answered\n", readsTold);
            }
            // Tests wait for this line to know that a write is under way.
            if (verbose && !writeSeen && radio.WriteFrames() > 0) {
                writeSeen = true;
                std::fprintf(stderr, "t590-sim: write frame 1 received\n");
            }
        }
        wait = link.Flush();
        if (radio.LinkCut()) {
            if (verbose)
                std::fprintf(stderr, "t590-sim: cutting the link\n");
            // What was on the wire before the cut arrives; then the line goes dead. The terminal
            // hands written bytes on with a delay, so the program must have read everything for
            // a while before the line is closed.
            const double deadline = SimNow() + 3.0;
            double quietSince = SimNow();
            while (!g_stop && SimNow() < deadline) {
                link.Flush();
                if (!link.Idle() || link.UnreadByProgram() > 0)
                    quietSince = SimNow();
                if (SimNow() - quietSince > 0.1)
                    break;
                ::usleep(1000);
            }
            link.Close();
            return 0;
        }
    }
    if (verbose && !radio.LastComplaint().empty())
        std::fprintf(stderr, "t590-sim: refused a write: %s\n", radio.LastComplaint().c_str());
    if (!savePath.empty() && !SimImage::Save(savePath, radio.Memory(), error)) {
        std::fprintf(stderr, "t590-sim: %s\n", error.c_str());
        return 1;
    }
    return 0;
}
