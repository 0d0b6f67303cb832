#include "cells/datChEdit.h"

#include <algorithm>
#include <string>
#include <vector>

#include "cells/BehaveUtil.h"
#include "cells/cmcCellCapsule.h"
#include "cells/cuiMainCore.h"
#include "events/cmcEvMan.h"
#include "memory/datCh.h"
#include "memory/datClipCh.h"
#include "platform/cmcHost.h"
#include "text/cmcGTex.h"
#include "text/cmcTextUtil.h"

namespace {

struct Rows {
    int lo = 0;
    int hi = -1;
    bool Empty() const { return hi < lo; }
    int Count() const { return hi - lo + 1; }
};

// The selected rows: the capsule's range when several rows are selected, else the current row;
// always cut to the list, so that an edit never reaches rows of a neighbouring list (the next ITU
// band, the user channels above the last one).
Rows SelectedRows(const cmcCellCapsule& capsule, const datCh& ch, int first, int last) {
    Rows r{ch.entry, ch.entry};
    if (capsule.rangeFlags & kRangeSelected) {
        r.lo = std::min(capsule.rangeLow, capsule.rangeHigh);
        r.hi = std::max(capsule.rangeLow, capsule.rangeHigh);
    }
    r.lo = std::max(r.lo, first);
    r.hi = std::min(r.hi, last);
    return r;
}

bool AnyUsed(const datCh& ch, int lo, int hi) {
    datCh probe(ch.Image());
    for (int e = lo; e <= hi; ++e) {
        probe.Load(ch.kind, e);
        if (probe.IsUsed())
            return true;
    }
    return false;
}

bool Confirm(const cmcCellCapsule& capsule, const char* key) {
    cmcGTex& dictionary = capsule.Core().document.Dictionary();
    const std::string caption = dictionary.Text("GI_Sys_AppTitle");
    const std::string text = ReadTextBlock(dictionary, key);
    return cmcHost::Instance().MessageBox(caption, text, HostIcon::Warning,
                                          HostButtons::OkCancel) == HostAnswer::Ok;
}

void PostRepaint(cmcEvKind kind, int argument = 0) {
    if (cmcEvMan* events = cmcEvMan::Global())
        events->PostEvent(kind, 0, argument);
}

void Status(const cmcCellCapsule& capsule, const char* key) {
    cmcEvMan* events = cmcEvMan::Global();
    if (events == nullptr)
        return;
    const std::string text = capsule.Core().document.Dictionary().Text(key);
    events->SendEventText(cmcEvKind::StatusMessage, kStatusTextNormal,
                          static_cast<int32_t>(kStatusBackNormal), text.c_str());
}

// Lines of the row commands' refusals and shortenings.
constexpr const char* kRefusedKey = "GI_AppMess_RowsRefused";
enum RefusedLine {
    kPasteShortened = 0,
    kNothingToPaste = 1,
    kTopReached = 2,
    kBottomReached = 3,
    kRowsFixed = 4,
    kBandShortened = 5,
};

// A row command that did less than asked, or nothing: said in the warning colours, after the
// command's own messages.
void Refused(const cmcCellCapsule& capsule, RefusedLine line,
             const std::vector<std::string>& texts = {}) {
    cmcEvMan* events = cmcEvMan::Global();
    if (events == nullptr)
        return;
    const std::string text =
        FillPlaceholders(capsule.Core().document.Dictionary().Line(kRefusedKey, int(line)), texts);
    events->PostEventText(cmcEvKind::StatusMessage, kStatusTextAlert,
                          static_cast<int32_t>(kStatusBackAlert), text.c_str());
}

// Empties rows lo..hi and has their cells repainted.
void EmptyRows(const datCh& ch, int lo, int hi) {
    if (hi < lo)
        return;
    datClipCh empty;
    empty.FillEmpty(ch.Image(), ch.kind, lo, hi - lo + 1);
    empty.Paste(ch.Image(), ch.kind, lo, hi - lo + 1);
    for (int e = lo; e <= hi; ++e)
        PostRepaint(cmcEvKind::RepaintArgument, e);
}

void MoveRows(const datCh& ch, int from, int count, int to) {
    if (count <= 0)
        return;
    datClipCh block;
    block.Copy(ch.Image(), ch.kind, from, count);
    block.Paste(ch.Image(), ch.kind, to, count);
}

void Reselect(cmcCellCapsule& capsule, int lo, int hi) {
    capsule.rangeFlags |= kRangeReselect;
    capsule.rangeLow = lo;
    capsule.rangeHigh = hi;
}

bool InList(int e, int first, int last) {
    return e >= first && e <= last;
}

}  // namespace

void datChEdit::Run(int command, cmcCellCapsule& capsule, datCh& ch, int first, int last) {
    switch (command) {
        case kCopy:
            Copy(capsule, ch, first, last);
            break;
        case kPaste:
            Paste(capsule, ch, first, last);
            break;
        case kCarryUp:
            Carry(capsule, ch, first, last, -1);
            break;
        case kCarryDown:
            Carry(capsule, ch, first, last, +1);
            break;
        case kClear:
            Clear(capsule, ch, first, last);
            break;
        case kDelete:
            Delete(capsule, ch, first, last);
            break;
        case kInsert:
            Insert(capsule, ch, first, last);
            break;
        default:
            break;
    }
}

void datChEdit::Copy(cmcCellCapsule& capsule, datCh& ch, int first, int last) {
    const Rows r = SelectedRows(capsule, ch, first, last);
    if (InList(ch.entry, first, last) && !r.Empty()) {
        capsule.Core().document.Clipboard().Copy(ch.Image(), ch.kind, r.lo, r.Count());
        Reselect(capsule, r.lo, r.hi);
        Status(capsule, "GI_AppMess_S_Copy");
    }
    ch.Reload();
}

void datChEdit::Paste(cmcCellCapsule& capsule, datCh& ch, int first, int last) {
    datClipCh& clip = capsule.Core().document.Clipboard();
    const int e = ch.entry;
    if (!InList(e, first, last) || !clip.CanPaste(ch.kind)) {
        if (InList(e, first, last))
            Refused(capsule, kNothingToPaste);
        ch.Reload();
        return;
    }
    const int n = std::min(clip.Count(), last - e + 1);
    if (n <= 0) {
        ch.Reload();
        return;
    }

    if (ch.kind == datCh::kDscPair) {
        // The radio scans at most six pairs of use value 3: count them as they would be.
        int scanned = 0;
        datCh probe(ch.Image());
        const int lastPair = ch.LastEntry(datCh::kDscPair);
        for (int i = datCh::FirstEntry(datCh::kDscPair); i <= lastPair; ++i) {
            const datChFields* rec = nullptr;
            if (i >= e && i < e + n) {
                rec = &clip.Record(i - e);
            } else {
                probe.Load(datCh::kDscPair, i);
                rec = &probe;
            }
            if (rec->IsUsed() && rec->pairUse == 3)
                ++scanned;
        }
        if (scanned > kMaxScanPairs) {
            if (cmcEvMan* events = cmcEvMan::Global()) {
                const std::string text =
                    capsule.Core().document.Dictionary().Text("GI_Botttom_ScanFull");
                events->PostEventText(cmcEvKind::StatusMessage, kStatusTextAlert,
                                      static_cast<int32_t>(kStatusBackAlert), text.c_str());
            }
            ch.Reload();
            return;
        }
    }

    if (AnyUsed(ch, e, e + n - 1) && !Confirm(capsule, "GI_AppMess_Conv_Overwrite")) {
        ch.Reload();
        return;
    }
    clip.Paste(ch.Image(), ch.kind, e, n);
    if (n == 1) {
        PostRepaint(cmcEvKind::RepaintArgument, e);
    } else {
        PostRepaint(cmcEvKind::RepaintAll);
    }
    Reselect(capsule, e, e + n - 1);
    Status(capsule, "GI_AppMess_S_Paste");
    if (n < clip.Count()) {
        const std::vector<std::string> counts = {std::to_string(n), std::to_string(clip.Count())};
        if (ch.kind == datCh::kItuCh) {
            // An ITU list is one band: name the band and its last channel, where the paste ended.
            cmcGTex& dictionary = capsule.Core().document.Dictionary();
            Refused(capsule, kBandShortened,
                    {counts[0], counts[1], indBehaveUtil::ItuBandName(dictionary, last),
                     indBehaveUtil::ItuChannelName(dictionary, last)});
        } else {
            Refused(capsule, kPasteShortened, counts);
        }
    }
    ch.Reload();
}

void datChEdit::Carry(cmcCellCapsule& capsule, datCh& ch, int first, int last, int d) {
    const Rows r = SelectedRows(capsule, ch, first, last);
    const bool up = d < 0;
    if (r.Empty() || (up ? r.lo <= first : r.hi >= last)) {
        if (!r.Empty())
            Refused(capsule, up ? kTopReached : kBottomReached);
        ch.Reload();
        return;
    }
    const int neighbour = up ? r.lo - 1 : r.hi + 1;
    datClipCh covered;
    covered.Copy(ch.Image(), ch.kind, neighbour, 1);
    datClipCh block;
    block.Copy(ch.Image(), ch.kind, r.lo, r.Count());
    block.Paste(ch.Image(), ch.kind, r.lo + d, r.Count());
    covered.Paste(ch.Image(), ch.kind, up ? r.hi : r.lo, 1);

    Reselect(capsule, r.lo + d, r.hi + d);
    capsule.moveRequest = 1;
    capsule.moveArgument = up ? r.lo + d : r.hi + d;  // the cursor goes with the block
    PostRepaint(cmcEvKind::RepaintAll);
    ch.Reload();
}

void datChEdit::Clear(cmcCellCapsule& capsule, datCh& ch, int first, int last) {
    if (!datCh::AllowsChannelOps(ch.kind)) {
        Refused(capsule, kRowsFixed);
        ch.Reload();
        return;
    }
    if (!Confirm(capsule, "GI_AppMess_Conv_Clear")) {
        ch.Reload();
        return;
    }
    const Rows r = SelectedRows(capsule, ch, first, last);
    EmptyRows(ch, r.lo, r.hi);
    Status(capsule, "GI_AppMess_S_Clear");
    ch.Reload();
}

void datChEdit::Delete(cmcCellCapsule& capsule, datCh& ch, int first, int last) {
    const Rows r = SelectedRows(capsule, ch, first, last);
    if (!datCh::AllowsChannelOps(ch.kind))
        Refused(capsule, kRowsFixed);
    if (!datCh::AllowsChannelOps(ch.kind) || r.Empty() ||
        (AnyUsed(ch, r.lo, r.hi) && !Confirm(capsule, "GI_AppMess_Conv_Delete"))) {
        ch.Reload();
        return;
    }
    if (r.hi < last)
        MoveRows(ch, r.hi + 1, last - r.hi, r.lo);
    EmptyRows(ch, last - (r.hi - r.lo), last);
    capsule.rangeFlags &= uint8_t(~kRangeReselect);
    capsule.moveRequest = 1;
    capsule.moveArgument = r.lo;
    PostRepaint(cmcEvKind::RepaintAll);
    Status(capsule, "GI_AppMess_S_Delete");
    ch.Reload();
}

void datChEdit::Insert(cmcCellCapsule& capsule, datCh& ch, int first, int last) {
    const Rows r = SelectedRows(capsule, ch, first, last);
    if (!datCh::AllowsChannelOps(ch.kind))
        Refused(capsule, kRowsFixed);
    if (!datCh::AllowsChannelOps(ch.kind) || r.Empty()) {
        ch.Reload();
        return;
    }
    const int k = r.Count();
    if (AnyUsed(ch, last - k + 1, last) && !Confirm(capsule, "GI_AppMess_Conv_Overflow")) {
        ch.Reload();
        return;
    }
    if (r.hi < last)
        MoveRows(ch, r.lo, last - r.hi, r.hi + 1);
    EmptyRows(ch, r.lo, r.hi);
    PostRepaint(cmcEvKind::RepaintAll);
    Reselect(capsule, r.lo, r.hi);
    Status(capsule, "GI_AppMess_S_Insert");
    ch.Reload();
}
