// libFuzzer target for the text dictionary: the same text, given once as a file and once as lines
// in memory, must answer every lookup alike (the same line, or the same fatal error), whatever
// bytes, line ends, headers and lone "#" lines it holds. Run with -max_len below the line limit.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "cmcTestHost.h"
#include "text/cmcGTex.h"

namespace {

std::optional<std::string> Lookup(cmcGTex& dict, const std::string& key, int n) {
    try {
        return dict.Line(key, n);
    } catch (const cmcFatalError&) {
        return std::nullopt;
    }
}

// A file per process, in memory where the system offers it (every input rewrites it), removed
// when the process ends.
struct ScratchFile {
    ScratchFile()
        : path(std::string(access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp") + "/fuzz_gtex_" +
               std::to_string(getpid()) + ".ovl") {}
    ~ScratchFile() { std::remove(path.c_str()); }
    std::string path;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static cmcTestHost host;
    static const ScratchFile scratch;
    const std::string& path = scratch.path;
    cmcHost::Install(&host);
    if (size > 8000)
        return 0;  // longer lines are split in files but cut in memory, by design

    std::string content(reinterpret_cast<const char*>(data), size);
    for (char& c : content) {
        if (c == '\0')
            c = ' ';  // a memory line ends at a NUL byte
    }
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < content.size()) {
        const std::size_t lf = content.find('\n', start);
        std::string line =
            content.substr(start, lf == std::string::npos ? std::string::npos : lf - start);
        if (lf != std::string::npos && !line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
        if (lf == std::string::npos)
            break;
        start = lf + 1;
    }
    std::vector<const char*> ptrs;
    for (const auto& l : lines)
        ptrs.push_back(l.c_str());

    if (FILE* f = std::fopen(path.c_str(), "wb")) {
        std::fwrite(content.data(), 1, content.size(), f);
        std::fclose(f);
    } else {
        return 0;
    }

    std::vector<std::string> keys = {"Missing", "End_Of_Ovl"};
    for (const auto& l : lines) {
        if (l.size() >= 2 && l[0] == '#' && keys.size() < 24)
            keys.push_back(l.substr(1));
    }

    cmcGTex memory;
    memory.SetLines(ptrs.data(), ptrs.size());
    cmcGTex file;
    file.SetFile(path);
    const std::size_t lookups = keys.size() * 4;
    for (std::size_t i = 0; i < lookups; ++i) {
        const std::string& key = keys[(i * 7 + (size ? data[i % size] : 0)) % keys.size()];
        const int n = size ? data[(i * 3) % size] % 7 : 0;
        if (Lookup(memory, key, n) != Lookup(file, key, n))
            __builtin_trap();
    }
    if (memory.SectionCount() != file.SectionCount())
        __builtin_trap();
    host.Clear();
    return 0;
}
