// Linked into the sanitizer build only. Qt 6.4's Wayland platform never destroys some of the
// protocol objects it makes at connection (ten of libwayland-client's proxies, whatever the
// program does), so every process that ever talked to a compositor would end with a leak report
// and exit code 1, a second start that only hands over included. The leak checker skips
// allocations made inside that library; everything of ours is still checked.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libwayland-client.so\n";
}
