#pragma once
// A drawing context that draws nothing and remembers every call, with its
// arguments and the state it was made in, so tests can check what a painter
// asked for: coordinates, texts, pens, fonts, colours and alignment, and
// that every object it made was released and every save restored.

#include "framework/dc/DCBase.h"

#include <string>
#include <vector>

struct TRecordedCall {
    std::string op; // the operation's name, e.g. "LineTo"
    std::vector<int> args; // its integer arguments in order (colours as r, g, b)
    std::string text; // TextOut's text; CreateFontIndirect's face name
    THandle handle; // the object created, selected or deleted
    bool ok = true; // the call's success, for calls that can fail

    // State when the call was made (for LineTo, `from` is the start point).
    TPoint from;
    TColor penColor;
    int penWidth = 1;
    TLogFont font;
    TColor textColor;
    TColor bkColor;
    unsigned align = 0;
};

class TRecordingDC : public TDCBase {
public:
    TRecordingDC();

    // Conversions are recorded too, though they change nothing.
    mutable std::vector<TRecordedCall> calls;

    // The calls of one operation, in order.
    std::vector<TRecordedCall> callsOf(std::string_view op) const;
    std::size_t count(std::string_view op) const;

    int SaveDC() override;
    bool RestoreDC(int saved = -1) override;
    THandle CreatePen(int width, TColor color) override;
    THandle CreateFontIndirect(const TLogFont& font) override;
    THandle SelectObject(THandle object) override;
    bool DeleteObject(THandle object) override;
    bool Rectangle(int left, int top, int right, int bottom) override;
    bool Ellipse(int left, int top, int right, int bottom) override;
    bool MoveToEx(int x, int y, TPoint* previous = nullptr) override;
    bool LineTo(int x, int y) override;
    bool TextOut(int x, int y, std::string_view text) override;
    // Every character the font's average width (half its height when it
    // has none) by its height: enough for layouts to be checked against.
    TSize GetTextExtentPoint(std::string_view text) override;
    int GetTextInkTop(std::string_view text) override;
    TColor SetTextColor(TColor color) override;
    TColor SetBkColor(TColor color) override;
    unsigned SetTextAlign(unsigned align) override;
    int SetMapMode(int mode) override;
    bool SetViewportExtEx(int cx, int cy, TSize* previous = nullptr) override;
    bool SetWindowExtEx(int cx, int cy, TSize* previous = nullptr) override;
    int IntersectClipRect(int left, int top, int right, int bottom) override;

private:
    TRecordedCall& record(std::string_view op, std::initializer_list<int> args) const;
};
