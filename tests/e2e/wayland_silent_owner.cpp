// Test helper: a Wayland program that puts image/png on the clipboard through
// data-control and never hands it over: the pipe of every request is kept
// open and never written. Prints "ready" once it holds the clipboard, and
// exits when another program takes it.

#include "wlr-data-control-unstable-v1-client.h"

#include <wayland-client.h>

#include <cstdio>
#include <cstring>
#include <vector>

namespace {
wl_seat *seat = nullptr;
zwlr_data_control_manager_v1 *manager = nullptr;
bool taken = false;
std::vector<int> held;

void global(void *, wl_registry *registry, uint32_t name, const char *interface, uint32_t)
{
    if (std::strcmp(interface, wl_seat_interface.name) == 0)
        seat = static_cast<wl_seat *>(wl_registry_bind(registry, name, &wl_seat_interface, 1));
    else if (std::strcmp(interface, zwlr_data_control_manager_v1_interface.name) == 0)
        manager = static_cast<zwlr_data_control_manager_v1 *>(
            wl_registry_bind(registry, name, &zwlr_data_control_manager_v1_interface, 1));
}
void globalRemoved(void *, wl_registry *, uint32_t) {}
void send(void *, zwlr_data_control_source_v1 *, const char *, int32_t fd)
{
    held.push_back(fd);
}
void cancelled(void *, zwlr_data_control_source_v1 *)
{
    taken = true;
}
}  // namespace

int main()
{
    wl_display *display = wl_display_connect(nullptr);
    if (!display)
        return 2;
    static const wl_registry_listener registryListener{global, globalRemoved};
    wl_registry *registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &registryListener, nullptr);
    wl_display_roundtrip(display);
    if (!seat || !manager)
        return 2;
    zwlr_data_control_source_v1 *source = zwlr_data_control_manager_v1_create_data_source(manager);
    static const zwlr_data_control_source_v1_listener sourceListener{send, cancelled};
    zwlr_data_control_source_v1_add_listener(source, &sourceListener, nullptr);
    zwlr_data_control_source_v1_offer(source, "image/png");
    zwlr_data_control_device_v1 *device = zwlr_data_control_manager_v1_get_data_device(manager, seat);
    zwlr_data_control_device_v1_set_selection(device, source);
    wl_display_roundtrip(display);
    std::puts("ready");
    std::fflush(stdout);
    while (!taken && wl_display_dispatch(display) >= 0) {
    }
    zwlr_data_control_source_v1_destroy(source);
    zwlr_data_control_device_v1_destroy(device);
    zwlr_data_control_manager_v1_destroy(manager);
    wl_seat_destroy(seat);
    wl_registry_destroy(registry);
    wl_display_disconnect(display);
    return 0;
}
