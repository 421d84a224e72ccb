#pragma once
#include "Engine/GUI/Gpr/gprContainerParser.h"

// The parser of "Slider" objects: the slider's own "Thumb" and "Background" images, the thumb's offset
// and travel, the value and the axis; other widget objects become children.
class gprSliderParser : public gprContainerParser {
  public:
    gprSliderParser();

    bool IsType(u32 id) const override { return id == s_slider; }
    u32 GetType() const override { return s_slider; }
    bool LoadChild(u32 id, u16 version, u32 size, chReader& reader, guiWindow* parent) override;
    bool TranslateChild(u32 id, u16 version, u32 size, chReader& reader, chWriter& writer) override;
    void LoadProperty(u32 id, u16 version, u32 size, chReader& reader, guiWindow* target) override;
    void SaveProperties(u16 version, chWriter& writer, guiWindow* window) override;
    void TranslateProperty(u32 id, u16 version, u32 size, chReader& reader, chWriter& writer) override;
    bool CanHandle(guiWindow* window) const override;
    guiWindow* CreateWidget() const override;

  protected:
    // The thumb and the background go under their keywords, so that a load puts them back into the
    // slider's own images instead of adding images.
    void SaveChildWindow(u16 version, chWriter& writer, guiWindow* child) override;

  private:
    static inline u32 s_slider = 0, s_thumb = 0, s_background = 0, s_thumbOffset = 0,
                      s_backgroundConstraint = 0, s_thumbPos = 0, s_axis = 0;
};

// The parser of "SliderComposite" objects: a slider whose "Increase" and "Decrease" objects are step
// controls, each with its delta.
class gprSliderCompositeParser : public gprSliderParser {
  public:
    gprSliderCompositeParser();

    bool IsType(u32 id) const override { return id == s_composite; }
    u32 GetType() const override { return s_composite; }
    bool LoadChild(u32 id, u16 version, u32 size, chReader& reader, guiWindow* parent) override;
    bool TranslateChild(u32 id, u16 version, u32 size, chReader& reader, chWriter& writer) override;
    bool CanHandle(guiWindow* window) const override;
    guiWindow* CreateWidget() const override;

  private:
    static inline u32 s_composite = 0, s_increase = 0, s_decrease = 0;
};
