#include "cells/indValueRules.h"

#include "memory/MemoryMap.h"
#include "memory/datCh.h"

namespace MM = MemoryMap;

namespace {

datCh LoadEdge(const uint8_t* image, int kind, int index) {
    // The accessor only reads here; it needs a mutable pointer for its other uses.
    datCh ch(const_cast<uint8_t*>(image));
    ch.Load(kind, index);
    return ch;
}

bool Within(int32_t f, int32_t low, int32_t high) {
    return low <= f && f <= high;
}

}  // namespace

bool indValueRules::IsRxFreqValid(const uint8_t* image, int32_t f) {
    const datCh rx = LoadEdge(image, datCh::kRxEdge, 0);
    return Within(f, rx.lowEdge, rx.highEdge);
}

bool indValueRules::IsTxFreqValid(const uint8_t* image, int32_t f, bool generalCoverage) {
    if (generalCoverage)
        return Within(f, kMinTxHz, kMaxHz) && IsRxFreqValid(image, f);
    for (int e = 0; e < MM::kTxEdgeCount; ++e) {
        const datCh tx = LoadEdge(image, datCh::kTxEdge, e);
        if (tx.lowEdge != -1 && tx.highEdge != -1 && Within(f, tx.lowEdge, tx.highEdge)) {
            return true;
        }
    }
    return false;
}

bool indValueRules::IsItuFreqValid(const uint8_t* image, int band, int32_t f) {
    if (band < 0 || band >= MM::kItuEdgeCount)
        return false;
    const datCh itu = LoadEdge(image, datCh::kItuEdge, band);
    return Within(f, itu.lowEdge, itu.highEdge);
}

bool indValueRules::IsModeAvailable(const uint8_t* image, int mode) {
    if (mode < 0 || mode >= MM::kModeCount)
        return false;
    return image[MM::kModeEnable + mode] != 0;
}

uint8_t indValueRules::DscCategoryColumns(const uint8_t* image) {
    uint8_t item[4];
    for (int i = 0; i < 4; ++i)
        item[i] = LoadEdge(image, datCh::kCategory, i).itemBits;
    uint8_t columns = 0;
    if ((item[2] | item[1]) & datCh::kItemCategoryAll)
        columns |= datCh::kItemCategoryAll;
    if (item[0] & datCh::kItemCategoryGrp)
        columns |= datCh::kItemCategoryGrp;
    if ((item[3] | item[2] | item[1] | item[0]) & datCh::kItemCategoryInd) {
        columns |= datCh::kItemCategoryInd;
    }
    if (item[0] & datCh::kItemCategoryPos)
        columns |= datCh::kItemCategoryPos;
    return columns;
}

int indValueRules::CountPairsUse3(const uint8_t* image) {
    int n = 0;
    for (int e = 0; e < MM::kDscPairCount; ++e) {
        if (image[MM::kDscPairUse + e] == 3)
            ++n;
    }
    return n;
}

indValueRules::EdgeValidity indValueRules::EdgeValid(const uint8_t* image, int kind, int index) {
    const datCh edge = LoadEdge(image, kind, index);
    const int32_t low = edge.lowEdge;
    const int32_t high = edge.highEdge;
    if (high < low)
        return {false, false};

    if (kind == datCh::kTxEdge) {
        const bool lowUnset = low == -1;
        const bool highUnset = high == -1;
        if (lowUnset || highUnset) {
            bool laterSet = false;
            for (int e = index + 1; e < MM::kTxEdgeCount; ++e) {
                const datCh later = LoadEdge(image, kind, e);
                if (later.lowEdge != -1 || later.highEdge != -1)
                    laterSet = true;
            }
            const bool ok = !laterSet && lowUnset == highUnset && index != 0;
            return {ok, ok};
        }
    }

    const datCh rx = LoadEdge(image, datCh::kRxEdge, 0);
    auto inRange = [&](int32_t v) {
        if (kind == datCh::kRxEdge)
            return Within(v, kMinRxEdgeHz, kMaxHz);
        return Within(v, kMinTxHz, kMaxHz) && Within(v, rx.lowEdge, rx.highEdge);
    };
    EdgeValidity result{inRange(low), inRange(high)};
    if (kind == datCh::kTxEdge && index > 0) {
        const datCh before = LoadEdge(image, kind, index - 1);
        if (!(low > before.highEdge))
            result.low = false;
        if (!(high > before.highEdge))
            result.high = false;
    }
    return result;
}
