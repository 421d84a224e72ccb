#pragma once
#include "Engine/Core/Env/envTypes.h"
#include "Engine/Platform/Sound/plTestSoundDevice.h"
#include "Engine/Platform/System/plSystemServices.h"
#include "Engine/Platform/Window/plTestInputSource.h"

#include <memory>
#include <string>
#include <vector>

class guiContainer;

// The GUI on the OpenGL device in an 800 x 600 window (GUI pixels are screen pixels): the real backends
// but for the input, which comes from a script, and the sound, mixed in memory. Scenes add their widgets
// to the root; Frame() runs one GUI update with the tooltip at the gallery's clock, which each frame
// moves on by kFrameTime, and draws it.
class guiGallery {
  public:
    static constexpr i32 kWidth = 800;
    static constexpr i32 kHeight = 600;
    static constexpr f32 kFrameTime = 0.05f;

    // Check IsReady(): without a window or a device nothing else works.
    guiGallery();
    ~guiGallery();
    bool IsReady() const { return m_ready; }

    guiContainer& Root();
    // The pointer for the next frames, in GUI pixels, and the main button; a key is held for one frame.
    void Move(float x, float y);
    void SetButton(bool down) { m_down = down; }
    void PressKey(u8 scanCode) { m_key = scanCode; }
    void Frame();
    // The last frame's back buffer as 0xAARRGGBB, rows top first.
    const std::vector<u32>& GetPicture() const { return m_picture; }
    void WritePng(const std::string& path) const;

    // Queues "move x,y", "down", "up", "key n" (a scan code, or Return or Escape), "type text" (character
    // events), "frame" and "wait seconds" (frames until that much of the gallery's clock has passed)
    // commands separated by ';'; false, with a message, for one it does not know.
    bool Load(const std::string& script);
    // Runs the queued commands up to the next frame drawn, a frame of its own when none was left;
    // false once the queue was empty. A modal run calls it as its frame.
    bool Step();
    // Load, then every command; ends with a frame when the last command drew none.
    bool Inject(const std::string& script);

  private:
    plSystemServices m_system;
    plTestInputSource m_input;
    plTestSoundDevice m_sound;
    std::vector<std::string> m_commands;
    size_t m_next = 0;
    bool m_ready = false;
    bool m_started = false;
    bool m_down = false;
    i32 m_key = -1;
    float m_x = 0.0f, m_y = 0.0f;
    f32 m_time = 0.0f;
    std::vector<u32> m_picture;
};

// The default skin (the GUI image generator's) written under a temporary data folder, removed with it.
class guiGallerySkin {
  public:
    guiGallerySkin();
    ~guiGallerySkin();
    // A file of the skin by its name under "Data/GUI", e.g. "button_i.png".
    std::string Path(const std::string& name) const;
    const std::string& Folder() const { return m_folder; }

  private:
    std::string m_folder;
};

// The scenes. "widgets": every pointer state of a skinned widget, the badge, three text columns, a
// wrapped paragraph, a scrolled text and a button at (60, 60) to click. "tooltip": the game's tooltip
// (yellow box, black text, layout 12, 35, 3) and a skinned image named "Button" at (60, 60) with a
// two-line tip; the tooltip goes with the gallery.
void guiGalleryBuildWidgets(guiGallery& gallery, const guiGallerySkin& skin);
// "values": a checked box, a radio group of three, a slider ("Slider", its thumb under (160, 210)), a
// composite with its arrows, a progress bar at 0.5 and a scroll box over a view of 20 rows.
void guiGalleryBuildValues(guiGallery& gallery, const guiGallerySkin& skin);
void guiGalleryBuildToolTip(guiGallery& gallery, const guiGallerySkin& skin);
// "dialog": a 320 x 160 dialog centred on the screen (its corner at (240, 220)), Ok at (40, 100) and
// Cancel at (180, 100) inside it; the program runs it. "editfield": an edit field ("Field") of 240 x 28 at
// (80, 136).
class guiDialog;
guiDialog* guiGalleryBuildDialog(guiGallery& gallery, const guiGallerySkin& skin);
void guiGalleryBuildEditField(guiGallery& gallery, const guiGallerySkin& skin);
// "lists": a list of 20 rows ("List", its scroll box at (40, 60), rows 20 high) with its highlight and
// slider, a two-column table with its third row selected, and an open combo box. "filebrowse": the file
// browser over a folder, showing its folders and its ".gst" and ".png" files; the program runs it.
void guiGalleryBuildLists(guiGallery& gallery, const guiGallerySkin& skin);
guiDialog* guiGalleryBuildFileBrowse(guiGallery& gallery, const guiGallerySkin& skin,
                                     const std::string& folder);
// "keyboard": an on-screen keyboard ("Keyboard") at (140, 200): 26 letters in two rows of 13 keys 40
// pixels apart, capitals while CapsLock (its middle at (598, 308)) is checked, then Space and Backspace.
class xuiOrderedKeyboard;
xuiOrderedKeyboard* guiGalleryBuildKeyboard(guiGallery& gallery, const guiGallerySkin& skin);
// The script "<name>.gst" of the folder, copied beside the skin and loaded into the root. A script's
// "rgba.png" is made there when the folder has none: 256 x 256, red rising to the right, blue downwards,
// opaque at the left edge and clear at the right. The skin's pictures and the letter sets "lower.tsf" and
// "upper.tsf" are put there too.
void guiGalleryLoadScript(guiGallery& gallery, const guiGallerySkin& skin, const std::string& folder,
                          const std::string& name);
