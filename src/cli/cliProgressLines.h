#pragma once

#include <cstdio>
#include <string>
#include <vector>

// Lines of progress on the tool's error stream, one per thing under way (a fleet run's ports). On
// a terminal they stand below everything else printed and are redrawn in place, each cut to the
// terminal's width so that none wraps; other output is put above them (Clear first, and they come
// back at the next change). Elsewhere (a log, a pipe) nothing is redrawn: Print writes a line out
// as it stands, once, for the caller to say when (a fleet port's change of step).
class cliProgressLines {
public:
    cliProgressLines(std::FILE* out, bool terminal, int count);
    ~cliProgressLines();
    cliProgressLines(const cliProgressLines&) = delete;
    cliProgressLines& operator=(const cliProgressLines&) = delete;

    bool OnTerminal() const { return terminal_; }
    // Line n's text now; on a terminal the lines are drawn again when it changed.
    void Set(int n, const std::string& text);
    const std::string& Text(int n) const { return lines_.at(static_cast<size_t>(n)); }
    // Not on a terminal: line n as one line of output.
    void Print(int n);
    // On a terminal: the lines are taken away (the cursor where the first stood), so that other
    // output takes their place; the next Set draws them again below it.
    void Clear();

private:
    void Draw();
    // The terminal's width in characters (80 when it does not say).
    size_t Width() const;

    std::FILE* out_;
    bool terminal_;
    std::vector<std::string> lines_;
    bool drawn_ = false;
};
