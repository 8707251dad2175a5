#pragma once
// The open-file and save-file dialogs. The commands fill a TData record and
// run a dialog; the dialog itself is a replaceable service, because the
// platform's file chooser cannot be driven reliably by a test.

#include <memory>
#include <string>

class wxWindow;

// Option flags as the original dialogs take them; the desktop's file
// chooser hides a read-only box and needs an existing folder by itself.
enum : unsigned long {
    OFN_OVERWRITEPROMPT = 0x2, // ask before replacing an existing file
    OFN_FILEMUSTEXIST = 0x1000,
};

struct TOpenSaveDialog {
    struct TData {
        unsigned long flags = 0;
        // Pairs of description and pattern, every part ended by '|'.
        std::string filter;
        int filterIndex = 1; // 1-based: the pair shown first
        // Added, after a dot, to a chosen name that has no extension;
        // "*" or empty adds nothing.
        std::string defaultExtension;
        std::string fileName; // the chosen path after OK; held whole
        // The dialog's title ("Open" or "Save As" when empty), and the
        // folder and name it starts with (the desktop's choice when empty).
        std::string title;
        std::string folder;
        std::string name;
    };
};

// Runs the dialogs. The program uses the platform's file chooser; tests
// install a replacement that answers without a window.
class TFileDialogService {
public:
    virtual ~TFileDialogService() = default;
    // Returns true for OK, with data.fileName set; false for Cancel (the
    // desktop's chooser does not fail in any other way).
    virtual bool runOpen(wxWindow* owner, TOpenSaveDialog::TData& data) = 0;
    virtual bool runSave(wxWindow* owner, TOpenSaveDialog::TData& data) = 0;
};

TFileDialogService& fileDialogService();
// Replaces the service (null restores the platform's); returns the previous
// replacement, if any.
std::unique_ptr<TFileDialogService> setFileDialogService(std::unique_ptr<TFileDialogService> service);

// Asks before a name the dialog did not ask about (one with an extension
// added) replaces a file; No is the default. True when it may be written.
bool mayReplace(wxWindow* owner, const std::string& path, const std::string& caption);

class TFileOpenDialog {
public:
    TFileOpenDialog(wxWindow* parent, TOpenSaveDialog::TData& settings)
        : owner(parent)
        , data(settings)
    {
    }
    bool Execute() { return fileDialogService().runOpen(owner, data); }

private:
    wxWindow* owner;
    TOpenSaveDialog::TData& data;
};

class TFileSaveDialog {
public:
    TFileSaveDialog(wxWindow* parent, TOpenSaveDialog::TData& settings)
        : owner(parent)
        , data(settings)
    {
    }
    // The chosen name gets the default extension when it has none, so the
    // file shows up again under the filter it was saved for. A name that
    // only now points at an existing file is asked about (default No), as
    // the dialog asked about the name it was given.
    bool Execute();

private:
    wxWindow* owner;
    TOpenSaveDialog::TData& data;
};

// Turns a '|'-ended filter string into the toolkit's wildcard. "*.*" becomes
// "*", so "All Files" also lists names without a dot, as users expect.
std::string toolkitWildcard(const std::string& filter);
// `path` with "." + extension added when its last part has no extension
// (a leading dot alone does not make one); unchanged for "*" or "".
std::string withDefaultExtension(const std::string& path, const std::string& extension);
