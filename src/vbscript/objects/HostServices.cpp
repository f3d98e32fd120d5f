#include "vbscript/objects/HostServices.h"

#include "vbscript/ScriptError.h"

namespace vbscript {

namespace {
HostServices* g_services = nullptr;
} // namespace

HostServices* hostServices() {
    return g_services;
}

void setHostServices(HostServices* services) {
    g_services = services;
}

HostServices& requireHostServices() {
    if (g_services == nullptr)
        raiseError(17);
    return *g_services;
}

} // namespace vbscript
