#include "cells/adrHash.h"

#include <cstring>

#include "memory/MemoryMap.h"
#include "memory/datCh.h"

int adrHash::BucketOf(const uint8_t* identity) {
    int sum = 0;
    for (int i = 0; i < MemoryMap::kIdentityLength; ++i)
        sum += identity[i];
    return sum % kBuckets;
}

bool adrHash::AddUnique(const datCh& record) {
    std::vector<int32_t>& bucket = buckets_[BucketOf(record.identity)];
    datCh other(record.Image());
    for (int32_t entry : bucket) {
        other.Load(datCh::kDscId, entry);
        if (std::memcmp(other.identity, record.identity, MemoryMap::kIdentityLength) == 0) {
            return true;
        }
    }
    bucket.push_back(record.entry);
    return false;
}

void adrHash::Clear() {
    for (auto& bucket : buckets_)
        bucket.clear();
}

bool adrHash::HasDuplicateIdentity(uint8_t* image) {
    adrHash hash;
    datCh ch(image);
    for (int e = 0; e < MemoryMap::kDscIdCount; ++e) {
        ch.Load(datCh::kDscId, e);
        if (ch.IsUsed() && hash.AddUnique(ch))
            return true;
    }
    return false;
}
