#include "memory/datClipCh.h"

void cmcClipCh::Clear() {
    records_.clear();
    kind_ = 0;
    first_ = 0;
    count_ = 0;
}

void cmcClipCh::Copy(uint8_t* image, int kind, int first, int count) {
    Clear();
    if (count < 0)
        count = 0;
    kind_ = kind;
    first_ = first;
    count_ = count;
    records_.resize(size_t(count));
    for (int i = 0; i < count; ++i)
        LoadOne(image, kind, first + i, records_[size_t(i)]);
}

void cmcClipCh::LoadOne(uint8_t* image, int kind, int entry, datCh& record) {
    record.SetImage(image);
    record.Load(kind, entry);
}

bool cmcClipCh::CanPaste(int kind) const {
    return kind_ != 0 && kind_ == kind;
}

void cmcClipCh::Paste(uint8_t* image, int kind, int first, int count) {
    if (!CanPaste(kind))
        return;
    for (int i = 0; i < count_ && i < count; ++i) {
        StoreOne(image, kind, first + i, records_[size_t(i)]);
    }
}

void cmcClipCh::StoreOne(uint8_t* image, int kind, int entry, datCh& record) {
    record.SetImage(image);
    record.Store(kind, entry);
}

void datClipCh::FillEmpty(uint8_t* image, int kind, int first, int count) {
    Clear();
    if (count < 0)
        count = 0;
    kind_ = kind;
    first_ = first;
    count_ = count;
    records_.resize(size_t(count));
    for (datCh& record : records_) {
        record.SetImage(image);
        record.SetEmpty(kind, first);
    }
}
