#pragma once
#include "Source/Modes/coModeTool.h"

class coCoasterPiece;
class coProp;
class coTrackProp;

// Turns a standing prop about the vertical axis by the pointer's horizontal motion. A heading that ends
// where the prop may not stand, or a cancel, is undone on exit.
class coModeRotateProp : public coModeTool {
  public:
    void SetProp(coProp* prop) { m_prop = prop; }

    void Think() override;
    void Enter() override;
    void Exit() override;

  private:
    coProp* m_prop = nullptr;
    float m_turned = 0.0f;
    float m_startAngle = 0.0f;
    maBoundingBox m_oldBounds;
};

// Moves a standing prop over the terrain under the pointer, keeping the grab point under it.
class coModeTranslateProp : public coModeTool {
  public:
    void SetProp(coProp* prop) { m_prop = prop; }

    void Think() override;
    void Enter() override;
    void Exit() override;

  private:
    coProp* m_prop = nullptr;
    maVector3d m_startPosition;
    maBoundingBox m_oldBounds;
};

// Slides a track prop along the circuit to the piece under the pointer (never the first piece).
class coModeTranslateTrackProp : public coModeTool {
  public:
    void SetProp(coTrackProp* prop) { m_prop = prop; }

    void Think() override;
    void Enter() override;
    void Exit() override;

  private:
    coTrackProp* m_prop = nullptr;
    coCoasterPiece* m_startPiece = nullptr;
    float m_startFraction = 0.5f;
};
