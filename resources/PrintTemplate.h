#pragma once
// Dialog template 32599: the progress window of a print job, as data in
// dialog units of the system font.

#include <span>

struct PrintTemplateControl {
    enum Kind { Button, Static };
    enum Align { Left, Centre, Right };
    int id;
    Kind kind;
    const char* text;
    int x, y, width, height;
    Align align = Left;
    bool hidden = false;
};

struct PrintTemplate {
    int number;
    const char* caption;
    int x, y, width, height; // position relative to the owner's client area
    std::span<const PrintTemplateControl> controls;
};

// Ids of the controls a job fills in.
enum PrintProgressId : int {
    IDC_PRINT_CANCEL = 2,
    IDC_PRINT_HEADING = 65535,
    IDC_PRINT_PAGE = 104,
    IDC_PRINT_LASTPAGE = 105,
    IDC_PRINT_TITLE = 101,
    IDC_PRINT_PORT = 103,
    IDC_PRINT_DEVICE = 102,
};

const PrintTemplate& printProgressTemplate();
