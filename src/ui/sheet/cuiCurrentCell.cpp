#include "ui/sheet/cuiCurrentCell.h"

#include <string>

#include "cells/cmcCellObj.h"

namespace {

constexpr uint32_t kMagic = 0x31434350;  // "PCC1"
constexpr int kHeader = 28;

void PutInt(std::vector<uint8_t>& out, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        out.push_back(uint8_t(v >> (8 * i)));
}

uint32_t GetInt(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

}  // namespace

std::vector<uint8_t> cuiEncodeCurrentCell(const cmcCellObj& cell) {
    std::vector<uint8_t> out;
    out.reserve(kHeader + (cell.argText ? cell.argText->size() : 0));
    PutInt(out, kMagic);
    PutInt(out, uint32_t(cell.category));
    PutInt(out, uint32_t(cell.label));
    PutInt(out, uint32_t(cell.argument));
    PutInt(out, uint32_t(cell.imageIndex));
    PutInt(out, cell.color);
    out.push_back(cell.layout);
    out.push_back(cell.state);
    out.push_back(cell.argText ? 1 : 0);
    out.push_back(0);
    if (cell.argText)
        out.insert(out.end(), cell.argText->begin(), cell.argText->end());
    return out;
}

bool cuiDecodeCurrentCell(const uint8_t* data, int32_t length, cmcCellObj& cell) {
    if (data == nullptr || length < kHeader || GetInt(data) != kMagic)
        return false;
    cell.parent = nullptr;
    cell.Reset();
    cell.category = int(int32_t(GetInt(data + 4)));
    cell.label = int(int32_t(GetInt(data + 8)));
    cell.argument = int(int32_t(GetInt(data + 12)));
    cell.imageIndex = int(int32_t(GetInt(data + 16)));
    cell.color = GetInt(data + 20);
    cell.layout = data[24];
    cell.state = data[25];
    if (data[26] != 0)
        cell.argText =
            std::string(reinterpret_cast<const char*>(data + kHeader), size_t(length - kHeader));
    else
        cell.argText.reset();
    return true;
}
