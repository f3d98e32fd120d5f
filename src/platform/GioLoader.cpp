// GIO is loaded when the program first needs it (the first file, URL or program it opens), not
// before main(): it brings six more libraries that a start, which only shows the window, would
// load and relocate for nothing. The functions below stand in for the GIO and GObject functions
// the platform code calls; each looks up the real one once. GLib itself is linked as usual: Qt's
// event loop has loaded it anyway.
//
// The declarations come from the GIO headers, so a definition here that does not match the real
// function does not compile. A function newly used elsewhere shows up as an undefined reference
// at link time and gets its line here.
#include "GioHandles.h"

#include <QtGlobal>

#include <dlfcn.h>

namespace {

void* gioLibrary() {
    static void* const library = [] {
        void* handle = ::dlopen("libgio-2.0.so.0", RTLD_NOW | RTLD_GLOBAL);
        if (!handle)
            qFatal("cannot load GIO (libgio-2.0.so.0): %s", ::dlerror());
        return handle;
    }();
    return library;
}

// The real function of that name in GIO or in GObject, which GIO depends on.
void* gioSymbol(const char* name) {
    void* symbol = ::dlsym(gioLibrary(), name);
    if (!symbol)
        qFatal("GIO has no function %s", name);
    return symbol;
}

} // namespace

#define SCRIVLET_GIO_FORWARD(Result, name, Parameters, Arguments)                                  \
    Result name Parameters {                                                                       \
        static const auto real = reinterpret_cast<decltype(&name)>(gioSymbol(#name));              \
        return real Arguments;                                                                     \
    }

extern "C" {

// GObject
SCRIVLET_GIO_FORWARD(void, g_object_unref, (gpointer object), (object))
SCRIVLET_GIO_FORWARD(GTypeInstance*, g_type_check_instance_cast,
                     (GTypeInstance * instance, GType type), (instance, type))
SCRIVLET_GIO_FORWARD(gboolean, g_type_check_instance_is_a, (GTypeInstance * instance, GType type),
                     (instance, type))

// Content types and files
SCRIVLET_GIO_FORWARD(gboolean, g_content_type_is_a, (const gchar* type, const gchar* supertype),
                     (type, supertype))
SCRIVLET_GIO_FORWARD(gchar*, g_content_type_guess,
                     (const gchar* filename, const guchar* data, gsize size, gboolean* uncertain),
                     (filename, data, size, uncertain))
SCRIVLET_GIO_FORWARD(gchar*, g_content_type_get_mime_type, (const gchar* type), (type))
SCRIVLET_GIO_FORWARD(gboolean, g_content_type_can_be_executable, (const gchar* type), (type))
SCRIVLET_GIO_FORWARD(GFile*, g_file_new_for_path, (const char* path), (path))
SCRIVLET_GIO_FORWARD(GFileInfo*, g_file_query_info,
                     (GFile * file, const char* attributes, GFileQueryInfoFlags flags,
                      GCancellable* cancellable, GError** error),
                     (file, attributes, flags, cancellable, error))
SCRIVLET_GIO_FORWARD(const char*, g_file_info_get_content_type, (GFileInfo * info), (info))

// Applications
SCRIVLET_GIO_FORWARD(GType, g_app_info_get_type, (void), ())
SCRIVLET_GIO_FORWARD(GAppInfo*, g_app_info_get_default_for_type,
                     (const char* type, gboolean mustSupportUris), (type, mustSupportUris))
SCRIVLET_GIO_FORWARD(GAppInfo*, g_app_info_get_default_for_uri_scheme, (const char* scheme),
                     (scheme))
SCRIVLET_GIO_FORWARD(GList*, g_app_info_get_all_for_type, (const char* type), (type))
SCRIVLET_GIO_FORWARD(GList*, g_app_info_get_all, (void), ())
SCRIVLET_GIO_FORWARD(GAppInfo*, g_app_info_create_from_commandline,
                     (const char* commandLine, const char* name, GAppInfoCreateFlags flags,
                      GError** error),
                     (commandLine, name, flags, error))
SCRIVLET_GIO_FORWARD(const char*, g_app_info_get_name, (GAppInfo * info), (info))
SCRIVLET_GIO_FORWARD(const char*, g_app_info_get_id, (GAppInfo * info), (info))
SCRIVLET_GIO_FORWARD(gboolean, g_app_info_should_show, (GAppInfo * info), (info))
SCRIVLET_GIO_FORWARD(const char*, g_app_info_get_executable, (GAppInfo * info), (info))
SCRIVLET_GIO_FORWARD(gboolean, g_app_info_launch_uris,
                     (GAppInfo * info, GList* uris, GAppLaunchContext* context, GError** error),
                     (info, uris, context, error))

// Desktop entries
SCRIVLET_GIO_FORWARD(GType, g_desktop_app_info_get_type, (void), ())
SCRIVLET_GIO_FORWARD(GDesktopAppInfo*, g_desktop_app_info_new, (const char* id), (id))
SCRIVLET_GIO_FORWARD(gboolean, g_desktop_app_info_has_key,
                     (GDesktopAppInfo * info, const char* key), (info, key))
SCRIVLET_GIO_FORWARD(char*, g_desktop_app_info_get_string,
                     (GDesktopAppInfo * info, const char* key), (info, key))
SCRIVLET_GIO_FORWARD(gboolean, g_desktop_app_info_get_boolean,
                     (GDesktopAppInfo * info, const char* key), (info, key))
SCRIVLET_GIO_FORWARD(const gchar* const*, g_desktop_app_info_list_actions, (GDesktopAppInfo * info),
                     (info))
SCRIVLET_GIO_FORWARD(void, g_desktop_app_info_launch_action,
                     (GDesktopAppInfo * info, const gchar* action, GAppLaunchContext* context),
                     (info, action, context))

} // extern "C"
