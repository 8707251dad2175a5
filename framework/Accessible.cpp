#include "framework/Accessible.h"

#include <wx/window.h>

#ifdef __WXGTK__
#include <gtk/gtk.h>
#endif

namespace {
#ifdef __WXGTK__
AtkObject* accessibleOf(wxWindow* window)
{
    GtkWidget* widget = window ? window->GetHandle() : nullptr;
    // A multi-line box or a list sits in a scrolled window; what is read is
    // the control inside it.
    if (widget && GTK_IS_SCROLLED_WINDOW(widget))
        if (GtkWidget* inside = gtk_bin_get_child(GTK_BIN(widget)))
            widget = inside;
    return widget ? gtk_widget_get_accessible(widget) : nullptr;
}
#endif
} // namespace

void setAccessibleName(wxWindow* window, const std::string& utf8)
{
#ifdef __WXGTK__
    if (AtkObject* object = accessibleOf(window))
        atk_object_set_name(object, utf8.c_str());
#endif
}

void setAccessibleDescription(wxWindow* window, const std::string& utf8)
{
#ifdef __WXGTK__
    if (AtkObject* object = accessibleOf(window))
        atk_object_set_description(object, utf8.c_str());
#endif
}

void setAccessibleRole(wxWindow* window, AccessibleRole role)
{
#ifdef __WXGTK__
    if (AtkObject* object = accessibleOf(window))
        atk_object_set_role(object,
            role == AccessibleRole::alert       ? ATK_ROLE_ALERT
                : role == AccessibleRole::image ? ATK_ROLE_IMAGE
                                                : ATK_ROLE_DIALOG);
#endif
}

#ifdef __WXGTK__
namespace {
std::string readAccessible(wxWindow* window, const char* (*get)(AtkObject*))
{
    AtkObject* object = accessibleOf(window);
    const char* text = object ? get(object) : nullptr;
    return text ? text : "";
}
} // namespace

std::string accessibleName(wxWindow* window) { return readAccessible(window, atk_object_get_name); }

std::string accessibleDescription(wxWindow* window)
{
    return readAccessible(window, atk_object_get_description);
}
#else
std::string accessibleName(wxWindow*) { return {}; }

std::string accessibleDescription(wxWindow*) { return {}; }
#endif

void announce(const std::string& utf8)
{
    // Said again even when the same news comes twice in a row.
    wxWindow* focus = wxWindow::FindFocus();
    if (!focus)
        return;
    if (accessibleDescription(focus) == utf8)
        setAccessibleDescription(focus, "");
    setAccessibleDescription(focus, utf8);
}
