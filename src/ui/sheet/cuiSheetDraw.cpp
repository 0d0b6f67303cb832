// Drawing one cell: background by colour and highlight, the bottom rule, the text (fixed, or the
// behaviour's), and the notice and error marks. The same code paints the screen, a QImage and a
// printer page: only the painter differs, and printing is decided by the sheet's printer.
#include <QPainter>
#include <QPen>
#include <algorithm>
#include <cmath>
#include <string_view>

#include "cells/cmcCellFont.h"
#include "ui/sheet/cuiCellPainter.h"
#include "ui/sheet/cuiImageList.h"
#include "ui/sheet/cuiSheet.h"

namespace {

constexpr cmcColor kWhite = 0xFFFFFF;
constexpr cmcColor kSilver = 0xC0C0C0;
constexpr cmcColor kMidGrey = 0x808080;
constexpr cmcColor kDarkGrey = 0x606060;
constexpr cmcColor kBlack = 0x000000;

bool IsPaper(cmcColor color) {
    return color == clWindow || color == kWhite;
}

// The contrast ratio of two colours by their relative luminance (1 to 21).
double Contrast(const QColor& a, const QColor& b) {
    auto luminance = [](const QColor& c) {
        auto channel = [](double v) {
            return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) +
               0.0722 * channel(c.blueF());
    };
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The colour with its hue and saturation, its lightness moved away from the background's until
// the two read apart (a contrast of 3:1, as large text needs), or as far as it goes.
cmcColor ReadableOn(const cuiCellPainter& canvas, cmcColor color, cmcColor background) {
    constexpr double kReadable = 3.0;
    const QColor back = canvas.Resolve(background);
    QColor c = canvas.Resolve(color);
    if (Contrast(c, back) >= kReadable)
        return color;
    const bool lighter = back.lightnessF() < 0.5;
    float h, s, l, a;
    c.getHslF(&h, &s, &l, &a);
    for (int step = 0; step < 20 && Contrast(c, back) < kReadable; ++step) {
        l = std::clamp(l + (lighter ? 0.05f : -0.05f), 0.0f, 1.0f);
        c.setHslF(h, s, l, a);
    }
    return cmcColor(uint32_t(c.red()) | uint32_t(c.green()) << 8 | uint32_t(c.blue()) << 16);
}

}  // namespace

void cuiSheet::GridDrawCell(QPainter& painter, int col, int row, const QRect& rect) {
    DrawCell(painter, col, row, rect);
}

void cuiSheet::DrawCell(QPainter& painter, int col, int row, const QRect& rect) {
    if (cells_.empty() || building_ || !grid_ || col < 0 || row < 0 || col >= colCount_ ||
        row >= rowCount_)
        return;
    if (grid_->ColumnWidth(col) < 1 || grid_->RowHeight(row) < 1)
        return;
    const bool printing = printer_ != nullptr;
    const bool focused = grid_->hasFocus();
    cuiCellPainter canvas(painter, grid_->palette());
    // Rectangles as the behaviours know them: right and bottom edges excluded.
    const int left = rect.left(), top = rect.top();
    const int right = rect.left() + rect.width(), bottom = rect.top() + rect.height();

    // A "+" cell draws as part of the nearest cell on its left without "+" (the owner); the text
    // rectangle spans the owner and every "+" cell that follows it.
    cmcCellObj& cell = CellAt(col, row);
    cmcCellObj* owner = &cell;
    int ownerCol = col;
    int textLeft = left;
    if (cell.layout & cmcCellObj::kJoinLeft) {
        int k = col - 1;
        for (; k >= 0; --k) {
            textLeft -= grid_->ColumnWidth(k);
            if (!(CellAt(k, row).layout & cmcCellObj::kJoinLeft))
                break;
        }
        if (k >= 0) {
            owner = &CellAt(k, row);
            ownerCol = k;
        }
    }
    int textRight = right;
    for (int k = col + 1; k < colCount_ && (CellAt(k, row).layout & cmcCellObj::kJoinLeft); ++k)
        textRight += grid_->ColumnWidth(k);

    bool highlighted = IsHighlighted(col, row);
    if (!highlighted && (owner->state & cmcCellObj::kAttached) && row == CursorRow()) {
        int c = ownerCol;
        highlighted = ResolveLeft(c, row);
    }

    std::string text = owner->GetText();
    if (text.empty() && owner->label != CL_None)
        text = " ";

    cmcColor background;
    bool inverse = false;  // printed white on dark grey
    if (printing) {
        if (IsPaper(cell.color)) {
            background = kWhite;
        } else {
            background = kDarkGrey;
            inverse = true;
        }
    } else if (!highlighted || EditorShowing()) {
        background = cell.color;
    } else {
        background = (focused || ChoiceListMode()) ? clHighlight : clBtnFace;
    }
    if (background != kWhite)
        canvas.FillRect(left, top, right, bottom, background);

    if (cell.layout & cmcCellObj::kBottomRule) {
        const cmcColor rule = IsPaper(cell.color) ? (printing ? kBlack : kMidGrey) : kWhite;
        // One screen pixel; on paper as thick as a pixel of the screen is (the scale), since a
        // printer's own pixel is a hairline that hardly shows.
        const int thickness = printing ? scale_ : 1;
        canvas.FillRect(left, bottom - thickness, right, bottom, rule);
    }

    const cmcCellFont& font = FontOf(*owner);
    canvas.SetFont(ToQFont(font));
    canvas.SetFontColor(font.color);
    if (highlighted && background == clHighlight)
        canvas.SetFontColor(clHightlightText);

    cmcCellRect textRect{textLeft, top, textRight, bottom};
    drawCapsule_.Reset();
    bool behaviourRan = false;
    if (owner->label != CL_None) {
        drawCapsule_.parent = ownerCapsule_.get();
        drawCapsule_.cell = owner;
        drawCapsule_.canvas = &canvas;
        drawCapsule_.cellRect = &textRect;
        drawCapsule_.markBits =
            uint8_t((highlighted ? kMarkCurrent : 0) | (printing ? kMarkPrinting : 0));
        behaviour_(behaviourContext_, drawCapsule_, false);
        text = drawCapsule_.outputText;
        behaviourRan = true;
    }

    // A mark at an edge of the cell takes its place from the text, which is laid out beside it
    // ("12.3" never reads "12.?"); one after the text follows it anyway.
    if (behaviourRan && (drawCapsule_.markBits & (kMarkNotice | kMarkError)) && images_) {
        const int markPosition = MarkPosition(*owner);
        if (markPosition == kMarkPosLeft)
            textRect.left += MarkSize(rect) + MarkSize(rect) / 8;
        else if (markPosition != kMarkPosAfterText)
            textRect.right -= MarkSize(rect) + 1;
    }

    if (printing) {
        canvas.SetFontColor(inverse ? kWhite : kBlack);
    } else if (highlighted && background == clHighlight) {
        // A colour the behaviour chose (olive for values the radio fixes, grey for unused rows,
        // red for differing bytes) says something about the value, under the cursor too: it is
        // kept, only made light or dark enough to read on the highlight.
        if (behaviourRan && canvas.FontColor() != clHightlightText)
            canvas.SetFontColor(ReadableOn(canvas, canvas.FontColor(), clHighlight));
        else
            canvas.SetFontColor(clHightlightText);
    } else if (highlighted && background == clBtnFace) {
        const cmcColor fc = canvas.FontColor();
        // Grey text on the grey highlight of an unfocused grid would vanish. White reads on the
        // classic mid-grey face; on the light faces of today's palettes white vanishes too, and
        // the face's own text colour is taken instead.
        if (fc == clBtnFace || fc == kSilver || fc == clGrayText)
            canvas.SetFontColor(canvas.Resolve(clBtnFace).lightness() > 160 ? clBtnText : clWindow);
    }

    // The text block, split at line feeds and placed as a whole.
    std::vector<std::string_view> lines;
    for (std::size_t start = 0; start <= text.size();) {
        const std::size_t lf = text.find('\n', start);
        if (lf == std::string::npos) {
            lines.emplace_back(text.data() + start, text.size() - start);
            break;
        }
        lines.emplace_back(text.data() + start, lf - start);
        start = lf + 1;
    }
    const QFontMetrics& metrics = canvas.Metrics();
    const int lineHeight = metrics.height();
    const int blockHeight = text.empty() ? 0 : lineHeight * int(lines.size());
    int y = textRect.top + scale_;
    switch (owner->VAlignment()) {
        case cmcCellObj::kMiddle:
            y = textRect.top + (textRect.bottom - textRect.top + 1 - blockHeight) / 2;
            break;
        case cmcCellObj::kBottom:
            y = textRect.bottom - blockHeight - scale_;
            break;
        default:
            break;
    }
    canvas.SetPenX(right);
    if (!text.empty()) {
        for (std::string_view line : lines) {
            const QString s = QString::fromLocal8Bit(line.data(), qsizetype(line.size()));
            const int w = metrics.horizontalAdvance(s);
            int x = textRect.left + 4 * scale_;
            switch (owner->HAlignment()) {
                case cmcCellObj::kCenter:
                    x = textRect.left + (textRect.right - textRect.left + 1 - w) / 2;
                    break;
                case cmcCellObj::kRight:
                    x = textRect.right + 1 - w - 4 * scale_;
                    break;
                default:
                    break;
            }
            canvas.DrawText(x, y, s);
            y += lineHeight;
        }
    }

    if (behaviourRan && (drawCapsule_.markBits & (kMarkNotice | kMarkError)))
        DrawMark(canvas, *owner, rect, canvas.PenX());
}

void cuiSheet::DrawMark(cuiCellPainter& canvas, const cmcCellObj& owner, const QRect& rect,
                        int penX) {
    const uint8_t marks = drawCapsule_.markBits;
    drawCapsule_.markBits &= uint8_t(~(kMarkNotice | kMarkError));
    if (!images_)
        return;
    const bool printing = printer_ != nullptr;
    const bool error = (marks & kMarkError) != 0;
    const int right = rect.left() + rect.width(), bottom = rect.top() + rect.height();
    const int s = MarkSize(rect);
    const int position = MarkPosition(owner);
    int x = right - s - 1;
    if (position == kMarkPosLeft)
        x = rect.left() + s / 8;
    else if (position == kMarkPosAfterText && penX < x)
        x = penX;
    QPainter& painter = canvas.Painter();
    if (!printing) {
        // Rendered at the size it is drawn, so the mark stays sharp at any scale.
        const QIcon icon =
            images_->Icon(error ? cuiImageList::kErrorMark : cuiImageList::kNoticeMark);
        if (!icon.isNull())
            icon.paint(&painter, QRect(x, bottom - s - 1, s, s));
        return;
    }
    const int y = bottom - s - s / 8;
    if (error)
        cuiMarkShapes::DrawError(painter, x, y, s, Qt::black, Qt::black);
    else
        cuiMarkShapes::DrawNotice(painter, x, y, s, Qt::white, Qt::black);
}

int cuiSheet::MarkPosition(const cmcCellObj& owner) const {
    const int position = drawCapsule_.markPosition;
    if (position != kMarkPosDefault)
        return position;
    return owner.HAlignment() == cmcCellObj::kRight ? kMarkPosLeft : kMarkPosAfterText;
}

int cuiSheet::MarkSize(const QRect& rect) const {
    return printer_ != nullptr ? rect.height() / 2 : images_->Size();
}
