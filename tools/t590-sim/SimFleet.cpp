#include "SimFleet.h"

#include <dirent.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <memory>

#include "SimImage.h"
#include "SimLink.h"

namespace {

constexpr char kSuffix[] = ".t590";
constexpr char kWrittenSuffix[] = ".written.t590";
// The program closes and reopens its port between the steps of one radio (read, write, verify);
// only a port closed this long means the technician is done with the radio.
constexpr double kClosedSeconds = 1.0;

bool EndsWith(const std::string& s, const std::string& tail) {
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

void Log(const SimFleetOptions& o, const std::string& text) {
    if (o.verbose)
        std::fprintf(stderr, "t590-sim: %s\n", text.c_str());
}

}  // namespace

std::vector<std::string> SimFleetFiles(const std::string& dir) {
    std::vector<std::string> files;
    DIR* d = ::opendir(dir.c_str());
    if (!d)
        return files;
    while (const dirent* e = ::readdir(d)) {
        const std::string name = e->d_name;
        if (EndsWith(name, kSuffix) && !EndsWith(name, kWrittenSuffix))
            files.push_back(dir + "/" + name);
    }
    ::closedir(d);
    std::sort(files.begin(), files.end());
    return files;
}

std::string SimFleetSavePath(const std::string& file) {
    return file.substr(0, file.size() - (sizeof kSuffix - 1)) + kWrittenSuffix;
}

int SimRunFleet(SimLink& link, const SimFleetOptions& o, const volatile sig_atomic_t& stop) {
    const std::vector<std::string> files = SimFleetFiles(o.dir);
    if (files.empty()) {
        std::fprintf(stderr, "t590-sim: no clone files (*.t590) in %s\n", o.dir.c_str());
        return 1;
    }
    std::vector<std::vector<std::uint8_t>> memories;
    for (const std::string& f : files) {
        std::vector<std::uint8_t> m;
        std::string error;
        if (!SimImage::Load(f, m, error)) {
            std::fprintf(stderr, "t590-sim: %s\n", error.c_str());
            return 1;
        }
        memories.push_back(std::move(m));
    }

    size_t current = 0;
    int stored = 0;
    std::unique_ptr<SimRadio> radio;
    auto connect = [&](size_t k) {
        const bool own = k < o.hasRadioFaults.size() && o.hasRadioFaults[k];
        radio = std::make_unique<SimRadio>(memories[k], own ? o.radioFaults[k] : o.faults, own);
        stored = 0;
        Log(o, "radio " + std::to_string(k + 1) + " answers (" + files[k] + ")");
    };
    connect(current);

    enum class Phase { Answering, Written, Swapping, Empty } phase = Phase::Answering;
    double closedSince = -1, swapEnds = 0;
    std::vector<std::uint8_t> heard, answer;
    int wait = -1;
    while (!stop) {
        struct pollfd p {
            link.Fd(), POLLIN, 0
        };
        // Without its hold a closed pseudo-terminal reports a hang-up at once: look again soon
        // instead of spinning.
        const bool closed = link.PortClosed();
        const int timeout = closed ? 20 : wait < 0 ? 100 : std::min(wait, 100);
        if (closed)
            ::usleep(static_cast<useconds_t>(timeout) * 1000);
        else if (::poll(&p, 1, timeout) < 0 && errno != EINTR)
            break;
        heard.clear();
        if (!link.Read(heard))
            break;
        const double now = SimNow();

        if (phase == Phase::Written || (radio && radio->LinkCut())) {
            if (!link.PortClosed())
                closedSince = -1;
            else if (closedSince < 0)
                closedSince = now;
        }
        if (radio && radio->LinkCut() && closedSince >= 0) {
            // The line came back once the program let go of it.
            radio->Resume();
            link.Hold();
            closedSince = -1;
        }
        if (phase == Phase::Written && closedSince >= 0 && now - closedSince >= kClosedSeconds) {
            link.Hold();
            link.Discard();
            radio.reset();
            phase = Phase::Swapping;
            swapEnds = now + o.swapMs / 1000.0;
            Log(o, "radio " + std::to_string(current + 1) + " taken off the cable");
        }
        if (phase == Phase::Swapping && now >= swapEnds) {
            if (++current < files.size()) {
                connect(current);
                phase = Phase::Answering;
            } else {
                phase = Phase::Empty;
                Log(o, "no radio left on the cable");
            }
        }

        if (!heard.empty() && radio && !radio->LinkCut()) {
            answer.clear();
            const int framesBefore = radio->WriteFrames();
            const int readsBefore = radio->ReadsAnswered();
            radio->Hear(heard.data(), heard.size(), answer);
            link.Queue(answer);
            // Tests wait for this line to know that a read of this radio is under way.
            if (radio->ReadsAnswered() > readsBefore)
                Log(o, "radio " + std::to_string(current + 1) + ": read " +
                           std::to_string(radio->ReadsAnswered()) + " answered");
            // Tests wait for this line to know that a write to this radio is under way.
            if (framesBefore == 0 && radio->WriteFrames() > 0)
                Log(o, "radio " + std::to_string(current + 1) + ": write frame 1 received");
            if (radio->LinkCut()) {
                Log(o, "cutting the link");
                link.Discard();
                link.ReleaseHold();
            }
            if (radio->WritesStored() > stored) {
                stored = radio->WritesStored();
                const std::string path = SimFleetSavePath(files[current]);
                std::string error;
                if (!SimImage::Save(path, radio->Memory(), error))
                    std::fprintf(stderr, "t590-sim: %s\n", error.c_str());
                else
                    Log(o, "radio " + std::to_string(current + 1) + " written, saved to " + path);
                phase = Phase::Written;
                closedSince = -1;
                link.ReleaseHold();
            }
        }
        wait = link.Flush();
    }
    return 0;
}
