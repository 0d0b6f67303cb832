#pragma once

#include <csignal>
#include <string>
#include <vector>

#include "SimRadio.h"

class SimLink;

// A bench of radios swapped on one cable: the clone files of a directory, played one after
// another. The radio on the cable answers until a write to it has been stored and the program
// has then kept its port closed for a moment; the cable is silent for the swap, and the next
// radio answers. Every stored write is saved beside its radio's file.
struct SimFleetOptions {
    std::string dir;
    SimFaults faults;                    // for every radio, all the time
    std::vector<SimFaults> radioFaults;  // [k - 1]: radio k's own, once each
    std::vector<bool> hasRadioFaults;
    int swapMs = 1500;
    int baud = 0;
    bool verbose = false;
};

// The clone files of dir in name order, without the images the emulator saved there itself.
std::vector<std::string> SimFleetFiles(const std::string& dir);
// Where the image written to the radio of file is saved: "NAME.written.t590" beside it.
std::string SimFleetSavePath(const std::string& file);

// Plays the fleet on the link until stop is set; returns the exit status.
int SimRunFleet(SimLink& link, const SimFleetOptions& options, const volatile sig_atomic_t& stop);
