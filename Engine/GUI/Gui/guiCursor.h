#pragma once
#include "Engine/App/Fs/fsLocator.h"
#include "Engine/Core/Env/envTypes.h"
#include "Engine/Core/Ma/maVector.h"

#include <map>
#include <memory>

class g2dImage;

// The one mouse pointer of the GUI: images registered under the game's cursor ids, the current id, the
// hot spot, the position in GUI pixels and the shown flag, driving the device's hardware cursor. Before
// the display exists the values are only stored.
class guiCursor {
  public:
    guiCursor();
    ~guiCursor();
    guiCursor(const guiCursor&) = delete;
    guiCursor& operator=(const guiCursor&) = delete;

    // Reads the file as A8R8G8B8 into a new image that replaces the id's old one only once it is read,
    // so a file that cannot be read keeps the working pointer; the loader's exception passes on. The
    // device is not touched: the image shows the next time the id is chosen.
    void SetImage(const fsLocator& file, i32 id);
    // The current id again changes nothing; an id without an image is refused with a warning, leaving
    // the device and the current id as they were.
    void SetShape(i32 id);
    i32 GetShape() const { return m_current; }
    const g2dImage* GetImage(i32 id) const;
    void SetPosition(const maVector2d& position);
    const maVector2d& GetPosition() const { return m_position; }
    // Pixels of the image; the current image takes it at once, later ones when they are chosen.
    void SetHotSpot(const maVector2d& hotSpot);
    void SetVisible(bool visible);
    bool IsVisible() const { return m_visible; }
    // Reads the system pointer into the position without moving it; without a device it stays.
    void UpdatePosition();

  private:
    std::map<i32, std::unique_ptr<g2dImage>> m_images;
    bool m_visible = true;
    i32 m_current = -1;
    maVector2d m_position;
    maVector2d m_hotSpot;
};

// The program-wide pointer: made at the GUI start-up together with the hardware-cursor layer, reached by
// the widgets and the game through these forwarders.
class guiCursorMgr {
  public:
    static void Create();
    // Harmless when there is nothing to destroy.
    static void Destroy();
    // Null outside the GUI package's life; the forwarders then do nothing and read (0, 0) and shown.
    static guiCursor* GetCursor();
    static maVector2d GetPosition();
    static void SetPosition(const maVector2d& position);
    static void UpdatePosition();
    static void SetVisible(bool visible);
    static bool IsVisible();
    static void SetHotSpot(const maVector2d& hotSpot);
    static void SetShape(i32 id);
};
