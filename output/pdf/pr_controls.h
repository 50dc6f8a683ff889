#pragma once
// The page layout a report prints: a page holds panels, panels hold panels and printable
// items. Positions are in page pixels, origin at the top left; one pixel is one PDF unit.
// Children are laid out by their Align value inside their parent's client area each time the
// parent, a child or an alignment changes. Containers own their children.

#include <functional>
#include <memory>
#include <string>
#include <vector>

class TPRCanvas;

struct TRect {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
    friend bool operator==(const TRect&, const TRect&) = default;
};

enum TAlign : uint8_t { alNone, alTop, alBottom, alLeft, alRight, alClient };

class TPRContainer;

class TPRControl {
public:
    explicit TPRControl(std::string name, int width, int height) : Name(std::move(name)), FWidth(width), FHeight(height) {}
    virtual ~TPRControl() = default;
    TPRControl(const TPRControl&) = delete;
    TPRControl& operator=(const TPRControl&) = delete;

    std::string Name;
    int Left() const { return FLeft; }
    int Top() const { return FTop; }
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    // The bounds in the parent's coordinates.
    TRect BoundsRect() const { return {FLeft, FTop, FLeft + FWidth, FTop + FHeight}; }
    void SetBounds(int left, int top, int width, int height);
    TAlign Align() const { return FAlign; }
    void SetAlign(TAlign align);
    TPRContainer* Parent() const { return FParent; }

    // Lays the children out again (containers only).
    virtual void Realign() {}

private:
    friend class TPRContainer;
    void PlaceAt(const TRect& bounds);

    int FLeft = 0, FTop = 0, FWidth, FHeight;
    TAlign FAlign = alNone;
    TPRContainer* FParent = nullptr;
};

class TPRContainer : public TPRControl {
public:
    using TPRControl::TPRControl;
    // Takes the child and lays it out.
    template <class T>
    T& InsertControl(std::unique_ptr<T> child) {
        T& inserted = *child;
        Adopt(std::move(child));
        return inserted;
    }
    int ControlCount() const { return static_cast<int>(FControls.size()); }
    TPRControl& Controls(int index) const { return *FControls.at(index); }
    // The rectangle, in this control's coordinates, that aligned children share.
    virtual TRect AlignRect() const { return {0, 0, Width(), Height()}; }

    void Realign() override;

private:
    void Adopt(std::unique_ptr<TPRControl> child);

    std::vector<std::unique_ptr<TPRControl>> FControls;
};

// A panel of a page; prints its panels and printable items.
class TPRPanel : public TPRContainer {
public:
    explicit TPRPanel(std::string name) : TPRContainer(std::move(name), 185, 41) {}
    // rect: this panel's rectangle on the page.
    virtual void PrintTo(TPRCanvas& canvas, const TRect& rect);
};

class TPRLayoutPanel : public TPRPanel {
public:
    using TPRPanel::TPRPanel;
    using TPrintEvent = std::function<void(TPRPanel& sender, TPRCanvas& canvas, const TRect& rect)>;
    TPrintEvent BeforePrint;
    TPrintEvent AfterPrint;
    void PrintTo(TPRCanvas& canvas, const TRect& rect) override;
};

// One PDF page. Its children are aligned inside its client area (one pixel inside its bevel)
// less the four margins.
class TPRPage : public TPRContainer {
public:
    explicit TPRPage(std::string name) : TPRContainer(std::move(name), 596, 842) {}
    using TPrintPageEvent = std::function<void(TPRPage& sender, TPRCanvas& canvas)>;
    TPrintPageEvent OnPrintPage;

    int MarginTop() const { return FMarginTop; }
    int MarginLeft() const { return FMarginLeft; }
    int MarginRight() const { return FMarginRight; }
    int MarginBottom() const { return FMarginBottom; }
    void SetMargins(int left, int top, int right, int bottom);
    TRect AlignRect() const override;

    // Prints each child panel with its bounds.
    void Print(TPRCanvas& canvas);

private:
    int FMarginTop = 32, FMarginLeft = 32, FMarginRight = 32, FMarginBottom = 32;
};

// Something a panel prints.
class TPRItem : public TPRControl {
public:
    explicit TPRItem(std::string name) : TPRControl(std::move(name), 100, 30) {}
    bool Printable = true;
    // rect: the item's rectangle on the page.
    virtual void PrintTo(TPRCanvas& canvas, const TRect& rect) = 0;
};
