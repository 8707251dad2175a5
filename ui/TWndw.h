#pragma once
// The main window: its controls, its command table and the handlers it owns.
// Handlers live in the files of their subsystem (point entry, display
// options, file commands, dialogs); this class only declares them.

#include "document/EditHistory.h"

#include <cairo.h>
#include <functional>
#include <memory>
#include <string>
#include <vector>
#include <wx/frame.h>

class wxPanel;
class wxPaintEvent;
class wxMouseEvent;
class wxCloseEvent;
class wxUpdateUIEvent;
class wxKeyEvent;
class TPrinter;

class TWndw : public wxFrame {
public:
    TWndw(wxWindow* parent, const wxString& title);
    ~TWndw() override;

    // The client panel that holds the controls and receives mouse clicks.
    wxPanel* client() const { return panel; }
    // A child control by id, or null.
    wxWindow* control(int id) const;
    void showControl(int id, bool show);
    void setControlText(int id, const std::string& text);
    std::string controlText(int id) const;
    void setChecked(int id, bool checked);
    bool isChecked(int id) const;

    // Invalidates the whole client area; the next paint redraws everything.
    void repaint();
    // The image the last paint put on screen (null before the first paint).
    cairo_surface_t* lastFrame() const { return backBuffer; }
    // Modal message box owned by this window (flags as in MessageBox.h).
    int messageBox(const std::string& text, const std::string& caption, unsigned flags);
    // The close query: true when closing may go ahead.
    bool canClose();
    // Asked before New Graph or Open replaces unsaved points: true when the
    // command may go ahead.
    bool mayDiscardChanges();
    // The printer object, made with the window; null when there is none.
    TPrinter* printer() const { return printerObject.get(); }
    void setPrinter(std::unique_ptr<TPrinter> replacement);

    // The one way the graph changes: everything `change` does (a command, a
    // click, a dialog sequence, a paste) becomes one step of Undo, and
    // `dirty` follows whether the graph now differs from the one last
    // opened or saved. A change that alters nothing stored is no step.
    void edit(const std::function<void()>& change);
    // Inside a change the user abandoned (Cancel in New Graph): the graph
    // goes back to what it was when the change began, and no step is kept.
    void cancelEdit();
    // A graph read from disk: nothing to undo or redo, nothing unsaved.
    void startHistory();
    // The graph as it is now is the one on disk, in `doc.fileName`; it was
    // in `previousFileName` (empty for a graph that had no file).
    void markSaved(const std::string& previousFileName);
    // The option buttons, Thick Lines, the error-bar button and the curve
    // selectors brought in line with the document, as after Open.
    void showDocumentState();

    // Display options (toggle pairs), also run by other handlers.
    void actConnectPoints();
    void actDisconnectPoints();
    void actLargePoints();
    void actSmallPoints();
    void actLabelPoints();
    void actUnlabelPoints();
    void actShowErrorBars();
    void actHideErrorBars();
    // Brings the Connect, Large and Label pairs in line with the options.
    void showOptionButtons();
    // Shows the error-bar button that matches the document, or neither.
    void showErrorBarButton();

    // Command handlers, one per entry of the command table.
    void cmNewGraph();
    void cmOpen();
    // Opens the graph file at `path` as Open does once a file is chosen:
    // checked, and on failure the message shown and the graph kept.
    bool openFile(const std::string& path);
    // Files dropped on the window: the first opens as above, after the
    // question about unsaved points.
    void openDroppedFiles(const std::vector<std::string>& paths);
    void cmSave();
    void cmSaveAs();
    void cmExportPicture();
    void cmPrint();
    void cmPrinterSetup();
    void cmExit();
    void cmGraphTitle();
    void cmCaptions();
    void cmExtendXAxis();
    void cmExtendYAxis();
    void cmEditLabels();
    void cmGeneralHelp();
    void cmAddingPoints();
    void cmDeletingPoints();
    void cmAbout();
    void cmNextPoint();
    void cmCurve1();
    void cmCurve2();
    void cmCurve3();
    void cmThickLines();
    void cmUndo();
    void cmRedo();
    // The graph Undo or Redo brings back, shown with its buttons in line.
    void showHistoryStep(const GraphSnapshot& step);
    void cmCut();
    void cmCopy();
    void cmPaste();
    void evLButtonDown(int x, int y);
    void evRButtonDown(int x, int y);

private:
    void setupWindow();
    void acceptFileDrops();
    void routeCommand(wxCommandEvent& event);
    void ceExtendX(wxUpdateUIEvent& event);
    void ceExtendY(wxUpdateUIEvent& event);
    void ceEditLabels(wxUpdateUIEvent& event);
    void ceUndo(wxUpdateUIEvent& event);
    void ceRedo(wxUpdateUIEvent& event);
    void ceCut(wxUpdateUIEvent& event);
    void onCharHook(wxKeyEvent& event);
    void onPaint(wxPaintEvent& event);
    void onClose(wxCloseEvent& event);
    void onMouseDown(wxMouseEvent& event);

    wxPanel* panel = nullptr;
    cairo_surface_t* backBuffer = nullptr;
    std::string backBufferFields; // what the back buffer was painted from
    // The back buffer on the display's side, for repaints that change nothing.
    cairo_surface_t* screenCopy = nullptr;
    void dropScreenCopy();
    std::unique_ptr<TPrinter> printerObject;
    EditHistory history;
    // Counts the files opened and saved: a command that opened or saved one
    // records no step and leaves `dirty` as the file command set it.
    unsigned historyNumber = 0;
    int editDepth = 0;
    bool editCancelled = false;

    wxDECLARE_EVENT_TABLE();
};
