// File, Export Picture: the graph as printed (the figure gd2 render --figure
// writes) saved as a PNG, SVG or PDF file. It is a copy of the picture, not
// the graph: the graph's file name and its unsaved mark stay as they were.

#include "document/GraphDocument.h"
#include "drawing/RenderFile.h"
#include "files/FilePaths.h"
#include "framework/FileDialogs.h"
#include "framework/MessageBox.h"
#include "ui/TWndw.h"

#include <string>

namespace {
// The types offered: a PNG at one, two or three times the window's pixels,
// the SVG and the PDF.
struct ExportType {
    const char* extension;
    int scale;
};
constexpr ExportType exportTypes[]
    = { { ".png", 1 }, { ".png", 2 }, { ".png", 3 }, { ".svg", 1 }, { ".pdf", 1 } };
// The type last chosen, offered first the next time in this run.
int lastType = 1;

std::string exportFilter()
{
    std::string filter;
    for (int scale = 1; scale <= 3; ++scale)
        filter += "PNG Picture, " + std::to_string(kFigureWidth * scale) + " x "
            + std::to_string(kFigureHeight * scale) + " pixels (*.png)|*.png|";
    return filter + "SVG Picture (*.svg)|*.svg|PDF Document (*.pdf)|*.pdf|";
}

std::string lowerExtension(const std::string& name)
{
    const std::size_t dot = name.find_last_of('.');
    if (dot == std::string::npos || name.find('/', dot) != std::string::npos)
        return {};
    std::string ext = name.substr(dot);
    for (char& ch : ext)
        if (ch >= 'A' && ch <= 'Z')
            ch = static_cast<char>(ch - 'A' + 'a');
    return ext;
}

bool hasPictureExtension(const std::string& name)
{
    const std::string ext = lowerExtension(name);
    return ext == ".png" || ext == ".svg" || ext == ".pdf";
}
} // namespace

void TWndw::cmExportPicture()
{
    TOpenSaveDialog::TData data;
    data.title = "Export Picture";
    data.flags = OFN_OVERWRITEPROMPT;
    data.filter = exportFilter();
    data.filterIndex = lastType;
    // The extension follows the type chosen, below.
    data.defaultExtension = "*";
    // Beside the graph's file, under its name.
    std::string base = "graph";
    if (!doc.fileName.empty()) {
        data.folder = folderOf(doc.fileName);
        base = nameOf(doc.fileName);
        if (lowerExtension(base) == ".gd2")
            base.erase(base.size() - 4);
    }
    data.name = base + exportTypes[lastType - 1].extension;
    if (!TFileSaveDialog(this, data).Execute())
        return;
    const int type = data.filterIndex >= 1 && data.filterIndex <= 5 ? data.filterIndex : 1;
    lastType = type;
    // A name without a picture's extension gets the one of the type chosen
    // in the dialog (PNG unless another was chosen). The dialog asked about
    // replacing the name as typed, so the longer name is asked about here.
    std::string path = data.fileName;
    if (!hasPictureExtension(path)) {
        path += exportTypes[type - 1].extension;
        if (!mayReplace(this, path, "Export Picture"))
            return;
    }
    RenderLayout layout;
    layout.figure = true;
    // The size chosen applies to a PNG; the other formats scale themselves.
    layout.scale = lowerExtension(path) == ".png" ? exportTypes[type - 1].scale : 1;
    std::string error;
    if (!renderGraph(doc, path, error, layout))
        messageBox(error, "Export Error", MB_OK | MB_ICONEXCLAMATION);
}
