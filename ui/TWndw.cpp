#include "ui/TWndw.h"

#include "document/GraphDocument.h"
#include "document/GraphRules.h"
#include "document/PlotArea.h"
#include "drawing/Painter.h"
#include "drawing/RenderFile.h"
#include "files/FilePaths.h"
#include "files/GraphRecord.h"
#include "files/GraphSnapshot.h"
#include "files/RecoveryCopy.h"
#include "files/RecoveryWriter.h"
#include "framework/Accessible.h"
#include "framework/Clipboard.h"
#include "framework/CodePageText.h"
#include "framework/Controls.h"
#include "framework/MessageBox.h"
#include "framework/Printer.h"
#include "framework/dc/CairoDC.h"
#include "resources/CommandIds.h"
#include "resources/Icons.h"
#include "ui/PlotView.h"
#include "ui/PointsWindow.h"
#include "ui/commands/CommandTable.h"

#include <algorithm>
#include <cmath>
#include <wx/checkbox.h>
#include <wx/dcclient.h>
#include <wx/menu.h>
#include <wx/panel.h>
#include <wx/radiobut.h>
#include <wx/settings.h>
#include <wx/textctrl.h>

#ifdef __WXGTK__
#include <gdk/gdk.h>
#endif

namespace {
const wxColour windowGrey(192, 192, 192);
} // namespace

void TWndw::showDocumentState()
{
    // The desktop tells two open graphs apart by their file.
    const wxString title = doc.fileName.empty()
        ? wxString("Plotwell (Version 2.0)")
        : wxString::FromUTF8(nameOf(doc.fileName)) + wxString::FromUTF8(" \u2013 Plotwell (Version 2.0)");
    if (GetTitle() != title)
        SetTitle(title);
    setChecked(IDC_THICKLINES, doc.thickLines != 0);
    showOptionButtons();
    showErrorBarButton();
    const int curves[] = { IDC_CURVE1, IDC_CURVE2, IDC_CURVE3 };
    if (doc.currentCurve >= 0 && doc.currentCurve < kCurveCount)
        setChecked(curves[doc.currentCurve], true);
    // A change that leaves the picture as it is (a Cancel, a choice of
    // curve) costs no repaint.
    if (!showsDocument())
        repaint();
    keepFocusVisible();
}

void TWndw::keepFocusVisible()
{
    // A command that hides the control with the focus (Open swaps the
    // error-bar buttons) leaves it on the X box, never on nothing.
    wxWindow* focus = wxWindow::FindFocus();
    if (focus && wxGetTopLevelParent(focus) != this)
        return;
    if (!focus || !focus->IsShownOnScreen())
        control(IDC_XBOX)->SetFocus();
}

wxBEGIN_EVENT_TABLE(TWndw, wxFrame)
    EVT_MENU(wxID_ANY, TWndw::routeCommand)
    EVT_BUTTON(wxID_ANY, TWndw::routeCommand)
    EVT_RADIOBUTTON(wxID_ANY, TWndw::routeCommand)
    EVT_CHECKBOX(wxID_ANY, TWndw::routeCommand)
    EVT_UPDATE_UI(wxID_ANY, TWndw::enableCommand)
    EVT_CLOSE(TWndw::onClose)
wxEND_EVENT_TABLE()

TWndw::TWndw(wxWindow* parent, const wxString& title)
    : wxFrame(parent, wxID_ANY, title, wxPoint(30, 2), wxDefaultSize, wxDEFAULT_FRAME_STYLE)
    , printerObject(std::make_unique<TPrinter>())
    , editSession(doc, takeSnapshot, restoreSnapshot)
{
    SetMenuBar(buildMainMenu());
    // The layout needs this much below the menu bar, whatever frame the
    // window manager puts around it; the toolkit adds the decoration it
    // learns of once the window is mapped.
    SetClientSize(wxSize(PlotArea::clientWidth, PlotArea::clientHeight));

    // One panel fills the client area: it gives dialog-style keyboard
    // handling (Tab moves among the controls) and receives the mouse clicks.
    panel = new wxPanel(this, wxID_ANY, wxPoint(0, 0), GetClientSize(), wxTAB_TRAVERSAL | wxWANTS_CHARS);
    panel->SetBackgroundStyle(wxBG_STYLE_PAINT);
    // The panel hides the frame's own client area: erasing it under every
    // button's animation frame would cost more than copying the graph.
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    panel->SetBackgroundColour(windowGrey);
    // The controls have fixed places and sizes, so their text keeps the size
    // the layout was made for: the desktop's face and size as drawn at the
    // standard 96 dots per inch, whatever text scaling the desktop applies.
    wxFont font = wxSystemSettings::GetFont(wxSYS_DEFAULT_GUI_FONT);
#ifdef __WXGTK__
    if (GdkScreen* screen = gdk_screen_get_default()) {
        const double resolution = gdk_screen_get_resolution(screen);
        if (resolution > 0 && std::abs(resolution - 96) > 0.5)
            font.SetFractionalPointSize(font.GetFractionalPointSize() * 96 / resolution);
    }
#endif
    panel->SetFont(font);
    createControls(panel, mainControls());
    plot = new PlotView(*this, panel);
    // Tab follows what is seen: the plot, the entry column, the curves,
    // Exit, then the row of option buttons from the left.
    const int order[] = { IDC_NEXTPOINT, IDC_XBOX, IDC_YBOX, IDC_CURVE1, IDC_CURVE2, IDC_CURVE3,
        IDC_THICKLINES, IDC_EXIT, IDC_SHOWERRORBARS, IDC_HIDEERRORBARS, IDC_LABELPOINTS, IDC_UNLABELPOINTS,
        IDC_CONNECT, IDC_DISCONNECT, IDC_LARGEPOINTS, IDC_SMALLPOINTS };
    wxWindow* previous = plot;
    plot->MoveBeforeInTabOrder(panel->GetChildren().GetFirst()->GetData());
    for (int id : order) {
        control(id)->MoveAfterInTabOrder(previous);
        previous = control(id);
    }
    // The boxes' labels are painted; a screen reader hears these.
    setAccessibleName(control(IDC_XBOX), "X value");
    setAccessibleName(control(IDC_YBOX), "Y value");
    strengthenFocusRings();

    panel->Bind(wxEVT_PAINT, &TWndw::onPaint, this);
    panel->Bind(wxEVT_LEFT_DOWN, &TWndw::onMouseDown, this);
    panel->Bind(wxEVT_RIGHT_DOWN, &TWndw::onMouseDown, this);
    // Enter in either entry box presses Next Point, the default button.
    for (int id : { IDC_XBOX, IDC_YBOX })
        control(id)->Bind(wxEVT_TEXT_ENTER, [this](wxCommandEvent&) { runCommand(IDC_NEXTPOINT); });
    // The Edit keys reach the window before an entry box takes them.
    Bind(wxEVT_CHAR_HOOK, &TWndw::onCharHook, this);

    setupWindow();
    acceptFileDrops();
    // The box a user types into first has the focus from the start.
    control(IDC_XBOX)->SetFocus();
}

TWndw::~TWndw()
{
    // Before the editing session they listen to goes.
    delete points;
    delete plot;
    plot = nullptr;
    // A window that closes has nothing left to recover: what was unsaved
    // the user chose to leave.
    dropRecoveryCopy();
    // A copied graph stays on the clipboard where a clipboard manager keeps it.
    storeClipboard();
    dropScreenCopy();
    if (backBuffer)
        cairo_surface_destroy(backBuffer);
}

void TWndw::setupWindow()
{
    SetIcon(programIcon(1));
    doc.yScale = 1.0f;
    doc.yRangeSet = 0;
    doc.labelsEntered = 0;
    for (int id :
        { IDC_DISCONNECT, IDC_SMALLPOINTS, IDC_UNLABELPOINTS, IDC_HIDEERRORBARS, IDC_SHOWERRORBARS })
        showControl(id, false);
    setChecked(IDC_CURVE1, true);
    editSession.opened();
    editSession.onChanged([this] { showDocumentState(); });
    startRecoveryCopy(recoveryFolder());
}

void TWndw::setPrinter(std::unique_ptr<TPrinter> replacement) { printerObject = std::move(replacement); }

wxWindow* TWndw::control(int id) const { return panel ? panel->FindWindow(id) : nullptr; }

void TWndw::showControl(int id, bool show)
{
    if (wxWindow* w = control(id))
        w->Show(show);
    // Thick Lines lies over the error-bar buttons' place: it keeps its
    // clicks whichever button is shown under it.
    if (show && id != IDC_THICKLINES)
        raiseInput(control(IDC_THICKLINES));
}

void TWndw::setControlText(int id, const std::string& text) { ::setControlText(control(id), text); }

std::string TWndw::controlText(int id) const { return ::controlText(control(id)); }

void TWndw::setChecked(int id, bool checked) { setControlChecked(control(id), checked); }

bool TWndw::isChecked(int id) const { return controlChecked(control(id)); }

void TWndw::repaint() { panel->Refresh(true); }

bool TWndw::showsDocument() const
{
    return !backBufferFields.empty() && paintedFields(doc) == backBufferFields;
}

int TWndw::messageBox(const std::string& text, const std::string& caption, unsigned flags)
{
    return MessageBox(this, text, caption, flags);
}

void TWndw::routeCommand(wxCommandEvent& event)
{
    if (!runCommand(event.GetId()))
        event.Skip();
}

bool TWndw::runCommand(int id)
{
    const Command* command = findCommand(id);
    if (!command)
        return false;
    if (command->kind == CommandKind::change)
        editSession.edit(command->undoName, [this, command] { (this->*command->handler)(); });
    else
        (this->*command->handler)();
    if (!IsBeingDeleted())
        keepFocusVisible();
    return true;
}

void TWndw::enableCommand(wxUpdateUIEvent& event)
{
    const Command* command = findCommand(event.GetId());
    if (!command || !command->enabler) {
        event.Skip();
        return;
    }
    event.Enable((this->*command->enabler)());
    // Undo and Redo name the step they would take back or do again.
    const std::string step = command->id == CM_EDITUNDO ? editSession.undoName()
        : command->id == CM_EDITREDO                    ? editSession.redoName()
                                                        : std::string();
    if (command->kind == CommandKind::history)
        event.SetText(wxString::FromUTF8(
            std::string(command->text) + (step.empty() ? "" : " " + step) + "\t" + command->shortcut));
}

bool TWndw::canExtendX() const { return doc.pointCount[0] > 0; }

bool TWndw::canExtendY() const
{
    // The extension keeps every value exactly on any range, negative ones
    // included; a range no point can be placed on has nothing to extend.
    return doc.pointCount[0] > 0 && yRangeUsable(doc);
}

bool TWndw::canEditLabels() const { return doc.pointCount[0] > 0; }

bool TWndw::canClose()
{
    if (!editSession.isDirty())
        return true;
    // No is the default: Enter or Escape keeps the work.
    return messageBox(
               "Data not Saved;  OK to close ?", "Unsaved Data", MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2)
        == IDYES;
}

bool TWndw::mayDiscardChanges()
{
    if (!editSession.isDirty())
        return true;
    return messageBox("Data not Saved;  the points on the graph will be lost.  OK to go on ?", "Unsaved Data",
               MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2)
        == IDYES;
}

void TWndw::onClose(wxCloseEvent& event)
{
    if (event.CanVeto() && !canClose()) {
        event.Veto();
        return;
    }
    Destroy();
}

void TWndw::cmExit() { Close(false); }

void TWndw::onMouseDown(wxMouseEvent& event)
{
    mouseDown(event.GetEventType() == wxEVT_LEFT_DOWN, event.GetPosition());
    event.Skip();
}

void TWndw::mouseDown(bool left, wxPoint at)
{
    if (left)
        editSession.edit("Add Point", [&] { evLButtonDown(at.x, at.y); });
    else
        editSession.edit(
            doc.placingCaption ? "Place Captions" : "Delete Point", [&] { evRButtonDown(at.x, at.y); });
}

void TWndw::onPaint(wxPaintEvent&)
{
#ifdef __WXGTK3__
    // The toolkit's own context for this paint: a paint DC around it would
    // cost more than the copy it is used for, on every animation frame of
    // every button.
    auto* target = panel->GTKPaintContext();
#else
    wxPaintDC dc(panel);
    auto* target = static_cast<cairo_t*>(dc.GetImpl()->GetCairoContext());
#endif
    showPicture(target, wxPoint(0, 0));
}

void TWndw::showPicture(cairo_t* target, wxPoint from)
{
    const wxSize size = panel->GetClientSize();
    if (!target || size.x <= 0 || size.y <= 0)
        return;

    // Drawn off screen first and copied in one go, so a repaint never shows
    // the erased background between frames. The buffer has the screen's
    // pixels, so on a scaled desktop lines stay whole device pixels and text
    // is drawn at full detail rather than blown up.
    double scaleX = 1, scaleY = 1;
    cairo_surface_get_device_scale(cairo_get_target(target), &scaleX, &scaleY);
    const int scale = std::clamp(static_cast<int>(std::lround(scaleX)), 1, 8);
    // Most repaints are the toolkit's: a button's hover or press animation
    // asks for a dozen or more. Only a change of the graph, an option, the
    // scale or the size draws the graph again; every other repaint copies
    // the part asked for from what was drawn.
    std::string fields = paintedFields(doc);
    if (!backBuffer || cairo_image_surface_get_width(backBuffer) != size.x * scale
        || cairo_image_surface_get_height(backBuffer) != size.y * scale) {
        if (backBuffer)
            cairo_surface_destroy(backBuffer);
        backBuffer = cairo_image_surface_create(CAIRO_FORMAT_RGB24, size.x * scale, size.y * scale);
        cairo_surface_set_device_scale(backBuffer, scale, scale);
        backBufferFields.clear();
    }
    if (backBufferFields.empty() || fields != backBufferFields) {
        cairo_t* cr = cairo_create(backBuffer);
        paintWindowPicture(cr, doc);
        cairo_destroy(cr);
        cairo_surface_flush(backBuffer);
        backBufferFields = std::move(fields);
        dropScreenCopy();
    }

    // The picture is handed to the display once per change; each repaint
    // after that is a copy the display makes itself.
    if (!screenCopy) {
        screenCopy
            = cairo_surface_create_similar(cairo_get_target(target), CAIRO_CONTENT_COLOR, size.x, size.y);
        cairo_t* cr = cairo_create(screenCopy);
        cairo_set_source_surface(cr, backBuffer, 0, 0);
        cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
        cairo_paint(cr);
        cairo_destroy(cr);
        if (cairo_surface_status(screenCopy) != CAIRO_STATUS_SUCCESS)
            dropScreenCopy();
    }
    cairo_save(target);
    cairo_translate(target, -from.x, -from.y);
    cairo_set_source_surface(target, screenCopy ? screenCopy : backBuffer, 0, 0);
    cairo_set_operator(target, CAIRO_OPERATOR_SOURCE);
    cairo_paint(target);
    cairo_set_operator(target, CAIRO_OPERATOR_OVER);
    paintMarks(target);
    cairo_restore(target);
}

void TWndw::markPoints(std::vector<PointRef> marked)
{
    if (marked == marks)
        return;
    marks = std::move(marked);
    repaint();
}

void TWndw::paintMarks(cairo_t* target) const
{
    // A ring in the desktop's selection colour, as the table shows the rows;
    // drawn over the copied picture, so the picture itself never holds it.
    const wxColour colour = wxSystemSettings::GetColour(wxSYS_COLOUR_HIGHLIGHT);
    cairo_save(target);
    cairo_set_line_width(target, 2);
    cairo_set_source_rgb(target, colour.Red() / 255.0, colour.Green() / 255.0, colour.Blue() / 255.0);
    for (const PointRef& p : marks) {
        if (!holdsPoint(doc, p))
            continue;
        const double x = doc.pixelX[p.curve][p.slot], y = doc.pixelY[p.curve][p.slot];
        if (std::fabs(x) > PlotArea::coordinateBound || !(std::fabs(y) <= PlotArea::coordinateBound))
            continue;
        cairo_new_sub_path(target);
        cairo_arc(target, x + 0.5, y + 0.5, 7, 0, 2 * M_PI);
    }
    cairo_stroke(target);
    cairo_restore(target);
}

void TWndw::dropScreenCopy()
{
    if (screenCopy)
        cairo_surface_destroy(screenCopy);
    screenCopy = nullptr;
}
