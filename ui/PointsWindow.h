#pragma once
// The Points window: every point of the three curves as a row of the
// desktop's own list (curve, X as typed, the X label above it, Y), beside
// the main window. Rows are made from the document whenever the editing
// session says it changed; every edit, deletion, insertion and paste made
// here is a step of the main window's Undo. The last row is empty: typing
// an X and a Y into it adds a point to the current curve.

#include "document/PointTable.h"

#include <string>
#include <vector>
#include <wx/frame.h>

class TWndw;
class wxDataViewCtrl;
class wxDataViewEvent;
class wxKeyEvent;
class PointsModel;

class PointsWindow : public wxFrame {
public:
    enum Column : unsigned { curveColumn, xColumn, labelColumn, yColumn };

    explicit PointsWindow(TWndw& owner);
    ~PointsWindow() override;
    // Shows the table as the graph is now, the current curve's rows selected.
    void open();

    wxDataViewCtrl* table() const { return view; }
    // The points of the selected rows, in the table's order.
    std::vector<PointRef> selectedPoints() const;
    void selectPoints(const std::vector<PointRef>& points);

    // The window's commands, as its keys run them.
    void editCell(int row, Column column); // F2, Enter, Tab
    void deleteSelected(); // Delete
    void startNewPoint(); // Insert
    void selectAll(); // Ctrl+A
    void copySelected(); // Ctrl+C
    void paste(); // Ctrl+V

    // A cell's typed text, as the list hands it over when editing ends:
    // taken by the rules of Next Point, or refused with its message.
    void cellEdited(int row, Column column, const std::string& text);

    // The rows made again from the document (the session's signal).
    void showDocument();

private:
    // A point as the selection remembers it across changes: by what it is,
    // since its slot moves when points before it come and go.
    struct Kept {
        int curve;
        int pixelX;
        float valueY;
        bool operator==(const Kept&) const = default;
    };
    Kept keptOf(PointRef p) const;
    void rememberSelection();
    void onKey(wxKeyEvent& event);
    void onActivated(wxDataViewEvent& event);
    // Ends an edit in progress as Enter would; false when none was.
    bool commitEditor();
    bool editorOpen() const;
    int newRow() const;
    void placeBesideOwner();

    TWndw& owner;
    wxDataViewCtrl* view = nullptr;
    PointsModel* model = nullptr;
    int listener = 0;
    std::vector<Kept> kept;
    // The row to select after a change leaves none of the kept points.
    int fallbackRow = -1;
    // What the rows showed when last made, to tell the list only of rows
    // that changed.
    std::vector<std::string> shownRows;
    // The empty row's typed values, before both are there.
    std::string newX, newY;
    // The cell Tab moves to once the edit in progress is taken.
    PointRef editedPoint;
    bool editedTaken = false;
    bool updating = false;

    friend class PointsModel;
};
