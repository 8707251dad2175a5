#include "ui/PlotView.h"

#include "document/GraphDocument.h"
#include "drawing/GraphText.h"
#include "framework/Accessible.h"
#include "framework/CodePageText.h"
#include "framework/UserLocale.h"
#include "ui/TWndw.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <wx/dcclient.h>
#include <wx/settings.h>

namespace {
std::string readable(const std::string& codePage) { return std::string(fromCodePage(codePage).utf8_str()); }

int pointsIn(int c) { return std::clamp(doc.pointCount[c], 0, kMaxPoints); }

// Where the outline of a caption box not yet placed starts: the top right of
// the plot, where captions rarely hide points.
constexpr int kOutlineX = 480, kOutlineY = 35;
} // namespace

PlotView::PlotView(TWndw& ownerWindow, wxWindow* parent)
    : wxWindow(parent, wxID_ANY, wxPoint(left, top), wxSize(width, height), wxWANTS_CHARS | wxBORDER_NONE)
    , owner(ownerWindow)
{
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    Bind(wxEVT_PAINT, &PlotView::onPaint, this);
    Bind(wxEVT_LEFT_DOWN, &PlotView::onMouse, this);
    Bind(wxEVT_RIGHT_DOWN, &PlotView::onMouse, this);
    Bind(wxEVT_KEY_DOWN, &PlotView::onKey, this);
    Bind(wxEVT_SET_FOCUS, [this](wxFocusEvent& event) {
        describeGraph();
        Refresh();
        event.Skip();
    });
    Bind(wxEVT_KILL_FOCUS, [this](wxFocusEvent& event) {
        Refresh();
        event.Skip();
    });
    setAccessibleRole(this, AccessibleRole::image);
    // Kept current through the session's signal, never from the paint.
    listener = owner.session().onChanged([this] {
        if (stepped >= pointsIn(doc.currentCurve))
            stepped = pointsIn(doc.currentCurve) - 1;
        describeGraph();
        Refresh();
    });
    describeGraph();
}

PlotView::~PlotView() { owner.session().forget(listener); }

void PlotView::describeGraph()
{
    setAccessibleName(this, doc.placingCaption ? "Placing the caption box" : readable(graphName(doc)));
    setAccessibleDescription(this, readable(graphDescription(doc, userDecimalPoint())));
}

void PlotView::onPaint(wxPaintEvent&)
{
#ifdef __WXGTK3__
    cairo_t* target = GTKPaintContext();
#else
    wxPaintDC dc(this);
    auto* target = static_cast<cairo_t*>(dc.GetImpl()->GetCairoContext());
#endif
    if (!target)
        return;
    owner.showPicture(target, GetPosition());
    // What only the keyboard user needs to see: where the focus is, the
    // point stepped to and the caption box's outline. Screen only, like the
    // Points window's rings.
    if (!HasFocus())
        return;
    const wxColour accent = wxSystemSettings::GetColour(wxSYS_COLOUR_HIGHLIGHT);
    cairo_save(target);
    // Dark blue dashes inside the plot's frame, on its white: over 3:1, and
    // apart from the black frame itself.
    cairo_set_source_rgb(target, 0.1, 0.3, 0.75);
    cairo_set_line_width(target, 2);
    const double dash[] = { 6, 3 };
    cairo_set_dash(target, dash, 2, 0);
    cairo_rectangle(target, 7, 8, width - 14, height - 16);
    cairo_stroke(target);
    cairo_set_dash(target, nullptr, 0, 0);
    cairo_set_source_rgb(target, 0, 0, 0.55);
    cairo_translate(target, -left, -top);
    const int c = doc.currentCurve;
    if (doc.placingCaption) {
        int rows = 0;
        std::size_t widest = 0;
        for (const auto& caption : doc.captions) {
            const std::size_t n = strnlen(caption, kCaptionSize);
            rows += n > 0;
            widest = std::max(widest, n);
        }
        cairo_rectangle(
            target, outline.x - 5, outline.y - 10, 24 + 7.0 * widest, 16.0 * std::max(rows, 1) + 4);
        cairo_stroke(target);
    } else if (stepped >= 0 && stepped < pointsIn(c)) {
        cairo_set_source_rgb(target, accent.Red() / 255.0, accent.Green() / 255.0, accent.Blue() / 255.0);
        cairo_set_line_width(target, 3);
        const double y = doc.pixelY[c][stepped];
        if (std::fabs(y) < 1e6) {
            cairo_arc(target, doc.pixelX[c][stepped] + 0.5, y + 0.5, 9, 0, 2 * M_PI);
            cairo_stroke(target);
        }
    }
    cairo_restore(target);
}

void PlotView::onMouse(wxMouseEvent& event)
{
    // A click does not take the focus from the X box, so typing goes on.
    owner.mouseDown(event.GetEventType() == wxEVT_LEFT_DOWN, event.GetPosition() + GetPosition());
}

void PlotView::startPlacingCaptions()
{
    outline = doc.captionsPlaced ? wxPoint(doc.captionBoxX, doc.captionBoxY) : wxPoint(kOutlineX, kOutlineY);
    SetFocus();
    Refresh();
    announce(
        "The arrow keys move the caption box, Shift with them by 10 pixels; Enter places it, Escape leaves "
        "it where it was.");
}

void PlotView::moveOutline(int dx, int dy)
{
    outline.x = std::clamp(outline.x + dx, 0, left + width);
    outline.y = std::clamp(outline.y + dy, 0, top + height);
    Refresh();
    announce("Caption box at " + std::to_string(outline.x) + ", " + std::to_string(outline.y));
}

void PlotView::stepTo(int slot)
{
    const int n = pointsIn(doc.currentCurve);
    if (n == 0) {
        setAccessibleName(this, "Curve " + std::to_string(doc.currentCurve + 1) + " has no points");
        return;
    }
    stepped = std::clamp(slot, 0, n - 1);
    Refresh();
    setAccessibleName(
        this, readable(pointAnnouncement(doc, { doc.currentCurve, stepped }, userDecimalPoint())));
}

void PlotView::deleteStepped()
{
    const int c = doc.currentCurve;
    if (stepped < 0 || stepped >= pointsIn(c))
        return;
    const PointRef gone { c, stepped };
    const std::string said = readable(pointAnnouncement(doc, gone, userDecimalPoint()));
    owner.session().edit("Delete Point", [&] { deletePoints(doc, { gone }); });
    const int remaining = pointsIn(c);
    if (remaining == 0) {
        stepped = -1;
        setAccessibleName(
            this, "Deleted " + said + ". Curve " + std::to_string(c + 1) + " has no points left");
        return;
    }
    stepped = std::min(stepped, remaining - 1);
    setAccessibleName(this,
        "Deleted " + said + ". Now " + readable(pointAnnouncement(doc, { c, stepped }, userDecimalPoint())));
}

void PlotView::onKey(wxKeyEvent& event)
{
    const int key = event.GetKeyCode();
    const bool shift = event.GetModifiers() == wxMOD_SHIFT;
    if (event.GetModifiers() != wxMOD_NONE && !shift) {
        event.Skip();
        return;
    }
    if (doc.placingCaption) {
        const int step = shift ? 10 : 1;
        switch (key) {
        case WXK_LEFT:
            return moveOutline(-step, 0);
        case WXK_RIGHT:
            return moveOutline(step, 0);
        case WXK_UP:
            return moveOutline(0, -step);
        case WXK_DOWN:
            return moveOutline(0, step);
        case WXK_RETURN:
        case WXK_NUMPAD_ENTER:
            owner.mouseDown(false, outline);
            describeGraph();
            announce("Caption box placed");
            return;
        case WXK_ESCAPE:
            owner.session().edit("Place Captions", [] { doc.placingCaption = 0; });
            announce("The caption box stays where it was");
            return;
        default:
            break;
        }
    }
    const int n = pointsIn(doc.currentCurve);
    switch (shift ? 0 : key) {
    case WXK_RIGHT:
    case WXK_DOWN:
        return stepTo(stepped + 1);
    case WXK_LEFT:
    case WXK_UP:
        return stepTo(stepped < 0 ? n - 1 : stepped - 1);
    case WXK_HOME:
        return stepTo(0);
    case WXK_END:
        return stepTo(n - 1);
    case WXK_DELETE:
    case WXK_NUMPAD_DELETE:
        return deleteStepped();
    default:
        event.Skip();
    }
}
