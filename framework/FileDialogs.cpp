#include "framework/FileDialogs.h"

#include "framework/MessageBox.h"

#include <filesystem>
#include <system_error>
#include <wx/filedlg.h>

namespace {
class PlatformFileDialogs : public TFileDialogService {
public:
    bool runOpen(wxWindow* owner, TOpenSaveDialog::TData& data) override
    {
        long style = wxFD_OPEN;
        if (data.flags & OFN_FILEMUSTEXIST)
            style |= wxFD_FILE_MUST_EXIST;
        return run(owner, data, style, "Open");
    }

    bool runSave(wxWindow* owner, TOpenSaveDialog::TData& data) override
    {
        long style = wxFD_SAVE;
        if (data.flags & OFN_OVERWRITEPROMPT)
            style |= wxFD_OVERWRITE_PROMPT;
        return run(owner, data, style, "Save As");
    }

private:
    static bool run(wxWindow* owner, TOpenSaveDialog::TData& data, long style, const char* title)
    {
        wxFileDialog dialog(owner, data.title.empty() ? wxString(title) : wxString::FromUTF8(data.title),
            wxString::FromUTF8(data.folder), wxString::FromUTF8(data.name),
            wxString::FromUTF8(toolkitWildcard(data.filter)), style);
        dialog.SetFilterIndex(data.filterIndex > 0 ? data.filterIndex - 1 : 0);
        if (dialog.ShowModal() != wxID_OK)
            return false;
        data.fileName = std::string(dialog.GetPath().utf8_str());
        data.filterIndex = dialog.GetFilterIndex() + 1;
        return true;
    }
};

std::unique_ptr<TFileDialogService>& replacement()
{
    static std::unique_ptr<TFileDialogService> service;
    return service;
}
} // namespace

TFileDialogService& fileDialogService()
{
    static PlatformFileDialogs platform;
    if (replacement())
        return *replacement();
    return platform;
}

std::unique_ptr<TFileDialogService> setFileDialogService(std::unique_ptr<TFileDialogService> service)
{
    std::swap(service, replacement());
    return service;
}

std::string toolkitWildcard(const std::string& filter)
{
    std::string result;
    std::string part;
    bool pattern = false;
    for (char ch : filter) {
        if (ch != '|') {
            part += ch;
            continue;
        }
        if (pattern && part == "*.*")
            part = "*";
        if (!result.empty())
            result += '|';
        result += part;
        part.clear();
        pattern = !pattern;
    }
    return result;
}

std::string withDefaultExtension(const std::string& path, const std::string& extension)
{
    if (extension.empty() || extension == "*")
        return path;
    const std::size_t slash = path.rfind('/');
    const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    const std::size_t dot = path.rfind('.');
    if (dot != std::string::npos && dot > nameStart)
        return path;
    return path + "." + extension;
}

bool mayReplace(wxWindow* owner, const std::string& path, const std::string& caption)
{
    std::error_code error;
    return !std::filesystem::exists(path, error)
        || MessageBox(owner,
               std::filesystem::path(path).filename().string()
                   + " already exists.\nDo you want to replace it?",
               caption, MB_YESNO | MB_ICONEXCLAMATION | MB_DEFBUTTON2)
        == IDYES;
}

bool TFileSaveDialog::Execute()
{
    if (!fileDialogService().runSave(owner, data))
        return false;
    const std::string chosen = withDefaultExtension(data.fileName, data.defaultExtension);
    if (chosen == data.fileName)
        return true;
    if ((data.flags & OFN_OVERWRITEPROMPT) && !mayReplace(owner, chosen, "Save As"))
        return false;
    data.fileName = chosen;
    return true;
}
