// File, Export Picture: the graph as printed (the figure gd2 render --figure
// writes) saved as a PNG, SVG or PDF file. It is a copy of the picture, not
// the graph: the graph's file name and its unsaved mark stay as they were.

#include "document/GraphDocument.h"
#include "drawing/RenderFile.h"
#include "framework/FileDialogs.h"
#include "framework/MessageBox.h"
#include "ui/TWndw.h"

#include <string>

namespace {
constexpr const char* exportFilter
    = "PNG Picture (*.png)|*.png|SVG Picture (*.svg)|*.svg|PDF Document (*.pdf)|*.pdf|";
constexpr const char* typeExtensions[] = { ".png", ".svg", ".pdf" };

bool hasPictureExtension(const std::string& name)
{
    const std::size_t dot = name.find_last_of('.');
    if (dot == std::string::npos || name.find('/', dot) != std::string::npos)
        return false;
    std::string ext = name.substr(dot);
    for (char& ch : ext)
        if (ch >= 'A' && ch <= 'Z')
            ch = static_cast<char>(ch - 'A' + 'a');
    for (const char* known : typeExtensions)
        if (ext == known)
            return true;
    return false;
}
} // namespace

void TWndw::cmExportPicture()
{
    TOpenSaveDialog::TData data;
    data.flags = OFN_OVERWRITEPROMPT;
    data.filter = exportFilter;
    data.filterIndex = 1;
    // The extension follows the type chosen, below.
    data.defaultExtension = "*";
    if (!TFileSaveDialog(this, data).Execute())
        return;
    // A name without a picture's extension gets the one of the type chosen
    // in the dialog (PNG unless another was chosen). The dialog asked about
    // replacing the name as typed, so the longer name is asked about here.
    std::string path = data.fileName;
    if (!hasPictureExtension(path)) {
        const int type = data.filterIndex >= 1 && data.filterIndex <= 3 ? data.filterIndex : 1;
        path += typeExtensions[type - 1];
        if (!mayReplace(this, path, "Export Picture"))
            return;
    }
    RenderLayout layout;
    layout.figure = true;
    std::string error;
    if (!renderGraph(doc, path, error, layout))
        messageBox(error, "Export Error", MB_OK | MB_ICONEXCLAMATION);
}
