#include "framework/dc/DCBase.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

TLogFont defaultLogFont()
{
    TLogFont f;
    f.height = 16;
    f.weight = 400;
    std::copy_n("Liberation Sans", 16, f.faceName);
    return f;
}

TDCBase::TDCBase(const TLogFont& defaultFont)
{
    TDCObject pen;
    pen.kind = TDCObject::penKind;
    pen.color = TRgb(0, 0, 0);
    pen.width = 1;
    TDCObject font;
    font.kind = TDCObject::fontKind;
    font.logFont = defaultFont;
    for (TDCObject* o : { &pen, &font }) {
        o->alive = true;
        o->stock = true;
        objects.push_back(*o);
    }
    current.pen = stockPen;
    current.font = stockFont;
}

const TDCObject* TDCBase::object(THandle h) const
{
    if (h.id == 0 || h.id > objects.size())
        return nullptr;
    const TDCObject& o = objects[h.id - 1];
    return o.alive ? &o : nullptr;
}

THandle TDCBase::addObject(const TDCObject& o)
{
    objects.push_back(o);
    objects.back().alive = true;
    objects.back().stock = false;
    ++liveObjects;
    return THandle { static_cast<std::uint32_t>(objects.size()) };
}

THandle TDCBase::CreatePen(int width, TColor color)
{
    TDCObject o;
    o.kind = TDCObject::penKind;
    o.color = color;
    // Widths of 0 and below draw the thinnest line, as a width of 1 does.
    o.width = std::max(width, 1);
    return addObject(o);
}

THandle TDCBase::CreateFontIndirect(const TLogFont& font)
{
    TDCObject o;
    o.kind = TDCObject::fontKind;
    o.logFont = font;
    // A face name without its terminator must not be read past its array.
    o.logFont.faceName[sizeof o.logFont.faceName - 1] = 0;
    return addObject(o);
}

THandle TDCBase::SelectObject(THandle h)
{
    const TDCObject* o = object(h);
    if (!o)
        return THandle {};
    THandle* slot = o->kind == TDCObject::penKind ? &current.pen : &current.font;
    const THandle previous = *slot;
    *slot = h;
    return previous;
}

bool TDCBase::isSelectedAnywhere(THandle h) const
{
    auto uses = [h](const TDCAttributes& a) { return a.pen == h || a.font == h; };
    return uses(current) || std::any_of(savedStates.begin(), savedStates.end(), uses);
}

bool TDCBase::DeleteObject(THandle h)
{
    const TDCObject* o = object(h);
    if (!o)
        return false;
    if (o->stock)
        return true;
    // Deleting a selected object would leave the context (or a state it may
    // return to) pointing at nothing: refuse, so the object shows up as leaked.
    if (isSelectedAnywhere(h))
        return false;
    objects[h.id - 1].alive = false;
    --liveObjects;
    return true;
}

int TDCBase::SaveDC()
{
    savedStates.push_back(current);
    stateSaved();
    return saveDepth();
}

bool TDCBase::RestoreDC(int saved)
{
    const int depth = saveDepth();
    int levels = 0;
    if (saved < 0)
        levels = -static_cast<long long>(saved) > depth ? 0 : -saved;
    else if (saved > 0 && saved <= depth)
        levels = depth - saved + 1;
    if (levels == 0)
        return false;
    current = savedStates[depth - levels];
    savedStates.resize(depth - levels);
    stateRestored(levels);
    return true;
}

bool TDCBase::MoveToEx(int x, int y, TPoint* previous)
{
    if (previous)
        *previous = current.position;
    current.position = TPoint { x, y };
    return true;
}

TColor TDCBase::SetTextColor(TColor color) { return std::exchange(current.textColor, color); }

TColor TDCBase::SetBkColor(TColor color) { return std::exchange(current.bkColor, color); }

unsigned TDCBase::SetTextAlign(unsigned align) { return std::exchange(current.textAlign, align); }

int TDCBase::SetMapMode(int mode)
{
    if (mode != TMapMode::text && mode != TMapMode::isotropic && mode != TMapMode::anisotropic)
        return 0;
    const int previous = std::exchange(current.mapMode, mode);
    if (mode == TMapMode::text) {
        current.windowExt = TSize { 1, 1 };
        current.viewportExt = TSize { 1, 1 };
    }
    mappingChanged();
    return previous;
}

bool TDCBase::SetViewportExtEx(int cx, int cy, TSize* previous)
{
    if (previous)
        *previous = current.viewportExt;
    // The text mode has fixed extents; setting them there succeeds and does nothing.
    if (current.mapMode == TMapMode::text)
        return true;
    if (cx == 0 || cy == 0)
        return false;
    current.viewportExt = TSize { cx, cy };
    mappingChanged();
    return true;
}

bool TDCBase::SetWindowExtEx(int cx, int cy, TSize* previous)
{
    if (previous)
        *previous = current.windowExt;
    if (current.mapMode == TMapMode::text)
        return true;
    if (cx == 0 || cy == 0)
        return false;
    current.windowExt = TSize { cx, cy };
    mappingChanged();
    return true;
}

TDCMapping TDCBase::mapping() const
{
    TDCMapping m;
    if (current.mapMode == TMapMode::text)
        return m;
    m.scaleX = static_cast<double>(current.viewportExt.cx) / current.windowExt.cx;
    m.scaleY = static_cast<double>(current.viewportExt.cy) / current.windowExt.cy;
    if (current.mapMode == TMapMode::isotropic) {
        // Equal scale on both axes, the smaller one, so the whole window
        // extent fits into the viewport; each axis keeps its direction.
        const double s = std::min(std::fabs(m.scaleX), std::fabs(m.scaleY));
        m.scaleX = std::copysign(s, m.scaleX);
        m.scaleY = std::copysign(s, m.scaleY);
    }
    return m;
}

void orderCorners(int& left, int& top, int& right, int& bottom)
{
    if (left > right)
        std::swap(left, right);
    if (top > bottom)
        std::swap(top, bottom);
}

bool ellipseIn(int left, int top, int right, int bottom, TEllipse& e)
{
    e.rx = (static_cast<double>(right) - left - 1) / 2;
    e.ry = (static_cast<double>(bottom) - top - 1) / 2;
    e.cx = (static_cast<double>(left) + right) / 2;
    e.cy = (static_cast<double>(top) + bottom) / 2;
    return e.rx > 0 && e.ry > 0;
}
