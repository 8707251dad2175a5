#include "tests/support/RecordingDC.h"

#include <cstdlib>

#include <algorithm>
#include <cstring>
#include <iterator>

TRecordingDC::TRecordingDC()
    : TDCBase(defaultLogFont())
{
}

TRecordedCall& TRecordingDC::record(std::string_view op, std::initializer_list<int> args) const
{
    TRecordedCall c;
    c.op = op;
    c.args = args;
    const TDCAttributes& a = attributes();
    c.from = a.position;
    c.penColor = currentPen().color;
    c.penWidth = currentPen().width;
    c.font = currentFont().logFont;
    c.textColor = a.textColor;
    c.bkColor = a.bkColor;
    c.align = a.textAlign;
    calls.push_back(std::move(c));
    return calls.back();
}

std::vector<TRecordedCall> TRecordingDC::callsOf(std::string_view op) const
{
    std::vector<TRecordedCall> out;
    std::copy_if(calls.begin(), calls.end(), std::back_inserter(out),
        [op](const TRecordedCall& c) { return c.op == op; });
    return out;
}

std::size_t TRecordingDC::count(std::string_view op) const
{
    return static_cast<std::size_t>(
        std::count_if(calls.begin(), calls.end(), [op](const TRecordedCall& c) { return c.op == op; }));
}

int TRecordingDC::SaveDC()
{
    TRecordedCall& c = record("SaveDC", {});
    const int depth = TDCBase::SaveDC();
    c.ok = depth != 0;
    return depth;
}

bool TRecordingDC::RestoreDC(int saved)
{
    TRecordedCall& c = record("RestoreDC", { saved });
    return c.ok = TDCBase::RestoreDC(saved);
}

THandle TRecordingDC::CreatePen(int width, TColor color)
{
    TRecordedCall& c = record("CreatePen", { width, color.r, color.g, color.b });
    return c.handle = TDCBase::CreatePen(width, color);
}

THandle TRecordingDC::CreateFontIndirect(const TLogFont& font)
{
    TRecordedCall& c = record("CreateFontIndirect", { font.height, font.width, font.weight });
    c.text.assign(font.faceName, strnlen(font.faceName, sizeof font.faceName));
    return c.handle = TDCBase::CreateFontIndirect(font);
}

THandle TRecordingDC::SelectObject(THandle object)
{
    TRecordedCall& c = record("SelectObject", {});
    c.handle = object;
    const THandle previous = TDCBase::SelectObject(object);
    c.ok = static_cast<bool>(previous);
    return previous;
}

bool TRecordingDC::DeleteObject(THandle object)
{
    TRecordedCall& c = record("DeleteObject", {});
    c.handle = object;
    return c.ok = TDCBase::DeleteObject(object);
}

bool TRecordingDC::Rectangle(int left, int top, int right, int bottom)
{
    record("Rectangle", { left, top, right, bottom });
    return true;
}

bool TRecordingDC::Ellipse(int left, int top, int right, int bottom)
{
    record("Ellipse", { left, top, right, bottom });
    return true;
}

bool TRecordingDC::MoveToEx(int x, int y, TPoint* previous)
{
    record("MoveToEx", { x, y });
    return TDCBase::MoveToEx(x, y, previous);
}

bool TRecordingDC::LineTo(int x, int y)
{
    record("LineTo", { x, y });
    setPosition(TPoint { x, y });
    return true;
}

bool TRecordingDC::TextOut(int x, int y, std::string_view text)
{
    record("TextOut", { x, y }).text = text;
    return true;
}

TColor TRecordingDC::SetTextColor(TColor color)
{
    record("SetTextColor", { color.r, color.g, color.b });
    return TDCBase::SetTextColor(color);
}

TColor TRecordingDC::SetBkColor(TColor color)
{
    record("SetBkColor", { color.r, color.g, color.b });
    return TDCBase::SetBkColor(color);
}

unsigned TRecordingDC::SetTextAlign(unsigned align)
{
    record("SetTextAlign", { static_cast<int>(align) });
    return TDCBase::SetTextAlign(align);
}

int TRecordingDC::SetMapMode(int mode)
{
    TRecordedCall& c = record("SetMapMode", { mode });
    const int previous = TDCBase::SetMapMode(mode);
    c.ok = previous != 0;
    return previous;
}

bool TRecordingDC::SetViewportExtEx(int cx, int cy, TSize* previous)
{
    TRecordedCall& c = record("SetViewportExtEx", { cx, cy });
    return c.ok = TDCBase::SetViewportExtEx(cx, cy, previous);
}

bool TRecordingDC::SetWindowExtEx(int cx, int cy, TSize* previous)
{
    TRecordedCall& c = record("SetWindowExtEx", { cx, cy });
    return c.ok = TDCBase::SetWindowExtEx(cx, cy, previous);
}

int TRecordingDC::IntersectClipRect(int left, int top, int right, int bottom)
{
    record("IntersectClipRect", { left, top, right, bottom });
    return left < right && top < bottom ? TRegion::simple : TRegion::null;
}

TSize TRecordingDC::GetTextExtentPoint(std::string_view text)
{
    const TLogFont& f = currentFont().logFont;
    const int height = f.height != 0 ? std::abs(f.height) : 16;
    const int width = f.width != 0 ? std::abs(f.width) : height / 2;
    return { static_cast<int>(text.size()) * width, height };
}

int TRecordingDC::GetTextInkTop(std::string_view text)
{
    // No glyphs here: a fifth of the cell stands for the room above capitals.
    const TLogFont& f = currentFont().logFont;
    const int cell = f.height != 0 ? std::abs(f.height) : 16;
    return text.empty() ? cell : cell / 5;
}
