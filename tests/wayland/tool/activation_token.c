/* Prints a fresh activation token from the compositor (xdg-activation-v1), the way a launcher
 * gets one for the program it starts. No seat or serial: the compositor may then grant the focus
 * by its own policy. Exit 1 when the compositor offers no activation or sends no token. */
#include "xdg-activation-v1-client-protocol.h"

#include <stdio.h>
#include <string.h>
#include <wayland-client.h>

static struct xdg_activation_v1* activation;
static char token_text[512];

static void global_added(void* data, struct wl_registry* registry, uint32_t name,
                         const char* interface, uint32_t version) {
    (void)data;
    (void)version;
    if (strcmp(interface, xdg_activation_v1_interface.name) == 0)
        activation = wl_registry_bind(registry, name, &xdg_activation_v1_interface, 1);
}

static void global_removed(void* data, struct wl_registry* registry, uint32_t name) {
    (void)data;
    (void)registry;
    (void)name;
}

static const struct wl_registry_listener registry_listener = {global_added, global_removed};

static void token_done(void* data, struct xdg_activation_token_v1* token, const char* text) {
    (void)data;
    (void)token;
    snprintf(token_text, sizeof token_text, "%s", text);
}

static const struct xdg_activation_token_v1_listener token_listener = {token_done};

int main(void) {
    struct wl_display* display = wl_display_connect(NULL);
    if (!display) {
        fprintf(stderr, "activation_token: no Wayland display\n");
        return 1;
    }
    struct wl_registry* registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &registry_listener, NULL);
    wl_display_roundtrip(display);
    if (!activation) {
        fprintf(stderr, "activation_token: the compositor has no xdg-activation\n");
        return 1;
    }
    struct xdg_activation_token_v1* token = xdg_activation_v1_get_activation_token(activation);
    xdg_activation_token_v1_add_listener(token, &token_listener, NULL);
    xdg_activation_token_v1_set_app_id(token, "scrivlet");
    xdg_activation_token_v1_commit(token);
    while (!token_text[0] && wl_display_dispatch(display) != -1) {
    }
    xdg_activation_token_v1_destroy(token);
    xdg_activation_v1_destroy(activation);
    wl_registry_destroy(registry);
    wl_display_disconnect(display);
    if (!token_text[0])
        return 1;
    puts(token_text);
    return 0;
}
