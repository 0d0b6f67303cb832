#pragma once

#include <QIcon>
#include <QPixmap>
#include <vector>

// A list of images of one size, as the tree and the sheets share it (entry 4 is the notice mark,
// entry 5 the error mark). The main window fills it from its icon files; WithDrawnMarks gives a
// list whose two marks the program draws itself, for windows that have no icon files at hand.
class cuiImageList {
public:
    static constexpr int kNoticeMark = 4;
    static constexpr int kErrorMark = 5;

    explicit cuiImageList(int size = 16) : size_(size) {}

    int Size() const { return size_; }
    int Count() const { return int(icons_.size()); }
    // Sets entry index, growing the list with empty entries as needed.
    void Set(int index, const QIcon& icon);
    void Add(const QIcon& icon) { icons_.push_back(icon); }
    bool Has(int index) const;
    const QIcon& Icon(int index) const { return icons_[size_t(index)]; }
    // The entry at the list's size for a device pixel ratio; a null pixmap for an empty entry.
    QPixmap Pixmap(int index, qreal devicePixelRatio = 1.0) const;

    static cuiImageList WithDrawnMarks(int size = 16);

private:
    int size_;
    std::vector<QIcon> icons_;
};
