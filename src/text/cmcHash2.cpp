#include "text/cmcHash2.h"

#include "platform/cmcHost.h"
#include "text/cmcHash.h"

cmcHash2::cmcHash2(std::uint32_t bucketCount)
    : bucketCount_(bucketCount == 0 ? cmcHash::kDefaultBuckets : bucketCount),
      buckets_(bucketCount_) {}

cmcHash2::~cmcHash2() {
    for (auto& head : buckets_) {
        while (head)
            head = std::move(head->next);
    }
}

void cmcHash2::Add(std::string_view key, cmcFCacheRecord* record) {
    if (Find(key))
        FatalError("Overlapped Hash2 table.");
    auto& head = buckets_[cmcHashBucket(key, bucketCount_)];
    auto entry = std::make_unique<Entry>();
    entry->key.assign(key.data(), key.size());
    entry->record = record;
    entry->next = std::move(head);
    head = std::move(entry);
}

const cmcHash2::Entry* cmcHash2::Find(std::string_view key) const {
    for (const Entry* e = buckets_[cmcHashBucket(key, bucketCount_)].get(); e; e = e->next.get()) {
        if (e->key == key)
            return e;
    }
    return nullptr;
}
