#include "cli/cliProgressLines.h"

#ifdef _WIN32
#include <windows.h>
#ifndef ENABLE_VIRTUAL_TERMINAL_PROCESSING
#define ENABLE_VIRTUAL_TERMINAL_PROCESSING 0x0004
#endif
#else
#include <sys/ioctl.h>
#include <unistd.h>
#endif

namespace {

// Back to the start of the first of count lines drawn (the cursor at the end of the last).
std::string ToFirstLine(size_t count) {
    std::string out = "\r";
    if (count > 1)
        out += "\x1b[" + std::to_string(count - 1) + "A";
    return out;
}

// The first bytes of text that fill at most width columns, never cutting a UTF-8 sequence.
std::string Cut(const std::string& text, size_t width) {
    if (text.size() <= width)
        return text;
    size_t end = width;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
        --end;
    return text.substr(0, end);
}

}  // namespace

cliProgressLines::cliProgressLines(std::FILE* out, bool terminal, int count)
    : out_(out), terminal_(terminal), lines_(static_cast<size_t>(count > 0 ? count : 0)) {
#ifdef _WIN32
    // The console draws the cursor moves only with its terminal sequences on.
    if (terminal_) {
        HANDLE handle = GetStdHandle(STD_ERROR_HANDLE);
        DWORD mode = 0;
        if (GetConsoleMode(handle, &mode))
            SetConsoleMode(handle, mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING);
    }
#endif
}

cliProgressLines::~cliProgressLines() {
    // The last state stays on the screen; what follows starts on a line of its own.
    if (drawn_) {
        std::fputc('\n', out_);
        std::fflush(out_);
    }
}

size_t cliProgressLines::Width() const {
#ifdef _WIN32
    CONSOLE_SCREEN_BUFFER_INFO info;
    if (GetConsoleScreenBufferInfo(GetStdHandle(STD_ERROR_HANDLE), &info))
        return static_cast<size_t>(info.srWindow.Right - info.srWindow.Left + 1);
#else
    struct winsize size {};
    if (::ioctl(fileno(out_), TIOCGWINSZ, &size) == 0 && size.ws_col > 0)
        return size.ws_col;
#endif
    return 80;
}

void cliProgressLines::Set(int n, const std::string& text) {
    std::string& line = lines_.at(static_cast<size_t>(n));
    if (line == text && (drawn_ || !terminal_))
        return;
    line = text;
    if (terminal_)
        Draw();
}

void cliProgressLines::Print(int n) {
    if (terminal_)
        return;
    std::fprintf(out_, "%s\n", lines_.at(static_cast<size_t>(n)).c_str());
    std::fflush(out_);
}

void cliProgressLines::Draw() {
    // One column short of the width: a line that fills it would move the cursor on by itself.
    const size_t width = Width() > 1 ? Width() - 1 : 1;
    std::string out = drawn_ ? ToFirstLine(lines_.size()) : std::string();
    for (size_t i = 0; i < lines_.size(); ++i) {
        if (i > 0)
            out += "\n";
        out += "\x1b[2K" + Cut(lines_[i], width);
    }
    std::fputs(out.c_str(), out_);
    std::fflush(out_);
    drawn_ = true;
}

void cliProgressLines::Clear() {
    if (!terminal_ || !drawn_)
        return;
    // To the first line, and everything below it erased.
    std::fputs((ToFirstLine(lines_.size()) + "\x1b[J").c_str(), out_);
    std::fflush(out_);
    drawn_ = false;
}
