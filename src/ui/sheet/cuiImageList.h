#pragma once

#include <QIcon>
#include <QString>
#include <vector>

// An image list: the pictures of a view by index, each an SVG file, handed out as icons that are
// drawn afresh at whatever size a view asks, so they stay sharp on any screen. A node's mark is
// composited onto its picture in the same way, as one icon of two layers.
class cuiImageList {
public:
    // The tree's images, in the order the tree descriptions number them.
    enum TreeImage : int {
        kTreeRadio = 0,
        kTreeFolder = 1,
        kTreeNoteList = 2,
        kTreeNoteSettings = 3,
        kTreeMarkNotice = 4,
        kTreeMarkError = 5,
    };
    // The marks of a cell's notice and error, drawn by the sheets as by the tree.
    static constexpr int kNoticeMark = kTreeMarkNotice;
    static constexpr int kErrorMark = kTreeMarkError;
    // The tool bar's images (the main menu uses them too).
    enum ToolImage : int {
        kToolFileNew = 0,
        kToolFileOpen = 1,
        kToolFileSave = 2,
        kToolCom1 = 3,  // 3..6: COM1..COM4
        kToolCloneRead = 7,
        kToolCloneWrite = 8,
        kToolCloneInfo = 9,
        kToolPen = 10,
        kToolFill = 11,
        kToolSlider = 12,
    };

    cuiImageList() = default;
    // Images by index: paths of SVG files (resource paths such as ":/icons/file-new.svg" too).
    explicit cuiImageList(std::vector<QString> paths) : paths_(std::move(paths)) {}

    static cuiImageList TreeImages();
    static cuiImageList ToolBarImages();
    // The program's own icon (window, About box, desktop entry).
    static QIcon AppIcon();
    static QString AppIconPath();

    // The size the pictures are drawn at in the tree, the menus and the sheets' cells.
    static constexpr int kSize = 16;
    int Size() const { return kSize; }
    int Count() const { return static_cast<int>(paths_.size()); }
    bool Has(int index) const { return index >= 0 && index < Count(); }
    // The file behind an image; empty for an index outside the list.
    QString Path(int index) const { return Has(index) ? paths_[size_t(index)] : QString(); }
    // The image as an icon; a null icon for an index outside the list (-1: no image).
    QIcon Icon(int index) const;
    // The image with another image of the list drawn over it (a mark); without a valid overlay
    // the image alone.
    QIcon Composite(int index, int overlayIndex) const;

private:
    std::vector<QString> paths_;
};

// An icon of SVG layers drawn one over the other, each over the whole square.
QIcon cuiLayeredIcon(const QStringList& layers);
