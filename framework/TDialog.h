#pragma once
// A dialog built from a numbered template in resources/, mostly run modally.
// Subclasses add a set-up step and an OK handler; Cancel (id 2) closes with
// the Cancel result and Help (id 9) does nothing, for every dialog alike.
//
//   class TDlgN : public TDialog {
//   public:
//       explicit TDlgN(wxWindow* parent) : TDialog(parent, N) {}
//   protected:
//       void setupWindow() override;  // document -> controls
//       void cmOk() override;         // controls -> document, check, closeWindow(IDOK)
//   };
//   if (TDlgN(this).execute() == IDCANCEL) return;
//
// Texts go in and out as the program's 8-bit code-page strings; the edit
// boxes refuse, as they are typed, the characters the code page cannot hold.

#include <string>
#include <utility>
#include <vector>
#include <wx/dialog.h>

struct DialogTemplate;

class TDialog : public wxDialog {
public:
    // `style` is the toolkit's frame style: a caption, the window menu and,
    // but for a window the user must not close, a close box.
    TDialog(wxWindow* parent, int templateNumber, long style = wxCAPTION | wxSYSTEM_MENU | wxCLOSE_BOX);

    // Runs the dialog modally and returns IDOK or IDCANCEL (MessageBox.h);
    // any other code a caller closed it with is passed through.
    int execute();

    int templateNumber() const { return number; }
    // A control by its template id, or null.
    wxWindow* control(int id) const;
    std::string text(int id) const;
    void setText(int id, const std::string& text);
    bool checked(int id) const;
    void setChecked(int id, bool checked);
    void show(int id, bool show);
    // Modal message box owned by this dialog (flags as in MessageBox.h).
    int messageBox(const std::string& text, const std::string& caption, unsigned flags);

protected:
    // Runs once, when the dialog and its controls exist and before the user
    // can act.
    virtual void setupWindow() { }
    // The OK button (id 1). The framework's own closes with OK.
    virtual void cmOk();
    // Ends the dialog with IDOK or IDCANCEL.
    void closeWindow(int result);

private:
    // Every entry box is named for a screen reader by its prompt.
    void nameBoxesByPrompts();
    void makeRoomForWrappedTexts();
    void createControls(const DialogTemplate& t);
    void onInitDialog(wxInitDialogEvent& event);
    void onOk(wxCommandEvent& event);
    void onHelp(wxCommandEvent& event);
    void onPaint(wxPaintEvent& event);

    struct Framed {
        wxWindow* control;
        unsigned style;
    };
    std::vector<Framed> framed;
    std::vector<std::pair<int, wxWindow*>> byTemplateId; // every control made

    int number;
    bool setUp = false;
};
