#include "Engine/Platform/plServices.h"

#include <stdexcept>
#include <string>

namespace {

plServices g_services;

template <class Service> Service& Require(Service* service, const char* name) {
    if (!service)
        throw std::logic_error(std::string("platform service not installed: ") + name);
    return *service;
}

} // namespace

void plInstallServices(const plServices& services) {
    g_services = services;
}

const plServices& plGetServices() {
    return g_services;
}

plTimeSource& plGetTimeSource() {
    return Require(g_services.time, "time source");
}

plWindowHost& plGetWindowHost() {
    return Require(g_services.window, "window host");
}

plMessageBox& plGetMessageBox() {
    return Require(g_services.messageBox, "message box");
}

plSoundDevice& plGetSoundDevice() {
    return Require(g_services.sound, "sound device");
}

plMediaDecoders& plGetMediaDecoders() {
    return Require(g_services.media, "media decoders");
}

plKeyValueStore& plGetKeyValueStore() {
    return Require(g_services.keyValueStore, "key-value store");
}

plIniReader& plGetIniReader() {
    return Require(g_services.iniReader, "INI reader");
}

plSystemFolders& plGetSystemFolders() {
    return Require(g_services.folders, "system folders");
}

plInstanceGuard& plGetInstanceGuard() {
    return Require(g_services.instanceGuard, "instance guard");
}

plInputSource& plGetInputSource() {
    return Require(g_services.input, "input source");
}

plD3d& plGetD3d() {
    return Require(g_services.d3d, "3D device factory");
}

plFontRasterizer& plGetFontRasterizer() {
    return Require(g_services.fonts, "font rasterizer");
}
