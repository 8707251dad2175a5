#include "ui/commands/CommandTable.h"

#include "resources/CommandIds.h"
#include "ui/TWndw.h"

#include <wx/menu.h>

namespace {
using enum CommandKind;
constexpr const char* kFile = "&File";
constexpr const char* kEdit = "&Edit";
constexpr const char* kExtras = "E&xtras";
constexpr const char* kHelp = "&Help";

const Command commands[] = {
    { CM_NEWGRAPH, kFile, "&New Graph", "Ctrl+N", change, &TWndw::cmNewGraph, nullptr, "New Graph" },
    { CM_OPEN, kFile, "&Open", "Ctrl+O", file, &TWndw::cmOpen, nullptr, nullptr },
    { CM_SAVE, kFile, "&Save", "Ctrl+S", file, &TWndw::cmSave, nullptr, nullptr },
    { CM_SAVEAS, kFile, "Save &As", "Ctrl+Shift+S", file, &TWndw::cmSaveAs, nullptr, nullptr },
    { CM_EXPORTPICTURE, kFile, "&Export Picture...", nullptr, none, &TWndw::cmExportPicture, nullptr,
        nullptr },
    { 0, kFile, nullptr, nullptr, none, nullptr, nullptr, nullptr },
    { CM_PRINTERSETUP, kFile, "P&rinter Setup", nullptr, none, &TWndw::cmPrinterSetup, nullptr, nullptr },
    { CM_PRINT, kFile, "&Print", "Ctrl+P", none, &TWndw::cmPrint, nullptr, nullptr },
    { 0, kFile, nullptr, nullptr, none, nullptr, nullptr, nullptr },
    { CM_EXIT, kFile, "E&xit", "Ctrl+Q", none, &TWndw::cmExit, nullptr, nullptr },

    { CM_EDITUNDO, kEdit, "&Undo", "Ctrl+Z", history, &TWndw::cmUndo, &TWndw::canUndo, nullptr },
    { CM_EDITREDO, kEdit, "&Redo", "Ctrl+Y", history, &TWndw::cmRedo, &TWndw::canRedo, nullptr,
        "Ctrl+Shift+Z" },
    { 0, kEdit, nullptr, nullptr, none, nullptr, nullptr, nullptr },
    { CM_EDITCUT, kEdit, "Cu&t", "Ctrl+X", change, &TWndw::cmCut, &TWndw::canCut, "Cut" },
    { CM_EDITCOPY, kEdit, "&Copy", "Ctrl+C", none, &TWndw::cmCopy, nullptr, nullptr },
    { CM_EDITPASTE, kEdit, "&Paste", "Ctrl+V", change, &TWndw::cmPaste, nullptr, "Paste" },

    { CM_GRAPHTITLE, kExtras, "Add/Change  &Graph Title", nullptr, change, &TWndw::cmGraphTitle, nullptr,
        "Graph Title" },
    { CM_CAPTIONS, kExtras, "Add/Move  &Captions", nullptr, change, &TWndw::cmCaptions, nullptr, "Captions" },
    { 0, kExtras, nullptr, nullptr, none, nullptr, nullptr, nullptr },
    { CM_EXTENDX, kExtras, "Extend &X-Axis", nullptr, change, &TWndw::cmExtendXAxis, &TWndw::canExtendX,
        "Extend X-Axis" },
    { CM_EXTENDY, kExtras, "Extend &Y-Axis", nullptr, change, &TWndw::cmExtendYAxis, &TWndw::canExtendY,
        "Extend Y-Axis" },
    { 0, kExtras, nullptr, nullptr, none, nullptr, nullptr, nullptr },
    { CM_EDITLABELS, kExtras, "&Edit Labels", nullptr, change, &TWndw::cmEditLabels, &TWndw::canEditLabels,
        "Edit Labels" },
    { 0, kExtras, nullptr, nullptr, none, nullptr, nullptr, nullptr },
    // Opens a view; its edits are steps of their own.
    { CM_POINTS, kExtras, "&Points...", "Ctrl+T", none, &TWndw::cmPoints, nullptr, nullptr },

    { CM_GENERALHELP, kHelp, "&General Help ", "F1", none, &TWndw::cmGeneralHelp, nullptr, nullptr },
    { 0, kHelp, nullptr, nullptr, none, nullptr, nullptr, nullptr },
    { CM_ADDINGPOINTS, kHelp, "&Adding Points", nullptr, none, &TWndw::cmAddingPoints, nullptr, nullptr },
    { CM_DELETINGPOINTS, kHelp, "&Deleting Points", nullptr, none, &TWndw::cmDeletingPoints, nullptr,
        nullptr },
    { CM_ABOUT, kHelp, "A&bout", nullptr, none, &TWndw::cmAbout, nullptr, nullptr },

    // The controls under the graph, by their ids (texts in MainControls.cpp).
    { IDC_NEXTPOINT, nullptr, nullptr, nullptr, change, &TWndw::cmNextPoint, nullptr, "Next Point" },
    { IDC_CONNECT, nullptr, nullptr, nullptr, change, &TWndw::actConnectPoints, nullptr, "Connect Points" },
    { IDC_DISCONNECT, nullptr, nullptr, nullptr, change, &TWndw::actDisconnectPoints, nullptr,
        "Dis-Connect Points" },
    { IDC_LARGEPOINTS, nullptr, nullptr, nullptr, change, &TWndw::actLargePoints, nullptr, "Large Points" },
    { IDC_SMALLPOINTS, nullptr, nullptr, nullptr, change, &TWndw::actSmallPoints, nullptr, "Small Points" },
    { IDC_LABELPOINTS, nullptr, nullptr, nullptr, change, &TWndw::actLabelPoints, nullptr, "Label Points" },
    { IDC_UNLABELPOINTS, nullptr, nullptr, nullptr, change, &TWndw::actUnlabelPoints, nullptr,
        "Unlabel Points" },
    { IDC_SHOWERRORBARS, nullptr, nullptr, nullptr, change, &TWndw::actShowErrorBars, nullptr,
        "Show Error Bars" },
    { IDC_HIDEERRORBARS, nullptr, nullptr, nullptr, change, &TWndw::actHideErrorBars, nullptr,
        "Hide Error Bars" },
    { IDC_EXIT, nullptr, nullptr, nullptr, none, &TWndw::cmExit, nullptr, nullptr },
    { IDC_CURVE1, nullptr, nullptr, nullptr, change, &TWndw::cmCurve1, nullptr, "Curve 1" },
    { IDC_CURVE2, nullptr, nullptr, nullptr, change, &TWndw::cmCurve2, nullptr, "Curve 2" },
    { IDC_CURVE3, nullptr, nullptr, nullptr, change, &TWndw::cmCurve3, nullptr, "Curve 3" },
    { IDC_THICKLINES, nullptr, nullptr, nullptr, change, &TWndw::cmThickLines, nullptr, "Thick Lines" },
};
} // namespace

std::span<const Command> commandTable() { return commands; }

const Command* findCommand(int id)
{
    for (const Command& c : commands)
        if (c.id == id && c.handler)
            return &c;
    return nullptr;
}

wxMenuBar* buildMainMenu()
{
    auto* bar = new wxMenuBar;
    wxMenu* menu = nullptr;
    const char* title = nullptr;
    for (const Command& c : commands) {
        if (!c.menu)
            continue;
        if (c.menu != title) {
            title = c.menu;
            menu = new wxMenu;
            bar->Append(menu, wxString::FromUTF8(title));
        }
        if (!c.text)
            menu->AppendSeparator();
        else if (c.shortcut)
            menu->Append(c.id, wxString::FromUTF8(c.text) + "\t" + c.shortcut);
        else
            menu->Append(c.id, wxString::FromUTF8(c.text));
    }
    return bar;
}
