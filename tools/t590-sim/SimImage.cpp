#include "SimImage.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>

#include "memory/MemoryMap.h"

namespace SimImage {

namespace {
int Nibble(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}
}  // namespace

std::vector<std::uint8_t> Default() {
    std::vector<std::uint8_t> m(MemoryMap::kImageSize, 0);
    for (int a = MemoryMap::kCloneFirst; a <= MemoryMap::kCloneLast; ++a)
        m[static_cast<size_t>(a)] = static_cast<std::uint8_t>((a * 31 + 7) & 0xFF);
    m[MemoryMap::kMapRevision] = MemoryMap::kMapRevisionValue;
    const char comment[] = "T590 SIMULATOR  ";
    std::memcpy(m.data() + MemoryMap::kComment, comment, MemoryMap::kCommentLength);
    std::memcpy(m.data() + MemoryMap::kMakerText, MemoryMap::kMakerTextValue,
                MemoryMap::kMakerTextLength);
    return m;
}

bool Load(const std::string& path, std::vector<std::uint8_t>& memory, std::string& error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "cannot open " + path;
        return false;
    }
    memory = Default();
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (number == 1 || (!line.empty() && line[0] == '#'))
            continue;
        bool ok = line.size() >= 6 && line.size() % 2 == 0;
        std::vector<int> bytes;
        for (size_t i = 0; ok && i + 1 < line.size(); i += 2) {
            const int hi = Nibble(line[i]), lo = Nibble(line[i + 1]);
            ok = hi >= 0 && lo >= 0;
            bytes.push_back(hi * 16 + lo);
        }
        if (ok)
            ok = bytes.size() == static_cast<size_t>(bytes[2]) + 3;
        const int address = ok ? bytes[0] * 256 + bytes[1] : 0;
        if (ok)
            ok = address + bytes[2] <= MemoryMap::kImageSize;
        if (!ok) {
            error = path + ":" + std::to_string(number) + ": not a data line";
            return false;
        }
        for (int i = 0; i < bytes[2]; ++i)
            memory[static_cast<size_t>(address + i)] = static_cast<std::uint8_t>(bytes[3 + i]);
    }
    return true;
}

bool Save(const std::string& path, const std::vector<std::uint8_t>& memory, std::string& error) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) {
        error = "cannot write " + path;
        return false;
    }
    std::string comment;
    for (int i = 0; i < MemoryMap::kCommentLength; ++i) {
        const std::uint8_t c = memory[static_cast<size_t>(MemoryMap::kComment + i)];
        comment += (c >= 0x20 && c <= 0x7E) ? static_cast<char>(c) : ' ';
    }
    while (!comment.empty() && comment.back() == ' ')
        comment.pop_back();
    std::fprintf(f, "%04X%04X\r\n#Comment=%s\r\n#MapRev=%d\r\n", 0x2429, 0x0001, comment.c_str(),
                 memory[MemoryMap::kMapRevision]);
    for (int a = MemoryMap::kCloneFirst; a <= MemoryMap::kCloneLast;) {
        const int n = std::min(16 - a % 16, MemoryMap::kCloneLast - a + 1);
        std::fprintf(f, "%04X%02X", a, n);
        for (int i = 0; i < n; ++i)
            std::fprintf(f, "%02X", memory[static_cast<size_t>(a + i)]);
        std::fprintf(f, "\r\n");
        a += n;
    }
    const bool ok = std::fflush(f) == 0 && !std::ferror(f);
    std::fclose(f);
    if (!ok)
        error = "cannot write " + path;
    return ok;
}

}  // namespace SimImage
