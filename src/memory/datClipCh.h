#pragma once

#include <cstdint>
#include <vector>

#include "memory/datCh.h"

// The channel clipboard: copies of consecutive records of one record kind. The records are
// copies, so editing the image after Copy does not change the clipboard, and it can be pasted
// any number of times.
class cmcClipCh {
public:
    cmcClipCh() = default;
    virtual ~cmcClipCh() = default;
    cmcClipCh(const cmcClipCh&) = delete;
    cmcClipCh& operator=(const cmcClipCh&) = delete;

    virtual void Clear();
    virtual void Copy(uint8_t* image, int kind, int first, int count);
    virtual void LoadOne(uint8_t* image, int kind, int entry, datCh& record);
    virtual bool CanPaste(int kind) const;
    virtual void Paste(uint8_t* image, int kind, int first, int count);
    virtual void StoreOne(uint8_t* image, int kind, int entry, datCh& record);

    int Kind() const { return kind_; }
    int FirstEntry() const { return first_; }
    int Count() const { return count_; }
    const datCh& Record(int i) const { return records_[size_t(i)]; }
    datCh& Record(int i) { return records_[size_t(i)]; }

protected:
    std::vector<datCh> records_;
    int kind_ = 0;  // 0 = empty
    int first_ = 0;
    int count_ = 0;
};

// The main controller's clipboard; also fills itself with empty records for clear, delete and
// insert.
class datClipCh : public cmcClipCh {
public:
    void FillEmpty(uint8_t* image, int kind, int first, int count);
};
