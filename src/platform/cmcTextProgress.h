#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "platform/cmcProgress.h"

// The progress seam on a terminal: one line redrawn in place with a bar, the percentage and the
// time left, e.g. "Cloning [########--------]  50%  0:07 left". Only for a terminal: the caller
// installs it when the stream is one, and shows nothing otherwise.
class cmcTextProgress : public cmcProgress {
public:
    static constexpr int kBarWidth = 32;
    // Below this much elapsed time the rate says too little to estimate the time left.
    static constexpr uint32_t kEstimateAfterMs = 500;

    explicit cmcTextProgress(std::FILE* out) : out_(out) {}
    // Whether a stream is a terminal (the bar is shown only there).
    static bool IsTerminal(std::FILE* stream);
    ~cmcTextProgress() override { Hide(); }

    void Show(const std::string& caption) override;
    void Update(int filled, int cells, int done, int total) override;
    void Hide() override;

    // Ends the bar's line so that a message can be printed below it; the next update draws the
    // bar again on a fresh line.
    void Interrupt();

    // The line for done of total units after elapsedMs: the bar, the percentage (rounded down,
    // 100 only when all is done) and the time left (estimated from the rate so far; "--:--" until
    // there is a rate).
    static std::string Line(const std::string& caption, int done, int total, uint32_t elapsedMs);
    // m:ss (or h:mm:ss from an hour) of a duration, rounded up to whole seconds.
    static std::string Duration(uint32_t ms);

private:
    void Draw(const std::string& line);

    std::FILE* out_;
    std::string caption_;
    uint32_t start_ = 0;
    bool shown_ = false;
    bool onLine_ = false;  // the cursor stands at the end of a drawn bar
    std::size_t drawnLength_ = 0;
    std::string lastLine_;
};
