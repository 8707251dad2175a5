#include "framework/Clipboard.h"

#include <gtk/gtk.h>

namespace {
struct Offer {
    std::vector<ClipboardItem> items;
};

// Whether the clipboard still holds our offer (another program may take it).
bool offering = false;

GtkClipboard* clipboard() { return gtk_clipboard_get(GDK_SELECTION_CLIPBOARD); }

void handOver(GtkClipboard*, GtkSelectionData* selection, guint info, gpointer data)
{
    auto* offer = static_cast<Offer*>(data);
    if (info >= offer->items.size())
        return;
    ClipboardItem& item = offer->items[info];
    if (item.make) {
        item.bytes = item.make();
        item.make = nullptr;
    }
    if (item.type == "text/plain")
        gtk_selection_data_set_text(selection, item.bytes.data(), static_cast<gint>(item.bytes.size()));
    else
        gtk_selection_data_set(selection, gtk_selection_data_get_target(selection), 8,
            reinterpret_cast<const guchar*>(item.bytes.data()), static_cast<gint>(item.bytes.size()));
}

void release(GtkClipboard*, gpointer data)
{
    delete static_cast<Offer*>(data);
    offering = false;
}
} // namespace

bool setClipboard(std::vector<ClipboardItem> items)
{
    auto* offer = new Offer { std::move(items) };
    GtkTargetList* list = gtk_target_list_new(nullptr, 0);
    for (guint i = 0; i < offer->items.size(); ++i) {
        if (offer->items[i].type == "text/plain")
            gtk_target_list_add_text_targets(list, i);
        else
            gtk_target_list_add(list, gdk_atom_intern(offer->items[i].type.c_str(), FALSE), 0, i);
    }
    gint count = 0;
    GtkTargetEntry* targets = gtk_target_table_new_from_list(list, &count);
    // Any earlier offer of ours is released first, which clears the flag.
    const bool taken = gtk_clipboard_set_with_data(
        clipboard(), targets, static_cast<guint>(count), handOver, release, offer);
    gtk_target_table_free(targets, count);
    gtk_target_list_unref(list);
    if (!taken) {
        delete offer;
        return false;
    }
    offering = true;
    gtk_clipboard_set_can_store(clipboard(), nullptr, 0);
    return true;
}

void storeClipboard()
{
    if (offering)
        gtk_clipboard_store(clipboard());
}

std::optional<std::string> clipboardText()
{
    gchar* text = gtk_clipboard_wait_for_text(clipboard());
    if (!text)
        return std::nullopt;
    std::string result(text);
    g_free(text);
    return result;
}

std::vector<std::string> clipboardTypes()
{
    std::vector<std::string> types;
    GdkAtom* atoms = nullptr;
    gint count = 0;
    if (gtk_clipboard_wait_for_targets(clipboard(), &atoms, &count)) {
        for (gint i = 0; i < count; ++i) {
            gchar* name = gdk_atom_name(atoms[i]);
            types.emplace_back(name);
            g_free(name);
        }
        g_free(atoms);
    }
    return types;
}

std::string clipboardData(const std::string& type)
{
    std::string bytes;
    if (GtkSelectionData* data
        = gtk_clipboard_wait_for_contents(clipboard(), gdk_atom_intern(type.c_str(), FALSE))) {
        const gint length = gtk_selection_data_get_length(data);
        if (length > 0)
            bytes.assign(reinterpret_cast<const char*>(gtk_selection_data_get_data(data)),
                static_cast<std::size_t>(length));
        gtk_selection_data_free(data);
    }
    return bytes;
}
