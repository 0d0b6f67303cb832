#pragma once

#include <cstdint>
#include <vector>

class datCh;

// The duplicate test of DSC identities: a table of 37 buckets keyed by the 5 identity bytes (the
// bucket is their sum modulo 37) that remembers the entry numbers of the identities added.
class adrHash {
public:
    static constexpr int kBuckets = 37;

    // Compares the record's identity with every remembered identity of its bucket (loaded again
    // from the record's image). True when one is equal (nothing is added); otherwise the record's
    // entry is remembered and the result is false.
    bool AddUnique(const datCh& record);
    void Clear();

    // The address-book check: adds the identities 0..99 that are in use, in order, and reports
    // whether one was a duplicate (the scan stops at the first).
    static bool HasDuplicateIdentity(uint8_t* image);

private:
    static int BucketOf(const uint8_t* identity);
    std::vector<int32_t> buckets_[kBuckets];
};
