#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

// The radio's frames, spelled out by hand for the driver tests (deliberately not built with the
// driver's own frame code, so that a mistake there cannot hide itself).
namespace RadioFrames {

using Bytes = std::vector<std::uint8_t>;

inline Bytes Hex(const std::string& text) {
    Bytes out;
    int hi = -1;
    for (char c : text) {
        int v;
        if (c >= '0' && c <= '9')
            v = c - '0';
        else if (c >= 'A' && c <= 'F')
            v = c - 'A' + 10;
        else if (c >= 'a' && c <= 'f')
            v = c - 'a' + 10;
        else
            continue;
        if (hi < 0) {
            hi = v;
        } else {
            out.push_back(static_cast<std::uint8_t>(hi * 16 + v));
            hi = -1;
        }
    }
    return out;
}

inline void Add(Bytes& out, const Bytes& more) {
    out.insert(out.end(), more.begin(), more.end());
}

// FE FE EF EE E1, the codes, the info bytes, FD.
inline Bytes InfoReply(int model, int extra, const Bytes& info) {
    Bytes f{0xFE,
            0xFE,
            0xEF,
            0xEE,
            0xE1,
            static_cast<std::uint8_t>(model >> 8),
            static_cast<std::uint8_t>(model),
            static_cast<std::uint8_t>(extra >> 8),
            static_cast<std::uint8_t>(extra)};
    Add(f, info);
    f.push_back(0xFD);
    return f;
}

// 24 info bytes as the T590 sends them: count, 0, map revision 7, ..., byte 23 zero.
inline Bytes StandardInfo(int count = 24, int mapRevision = 7) {
    Bytes info(static_cast<size_t>(count), 0);
    info[0] = static_cast<std::uint8_t>(count);
    info[2] = static_cast<std::uint8_t>(mapRevision);
    return info;
}

// A radio data frame; checksumDelta spoils the checksum on purpose.
inline Bytes DataFrame(int address, const std::uint8_t* data, int n, int checksumDelta = 0) {
    char text[8];
    std::string body;
    std::snprintf(text, sizeof text, "%04X%02X", address, n);
    body += text;
    int sum = (address & 0xFF) + ((address >> 8) & 0xFF) + n;
    for (int i = 0; i < n; ++i) {
        std::snprintf(text, sizeof text, "%02X", data[i]);
        body += text;
        sum += data[i];
    }
    std::snprintf(text, sizeof text, "%02X", (256 - (sum & 0xFF) + checksumDelta) & 0xFF);
    body += text;
    Bytes f = Hex("FEFE EFEE E4");
    for (char c : body)
        f.push_back(static_cast<std::uint8_t>(c));
    f.push_back(0xFD);
    return f;
}

inline Bytes EndFrame(const std::string& countText) {
    Bytes f = Hex("FEFE EFEE E5");
    for (char c : "Vexa Inc." + countText)
        f.push_back(static_cast<std::uint8_t>(c));
    f.push_back(0xFD);
    return f;
}

inline Bytes WriteResult(std::uint8_t code) {
    return Bytes{0xFE, 0xFE, 0xEF, 0xEE, 0xE6, code, 0xFD};
}

}  // namespace RadioFrames
