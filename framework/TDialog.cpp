#include "framework/TDialog.h"

#include "framework/Accessible.h"
#include "framework/CodePageText.h"
#include "framework/Controls.h"
#include "framework/MessageBox.h"
#include "resources/DialogTemplates.h"
#include "resources/Icons.h"

#include <algorithm>
#include <cmath>
#include <fontconfig/fontconfig.h>
#include <map>
#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/dcclient.h>
#include <wx/statbmp.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

namespace {
// A static keeps the size its template gives it and aligns its text as told.
long staticStyle(unsigned style)
{
    long wx = wxST_NO_AUTORESIZE;
    if (style & DS_RIGHT)
        wx |= wxALIGN_RIGHT;
    else if (style & DS_CENTRE)
        wx |= wxALIGN_CENTRE_HORIZONTAL;
    if (style & DS_ELLIPSIS)
        wx |= wxST_ELLIPSIZE_MIDDLE;
    return wx;
}

// The face fontconfig picks for a template's font name; templates name the
// fonts of another desktop, which fontconfig maps to an installed face.
wxString resolvedFace(const char* name)
{
    static std::map<std::string, wxString> faces;
    auto found = faces.find(name);
    if (found != faces.end())
        return found->second;

    wxString face;
    if (FcPattern* pattern = FcPatternCreate()) {
        FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(name));
        FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
        FcDefaultSubstitute(pattern);
        FcResult result = FcResultNoMatch;
        if (FcPattern* match = FcFontMatch(nullptr, pattern, &result)) {
            FcChar8* family = nullptr;
            if (FcPatternGetString(match, FC_FAMILY, 0, &family) == FcResultMatch && family)
                face = wxString::FromUTF8(reinterpret_cast<const char*>(family));
            FcPatternDestroy(match);
        }
        FcPatternDestroy(pattern);
    }
    faces.emplace(name, face);
    return face;
}

wxFont templateFont(const DialogTemplate& t)
{
    wxFontInfo info(t.pointSize);
    const wxString face = resolvedFace(t.fontName);
    if (!face.empty())
        info.FaceName(face);
    else
        info.Family(wxFONTFAMILY_SWISS);
    wxFont font(info);
    return font.IsOk() ? font : wxFont(wxFontInfo(t.pointSize).Family(wxFONTFAMILY_SWISS));
}

// Edit boxes are narrow in dialog units; the toolkit's wide inner margins
// would hide half of what fits in them.
class TemplateEdit : public wxTextCtrl {
public:
    TemplateEdit(wxWindow* parent, int id, const wxString& text, const wxPoint& at, const wxSize& size)
        : wxTextCtrl(parent, id, text, at, size)
    {
        refuseUnholdableText(this);
#ifdef __WXGTK3__
        GTKApplyCssStyle("entry { padding-left: 3px; padding-right: 3px; }");
#endif
    }
};

// A check box with its text on the left keeps its box at the right edge of
// its rectangle, so a column of them lines up; it is never made smaller than
// the toolkit can draw, and stays centred on its rectangle.
void placeLeftTextCheckBox(wxCheckBox* box, const wxPoint& from, const wxSize& size)
{
    const wxSize best = box->GetBestSize();
    const int height = std::max(best.y, size.y);
    box->SetSize(from.x + size.x - best.x, from.y + (size.y - height) / 2, best.x, height);
}

} // namespace

TDialog::TDialog(wxWindow* parent, int templateNumber, long style)
    : number(templateNumber)
{
    const DialogTemplate* t = dialogTemplate(templateNumber);
    wxASSERT_MSG(t, "no such dialog template");

    // Placed over the top left corner of the owner's client area.
    const wxPoint at = parent ? parent->ClientToScreen(wxPoint(0, 0)) : wxDefaultPosition;
    Create(parent, wxID_ANY, t ? fromCodePage(t->caption) : wxString(), at, wxDefaultSize, style);
    if (!t)
        return;

    // Dialog units follow the font, so it is set before anything is measured.
    SetFont(templateFont(*t));
    SetClientSize(ConvertDialogToPixels(wxSize(t->width, t->height)));
    // The toolkit centres a dialog on its owner whatever position it was
    // created with, and skips a move to where it believes the dialog is.
    if (parent) {
        Move(at + wxPoint(1, 0));
        Move(at);
    }
    createControls(*t);

    // Enter presses OK and Escape (or the close box) presses Cancel.
    SetAffirmativeId(1);
    SetEscapeId(2);
    Bind(wxEVT_BUTTON, &TDialog::onOk, this, 1);
    // Help opens the help text the template names.
    Bind(wxEVT_BUTTON, &TDialog::onHelp, this, 9);
    Bind(wxEVT_INIT_DIALOG, &TDialog::onInitDialog, this);
    if (!framed.empty())
        Bind(wxEVT_PAINT, &TDialog::onPaint, this);
}

// The toolkit draws no frame around a text, so the dialog draws one around
// each text the template marks, on its own background.
void TDialog::onPaint(wxPaintEvent&)
{
    wxPaintDC dc(this);
    const wxPen shadow(wxColour(128, 128, 128));
    const wxPen light(*wxWHITE);
    for (const Framed& f : framed) {
        if (!f.control->IsShown())
            continue;
        const wxRect r = f.control->GetRect();
        if (f.style & DS_BORDER) {
            dc.SetPen(*wxBLACK_PEN);
            dc.SetBrush(*wxTRANSPARENT_BRUSH);
            dc.DrawRectangle(wxRect(r).Inflate(2));
        }
        if (f.style & DS_SUNKEN) {
            const wxRect e = wxRect(r).Inflate(1);
            dc.SetPen(shadow);
            dc.DrawLine(e.GetLeft(), e.GetBottom(), e.GetLeft(), e.GetTop());
            dc.DrawLine(e.GetLeft(), e.GetTop(), e.GetRight(), e.GetTop());
            dc.SetPen(light);
            dc.DrawLine(e.GetRight(), e.GetTop(), e.GetRight(), e.GetBottom());
            dc.DrawLine(e.GetRight(), e.GetBottom(), e.GetLeft() - 1, e.GetBottom());
        }
    }
}

void TDialog::createControls(const DialogTemplate& t)
{
    for (const DialogControlDef& def : t.controls) {
        // Both corners are converted, so controls that touch in dialog
        // units still touch in pixels.
        const wxPoint from = ConvertDialogToPixels(wxPoint(def.x, def.y));
        const wxPoint to = ConvertDialogToPixels(wxPoint(def.x + def.width, def.y + def.height));
        const wxSize size(to.x - from.x, to.y - from.y);
        const wxString text = fromCodePage(def.text);
        // 65535 is the "no id" of a static text; the toolkit takes no ids
        // that high, so such a control is found by its template id alone.
        const int id = def.id < 32767 ? def.id : wxID_STATIC;

        wxWindow* made = nullptr;
        switch (def.kind) {
        case DialogControlKind::Static:
            made = new wxStaticText(this, id, text, from, size, staticStyle(def.style));
            break;
        case DialogControlKind::Edit: {
            auto* edit = new TemplateEdit(this, id, text, from, size);
            if (def.limit > 0)
                edit->SetMaxLength(def.limit - 1);
            made = edit;
            break;
        }
        case DialogControlKind::Button:
            made = new wxButton(this, id, text, from, size);
            break;
        case DialogControlKind::DefaultButton: {
            auto* button = new wxButton(this, id, text, from, size);
            button->SetDefault();
            made = button;
            break;
        }
        case DialogControlKind::CheckBoxLeft: {
            // Made at its natural size, which placing it then needs.
            auto* box = new wxCheckBox(this, id, text, from, wxDefaultSize, wxALIGN_RIGHT);
            placeLeftTextCheckBox(box, from, size);
            made = box;
            break;
        }
        case DialogControlKind::Icon:
            // An icon keeps its own size, as the template gives only its place.
            made = new wxStaticBitmap(this, id, wxBitmap(programIcon(def.icon)), from);
            break;
        case DialogControlKind::Group:
            made = new wxStaticBox(this, id, text, from, size);
            break;
        }
        if (made && (def.style & DS_HIDDEN))
            made->Hide();
        if (made && (def.style & (DS_SUNKEN | DS_BORDER)))
            framed.push_back({ made, def.style });
        if (made)
            byTemplateId.emplace_back(def.id, made);
        if (made && def.kind == DialogControlKind::CheckBoxLeft)
            setAccessibleName(made, std::string(text.utf8_str()));
    }
    makeRoomForWrappedTexts();
    orderTabsAsShown(this);
}

void TDialog::nameBoxesByPrompts()
{
    // A box is called by the text beside it: the nearest static text, with
    // any other on the same line (the label prompt's "Enter the next X-Axis
    // Label" and its number).
    std::vector<wxStaticText*> texts;
    for (wxWindow* w : GetChildren())
        if (auto* text = dynamic_cast<wxStaticText*>(w); text && !text->GetLabel().empty() && text->IsShown())
            texts.push_back(text);
    for (wxWindow* w : GetChildren()) {
        if (!dynamic_cast<wxTextCtrl*>(w))
            continue;
        // A text on the box's own line comes first, then the nearest above
        // or below it.
        const wxRect box = w->GetRect();
        const wxPoint at = box.GetPosition() + box.GetSize() / 2;
        wxStaticText* nearest = nullptr;
        double best = 1e18;
        for (wxStaticText* text : texts) {
            const wxRect r = text->GetRect();
            const wxPoint c = r.GetPosition() + r.GetSize() / 2;
            const bool sameLine = r.GetTop() <= box.GetBottom() && r.GetBottom() >= box.GetTop();
            const double d = std::hypot(c.x - at.x, c.y - at.y) + (sameLine ? 0 : 1e6);
            if (d < best)
                best = d, nearest = text;
        }
        if (!nearest)
            continue;
        std::string name;
        for (wxStaticText* text : texts)
            if (std::abs(text->GetRect().GetTop() - nearest->GetRect().GetTop()) <= 2)
                name += (name.empty() ? "" : " ") + std::string(text->GetLabel().utf8_str());
        setAccessibleName(w, name);
    }
}

namespace {
// Lines the text takes when wrapped at word breaks to `width`.
int wrappedLines(wxDC& dc, const wxString& text, int width)
{
    int lines = 0;
    const int space = dc.GetTextExtent(" ").x;
    for (const wxString& paragraph : wxSplit(text, '\n', 0)) {
        ++lines;
        int used = 0;
        for (const wxString& word : wxSplit(paragraph, ' ', 0)) {
            const int w = dc.GetTextExtent(word).x;
            if (used > 0 && used + space + w > width) {
                ++lines;
                used = w;
            } else
                used += (used > 0 ? space : 0) + w;
        }
    }
    return lines;
}
} // namespace

// Dialog units follow the font's average width, but a text's width does not
// grow quite as evenly with the desktop's text scaling, so a paragraph can
// wrap onto one more line than its rectangle holds. Such a text grows
// downwards into the free space below it, never over another control.
void TDialog::makeRoomForWrappedTexts()
{
    wxClientDC dc(this);
    dc.SetFont(GetFont());
    const int lineHeight = dc.GetCharHeight();
    const int bottom = GetClientSize().y;
    for (wxWindow* w : GetChildren()) {
        auto* text = dynamic_cast<wxStaticText*>(w);
        if (!text || text->GetLabel().empty())
            continue;
        const wxRect r = text->GetRect();
        const int needed = wrappedLines(dc, text->GetLabel(), r.width) * lineHeight;
        if (needed <= r.height)
            continue;
        int limit = bottom;
        for (wxWindow* other : GetChildren())
            if (other != w) {
                const wxRect o = other->GetRect();
                if (o.y >= r.GetBottom() && o.x < r.GetRight() && o.GetRight() > r.x)
                    limit = std::min(limit, o.y - 3);
            }
        text->SetSize(r.x, r.y, r.width, std::max(r.height, std::min(needed, limit - r.y)));
    }
}

void TDialog::onInitDialog(wxInitDialogEvent& event)
{
    event.Skip();
    if (setUp)
        return;
    setUp = true;
    setupWindow();
    nameBoxesByPrompts();
}

int TDialog::execute()
{
    const int result = ShowModal();
    if (result == wxID_OK)
        return IDOK;
    if (result == wxID_CANCEL)
        return IDCANCEL;
    return result;
}

void TDialog::onOk(wxCommandEvent&) { cmOk(); }

void TDialog::onHelp(wxCommandEvent&)
{
    if (const DialogTemplate* t = dialogTemplate(number); t && t->help)
        TDialog(this, t->help).execute();
}

void TDialog::cmOk() { closeWindow(IDOK); }

void TDialog::closeWindow(int result)
{
    const int code = result == IDOK ? wxID_OK : result == IDCANCEL ? wxID_CANCEL : result;
    SetReturnCode(code);
    EndDialog(code);
}

wxWindow* TDialog::control(int id) const
{
    for (const auto& [templateId, made] : byTemplateId)
        if (templateId == id)
            return made;
    return nullptr;
}

std::string TDialog::text(int id) const { return controlText(control(id)); }

void TDialog::setText(int id, const std::string& text)
{
    // The toolkit empties an edit given more than its limit; keeping what
    // fits is what reading the edit back would give anyway.
    std::size_t fits = text.size();
    if (const DialogTemplate* t = dialogTemplate(number))
        for (const DialogControlDef& def : t->controls)
            if (def.id == id && def.limit > 0)
                fits = std::min(fits, static_cast<std::size_t>(def.limit - 1));
    setControlText(control(id), text.substr(0, fits));
    // A prompt changed while the dialog is up renames the box it is beside.
    if (setUp && dynamic_cast<wxStaticText*>(control(id)))
        nameBoxesByPrompts();
}

bool TDialog::checked(int id) const { return controlChecked(control(id)); }

void TDialog::setChecked(int id, bool on) { setControlChecked(control(id), on); }

void TDialog::show(int id, bool on)
{
    if (wxWindow* w = control(id))
        w->Show(on);
}

int TDialog::messageBox(const std::string& text, const std::string& caption, unsigned flags)
{
    return MessageBox(this, text, caption, flags);
}
