#include "framework/Controls.h"

#include "framework/CodePageText.h"

#include <algorithm>
#include <vector>
#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/radiobut.h>
#include <wx/textctrl.h>

#ifdef __WXGTK__
#include <gtk/gtk.h>
#endif

namespace {
// The button Enter presses wears a heavy dark border, as the layout was
// drawn with; the desktop's theme alone would not mark it.
class DefaultButton : public wxButton {
public:
    DefaultButton(wxWindow* parent, int id, const wxString& text, const wxPoint& at, const wxSize& size)
        : wxButton(parent, id, text, at, size)
    {
#ifdef __WXGTK3__
        GTKApplyCssStyle("button { border: 2px solid #000000; }");
#endif
    }
};
} // namespace

namespace {
// A mouse click on a button leaves the keyboard focus where it was (the X
// box, mostly), so typing goes on after a toggle, and the toolkit does not
// animate a focus change away and back for every click. Tab still reaches
// every control.
void keepFocusOnClick(wxWindow* control)
{
#ifdef __WXGTK__
    gtk_widget_set_focus_on_click(GTK_WIDGET(control->GetHandle()), FALSE);
#else
    (void)control;
#endif
}
} // namespace

void createControls(wxWindow* parent, std::span<const ControlDef> controls)
{
    for (const ControlDef& def : controls) {
        const wxPoint at(def.x, def.y);
        const wxSize size(def.width, def.height);
        const wxString text = wxString::FromUTF8(def.text);
        switch (def.kind) {
        case ControlKind::Button:
            new wxButton(parent, def.id, text, at, size);
            break;
        case ControlKind::DefaultButton:
            (new DefaultButton(parent, def.id, text, at, size))->SetDefault();
            break;
        case ControlKind::Edit:
            refuseUnholdableText(new wxTextCtrl(parent, def.id, text, at, size, wxTE_PROCESS_ENTER));
            break;
        // Radio buttons and check boxes have no background of their own: their
        // text sits on the window's fixed light grey, so it is dark whatever
        // the desktop's theme would choose.
        case ControlKind::FirstRadio:
            (new wxRadioButton(parent, def.id, text, at, size, wxRB_GROUP))->SetForegroundColour(*wxBLACK);
            break;
        case ControlKind::Radio:
            (new wxRadioButton(parent, def.id, text, at, size))->SetForegroundColour(*wxBLACK);
            break;
        case ControlKind::CheckBox: {
            // Never smaller than the toolkit can draw it (it complains, and
            // clips the text), kept centred on the height it was given.
            auto* box = new wxCheckBox(parent, def.id, text, at, wxDefaultSize);
            box->SetForegroundColour(*wxBLACK);
            const wxSize best = box->GetBestSize();
            const int height = std::max(best.y, size.y);
            box->SetSize(at.x, at.y + (size.y - height) / 2, std::max(best.x, size.x), height);
            break;
        }
        }
        if (def.kind != ControlKind::Edit)
            if (wxWindow* made = parent->FindWindow(def.id))
                keepFocusOnClick(made);
    }
}

void raiseInput(wxWindow* control)
{
#ifdef __WXGTK__
    // Buttons and check boxes take their clicks through an input window of
    // their own, which the toolkit puts on top whenever it is shown.
    auto* widget = control ? static_cast<GtkWidget*>(control->GetHandle()) : nullptr;
    if (widget && GTK_IS_BUTTON(widget) && gtk_widget_get_mapped(widget))
        if (GdkWindow* input = gtk_button_get_event_window(GTK_BUTTON(widget)))
            gdk_window_raise(input);
#else
    (void)control;
#endif
}

std::string controlText(const wxWindow* control)
{
    if (auto* edit = dynamic_cast<const wxTextCtrl*>(control))
        return toCodePage(edit->GetValue());
    return control ? toCodePage(control->GetLabel()) : std::string();
}

void setControlText(wxWindow* control, const std::string& text)
{
    if (auto* edit = dynamic_cast<wxTextCtrl*>(control))
        edit->ChangeValue(fromCodePage(text));
    else if (control)
        control->SetLabel(fromCodePage(text));
}

bool controlChecked(const wxWindow* control)
{
    if (auto* radio = dynamic_cast<const wxRadioButton*>(control))
        return radio->GetValue();
    auto* box = dynamic_cast<const wxCheckBox*>(control);
    return box && box->GetValue();
}

void setControlChecked(wxWindow* control, bool on)
{
    if (auto* radio = dynamic_cast<wxRadioButton*>(control))
        radio->SetValue(on);
    else if (auto* box = dynamic_cast<wxCheckBox*>(control))
        box->SetValue(on);
}

void orderTabsAsShown(wxWindow* parent)
{
    std::vector<wxWindow*> children(parent->GetChildren().begin(), parent->GetChildren().end());
    if (children.size() < 2)
        return;
    std::stable_sort(children.begin(), children.end(),
        [](const wxWindow* a, const wxWindow* b) { return a->GetPosition().y < b->GetPosition().y; });
    for (std::size_t row = 0; row < children.size();) {
        std::size_t end = row + 1;
        while (end < children.size() && children[end]->GetPosition().y - children[row]->GetPosition().y <= 6)
            ++end;
        std::stable_sort(children.begin() + static_cast<std::ptrdiff_t>(row),
            children.begin() + static_cast<std::ptrdiff_t>(end),
            [](const wxWindow* a, const wxWindow* b) { return a->GetPosition().x < b->GetPosition().x; });
        row = end;
    }
    for (std::size_t k = 1; k < children.size(); ++k)
        children[k]->MoveAfterInTabOrder(children[k - 1]);
}

void strengthenFocusRings()
{
#ifdef __WXGTK__
    // The theme draws the focus ring at a third of the text's colour, about
    // 2:1 on the window's grey; at nearly its full colour and two pixels wide
    // it stands out at better than 3:1 on any background the theme gives.
    static GtkCssProvider* provider = [] {
        GtkCssProvider* css = gtk_css_provider_new();
        gtk_css_provider_load_from_data(
            css, "*:focus { outline-color: alpha(currentColor, 0.9); outline-width: 2px; }", -1, nullptr);
        gtk_style_context_add_provider_for_screen(
            gdk_screen_get_default(), GTK_STYLE_PROVIDER(css), GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
        return css;
    }();
    (void)provider;
#endif
}
