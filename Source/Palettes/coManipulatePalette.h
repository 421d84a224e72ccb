#pragma once
#include "Engine/GUI/Gui/guiContainer.h"

class coObject;
class g3dCamera;
class guiButton;

// The floating tool box beside the selected prop, dock, ring or spot: "Rotate", "Translate",
// "Choose Anim" and "Delete" in a 2 x 2 square, polled by state by the builder.
class coManipulatePalette : public guiContainer {
  public:
    // A button image that cannot be loaded leaves its state untextured, with a warning.
    coManipulatePalette();
    ~coManipulatePalette() override;

    // Up and to the left of the object's projected centre, by an amount that grows with its size and
    // shrinks with its distance; hidden while the object is behind the eye. Shows only the buttons
    // that apply: "Choose Anim" for a prop of several events, "Rotate" for anything but a track prop.
    void AttachToObject(g3dCamera& camera, const coObject& object);

    guiButton* GetRotateButton() const { return m_rotate; }
    guiButton* GetTranslateButton() const { return m_translate; }
    guiButton* GetChooseAnimButton() const { return m_chooseAnim; }
    guiButton* GetDeleteButton() const { return m_delete; }

  private:
    guiButton* m_rotate = nullptr;
    guiButton* m_translate = nullptr;
    guiButton* m_chooseAnim = nullptr;
    guiButton* m_delete = nullptr;
};
