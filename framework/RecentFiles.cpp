#include "framework/RecentFiles.h"

#include <filesystem>
#include <gtk/gtk.h>

void addRecentGraphFile(const std::string& path)
{
    GtkRecentManager* manager = gtk_recent_manager_get_default();
    std::error_code failed;
    const std::string whole = std::filesystem::absolute(path, failed).string();
    gchar* uri = failed ? nullptr : g_filename_to_uri(whole.c_str(), nullptr, nullptr);
    if (!manager || !uri) {
        g_free(uri);
        return;
    }
    // The type by content would call a short or odd file a plain binary
    // file; what Open and Save just read or wrote is a graph.
    gchar mimeType[] = "application/x-plotwell-graph";
    gchar appName[] = "Plotwell";
    gchar appExec[] = "plotwell %f";
    GtkRecentData data {};
    data.mime_type = mimeType;
    data.app_name = appName;
    data.app_exec = appExec;
    gtk_recent_manager_add_full(manager, uri, &data);
    g_free(uri);
}
