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

    // "mainmenu": the main menu on its backdrop; "loadmenu", "profiles" and "careermenu" likewise. The
    // dialogs, each on its menu's backdrop, are returned for the caller's modal run: "question" (the quit
    // question), "credits", "choose" (a new coaster). The builder's palettes show alone over the built
    // tree's themes: "props", "dock" (for "Steel") and "manipulate" (beside a 10-unit cube 100 ahead of the
    // default camera). "builder-hud": the builder's palettes with sample figures; the fixture "closed-oval"
    // gives the piece palette a closed circuit. "keyboard": the name keyboard holding the text; "browse":
    // the file browser in the music folder; "options" the preferences; "ridepause" the ride settings over
    // three stored colour schemes. Null for an unknown name, a menu or the HUD.
    bool Knows(const std::string& screen) const;
    guiDialog* Build(const std::string& screen, const std::string& fixture = {},
                     const std::string& text = {});
    // Writes the saves the screens show: "saves-5" (five coasters, one of a track type not installed),
    // "classic-3done" (the profile "Ann" with the first three Classic missions done). False for another
    // name.
    bool MakeFixture(const std::string& fixture);

  private:
    void BuildHud(const std::string& fixture);

    guiGallery m_gallery;
    std::string m_saves;
};
