#pragma once

#include <cstdint>

// The validity rules behind the error and notice marks of frequency, band-edge and DSC cells.
// Frequencies and band edges are in Hz; edges read -1 when unset. All rules read the image they
// are given (normally the working image) through the channel record accessor.
class indValueRules {
public:
    struct EdgeValidity {
        bool low = false;
        bool high = false;
    };

    // Within the receive band edge.
    static bool IsRxFreqValid(const uint8_t* image, int32_t f);
    // With general coverage ("/gene"): 1.6 .. 29.999999 MHz and within the receive edge.
    // Otherwise within at least one transmit edge 0..10 whose ends are both set.
    static bool IsTxFreqValid(const uint8_t* image, int32_t f, bool generalCoverage);
    // Within ITU band edge `band` (0..7; any other band is invalid).
    static bool IsItuFreqValid(const uint8_t* image, int band, int32_t f);
    // The mode-enable byte of mode m (0..5) is not 0; other modes are never available.
    static bool IsModeAvailable(const uint8_t* image, int mode);
    // Which columns of the DSC category table hold: the datChFields::kItemCategory* bits.
    static uint8_t DscCategoryColumns(const uint8_t* image);
    // Number of DSC receive/transmit pairs whose use value is 3.
    static int CountPairsUse3(const uint8_t* image);
    // Validity of both ends of band edge (kind 4, 5 or 6, index).
    static EdgeValidity EdgeValid(const uint8_t* image, int kind, int index);

    static constexpr int32_t kMaxHz = 29999999;
    static constexpr int32_t kMinRxEdgeHz = 30000;
    static constexpr int32_t kMinTxHz = 1600000;
    static constexpr int kMaxPairsUse3 = 6;
};
