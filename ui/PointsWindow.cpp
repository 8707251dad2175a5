#include "ui/PointsWindow.h"

#include "document/GraphDocument.h"
#include "document/PlotArea.h"
#include "drawing/GraphText.h"
#include "files/PointRows.h"
#include "framework/Accessible.h"
#include "framework/Clipboard.h"
#include "framework/CodePageText.h"
#include "framework/MessageBox.h"
#include "framework/UserLocale.h"
#include "ui/Refusal.h"
#include "ui/TWndw.h"

#include <algorithm>
#include <wx/bitmap.h>
#include <wx/dataview.h>
#include <wx/dcmemory.h>
#include <wx/display.h>
#include <wx/sizer.h>

#ifdef __WXGTK__
#include <gtk/gtk.h>
#endif

namespace {
// The curves' colours, as the graph draws them.
const wxColour curveColours[kCurveCount] = { { 255, 0, 0 }, { 0, 255, 0 }, { 0, 0, 255 } };

// A square of the curve's colour beside its number: the number stays in the
// theme's own text colour, readable on any background.
const wxBitmap& curveSwatch(int c)
{
    static const std::vector<wxBitmap> swatches = [] {
        std::vector<wxBitmap> all;
        for (const wxColour& colour : curveColours) {
            wxBitmap bitmap(12, 12);
            wxMemoryDC dc(bitmap);
            dc.SetBackground(*wxBLACK_BRUSH);
            dc.Clear();
            dc.SetBrush(wxBrush(colour));
            dc.SetPen(*wxTRANSPARENT_PEN);
            dc.DrawRectangle(1, 1, 10, 10);
            dc.SelectObject(wxNullBitmap);
            all.push_back(bitmap);
        }
        return all;
    }();
    return swatches[std::clamp(c, 0, kCurveCount - 1)];
}

wxString shown(const std::string& utf8) { return wxString::FromUTF8(utf8); }
} // namespace

// The rows are worked out from the document when the list asks for them;
// the model keeps nothing but their number.
class PointsModel : public wxDataViewVirtualListModel {
public:
    PointsModel(PointsWindow& table, unsigned rows)
        : wxDataViewVirtualListModel(rows)
        , window(table)
    {
    }

    void GetValueByRow(wxVariant& value, unsigned row, unsigned col) const override
    {
        const bool isNew = static_cast<int>(row) >= pointRowCount(doc);
        const PointRef p = isNew ? PointRef { doc.currentCurve, 0 } : pointOfRow(doc, static_cast<int>(row));
        switch (col) {
        case PointsWindow::curveColumn:
            value << wxDataViewIconText(wxString::Format("%d", p.curve + 1), curveSwatch(p.curve));
            break;
        case PointsWindow::xColumn:
            value = isNew ? shown(window.newX) : wxString::Format("%d", typedXOf(doc, p));
            break;
        case PointsWindow::labelColumn:
            value
                = isNew ? wxString("New point") : fromCodePage(labelUnder(doc, doc.pixelX[p.curve][p.slot]));
            break;
        default:
            value = isNew ? shown(window.newY)
                          : shown(valueText(doc.valueY[p.curve][p.slot], userDecimalPoint()));
            break;
        }
    }

    bool GetAttrByRow(unsigned row, unsigned col, wxDataViewItemAttr& attr) const override
    {
        if (static_cast<int>(row) < pointRowCount(doc) || col != PointsWindow::labelColumn)
            return false;
        attr.SetItalic(true);
        return true;
    }

    bool SetValueByRow(const wxVariant& value, unsigned row, unsigned col) override
    {
        // Taken once the list has closed its editor, so the rows it shows
        // are never made again in the middle of its own edit.
        const std::string text(value.GetString().utf8_str());
        window.CallAfter([w = &window, row, col, text] {
            w->cellEdited(static_cast<int>(row), PointsWindow::Column(col), text);
        });
        return false;
    }

private:
    PointsWindow& window;
};

PointsWindow::PointsWindow(TWndw& ownerWindow)
    : wxFrame(&ownerWindow, wxID_ANY, "Points", wxDefaultPosition, wxSize(420, 500),
        wxDEFAULT_FRAME_STYLE | wxFRAME_FLOAT_ON_PARENT)
    , owner(ownerWindow)
{
    view = new wxDataViewCtrl(
        this, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxDV_MULTIPLE | wxDV_ROW_LINES);
    model = new PointsModel(*this, static_cast<unsigned>(pointRowCount(doc) + 1));
    view->AssociateModel(model);
    model->DecRef();
    view->AppendIconTextColumn("Curve", curveColumn, wxDATAVIEW_CELL_INERT, 80);
    view->AppendTextColumn("X", xColumn, wxDATAVIEW_CELL_EDITABLE, 70, wxALIGN_RIGHT);
    view->AppendTextColumn("X Label", labelColumn, wxDATAVIEW_CELL_INERT, 120);
    view->AppendTextColumn("Y", yColumn, wxDATAVIEW_CELL_EDITABLE, 120, wxALIGN_RIGHT);
#ifdef __WXGTK__
    // Typing does not start a search: the keys are the table's own.
    GtkTreeView* tree = GTK_TREE_VIEW(view->GtkGetTreeView());
    gtk_tree_view_set_enable_search(tree, FALSE);
    // Rows of one height, not each measured: the table opens as fast on
    // the largest graph as on a small one.
    for (unsigned i = 0; i < view->GetColumnCount(); ++i)
        gtk_tree_view_column_set_sizing(
            gtk_tree_view_get_column(tree, static_cast<int>(i)), GTK_TREE_VIEW_COLUMN_FIXED);
    gtk_tree_view_set_fixed_height_mode(tree, TRUE);
#endif
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    sizer->Add(view, 1, wxEXPAND);
    SetSizer(sizer);

    Bind(wxEVT_CHAR_HOOK, &PointsWindow::onKey, this);
    view->Bind(wxEVT_DATAVIEW_ITEM_ACTIVATED, &PointsWindow::onActivated, this);
    view->Bind(wxEVT_DATAVIEW_SELECTION_CHANGED, [this](wxDataViewEvent&) {
        if (updating)
            return;
        rememberSelection();
        owner.markPoints(selectedPoints());
    });
    // A closed table is only hidden, to open again at once; it follows the
    // graph while it is shown.
    listener = owner.session().onChanged([this] {
        if (IsShown())
            showDocument();
    });
    Bind(wxEVT_CLOSE_WINDOW, [this](wxCloseEvent&) {
        Hide();
        owner.markPoints({});
    });
    placeBesideOwner();
}

void PointsWindow::open()
{
    showDocument();
    // The current curve's rows, selected as the window opens.
    std::vector<PointRef> current;
    for (int j = 0; j < std::clamp(doc.pointCount[doc.currentCurve], 0, kMaxPoints); ++j)
        current.push_back({ doc.currentCurve, j });
    selectPoints(current);
    Show();
    Raise();
    view->SetFocus();
}

PointsWindow::~PointsWindow()
{
    owner.session().forget(listener);
    owner.markPoints({});
    owner.pointsWindowClosed();
}

void PointsWindow::placeBesideOwner()
{
    const wxRect main = owner.GetScreenRect();
    const int display = wxDisplay::GetFromWindow(&owner);
    const wxRect area = wxDisplay(display == wxNOT_FOUND ? 0u : unsigned(display)).GetClientArea();
    wxSize size = GetSize();
    size.y = std::min(main.height, area.height);
    int x = main.GetRight() + 1;
    if (x + size.x > area.GetRight())
        x = main.x - size.x >= area.x ? main.x - size.x : area.GetRight() - size.x;
    SetSize(std::max(x, area.x), std::max(main.y, area.y), size.x, size.y);
}

int PointsWindow::newRow() const { return pointRowCount(doc); }

PointsWindow::Kept PointsWindow::keptOf(PointRef p) const
{
    return { p.curve, doc.pixelX[p.curve][p.slot], doc.valueY[p.curve][p.slot] };
}

std::vector<PointRef> PointsWindow::selectedPoints() const
{
    wxDataViewItemArray items;
    view->GetSelections(items);
    std::vector<int> rows;
    for (const wxDataViewItem& item : items)
        if (const int row = static_cast<int>(model->GetRow(item)); row < newRow())
            rows.push_back(row);
    std::sort(rows.begin(), rows.end());
    std::vector<PointRef> points;
    for (int row : rows)
        points.push_back(pointOfRow(doc, row));
    return points;
}

void PointsWindow::rememberSelection()
{
    kept.clear();
    for (PointRef p : selectedPoints())
        kept.push_back(keptOf(p));
}

void PointsWindow::selectPoints(const std::vector<PointRef>& points)
{
    wxDataViewItemArray items;
    for (PointRef p : points)
        if (holdsPoint(doc, p))
            items.push_back(model->GetItem(static_cast<unsigned>(rowOfPoint(doc, p))));
    updating = true;
    view->SetSelections(items);
    if (!items.empty()) {
        view->SetCurrentItem(items.front());
        view->EnsureVisible(items.front());
    }
    updating = false;
    rememberSelection();
    owner.markPoints(selectedPoints());
}

void PointsWindow::showDocument()
{
    // Only the rows that show something new are made again: an edit costs
    // a row or a curve's worth, not the table.
    const int count = newRow() + 1;
    std::vector<std::string> rows;
    rows.reserve(count);
    const char decimal = userDecimalPoint();
    for (int row = 0; row < count - 1; ++row) {
        rows.push_back(shownRow(doc, pointOfRow(doc, row), decimal));
    }
    rows.push_back(std::to_string(doc.currentCurve) + '\t' + newX + '\t' + newY);
    updating = true;
    if (rows.size() != shownRows.size())
        model->Reset(static_cast<unsigned>(count));
    else
        for (int row = 0; row < count; ++row)
            if (rows[row] != shownRows[row])
                model->RowChanged(static_cast<unsigned>(row));
    shownRows = std::move(rows);
    updating = false;

    // The kept points selected again where they now are.
    std::vector<PointRef> again;
    for (int row = 0; row < count - 1; ++row) {
        const PointRef p = pointOfRow(doc, row);
        if (std::find(kept.begin(), kept.end(), keptOf(p)) != kept.end())
            again.push_back(p);
    }
    if (again.empty() && fallbackRow >= 0 && count > 1)
        again.push_back(pointOfRow(doc, std::min(fallbackRow, count - 2)));
    fallbackRow = -1;
    if (again != selectedPoints() || again.empty())
        selectPoints(again);
    else
        owner.markPoints(again);
}

void PointsWindow::editCell(int row, Column column)
{
    if (row < 0 || row > newRow())
        return;
    const wxDataViewItem item = model->GetItem(static_cast<unsigned>(row));
    view->SetCurrentItem(item);
    view->EnsureVisible(item);
    view->EditItem(item, view->GetColumn(column == xColumn ? 1 : 3));
}

void PointsWindow::cellEdited(int row, Column column, const std::string& text)
{
    editedTaken = false;
    const bool isNew = row >= newRow();
    if (isNew) {
        (column == xColumn ? newX : newY) = text;
        if (newX.empty() || newY.empty()) {
            // The other number is asked for at once (unless Tab does it).
            showDocument();
            editedTaken = true;
            editedPoint = { kCurveCount, 0 };
            const Column other = newX.empty() ? xColumn : yColumn;
            CallAfter([this, other] {
                if (wxWindow::FindFocus() == view)
                    if (!editorOpen())
                        editCell(newRow(), other);
            });
            return;
        }
    }
    EntryProblem why;
    PointRef p = isNew ? PointRef {} : pointOfRow(doc, row);
    owner.session().edit(isNew ? "Insert Point" : "Edit Point", [&] {
        if (isNew)
            why = insertPoint(doc, doc.currentCurve, newX, newY, p);
        else
            why = column == xColumn ? setPointX(doc, p, text) : setPointY(doc, p, text);
        if (!why) {
            kept = { keptOf(p) };
            if (isNew)
                newX.clear(), newY.clear();
        }
    });
    if (why) {
        // The row shows what it held before; the typed value is gone with
        // the editor, as a refused entry box keeps nothing either.
        if (isNew)
            (column == xColumn ? newX : newY).clear();
        showDocument();
        showRefusal(this, why);
        return;
    }
    editedPoint = p;
    editedTaken = true;
    announce(std::string(isNew ? "Point added: " : "Point changed: ")
        + std::string(fromCodePage(pointAnnouncement(doc, p, userDecimalPoint())).utf8_str()));
}

void PointsWindow::deleteSelected()
{
    const std::vector<PointRef> points = selectedPoints();
    if (points.empty())
        return;
    fallbackRow = rowOfPoint(doc, points.front());
    owner.session().edit(
        points.size() == 1 ? "Delete Point" : "Delete Points", [&] { deletePoints(doc, points); });
    announce("Deleted " + std::to_string(points.size()) + (points.size() == 1 ? " point" : " points"));
}

void PointsWindow::startNewPoint() { editCell(newRow(), newX.empty() ? xColumn : yColumn); }

void PointsWindow::selectAll()
{
    std::vector<PointRef> all;
    for (int row = 0; row < newRow(); ++row)
        all.push_back(pointOfRow(doc, row));
    selectPoints(all);
}

void PointsWindow::copySelected()
{
    // Text and a table, with no picture: a spreadsheet pastes cells, with
    // numbers in the user's own notation.
    const std::vector<PointRef> points = selectedPoints();
    if (points.empty())
        return;
    const char decimal = userDecimalPoint();
    if (!setClipboard({ { "text/html", pointRowsHtml(doc, points, decimal) },
            { "text/plain", pointRowsText(doc, points, decimal) } }))
        MessageBox(this, "The points could not be copied: the desktop's clipboard refused it.", "Copy Error",
            MB_OK | MB_ICONEXCLAMATION);
}

void PointsWindow::paste()
{
    std::vector<Kept> before;
    for (int row = 0; row < newRow(); ++row)
        before.push_back(keptOf(pointOfRow(doc, row)));
    owner.session().edit("Paste", [this] { owner.pasteClipboardRows(this); });
    // The pasted rows are selected (and ringed), as a spreadsheet selects
    // what it pasted; a refused paste leaves the selection as it was.
    std::vector<PointRef> pasted;
    for (int row = 0; row < newRow(); ++row) {
        const PointRef p = pointOfRow(doc, row);
        if (const auto was = std::find(before.begin(), before.end(), keptOf(p)); was != before.end())
            before.erase(was);
        else
            pasted.push_back(p);
    }
    if (!pasted.empty())
        selectPoints(pasted);
}

bool PointsWindow::editorOpen() const
{
#ifdef __WXGTK__
    GtkWidget* focus = gtk_window_get_focus(GTK_WINDOW(GetHandle()));
    return focus && GTK_IS_CELL_EDITABLE(focus);
#else
    return false;
#endif
}

bool PointsWindow::commitEditor()
{
#ifdef __WXGTK__
    GtkWidget* focus = gtk_window_get_focus(GTK_WINDOW(GetHandle()));
    if (!focus || !GTK_IS_CELL_EDITABLE(focus))
        return false;
    gtk_cell_editable_editing_done(GTK_CELL_EDITABLE(focus));
    gtk_cell_editable_remove_widget(GTK_CELL_EDITABLE(focus));
    return true;
#else
    return false;
#endif
}

void PointsWindow::onActivated(wxDataViewEvent& event)
{
    const int row = static_cast<int>(model->GetRow(event.GetItem()));
    editCell(row, row >= newRow() && newX.empty() ? xColumn : yColumn);
}

void PointsWindow::onKey(wxKeyEvent& event)
{
    const int key = event.GetKeyCode();
    const int mods = event.GetModifiers();
    if (key == WXK_TAB) {
        // Tab takes the value typed so far and goes on to the row's other
        // number, as in a spreadsheet.
        wxDataViewColumn* column = view->GetCurrentColumn();
        const wxDataViewItem item = view->GetCurrentItem();
        const bool wasY = !column || column->GetModelColumn() == yColumn;
        const int row = item.IsOk() ? static_cast<int>(model->GetRow(item)) : -1;
        if (!commitEditor()) {
            event.Skip();
            return;
        }
        CallAfter([this, row, wasY] {
            if (!editedTaken)
                return;
            const int at = row >= 0 && row < newRow() && holdsPoint(doc, editedPoint)
                ? rowOfPoint(doc, editedPoint)
                : row;
            editCell(std::min(at, newRow()), wasY ? xColumn : yColumn);
        });
        return;
    }
    // Keys typed into an open editor are the editor's.
    if (editorOpen()) {
        event.Skip();
        return;
    }
    const bool ctrl = mods == wxMOD_CONTROL;
    if (mods == wxMOD_NONE && key == WXK_ESCAPE)
        Close();
    else if (mods == wxMOD_NONE && key == WXK_F2) {
        const wxDataViewItem item = view->GetCurrentItem();
        const int row = item.IsOk() ? static_cast<int>(model->GetRow(item)) : -1;
        editCell(row, row >= newRow() && newX.empty() ? xColumn : yColumn);
    } else if (mods == wxMOD_NONE && (key == WXK_DELETE || key == WXK_NUMPAD_DELETE))
        deleteSelected();
    else if (mods == wxMOD_NONE && (key == WXK_INSERT || key == WXK_NUMPAD_INSERT))
        startNewPoint();
    else if (ctrl && key == 'A')
        selectAll();
    else if (ctrl && key == 'C')
        copySelected();
    else if (ctrl && key == 'V')
        paste();
    else if (ctrl && key == 'Z')
        owner.session().undo();
    else if ((ctrl && key == 'Y') || (mods == (wxMOD_CONTROL | wxMOD_SHIFT) && key == 'Z'))
        owner.session().redo();
    else
        event.Skip();
}

void TWndw::cmPoints()
{
    // One at a time: the command brings the open one forward.
    if (!points)
        points = new PointsWindow(*this);
    points->open();
}
