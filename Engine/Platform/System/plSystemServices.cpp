#include "Engine/Platform/System/plSystemServices.h"

#include <filesystem>

namespace {

// Relative INI names are taken from the program's folder.
std::string ProgramFolder(plSystemFolders& folders) {
    return std::filesystem::path(folders.GetProgramPath()).parent_path().string();
}

} // namespace

plSystemServices::plSystemServices() : m_iniReader(ProgramFolder(m_folders)) {
    m_services.time = &m_time;
    m_services.window = &m_window;
    m_services.messageBox = &m_messageBox;
    m_services.sound = &m_sound;
    m_services.movie = &m_movie;
    m_services.media = &m_media;
    m_services.d3d = &m_d3d;
    m_services.fonts = &m_fonts;

    m_services.keyValueStore = &m_keyValueStore;
    m_services.iniReader = &m_iniReader;
    m_services.folders = &m_folders;
    m_services.instanceGuard = &m_instanceGuard;
    m_services.input = &m_input;
}
