#pragma once
// The main window: its controls, its command table and the handlers it owns.
// Handlers live in the files of their subsystem (point entry, display
// options, file commands, dialogs); this class only declares them.

#include "document/EditSession.h"
#include "document/PointTable.h"

#include <cairo.h>
#include <functional>
#include <memory>
#include <string>
#include <vector>
#include <wx/frame.h>
#include <wx/gdicmn.h>

class wxPanel;
class wxPaintEvent;
class wxMouseEvent;
class wxCloseEvent;
class wxUpdateUIEvent;
class wxKeyEvent;
class TPrinter;
class PointsWindow;
class PlotView;
class RecoveryWriter;
struct FileStamp;

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
    // The plot, the control that shows the graph and takes its clicks.
    PlotView* plotView() const { return plot; }
    // Puts the window's picture on `target`, whose corner is at `from` in the
    // client area, with the screen's own marks over it.
    void showPicture(cairo_t* target, wxPoint from);
    // A mouse button pressed at `at` in the client area: a point added, a
    // point deleted or the caption box placed, as one step.
    void mouseDown(bool left, wxPoint at);
    // Whether the last paint drew the document as it is now.
    bool showsDocument() const;
    // The image the last paint put on screen (null before the first paint).
    cairo_surface_t* lastFrame() const { return backBuffer; }
    // Modal message box owned by this window (flags as in MessageBox.h).
    int messageBox(const std::string& text, const std::string& caption, unsigned flags);
    // The close query: true when closing may go ahead.
    bool canClose();
    // Asked before New Graph or Open replaces unsaved points: true when the
    // command may go ahead.
    bool mayDiscardChanges();
    // The one way the graph changes (see EditSession): every command of kind
    // change, click and Enter runs through it, and the window follows each
    // change through its signal.
    EditSession& session() { return editSession; }
    // The Points window, while it is open.
    PointsWindow* pointsWindow() const { return points; }
    void pointsWindowClosed() { points = nullptr; }
    // Rings these points on the screen (never on paper or in a picture): the
    // rows selected in the Points window.
    void markPoints(std::vector<PointRef> marked);
    const std::vector<PointRef>& markedPoints() const { return marks; }
    // The recovery copy (Recovery.cpp): kept in `folder` (none when empty)
    // after every change while the graph is unsaved.
    void startRecoveryCopy(const std::string& folder);
    // Written and on disk before the program is ended from outside.
    void writeRecoveryNow();
    // Gone: the user closed without saving, or the window closes.
    void dropRecoveryCopy();
    // At start: a graph left unsaved by a program that ended is offered back.
    void offerRecoveredGraph();
    // What the file at `path` was when last read or written here, so Save
    // can tell whether another program changed it since.
    void stampFile(const std::string& path);
    bool fileChangedOnDisk() const;
    // The printer object, made with the window; null when there is none.
    TPrinter* printer() const { return printerObject.get(); }
    void setPrinter(std::unique_ptr<TPrinter> replacement);

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

    // Command handlers and enablers, named by the command table.
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
    void cmPoints();
    void cmNextPoint();
    void cmCurve1();
    void cmCurve2();
    void cmCurve3();
    void cmThickLines();
    void cmUndo();
    void cmRedo();
    void cmCut();
    void cmCopy();
    void cmPaste();
    // Paste's rows from the clipboard into the graph (its text, or a table
    // when it holds no text), with any refusal shown over `messageOwner`.
    void pasteClipboardRows(wxWindow* messageOwner);
    void evLButtonDown(int x, int y);
    void evRButtonDown(int x, int y);
    bool canExtendX() const;
    bool canExtendY() const;
    bool canEditLabels() const;
    bool canUndo() const;
    bool canRedo() const;
    bool canCut() const;

private:
    void setupWindow();
    void acceptFileDrops();
    void routeCommand(wxCommandEvent& event);
    // Runs the command's handler as its kind says; false for an id with no
    // command.
    bool runCommand(int id);
    void enableCommand(wxUpdateUIEvent& event);
    void onCharHook(wxKeyEvent& event);
    // After every change: the option buttons, Thick Lines, the error-bar
    // button and the curve selectors brought in line with the document, and
    // the graph repainted if its picture changed.
    void showDocumentState();
    void keepFocusVisible();
    void onPaint(wxPaintEvent& event);
    void onClose(wxCloseEvent& event);
    void onMouseDown(wxMouseEvent& event);

    wxPanel* panel = nullptr;
    cairo_surface_t* backBuffer = nullptr;
    std::string backBufferFields; // what the back buffer was painted from
    // The back buffer on the display's side, for repaints that change nothing.
    cairo_surface_t* screenCopy = nullptr;
    void dropScreenCopy();
    void paintMarks(cairo_t* target) const;
    PointsWindow* points = nullptr;
    PlotView* plot = nullptr;
    void keepRecoveryCopy();
    std::unique_ptr<RecoveryWriter> recovery;
    std::string recoveryFolderPath;
    std::string stampedPath;
    std::unique_ptr<FileStamp> stamp;
    std::vector<PointRef> marks;
    std::unique_ptr<TPrinter> printerObject;
    EditSession editSession;

    wxDECLARE_EVENT_TABLE();
};
