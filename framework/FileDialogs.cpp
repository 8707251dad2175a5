#include "framework/FileDialogs.h"

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
        data.error = 0;
        wxFileDialog dialog(owner, title, wxEmptyString, wxEmptyString,
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
