#include "output/pdf/pr_controls.h"

#include <algorithm>

namespace {

TRect Shifted(const TRect& rect, int dx, int dy) { return {rect.Left + dx, rect.Top + dy, rect.Right + dx, rect.Bottom + dy}; }

}  // namespace

void TPRControl::SetBounds(int left, int top, int width, int height) {
    FLeft = left;
    FTop = top;
    FWidth = std::max(width, 0);
    FHeight = std::max(height, 0);
    if (FParent && FAlign != alNone)
        FParent->Realign();
    else
        Realign();
}

void TPRControl::SetAlign(TAlign align) {
    FAlign = align;
    if (FParent) FParent->Realign();
}

void TPRControl::PlaceAt(const TRect& bounds) {
    const bool resized = bounds.Width() != FWidth || bounds.Height() != FHeight;
    FLeft = bounds.Left;
    FTop = bounds.Top;
    FWidth = std::max(bounds.Width(), 0);
    FHeight = std::max(bounds.Height(), 0);
    if (resized) Realign();
}

void TPRContainer::Adopt(std::unique_ptr<TPRControl> child) {
    child->FParent = this;
    FControls.push_back(std::move(child));
    Realign();
}

void TPRContainer::Realign() {
    // Top and bottom strips first, then left and right, then the rest to the client ones.
    TRect free = AlignRect();
    for (const TAlign pass : {alTop, alBottom, alLeft, alRight, alClient})
        for (const auto& child : FControls) {
            if (child->Align() != pass) continue;
            const int w = child->Width(), h = child->Height();
            switch (pass) {
            case alTop:
                child->PlaceAt({free.Left, free.Top, free.Right, free.Top + h});
                free.Top += h;
                break;
            case alBottom:
                child->PlaceAt({free.Left, free.Bottom - h, free.Right, free.Bottom});
                free.Bottom -= h;
                break;
            case alLeft:
                child->PlaceAt({free.Left, free.Top, free.Left + w, free.Bottom});
                free.Left += w;
                break;
            case alRight:
                child->PlaceAt({free.Right - w, free.Top, free.Right, free.Bottom});
                free.Right -= w;
                break;
            default:
                child->PlaceAt(free);
            }
        }
}

void TPRPanel::PrintTo(TPRCanvas& canvas, const TRect& rect) {
    for (int i = 0; i < ControlCount(); ++i) {
        TPRControl& child = Controls(i);
        const TRect childRect = Shifted(child.BoundsRect(), rect.Left, rect.Top);
        if (auto* panel = dynamic_cast<TPRPanel*>(&child))
            panel->PrintTo(canvas, childRect);
        else if (auto* item = dynamic_cast<TPRItem*>(&child); item && item->Printable)
            item->PrintTo(canvas, childRect);
    }
}

void TPRLayoutPanel::PrintTo(TPRCanvas& canvas, const TRect& rect) {
    if (BeforePrint) BeforePrint(*this, canvas, rect);
    TPRPanel::PrintTo(canvas, rect);
    if (AfterPrint) AfterPrint(*this, canvas, rect);
}

void TPRPage::SetMargins(int left, int top, int right, int bottom) {
    FMarginLeft = left;
    FMarginTop = top;
    FMarginRight = right;
    FMarginBottom = bottom;
    Realign();
}

TRect TPRPage::AlignRect() const {
    constexpr int Bevel = 1;
    return {Bevel + FMarginLeft, Bevel + FMarginTop, std::max(Bevel + FMarginLeft, Width() - Bevel - FMarginRight),
            std::max(Bevel + FMarginTop, Height() - Bevel - FMarginBottom)};
}

void TPRPage::Print(TPRCanvas& canvas) {
    for (int i = 0; i < ControlCount(); ++i)
        if (auto* panel = dynamic_cast<TPRPanel*>(&Controls(i))) panel->PrintTo(canvas, panel->BoundsRect());
}
