#include "document/GraphRules.h"
#include "document/PlotArea.h"
#include "drawing/RenderFile.h"
#include "files/GraphRecord.h"
#include "resources/CommandIds.h"
#include "resources/MainControls.h"
#include "tests/gui/GuiHarness.h"
#include "ui/dialogs/DialogText.h"

#include <cairo.h>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <gtk/gtk.h>
#include <unistd.h>
#include <vector>
#include <wx/app.h>
#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/menu.h>
#include <wx/msgdlg.h>
#include <wx/panel.h>
#include <wx/radiobut.h>
#include <wx/textctrl.h>
#include <wx/uiaction.h>
#include <wx/utils.h>

namespace {
using MainWindow = WindowTest;

TEST_F(MainWindow, StartsWithItsTitleSizeAndDocumentValues)
{
    EXPECT_EQ(window->GetTitle(), "Plotwell (Version 2.0)");
    // Sized by what the layout needs below the menu bar, not by the frame.
    EXPECT_EQ(window->GetClientSize(), wxSize(742, 499));
    EXPECT_EQ(doc.yScale, 1.0f);
    EXPECT_EQ(doc.yRangeSet, 0);
    for (int c = 0; c < kCurveCount; ++c)
        EXPECT_EQ(doc.pointCount[c], 0);
}

// Run under no window manager, openbox and xfwm4 by the test suite: the
// frame a window manager adds must not eat into the layout.
TEST_F(MainWindow, TheLayoutFitsBelowTheMenuBarUnderAnyWindowManager)
{
    // The decoration is known only once the window manager has framed the
    // window, which takes a few round trips.
    waitUntil(
        [this] {
            const wxSize size = window->GetClientSize();
            return size.x >= 742 && size.y >= 499;
        },
        500);
    const wxSize client = window->GetClientSize();
    EXPECT_GE(client.x, 742);
    EXPECT_GE(client.y, 499);
    const wxRect area(wxPoint(0, 0), window->control(IDC_NEXTPOINT)->GetParent()->GetClientSize());
    EXPECT_GE(area.width, 742);
    EXPECT_GE(area.height, 499);
    for (wxWindow* c : window->control(IDC_NEXTPOINT)->GetParent()->GetChildren())
        EXPECT_TRUE(area.Contains(c->GetRect()))
            << c->GetLabel() << " at " << c->GetRect().x << "," << c->GetRect().y;
}

// WCAG's relative luminance of an sRGB pixel.
double luminance(const unsigned char* bgrx)
{
    auto channel = [](unsigned char v) {
        const double c = v / 255.0;
        return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(bgrx[2]) + 0.7152 * channel(bgrx[1]) + 0.0722 * channel(bgrx[0]);
}

// The whole screen as it is now, in device pixels.
cairo_surface_t* grabScreen()
{
    const std::string shot
        = (std::filesystem::temp_directory_path() / ("plotwell-screen-" + std::to_string(getpid()) + ".png"))
              .string();
    const std::string command = "xwd -root -silent | convert xwd:- png:" + shot;
    if (std::system(command.c_str()) != 0)
        return cairo_image_surface_create(CAIRO_FORMAT_INVALID, 0, 0);
    cairo_surface_t* screen = cairo_image_surface_create_from_png(shot.c_str());
    std::filesystem::remove(shot);
    return screen;
}

std::uint32_t rgbAt(cairo_surface_t* image, int x, int y)
{
    const unsigned char* row
        = cairo_image_surface_get_data(image) + y * cairo_image_surface_get_stride(image);
    return reinterpret_cast<const std::uint32_t*>(row)[x] & 0xFFFFFF;
}

// The whole screen once `ready` holds for it, or the last one taken after
// a few seconds.
template <class Ready> cairo_surface_t* screenShot(Ready ready)
{
    cairo_surface_t* screen = nullptr;
    waitUntil(
        [&] {
            if (screen)
                cairo_surface_destroy(screen);
            screen = grabScreen();
            return cairo_surface_status(screen) == CAIRO_STATUS_SUCCESS && ready(screen);
        },
        3000);
    return screen;
}

// Run as well with GDK_SCALE=2 by the test suite: the window paints at the
// screen's scale exactly what gd2 renders at that scale, so the frame's top
// edge is as many black device rows as the scale.
TEST_F(MainWindow, TheGraphIsPaintedAtTheScreensScaleAsRendered)
{
    doc.yRangeSet = 1;
    doc.yMin = 0;
    doc.yMax = 90;
    computeYAxis(doc);
    doc.percentError = 10;
    doc.showErrorBars = doc.connectPoints = doc.labelPoints = 1;
    storeText(doc.title, "Scaled");
    for (int j = 0; j < 5; ++j)
        addTypedPoint(doc, 0, 100 * j + 7, 20.0f * j + 3);
    window->repaint();
    const int scale = gtk_widget_get_scale_factor(window->control(IDC_NEXTPOINT)->GetParent()->GetHandle());
    const std::string png
        = (std::filesystem::temp_directory_path() / ("plotwell-scaled-" + std::to_string(getpid()) + ".png"))
              .string();
    RenderLayout layout;
    layout.scale = scale;
    std::string error;
    ASSERT_TRUE(renderGraph(doc, png, error, layout)) << error;
    cairo_surface_t* rendered = cairo_image_surface_create_from_png(png.c_str());
    std::filesystem::remove(png);
    ASSERT_EQ(cairo_surface_status(rendered), CAIRO_STATUS_SUCCESS);

    // Everything above the controls is the painter's.
    const wxWindow* panel = window->control(IDC_NEXTPOINT)->GetParent();
    int controlsTop = panel->GetClientSize().y;
    for (const wxWindow* c : panel->GetChildren())
        controlsTop = std::min(controlsTop, c->GetPosition().y);
    const wxPoint origin = panel->GetScreenPosition() * scale;
    const auto differing = [&](cairo_surface_t* screen) {
        int count = 0;
        for (int y = 0; y < controlsTop * scale; ++y)
            for (int x = 0; x < PlotArea::clientWidth * scale; ++x)
                count += rgbAt(screen, origin.x + x, origin.y + y) != rgbAt(rendered, x, y);
        return count;
    };
    cairo_surface_t* screen = screenShot([&](cairo_surface_t* s) { return differing(s) == 0; });
    ASSERT_EQ(cairo_surface_status(screen), CAIRO_STATUS_SUCCESS);
    EXPECT_EQ(differing(screen), 0) << "of " << PlotArea::clientWidth * scale * controlsTop * scale
                                    << " pixels at scale " << scale;
    for (int r = -1; r <= scale; ++r)
        EXPECT_EQ(rgbAt(screen, origin.x + 650 * scale, origin.y + 20 * scale + r) == 0, r >= 0 && r < scale)
            << "row " << r << " of the frame's top edge";
    cairo_surface_destroy(rendered);
    cairo_surface_destroy(screen);
}

// Run with the light theme and, by the test suite, with GTK_THEME=Adwaita:dark:
// the texts that sit on the window's fixed grey must stay readable.
TEST_F(MainWindow, LabelsOnTheGreyKeepTheirContrastUnderAnyTheme)
{
    const int scale = gtk_widget_get_scale_factor(window->GetHandle());
    // The window has reached the screen once the graph's frame shows at
    // its place.
    const wxPoint edge
        = (window->control(IDC_NEXTPOINT)->GetParent()->GetScreenPosition() + wxPoint(650, 20)) * scale;
    cairo_surface_t* screen = screenShot([edge](cairo_surface_t* s) {
        return edge.x < cairo_image_surface_get_width(s) && edge.y < cairo_image_surface_get_height(s)
            && rgbAt(s, edge.x, edge.y) == 0;
    });
    ASSERT_EQ(cairo_surface_status(screen), CAIRO_STATUS_SUCCESS);
    const unsigned char* pixels = cairo_image_surface_get_data(screen);
    const int stride = cairo_image_surface_get_stride(screen);
    const double grey = luminance(reinterpret_cast<const unsigned char*>("\xC0\xC0\xC0"));
    for (int id : { IDC_CURVE1, IDC_CURVE2, IDC_CURVE3, IDC_THICKLINES }) {
        const wxRect logical = window->control(id)->GetScreenRect();
        const wxRect r(logical.GetPosition() * scale, logical.GetSize() * scale);
        // The text is what differs most from the grey around it.
        double text = grey;
        for (int y = std::max(r.y, 0); y < std::min(r.GetBottom(), cairo_image_surface_get_height(screen));
             ++y)
            for (int x = std::max(r.x, 0); x < std::min(r.GetRight(), cairo_image_surface_get_width(screen));
                 ++x) {
                const double l = luminance(pixels + y * stride + 4 * x);
                if (std::abs(l - grey) > std::abs(text - grey))
                    text = l;
            }
        const double contrast = (std::max(text, grey) + 0.05) / (std::min(text, grey) + 0.05);
        EXPECT_GE(contrast, 4.5) << window->control(id)->GetLabel();
    }
    cairo_surface_destroy(screen);
}

// Run as well with GDK_DPI_SCALE=1.5 by the test suite: no control's text
// needs more room than its fixed place gives it.
TEST_F(MainWindow, EveryControlsTextFitsItsPlaceAtAnyTextScale)
{
    for (wxWindow* c : window->control(IDC_NEXTPOINT)->GetParent()->GetChildren()) {
        const wxString label = c->GetLabel();
        if (label.empty())
            continue;
        // Room for a radio or check indicator, or a button's edges.
        const int margin = dynamic_cast<wxButton*>(c) ? 4 : 24;
        const wxSize text = c->GetTextExtent(label), size = c->GetSize();
        EXPECT_LE(text.x + margin, size.x) << label;
        EXPECT_LE(text.y, size.y) << label;
    }
}

// Every control stands where the control table puts it, inside the client
// area. Controls overlap only as the two of a toggle pair, which share one
// place, and as Thick Lines over the error-bar buttons, whose clicks it
// takes. After set-up each pair shows the button that turns its option on,
// and neither error-bar button shows before there is a percentage.
TEST_F(MainWindow, ControlsSitAtTheirFixedPlacesWithTheirVisibilityAfterSetUp)
{
    const std::pair<int, int> twins[]
        = { { IDC_CONNECT, IDC_DISCONNECT }, { IDC_LARGEPOINTS, IDC_SMALLPOINTS },
              { IDC_LABELPOINTS, IDC_UNLABELPOINTS }, { IDC_SHOWERRORBARS, IDC_HIDEERRORBARS } };
    const auto twinned = [&](int a, int b) {
        for (auto [on, off] : twins)
            if ((a == on && b == off) || (a == off && b == on))
                return true;
        return false;
    };
    const auto overThickLines = [](int a, int b) {
        return (a == IDC_THICKLINES && (b == IDC_SHOWERRORBARS || b == IDC_HIDEERRORBARS))
            || (b == IDC_THICKLINES && (a == IDC_SHOWERRORBARS || a == IDC_HIDEERRORBARS));
    };
    const wxRect clientArea(0, 0, PlotArea::clientWidth, PlotArea::clientHeight);
    const auto rectOf = [](const ControlDef& d) { return wxRect(d.x, d.y, d.width, d.height); };
    for (const ControlDef& def : mainControls()) {
        SCOPED_TRACE(def.id);
        const wxRect rect = rectOf(def);
        EXPECT_TRUE(clientArea.Contains(rect));
        wxWindow* c = window->control(def.id);
        ASSERT_NE(c, nullptr);
        if (def.id == IDC_THICKLINES) {
            // Grown to what the toolkit needs to draw it, on the same left
            // edge and centre line.
            const wxRect r = c->GetRect();
            EXPECT_EQ(r.x, rect.x);
            EXPECT_GE(r.width, rect.width);
            EXPECT_GE(r.height, rect.height);
            EXPECT_LE(std::abs(2 * r.y + r.height - (2 * rect.y + rect.height)), 1);
        } else
            EXPECT_EQ(c->GetRect(), rect);
        if (*def.text) {
            EXPECT_EQ(c->GetLabel(), def.text);
        }
        for (const ControlDef& other : mainControls()) {
            if (twinned(def.id, other.id)) {
                EXPECT_EQ(rectOf(other), rect) << other.id;
            } else if (other.id != def.id && !overThickLines(def.id, other.id)) {
                EXPECT_FALSE(rectOf(other).Intersects(rect)) << other.id;
            }
        }
    }
    for (auto [on, off] : twins) {
        EXPECT_EQ(shown(on), on != IDC_SHOWERRORBARS) << on;
        EXPECT_FALSE(shown(off)) << off;
    }
    EXPECT_TRUE(window->isChecked(IDC_CURVE1));
    EXPECT_FALSE(window->isChecked(IDC_CURVE2));
    EXPECT_FALSE(window->isChecked(IDC_THICKLINES));
}

TEST_F(MainWindow, MenuHasEveryItemWithItsId)
{
    wxMenuBar* bar = window->GetMenuBar();
    ASSERT_EQ(bar->GetMenuCount(), 4u);
    EXPECT_EQ(bar->GetMenuLabel(0), "&File");
    EXPECT_EQ(bar->GetMenuLabel(2), "E&xtras");
    const std::pair<int, const char*> items[] = {
        { CM_NEWGRAPH, "&New Graph" },
        { CM_SAVEAS, "Save &As" },
        { CM_PRINTERSETUP, "P&rinter Setup" },
        { CM_EXIT, "E&xit" },
        { CM_EDITCUT, "Cu&t" },
        { CM_GRAPHTITLE, "Add/Change  &Graph Title" },
        { CM_CAPTIONS, "Add/Move  &Captions" },
        { CM_EXTENDY, "Extend &Y-Axis" },
        { CM_GENERALHELP, "&General Help " },
        { CM_ABOUT, "A&bout" },
        { CM_EXPORTPICTURE, "&Export Picture..." },
        { CM_POINTS, "&Points..." },
    };
    for (auto [id, text] : items) {
        wxMenuItem* item = bar->FindItem(id);
        ASSERT_NE(item, nullptr) << text;
        EXPECT_EQ(item->GetItemLabel().BeforeFirst('\t'), text);
    }
    const std::pair<int, const char*> shortcuts[] = { { CM_EDITUNDO, "Ctrl+Z" }, { CM_EDITREDO, "Ctrl+Y" },
        { CM_EDITCUT, "Ctrl+X" }, { CM_EDITCOPY, "Ctrl+C" }, { CM_EDITPASTE, "Ctrl+V" },
        { CM_NEWGRAPH, "Ctrl+N" }, { CM_OPEN, "Ctrl+O" }, { CM_SAVE, "Ctrl+S" },
        { CM_SAVEAS, "Ctrl+Shift+S" }, { CM_PRINT, "Ctrl+P" }, { CM_EXIT, "Ctrl+Q" },
        { CM_GENERALHELP, "F1" }, { CM_ABOUT, "" }, { CM_EXTENDX, "" }, { CM_POINTS, "Ctrl+T" } };
    for (auto [id, keys] : shortcuts) {
        const wxAcceleratorEntry* accel = bar->FindItem(id)->GetAccel();
        EXPECT_EQ(accel ? accel->ToRawString() : wxString(), keys) << id;
        delete accel;
    }
    EXPECT_EQ(bar->GetMenu(0)->GetMenuItemCount(), 10u);
    EXPECT_EQ(bar->GetMenu(0)->FindItemByPosition(4)->GetId(), CM_EXPORTPICTURE); // after Save As
    EXPECT_EQ(bar->GetMenu(1)->GetMenuItemCount(), 6u);
    EXPECT_EQ(bar->GetMenu(2)->GetMenuItemCount(), 9u);
    EXPECT_EQ(bar->GetMenu(3)->GetMenuItemCount(), 5u);
}

// Undo and Redo have something to do, Cut has points in the current curve
// or selected text in an entry box; Copy and Paste always work.
TEST_F(MainWindow, EditItemsAreGreyedWhenThereIsNothingToDoAndOtherItemsAreEnabled)
{
    const struct {
        const char* step;
        std::function<void()> act;
        bool undo, redo, cut;
        const char* undoLabel = "&Undo";
    } steps[] = {
        { "start", [] {}, false, false, false },
        { "a point", [this] { leftClick(300, 200); }, true, false, true, "&Undo Add Point" },
        { "curve 2", [this] { click(IDC_CURVE2); }, true, false, false, "&Undo Add Point" },
        { "text selected",
            [this] {
                type(IDC_XBOX, "12");
                window->control(IDC_XBOX)->SetFocus();
                static_cast<wxTextCtrl*>(window->control(IDC_XBOX))->SetSelection(-1, -1);
            },
            true, false, true, "&Undo Add Point" },
        { "undone",
            [this] {
                type(IDC_XBOX, "");
                command(CM_EDITUNDO);
            },
            false, true, false },
    };
    for (const auto& s : steps) {
        s.act();
        EXPECT_EQ(menuEnabled(CM_EDITUNDO), s.undo) << s.step;
        EXPECT_EQ(menuEnabled(CM_EDITREDO), s.redo) << s.step;
        EXPECT_EQ(menuEnabled(CM_EDITCUT), s.cut) << s.step;
        EXPECT_EQ(window->GetMenuBar()->FindItem(CM_EDITUNDO)->GetItemLabel().BeforeFirst('\t'), s.undoLabel);
        for (int id :
            { CM_EDITCOPY, CM_EDITPASTE, CM_NEWGRAPH, CM_OPEN, CM_SAVE, CM_PRINT, CM_GRAPHTITLE, CM_ABOUT })
            EXPECT_TRUE(menuEnabled(id)) << s.step << " " << id;
    }
}

TEST_F(MainWindow, AxisCommandsNeedAPointInCurveOne)
{
    doc.pointCount[1] = 3;
    doc.pointCount[2] = 3;
    EXPECT_FALSE(menuEnabled(CM_EXTENDX));
    EXPECT_FALSE(menuEnabled(CM_EXTENDY));
    EXPECT_FALSE(menuEnabled(CM_EDITLABELS));

    doc.pointCount[0] = 1;
    EXPECT_TRUE(menuEnabled(CM_EXTENDX));
    EXPECT_TRUE(menuEnabled(CM_EXTENDY));
    EXPECT_TRUE(menuEnabled(CM_EDITLABELS));

    // A negative range keeps Extend Y-Axis; a range no point can be placed
    // on (as old files hold it) has nothing to extend.
    doc.yRangeSet = 1;
    doc.yMin = -10;
    doc.yMax = 80;
    doc.yScale = 4;
    EXPECT_TRUE(menuEnabled(CM_EXTENDY));
    doc.yMax = -10;
    doc.yScale = 0;
    EXPECT_TRUE(menuEnabled(CM_EXTENDX));
    EXPECT_FALSE(menuEnabled(CM_EXTENDY));
    EXPECT_TRUE(menuEnabled(CM_EDITLABELS));
}

// Thick Lines lies over the error-bar buttons' place; a real click on its
// box or its label toggles it, not the error-bar button shown under it.
TEST_F(MainWindow, ThickLinesTakesClicksOverAnErrorBarButton)
{
    const struct {
        int shownButton;
        wxPoint at; // client coordinates
    } cases[] = {
        { IDC_HIDEERRORBARS, { 260, 476 } }, // the label
        { IDC_HIDEERRORBARS, { 207, 472 } }, // the box
        { IDC_SHOWERRORBARS, { 290, 483 } },
    };
    window->Raise();
    window->control(IDC_XBOX)->SetFocus();
    doc.percentError = 10; // so that Show Error Bars has bars to show
    for (const auto& c : cases) {
        window->showControl(IDC_HIDEERRORBARS, false);
        window->showControl(IDC_SHOWERRORBARS, false);
        window->showControl(c.shownButton, true);
        doc.showErrorBars = c.shownButton == IDC_HIDEERRORBARS;
        pump();
        const int before = doc.thickLines;
        wxUIActionSimulator mouse;
        mouse.MouseMove(window->client()->ClientToScreen(c.at));
        mouse.MouseClick();
        waitUntil([&] { return doc.thickLines != before; }, 500);
        pump();
        EXPECT_NE(doc.thickLines, before) << c.at.x << "," << c.at.y;
        EXPECT_EQ(window->isChecked(IDC_THICKLINES), doc.thickLines != 0);
        EXPECT_EQ(doc.showErrorBars, c.shownButton == IDC_HIDEERRORBARS ? 1 : 0);
        EXPECT_TRUE(shown(c.shownButton));
        // A click leaves the keyboard in the X box, where typing goes on.
        if (wxWindow::FindFocus()) {
            EXPECT_EQ(wxWindow::FindFocus(), window->control(IDC_XBOX));
        }
    }
}

TEST_F(MainWindow, ExitWithoutChangesClosesAtOnce)
{
    click(IDC_EXIT);
    EXPECT_TRUE(messages().empty());
    EXPECT_TRUE(wxTheApp->IsScheduledForDestruction(window));
    window = nullptr;
    pump();
}

TEST_F(MainWindow, CloseQueryNoKeepsTheWindowAndItsPoints)
{
    leftClick(300, 200);
    ASSERT_EQ(dirty(), 1);
    dialogs().expectMessage(wxID_NO);
    command(CM_EXIT);
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0].text, "Data not Saved;  OK to close ?");
    EXPECT_EQ(messages()[0].caption, "Unsaved Data");
    EXPECT_TRUE(messages()[0].style & wxYES_NO);
    EXPECT_TRUE(messages()[0].style & wxICON_QUESTION);
    EXPECT_FALSE(wxTheApp->IsScheduledForDestruction(window));
    EXPECT_EQ(doc.pointCount[0], 1);

    // The frame's close box asks the same question; Yes closes.
    dialogs().expectMessage(wxID_YES);
    window->Close(false);
    EXPECT_EQ(messages().size(), 2u);
    EXPECT_TRUE(wxTheApp->IsScheduledForDestruction(window));
    window = nullptr;
    pump();
}

TEST_F(MainWindow, ToggleButtonsSwapInPlaceAndStoredOptionsMarkChanges)
{
    struct Pair {
        int on, off;
        int* option;
    };
    const Pair pairs[] = {
        { IDC_CONNECT, IDC_DISCONNECT, &doc.connectPoints },
        { IDC_LARGEPOINTS, IDC_SMALLPOINTS, &doc.largePoints },
        { IDC_LABELPOINTS, IDC_UNLABELPOINTS, &doc.labelPoints },
    };
    for (const Pair& p : pairs) {
        click(p.on);
        EXPECT_EQ(*p.option, 1);
        EXPECT_FALSE(shown(p.on));
        EXPECT_TRUE(shown(p.off));
        // The option is saved with the graph: switching it is unsaved work,
        // and switching it back is the graph as it was.
        EXPECT_EQ(dirty(), 1);
        click(p.off);
        EXPECT_EQ(*p.option, 0);
        EXPECT_TRUE(shown(p.on));
        EXPECT_FALSE(shown(p.off));
        EXPECT_EQ(dirty(), 0);
    }
    // Error bars shown or hidden are not saved, so they change nothing.
    doc.percentError = 5;
    asOpened();
    click(IDC_SHOWERRORBARS);
    EXPECT_EQ(doc.showErrorBars, 1);
    EXPECT_TRUE(shown(IDC_HIDEERRORBARS));
    EXPECT_FALSE(shown(IDC_SHOWERRORBARS));
    click(IDC_HIDEERRORBARS);
    EXPECT_EQ(doc.showErrorBars, 0);
    EXPECT_TRUE(shown(IDC_SHOWERRORBARS));
    EXPECT_EQ(dirty(), 0);
}

TEST_F(MainWindow, ToggleActionsNormaliseOptionsWhateverTheirValue)
{
    doc.largePoints = 5;
    click(IDC_LARGEPOINTS);
    EXPECT_EQ(doc.largePoints, 1);
    click(IDC_LARGEPOINTS); // already hidden: harmless
    EXPECT_FALSE(shown(IDC_LARGEPOINTS));
    EXPECT_TRUE(shown(IDC_SMALLPOINTS));
}

TEST_F(MainWindow, CurveSelectorsAndThickLines)
{
    click(IDC_CURVE3);
    EXPECT_EQ(doc.currentCurve, 2);
    EXPECT_TRUE(window->isChecked(IDC_CURVE3));
    EXPECT_FALSE(window->isChecked(IDC_CURVE1));
    click(IDC_CURVE3);
    EXPECT_EQ(doc.currentCurve, 2);
    click(IDC_CURVE2);
    EXPECT_EQ(doc.currentCurve, 1);
    click(IDC_CURVE1);
    EXPECT_EQ(doc.currentCurve, 0);

    EXPECT_EQ(dirty(), 0);
    click(IDC_THICKLINES);
    EXPECT_EQ(doc.thickLines, 1);
    EXPECT_TRUE(window->isChecked(IDC_THICKLINES));
    // Thick Lines is saved with the graph; the current curve is not.
    EXPECT_EQ(dirty(), 1);
    click(IDC_THICKLINES);
    EXPECT_EQ(doc.thickLines, 0);
    EXPECT_FALSE(window->isChecked(IDC_THICKLINES));
    EXPECT_EQ(dirty(), 0);
}

// A thousand steps are kept; each Undo brings back exactly the graph before
// its step, with the buttons in line, and Redo walks forward again.
TEST_F(MainWindow, AThousandStepsUndoAndRedoEachExactly)
{
    constexpr int steps = 1000;
    std::vector<GraphRecord> states(steps + 1);
    packRecord(doc, states[0]);
    for (int i = 0; i < steps; ++i) {
        if (i == steps / 2)
            click(IDC_CURVE2); // no step: 250 points a curve
        if (i % 2)
            click(i % 4 == 1 ? IDC_CONNECT : IDC_DISCONNECT);
        else
            leftClick(50 + (i * 7) % 650, 20 + (i * 13) % 360);
        packRecord(doc, states[i + 1]);
    }
    ASSERT_EQ(doc.pointCount[0] + doc.pointCount[1], steps / 2);
    for (int i = steps; i > 0; --i) {
        ASSERT_TRUE(menuEnabled(CM_EDITUNDO)) << i;
        command(CM_EDITUNDO);
        GraphRecord now;
        packRecord(doc, now);
        ASSERT_TRUE(now.bytes == states[i - 1].bytes) << i;
        ASSERT_EQ(shown(IDC_DISCONNECT), doc.connectPoints != 0) << i;
    }
    EXPECT_FALSE(menuEnabled(CM_EDITUNDO));
    EXPECT_EQ(dirty(), 0);
    for (int i = 0; i < steps; ++i)
        command(CM_EDITREDO);
    GraphRecord now;
    packRecord(doc, now);
    EXPECT_TRUE(now.bytes == states[steps].bytes);
    EXPECT_FALSE(menuEnabled(CM_EDITREDO));
    EXPECT_TRUE(window->isChecked(IDC_CURVE2));
}
} // namespace
