#pragma once
#include "Engine/Core/Env/envTypes.h"
#include "Engine/Core/Ma/maVector.h"

#include <functional>
#include <map>
#include <memory>

class g2dImage;

// The mouse pointer object, as far as the choice of its image by a cursor id goes. The images are the
// game's; the pointer hands the chosen one to its image setter, which shows it as the cursor.
class guiCursor {
  public:
    using ImageSetter = std::function<void(const g2dImage& image)>;

    // The image shown for the id (not owned; null forgets it).
    void SetImage(i32 id, const g2dImage* image);
    void SetImageSetter(ImageSetter setter) { m_setter = std::move(setter); }
    // The current id unchanged, or an id without image, changes nothing.
    void SetShape(i32 id);
    i32 GetShape() const { return m_current; }

  private:
    i32 m_current = -1;
    std::map<i32, const g2dImage*> m_images;
    ImageSetter m_setter;
};

// The program-wide pointer: its object, made at the GUI start-up with the hardware-cursor layer, whose
// image setter shows the chosen shape; its position in GUI pixels and its visibility go straight to
// that layer.
class guiCursorMgr {
  public:
    // Position (0, 0), shown.
    static void Create();
    // Harmless when there is nothing to destroy.
    static void Destroy();
    // Null outside the GUI package's life.
    static guiCursor* GetCursor();
    static maVector2d GetPosition() { return s_position; }
    // Stores the position and moves the pointer there.
    static void SetPosition(const maVector2d& position);
    // Reads the pointer into the position without moving it; without a device the position stays.
    static void UpdatePosition();
    static void SetVisible(bool visible);
    static bool IsVisible() { return s_visible; }
    // Pixels of the image; used by the current image and every later one.
    static void SetHotSpot(const maVector2d& hotSpot);
    static void SetShape(i32 id);

  private:
    static inline maVector2d s_position;
    static inline bool s_visible = true;
};
