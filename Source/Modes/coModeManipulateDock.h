#pragma once
#include "Source/Modes/coModeTool.h"

#include <string>

class coLoadingDock;

// Moves (kind 0) or turns (kind 1) the loading dock, or places a new dock of the chosen coaster type
// (kind 2). When the dock stays, the circuit's first piece is joined to it again.
class coModeManipulateDock : public coModeTool {
  public:
    enum Kind : i32 { Move = 0, Turn = 1, PlaceNew = 2 };

    void SetKind(i32 kind) { m_kind = kind; }
    void SetDock(coLoadingDock* dock) { m_dock = dock; }
    void SetDockType(const char* name) { m_dockType = name; }
    const std::string& GetDockType() const { return m_dockType; }

    void Think() override;
    void Enter() override;
    void Exit() override;

  private:
    // The first piece drawn and pickable again, for the exits that do not join it to a dock.
    static void RestoreFirstPiece();

    i32 m_kind = Move;
    coLoadingDock* m_dock = nullptr;
    maVector3d m_startPosition;
    float m_startAngle = 0.0f;
    float m_turned = 0.0f;
    std::string m_dockType = "Ironvale";
};
