#pragma once
// The bookkeeping every drawing backend shares: the object table, the
// current attributes, the save/restore stack and the logical-to-device
// mapping. Backends derive from TDCBase, add the actual drawing, and hear
// about state changes through the protected hooks.

#include "framework/dc/TDC.h"

#include <vector>

struct TDCObject {
    enum Kind : std::uint8_t { penKind, fontKind };
    Kind kind = penKind;
    bool alive = false;
    bool stock = false;
    TColor color; // pens
    int width = 1; // pens
    TLogFont logFont; // fonts
};

struct TDCAttributes {
    THandle pen, font;
    TColor textColor = TRgb(0, 0, 0);
    TColor bkColor = TRgb(255, 255, 255);
    unsigned textAlign = TTextAlign::left | TTextAlign::top;
    TPoint position;
    int mapMode = TMapMode::text;
    TSize windowExt { 1, 1 };
    TSize viewportExt { 1, 1 };
};

// Logical-to-device mapping: device = logical * scale; both origins are 0.
struct TDCMapping {
    double scaleX = 1, scaleY = 1;
    double toDeviceX(double x) const { return x * scaleX; }
    double toDeviceY(double y) const { return y * scaleY; }
};

// Puts a box's corners in order, whichever way they were given.
void orderCorners(int& left, int& top, int& right, int& bottom);
// The ellipse Ellipse(left, top, right, bottom) draws (corners in order):
// inscribed in those pixels, through the centres of the outermost ones.
// False when it has no inside to draw.
struct TEllipse {
    double cx = 0, cy = 0, rx = 0, ry = 0;
};
bool ellipseIn(int left, int top, int right, int bottom, TEllipse& e);

// The font a fresh context writes with: a plain sans-serif face whose cell
// is 16 units high, so lines 15 units apart just touch.
TLogFont defaultLogFont();

class TDCBase : public TDC {
public:
    // The stock objects every context starts with; they can be selected
    // again but never deleted, and are not counted as live objects.
    static constexpr THandle stockPen { 1 };
    static constexpr THandle stockFont { 2 };

    explicit TDCBase(const TLogFont& defaultFont);

    int SaveDC() override;
    bool RestoreDC(int saved = -1) override;

    THandle CreatePen(int width, TColor color) override;
    THandle CreateFontIndirect(const TLogFont& font) override;
    THandle SelectObject(THandle object) override;
    bool DeleteObject(THandle object) override;

    bool MoveToEx(int x, int y, TPoint* previous = nullptr) override;

    TColor SetTextColor(TColor color) override;
    TColor SetBkColor(TColor color) override;
    unsigned SetTextAlign(unsigned align) override;

    int SetMapMode(int mode) override;
    bool SetViewportExtEx(int cx, int cy, TSize* previous = nullptr) override;
    bool SetWindowExtEx(int cx, int cy, TSize* previous = nullptr) override;

    // Inspection, for backends and tests.
    const TDCAttributes& attributes() const { return current; }
    const TDCObject* object(THandle h) const;
    const TDCObject& currentPen() const { return *object(current.pen); }
    const TDCObject& currentFont() const { return *object(current.font); }
    TDCMapping mapping() const;
    int saveDepth() const { return static_cast<int>(savedStates.size()); }
    // Pens and fonts created and not yet deleted.
    int liveObjectCount() const { return liveObjects; }

protected:
    // Called after the state was pushed, and after `levels` states were
    // popped back into the current one.
    virtual void stateSaved() { }
    virtual void stateRestored(int /*levels*/) { }
    // Called whenever the mapping mode or an extent changed.
    virtual void mappingChanged() { }
    // Changes the current position without any drawing (for LineTo).
    void setPosition(TPoint p) { current.position = p; }

private:
    THandle addObject(const TDCObject& o);
    bool isSelectedAnywhere(THandle h) const;

    std::vector<TDCObject> objects; // handle id - 1 indexes this
    TDCAttributes current;
    std::vector<TDCAttributes> savedStates;
    int liveObjects = 0;
};
