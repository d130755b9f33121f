// Pointing at the sheet: hit tests of labels, panels, texts and images; the selection
// frames; undo and redo in steps of whole-label snapshots.
#include "sheetview/uSheet.h"

#include <algorithm>

namespace tessora {

namespace {

// Label and panel rectangles keep right and bottom exclusive; a point on those edges
// still counts as inside.
bool HoldsWithEdges(const QRect& r, QPoint p) {
    return p.x() >= r.left() && p.x() <= r.left() + r.width() && p.y() >= r.top() && p.y() <= r.top() + r.height();
}

bool ValidLabel(const TSheet& s, int i) { return i >= 0 && size_t(i) < s.Labels.size(); }

TLabelFace* SelectedFace(TSheet& s) {
    if (!ValidLabel(s, s.CurLabel)) return nullptr;
    TSheetLabel& l = s.Label(s.CurLabel);
    if (s.CurFace < 0 || size_t(s.CurFace) >= l.Faces.size()) return nullptr;
    return l.Faces[size_t(s.CurFace)].get();
}

// labels: valid indices in increasing order.
void PushStep(TSheet& s, TUndoSteps& list, const std::vector<int>& labels) {
    while (list.size() >= TSheet::UndoDepth) list.pop_back();
    TUndoStep step;
    step.reserve(labels.size());
    for (int i : labels) {
        TLabelUndo u;
        u.LabelIndex = i;
        u.Snapshot = std::make_unique<TSheetLabel>(s.Header.Shape);
        u.Snapshot->CopyFrom(s.Label(i));
        step.insert(step.begin(), std::move(u));
    }
    list.push_front(std::move(step));
}

bool ApplyStep(TSheet& s, TUndoSteps& from, TUndoSteps& to) {
    if (from.empty()) return false;
    TUndoStep step = std::move(from.front());
    from.pop_front();
    std::vector<int> labels;
    for (const TLabelUndo& u : step)
        if (ValidLabel(s, u.LabelIndex) && u.Snapshot) labels.push_back(u.LabelIndex);
    std::sort(labels.begin(), labels.end());
    labels.erase(std::unique(labels.begin(), labels.end()), labels.end());
    if (!labels.empty()) PushStep(s, to, labels);

    int first, last;
    s.LabelsToDraw(first, last);
    for (const TLabelUndo& u : step) {
        if (!ValidLabel(s, u.LabelIndex) || !u.Snapshot) continue;
        s.Label(u.LabelIndex).CopyFrom(*u.Snapshot);
        // The zoomed view shows one label; others are drawn when it zooms out.
        if (u.LabelIndex >= first && u.LabelIndex <= last) s.DrawLabel(u.LabelIndex, -1, true);
    }
    // The restored face may hold fewer objects than the selection points at.
    if (TLabelFace* f = SelectedFace(s)) {
        if (s.SelKind == 1 && s.SelIndex >= int(f->Texts.size())) s.SelIndex = -1;
        if (s.SelKind == 2 && s.SelIndex >= int(f->Images.size())) s.SelIndex = -1;
    }
    s.RepaintView();
    return !from.empty();
}

} // namespace

void TSheet::RepaintView() {
    if (OnRepaint) OnRepaint();
}

bool TSheet::HasSelection() const { return SelectFrameVisible && ValidLabel(*this, CurLabel); }

int TSheet::LabelAtPoint(QPoint p) const {
    int first, last;
    LabelsToDraw(first, last);
    if (first < 0) return -1;
    for (int i = first; i <= last && size_t(i) < Labels.size(); ++i) {
        const QRect r = LabelRect(i);
        // Labels run row by row: one starting below the point ends the search.
        if (r.top() > p.y()) return -1;
        if (HoldsWithEdges(r, p)) return i;
    }
    return -1;
}

int TSheet::FaceAtPoint(QPoint p) const {
    if (!ValidLabel(*this, CurLabel)) return -1;
    const QRect r = LabelRect(CurLabel);
    if (Header.Shape != lsBox) return HoldsWithEdges(r, p) ? 0 : -1;
    for (int panel = 0; panel < 6; ++panel)
        if (HoldsWithEdges(BoxPanelRect(panel, r.left(), r.top()), p)) return panel;
    return -1;
}

QPoint TSheet::FaceOrigin() const {
    if (!ValidLabel(*this, CurLabel)) return {};
    const QRect r = LabelRect(CurLabel);
    if (Header.Shape == lsBox) return BoxPanelRect(CurFace, r.left(), r.top()).topLeft();
    return r.topLeft();
}

QSize TSheet::FaceExtent() const {
    if (Header.Shape == lsBox) return BoxPanelRect(CurFace, 0, 0).size();
    return QSize(MmToPxX(Header.LabelWidth), MmToPxY(Header.LabelHeight));
}

int TSheet::TextAtPoint(QPoint p, int fallback) {
    SelKind = 1;
    SelIndex = -1;
    if (TLabelFace* f = SelectedFace(*this)) {
        const QPoint o = FaceOrigin();
        for (size_t i = 0; i < f->Texts.size(); ++i) {
            const TRect& b = f->Texts[i]->Bounds;
            if (p.x() >= o.x() + b.Left && p.x() <= o.x() + b.Right && p.y() >= o.y() + b.Top &&
                p.y() <= o.y() + b.Bottom) {
                SelIndex = int(i);
                return SelIndex;
            }
        }
    }
    SelIndex = fallback;
    return -1;
}

int TSheet::ImageAtPoint(QPoint p, int fallback) {
    SelKind = 2;
    SelIndex = -1;
    if (TLabelFace* f = SelectedFace(*this)) {
        const QPoint o = FaceOrigin();
        const QSize ext = FaceExtent();
        for (size_t i = 0; i < f->Images.size(); ++i) {
            const TLabelImage& im = *f->Images[i];
            const TLabelBG* e = ImageCacheEntry(im);
            if (!e || e->Picture.isNull()) continue;
            const int x = o.x() + TLabelImage::AlignedOffset(im.AlignH, MmToPxX(im.X), ext.width(), im.PixWidth);
            const int y = o.y() + TLabelImage::AlignedOffset(im.AlignV, MmToPxY(im.Y), ext.height(), im.PixHeight);
            if (p.x() >= x && p.x() < x + im.PixWidth && p.y() >= y && p.y() < y + im.PixHeight) {
                SelIndex = int(i);
                return SelIndex;
            }
        }
    }
    SelIndex = fallback;
    return -1;
}

bool TSheet::HoverAt(QPoint p) {
    if (Labels.empty()) return false;
    const int i = LabelAtPoint(p);
    if (i == HotLabel) return false;
    HotLabel = i;
    return true;
}

void TSheet::SelectHotLabel() {
    if (!ValidLabel(*this, HotLabel)) {
        HideSelectionFrames();
        return;
    }
    CurLabel = HotLabel;
    CurFace = 0;
    PlaceSelectionFrames();
}

bool TSheet::SelectFaceAtPoint(QPoint p) {
    const int f = FaceAtPoint(p);
    if (f < 0) return false;
    const bool changed = f != CurFace;
    CurFace = f;
    PlaceSelectionFrames();
    return changed;
}

void TSheet::PlaceSelectionFrames() {
    if (!ValidLabel(*this, CurLabel)) {
        HideSelectionFrames();
        return;
    }
    const QRect r = LabelRect(CurLabel);
    SelectFrame = r.adjusted(-4, -4, 4, 4);
    SelectFrameVisible = true;
    FaceFrameVisible = Header.Shape == lsBox;
    FaceFrame = FaceFrameVisible ? BoxPanelRect(CurFace, r.left(), r.top()).adjusted(-4, -4, 4, 4) : QRect();
    RepaintView();
}

void TSheet::HideSelectionFrames() {
    SelectFrameVisible = false;
    FaceFrameVisible = false;
    RepaintView();
}

void TSheet::CloseSelection() {
    HotLabel = -1;
    CurLabel = -1;
    CurFace = 0;
    SelIndex = -1;
    UndoList.clear();
    RedoList.clear();
    HideSelectionFrames();
}

void TSheet::Record(bool single) {
    std::vector<int> labels;
    if (single) {
        if (ValidLabel(*this, CurLabel)) labels.push_back(CurLabel);
    } else {
        for (size_t i = 0; i < Labels.size(); ++i) labels.push_back(int(i));
    }
    RecordLabels(std::move(labels));
}

void TSheet::RecordLabels(std::vector<int> labels) {
    labels.erase(std::remove_if(labels.begin(), labels.end(), [this](int i) { return !ValidLabel(*this, i); }),
                 labels.end());
    std::sort(labels.begin(), labels.end());
    labels.erase(std::unique(labels.begin(), labels.end()), labels.end());
    // Nothing to restore: no step, so Undo is not offered for it.
    if (labels.empty()) return;
    PushStep(*this, UndoList, labels);
}

bool TSheet::Undo() { return ApplyStep(*this, UndoList, RedoList); }
bool TSheet::Redo() { return ApplyStep(*this, RedoList, UndoList); }

} // namespace tessora
