#include "resources/DialogTemplates.h"

namespace {
using K = DialogControlKind;
constexpr const char* kFont = "MS Sans Serif";

// Basics: the first step of a new graph.
constexpr DialogControlDef basics[] = {
    { 103, K::Static, "Title for Graph", 32, 12, 52, 12 },
    // The graph file keeps 36 characters of the title, so the box takes no
    // more: a saved and reopened graph keeps its whole title.
    { 104, K::Edit, "", 96, 9, 128, 15, DS_LEFT, 37 },
    { 105, K::CheckBoxLeft, "Connect Points", 76, 36, 68, 14 },
    { 108, K::CheckBoxLeft, "Large Points", 76, 52, 68, 14 },
    { 109, K::CheckBoxLeft, "Label Points", 76, 68, 68, 14 },
    { 110, K::CheckBoxLeft, "Show Error-Bars", 80, 84, 64, 9 },
    { 102, K::Static, "How many Labels on the X-Axis (Max 20)", 36, 104, 136, 13, DS_RIGHT },
    { 101, K::Edit, "", 180, 100, 36, 13, DS_LEFT, 12 },
    { 106, K::Static, "Divisions per Label (if required)", 76, 116, 100, 13 },
    { 107, K::Edit, "", 180, 116, 36, 13, DS_LEFT, 12 },
    { 1, K::DefaultButton, "OK", 208, 140, 50, 14 },
    { 2, K::Button, "Cancel", 132, 140, 50, 14 },
    { 9, K::Button, "Help", 48, 140, 50, 14 },
};

// The X-label prompt; its caption and both statics are set at run time.
constexpr DialogControlDef labelPrompt[] = {
    { 101, K::Static, "", 44, 26, 124, 13 },
    { 102, K::Static, "", 156, 26, 52, 12 },
    { 103, K::Edit, "", 64, 48, 88, 16, DS_LEFT, 12 },
    { 1, K::DefaultButton, "OK", 176, 96, 50, 14 },
    { 2, K::Button, "Cancel", 92, 96, 50, 14 },
    { 9, K::Button, "Help", 8, 96, 50, 14 },
};

// Y-Scale, also shown without its minimum and percent rows.
constexpr DialogControlDef yScale[] = {
    { 103, K::Static, "Minumum Y-Value", 40, 28, 64, 9 },
    { 101, K::Edit, "", 108, 25, 44, 13, DS_LEFT, 12 },
    { 104, K::Static, "Maximum Y-Value", 40, 42, 60, 9 },
    { 102, K::Edit, "", 108, 40, 44, 13, DS_LEFT, 12 },
    { 106, K::Static, "Percent Error", 40, 56, 60, 13, DS_RIGHT },
    { 105, K::Edit, "", 108, 56, 44, 13, DS_LEFT, 12 },
    { 1, K::DefaultButton, "OK", 176, 100, 50, 14 },
    { 2, K::Button, "Cancel", 84, 100, 50, 14 },
    { 9, K::Button, "Help", 8, 100, 50, 14 },
};

// General Help: ten paragraphs, top to bottom.
constexpr DialogControlDef generalHelp[] = {
    { 101, K::Static,
        "Plotwell (plotwl.exe) is a simple graph-drawing program.  It will plot points provided by the "
        "user for up to 3 curves.  It does not calculate any functions.  After plotting, graphs may be "
        "saved and/or printed.  The maximum number of points is 250 for each curve.",
        9, 12, 364, 26 },
    { 102, K::Static,
        "Default value for the X and Y axes are provided, but alternative ranges can be provided by "
        "using the 'File|New Graph' option.",
        9, 40, 364, 18 },
    { 103, K::Static,
        "Labels for the Y-axis must be numerical.  But the X-axis can have any labels.  For example "
        "'Monday, Tuesday, Wednesday ....'.  Each label on the X-axis may be subdivided into "
        "sub-units.  For example, if the X-labels were the years 1999, 2000, 2001 - each year could be "
        "subdivied into 12.",
        9, 60, 364, 28 },
    { 104, K::Static,
        "When entering data, use the default X-values for X-points regarless of the labels.  The "
        "default X values are not shown on the printed output since they are often meaningless.",
        9, 90, 364, 17 },
    { 109, K::Static, "Alternatively, points may be entered on the graph by clicking the LEFT mouse button.",
        9, 108, 364, 10 },
    { 108, K::Static,
        "Be sure to click the appropriate Curve Button for the data you are entering if you propose "
        "more than one curve.",
        9, 119, 364, 14 },
    { 110, K::Static,
        "To add a table showing labels for the curve, use the 'Extras' Add Captions option.  Enter the "
        "names for each curve and click OK.  Then position the cursor where you want the top left "
        "corner of the box to appear and click the RIGHT mouse button, or move its outline with the "
        "arrow keys and press Enter.  To change the position of the "
        "captions, reopen the Add Caption dialog box and click OK again - there is no need to re-enter "
        "the names.",
        9, 134, 364, 43 },
    { 105, K::Static, "Means and  Weighted Means are automatically calculated for each curve entered.", 9,
        178, 364, 12 },
    { 106, K::Static,
        "Should you need to extend the X-Axis you can use the Extras|Extend X-Axis command to add up "
        "to a maximum of 20 X-Axis lables.  You can then use the Edit Labels command to comlete the "
        "X-axis. ",
        9, 191, 364, 21 },
    { 107, K::Static,
        "Provided that the Maximum value of Y is greater than 0, the Y-Axis can be similarly extended", 9,
        213, 364, 12 },
    { 2, K::DefaultButton, "Close", 332, 246, 50, 14 },
};

constexpr DialogControlDef about[] = {
    { 101, K::Static,
        "Plotwell (Plotwl) A simple graph-plotter.\nPlots up to three curves of typed or clicked "
        "points.\nWritten by the Plotwell developers.",
        20, 8, 220, 36, DS_CENTRE | DS_SUNKEN | DS_BORDER },
    { 104, K::Static, "Version 4.1  February 2005", 20, 52, 150, 10 },
    { 103, K::Icon, "", 20, 70, 20, 20, DS_LEFT, 0, 2 },
    { 1, K::Icon, "", 220, 70, 20, 20, DS_LEFT, 0, 1 },
    { 102, K::Static, "", 20, 116, 150, 10 },
    { 2, K::DefaultButton, "Close", 196, 116, 50, 14 },
};

constexpr DialogControlDef addingPoints[] = {
    { 101, K::Static,
        "Points maybe added to the graph by entering the X and Y values in the boxes provided below "
        "the graph.  Alternatively, position the cursor at the required point of insertion and click "
        "the LEFT mouse button.",
        9, 8, 222, 32 },
    { 2, K::DefaultButton, "Close", 181, 46, 50, 14 },
};

constexpr DialogControlDef deletingPoints[] = {
    { 101, K::Static,
        "Position the cursor accurately on the point to be deleted and click the RIGHT mouse "
        "buttom.\n\nMake sure the correct curve is selected!",
        9, 8, 222, 50 },
    { 2, K::DefaultButton, "Close", 181, 66, 50, 14 },
};

constexpr DialogControlDef extendX[] = {
    { 101, K::Static,
        "How many Extra Labels do you wish to add to the X-Axis ?\nEnter zero to just edit labels", 19, 26,
        193, 17, DS_CENTRE },
    { 102, K::Edit, "", 95, 55, 32, 14, DS_LEFT, 8 },
    { 1, K::DefaultButton, "OK", 170, 94, 50, 14 },
    { 2, K::Button, "Cancel", 11, 95, 50, 14 },
};

constexpr DialogControlDef captions[] = {
    { 107, K::Static, "Insert captions for your curves (max 24 chars)", 49, 9, 156, 11 },
    { 104, K::Static, "Curve 1 (Red)", 43, 26, 55, 14 },
    { 101, K::Edit, "", 106, 25, 101, 15, DS_LEFT, 25 },
    { 105, K::Static, "Curve 2 (Green)", 43, 46, 55, 14 },
    { 103, K::Edit, "", 106, 45, 101, 15, DS_LEFT, 25 },
    { 106, K::Static, "Curve 3 (Blue)", 43, 66, 54, 12 },
    { 102, K::Edit, "", 106, 65, 101, 15, DS_LEFT, 25 },
    { 108, K::Static,
        "After entering the Captions you require, click OK.  Then position the cursor at the point you "
        "want the top left corner of the Caption Box to appear on the graph and click the Right mouse "
        "button.  Or move its outline with the arrow keys (Shift: 10 pixels) and press Enter.",
        18, 90, 204, 34, DS_SUNKEN },
    { 1, K::DefaultButton, "OK", 176, 133, 50, 14 },
    { 2, K::Button, "Cancel", 9, 132, 50, 14 },
};

// One row of the labels dialog: "Label No.n" beside its edit. Rows are
// about 15 units apart, the right column one unit lower than the left.
constexpr DialogControlDef labelStatic(int id, int row)
{
    constexpr const char* names[] = { "Label No.1", "Label No.2", "Label No.3", "Label No.4", "Label No.5",
        "Label No.6", "Label No.7", "Label No.8", "Label No.9", "Label No.10", "Label No.11", "Label No.12",
        "Label No.13", "Label No.14", "Label No.15", "Label No.16", "Label No.17", "Label No.18",
        "Label No.19", "Label No.20" };
    const bool right = row >= 10;
    const int i = row % 10;
    const int y = (right ? 35 : 34) + (137 * i + 4) / 9;
    return { id, K::Static, names[row], right ? 184 : 38, y + 1, right ? 46 : 47, 11, DS_SUNKEN };
}

constexpr DialogControlDef labelEdit(int id, int row)
{
    const bool right = row >= 10;
    const int i = row % 10;
    const int y = (right ? 35 : 34) + (137 * i + 4) / 9;
    return { id, K::Edit, "", right ? 241 : 91, y, 57, 13, DS_LEFT, 12 };
}

constexpr DialogControlDef editLabels[] = {
    { 142, K::Static, "Graph Title", 119, 14, 42, 11 },
    { 141, K::Edit, "", 163, 12, 113, 15, DS_LEFT, 37 },
    labelStatic(101, 0),
    labelEdit(102, 0),
    labelStatic(104, 1),
    labelEdit(123, 1),
    labelStatic(106, 2),
    labelEdit(125, 2),
    labelStatic(108, 3),
    labelEdit(127, 3),
    labelStatic(110, 4),
    labelEdit(129, 4),
    labelStatic(112, 5),
    labelEdit(131, 5),
    labelStatic(114, 6),
    labelEdit(133, 6),
    labelStatic(116, 7),
    labelEdit(135, 7),
    labelStatic(118, 8),
    labelEdit(137, 8),
    labelStatic(120, 9),
    labelEdit(139, 9),
    labelStatic(103, 10),
    labelEdit(122, 10),
    labelStatic(105, 11),
    labelEdit(124, 11),
    labelStatic(107, 12),
    labelEdit(126, 12),
    labelStatic(109, 13),
    labelEdit(128, 13),
    labelStatic(111, 14),
    labelEdit(130, 14),
    labelStatic(113, 15),
    labelEdit(132, 15),
    labelStatic(115, 16),
    labelEdit(134, 16),
    labelStatic(117, 17),
    labelEdit(136, 17),
    labelStatic(119, 18),
    labelEdit(138, 18),
    labelStatic(121, 19),
    labelEdit(140, 19),
    { 1, K::DefaultButton, "OK", 274, 198, 50, 14 },
    { 2, K::Button, "Cancel", 184, 198, 50, 14 },
    { 9, K::Button, "Help", 16, 197, 50, 14, DS_HIDDEN },
};

constexpr DialogControlDef graphTitle[] = {
    { 101, K::Edit, "", 18, 23, 168, 15, DS_LEFT, 37 },
    { 102, K::Static, "Title for Graph  (Max 36 characters)", 44, 42, 128, 12 },
    { 1, K::DefaultButton, "OK", 120, 61, 50, 14 },
    { 2, K::Button, "Cancel", 21, 61, 50, 14 },
};

// The progress window of a print job: modeless, built by the printer object,
// which fills in the texts. 65535 is the "no id" of a static nothing looks up.
constexpr DialogControlDef printing[] = {
    { 2, K::Button, "Cancel", 49, 40, 40, 14 },
    { 65535, K::Static, "Now printing", 33, 8, 72, 8, DS_CENTRE },
    { 104, K::Static, "Now printing Page %d", 14, 8, 84, 8 },
    { 105, K::Static, "to %d of", 96, 8, 27, 8, DS_RIGHT },
    // The file's name is shown whole where it fits, else shortened in the
    // middle, where it least hides which file it is.
    { 101, K::Static, "'%s' on the", 4, 16, 130, 8, DS_CENTRE | DS_ELLIPSIS },
    { 103, K::Static, "", 0, 24, 130, 8, DS_CENTRE | DS_HIDDEN },
    { 102, K::Static, "%s on %s", 0, 24, 130, 8, DS_CENTRE },
};

constexpr DialogTemplate templates[] = {
    { 1, "Basics", 271, 166, kFont, 8, basics, 3 },
    { 2, "", 240, 120, kFont, 8, labelPrompt, 3 },
    { 3, "General Help", 393, 267, kFont, 8, generalHelp },
    { 4, "About Plotwell", 260, 139, kFont, 8, about },
    { 5, "Y-Scale", 240, 120, kFont, 8, yScale, 3 },
    { 6, "Adding Points", 240, 66, kFont, 8, addingPoints },
    { 7, "Deleting Points", 240, 88, kFont, 8, deletingPoints },
    { 8, "Extend X-Axis", 240, 120, kFont, 8, extendX },
    { 9, "Curve captions", 240, 163, kFont, 8, captions },
    { 10, "X-Axis labels", 341, 217, kFont, 8, editLabels },
    { 11, "Graph title", 203, 81, kFont, 8, graphTitle },
    { 32599, "Printing", 138, 60, "System", 10, printing },
};
} // namespace

const DialogTemplate* dialogTemplate(int number)
{
    for (const DialogTemplate& t : templates)
        if (t.number == number)
            return &t;
    return nullptr;
}
