#pragma once
#include "gui_gallery/guiGallery.h"

#include <memory>
#include <string>

class guiDialog;

// The game's screens on the OpenGL device over the built tree: the gallery's window and input, the
// tree's roots, font names and scripts, the preferences at their defaults in a temporary saves folder,
// the dialog dimmer and the palettes with the menus' background.
class screenGallery {
  public:
    screenGallery();
    ~screenGallery();
    bool IsReady() const { return m_gallery.IsReady(); }
    guiGallery& Gallery() { return m_gallery; }

    // "mainmenu": the main menu on its backdrop. The dialogs, each on its menu's backdrop, are returned
    // for the caller's modal run: "question" (the quit question), "credits", "choose" (a new coaster).
    // Null for an unknown name or a menu.
    bool Knows(const std::string& screen) const;
    guiDialog* Build(const std::string& screen);

  private:
    guiGallery m_gallery;
    std::string m_saves;
};
