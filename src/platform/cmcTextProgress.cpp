#include "platform/cmcTextProgress.h"

#include "platform/cmcClock.h"

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

std::string cmcTextProgress::Duration(uint32_t ms) {
    const uint32_t seconds = ms / 1000 + (ms % 1000 != 0 ? 1 : 0);
    const uint32_t h = seconds / 3600;
    const uint32_t m = seconds / 60 % 60;
    const uint32_t s = seconds % 60;
    char text[32];
    if (h > 0)
        std::snprintf(text, sizeof text, "%u:%02u:%02u", h, m, s);
    else
        std::snprintf(text, sizeof text, "%u:%02u", m, s);
    return text;
}

std::string cmcTextProgress::Line(const std::string& caption, int done, int total,
                                  uint32_t elapsedMs) {
    if (done < 0)
        done = 0;
    if (total > 0 && done > total)
        done = total;
    const int percent = total > 0 ? static_cast<int>(100LL * done / total) : 0;
    const int filled =
        total > 0 ? static_cast<int>(static_cast<long long>(kBarWidth) * done / total) : 0;

    std::string line = caption;
    line += " [";
    line.append(static_cast<std::size_t>(filled), '#');
    line.append(static_cast<std::size_t>(kBarWidth - filled), '-');
    line += "] ";
    char number[8];
    std::snprintf(number, sizeof number, "%3d%%", percent);
    line += number;
    line += "  ";
    if (total > 0 && done >= total)
        line += Duration(0);
    else if (total > 0 && done > 0 && elapsedMs >= kEstimateAfterMs)
        line += Duration(
            static_cast<uint32_t>(static_cast<long long>(elapsedMs) * (total - done) / done));
    else
        line += "--:--";
    line += " left";
    return line;
}

void cmcTextProgress::Show(const std::string& caption) {
    caption_ = caption;
    start_ = cmcClock::Ticks();
    shown_ = true;
    lastLine_.clear();
}

void cmcTextProgress::Update(int filled, int cells, int done, int total) {
    (void)filled;
    (void)cells;
    if (!shown_)
        return;
    const std::string line = Line(caption_, done, total, cmcClock::Ticks() - start_);
    if (onLine_ && line == lastLine_)
        return;
    Draw(line);
}

void cmcTextProgress::Draw(const std::string& line) {
    // Back to the line's start and over the old text; blanks cover a longer previous line.
    std::string out = onLine_ ? "\r" : "";
    out += line;
    if (onLine_ && drawnLength_ > line.size())
        out.append(drawnLength_ - line.size(), ' ');
    std::fputs(out.c_str(), out_);
    std::fflush(out_);
    drawnLength_ = line.size();
    lastLine_ = line;
    onLine_ = true;
}

void cmcTextProgress::Interrupt() {
    if (onLine_) {
        std::fputc('\n', out_);
        std::fflush(out_);
    }
    onLine_ = false;
    drawnLength_ = 0;
}

void cmcTextProgress::Hide() {
    Interrupt();
    shown_ = false;
}

bool cmcTextProgress::IsTerminal(std::FILE* stream) {
#ifdef _WIN32
    return _isatty(_fileno(stream)) != 0;
#else
    return isatty(fileno(stream)) != 0;
#endif
}
