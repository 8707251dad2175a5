#pragma once
// Command and control identifiers of the main window. Menu commands and child
// controls share one id space, as the command table routes both by id.

enum MenuCommand : int {
    CM_NEWGRAPH = 11842,
    CM_OPEN = 11843,
    CM_SAVE = 11844,
    CM_SAVEAS = 11845,
    CM_PRINT = 11846,
    CM_GENERALHELP = 11847,
    CM_EXIT = 11848,
    CM_PRINTERSETUP = 11849,
    CM_ABOUT = 11850,
    CM_ADDINGPOINTS = 11851,
    CM_DELETINGPOINTS = 11852,
    CM_EXTENDX = 11853,
    CM_EXTENDY = 11854,
    CM_EDITLABELS = 11855,
    CM_CAPTIONS = 11856,
    CM_GRAPHTITLE = 11857,
    CM_EDITUNDO = 201,
    CM_EDITREDO = 202,
    CM_EDITCUT = 203,
    CM_EDITCOPY = 204,
    CM_EDITPASTE = 205,
    // Commands this program adds, clear of the ids above.
    CM_EXPORTPICTURE = 11901,
    CM_POINTS = 11902,
};

enum ControlId : int {
    IDC_THICKLINES = 60,
    IDC_NEXTPOINT = 71,
    IDC_CONNECT = 72,
    IDC_DISCONNECT = 73,
    IDC_LARGEPOINTS = 74,
    IDC_SMALLPOINTS = 75,
    IDC_LABELPOINTS = 76,
    IDC_UNLABELPOINTS = 77,
    IDC_SHOWERRORBARS = 78,
    IDC_HIDEERRORBARS = 79,
    IDC_EXIT = 80,
    IDC_XBOX = 90,
    IDC_YBOX = 91,
    IDC_CURVE1 = 95,
    IDC_CURVE2 = 96,
    IDC_CURVE3 = 97,
};
