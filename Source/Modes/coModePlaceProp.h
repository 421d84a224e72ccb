#pragma once
#include "Source/Modes/coModeTool.h"

#include <memory>

class coProp;
class coPropTemplate;
class coTrackProp;

// Puts a new prop into the park: it hangs under the pointer on the terrain, the grid's footprint says
// whether it may stand there, a release of the primary button places it and the cancel action throws
// it away. Either ends the mode.
class coModePlaceProp : public coModeTool {
  public:
    coModePlaceProp();
    ~coModePlaceProp() override;
    void SetTemplate(coPropTemplate* propTemplate) { m_template = propTemplate; }

    void Think() override;
    void Enter() override;
    void Exit() override;

    const coProp* GetProp() const { return m_prop.get(); }

  private:
    coPropTemplate* m_template = nullptr;
    std::unique_ptr<coProp> m_prop;
    // A click before the prop stood anywhere would place it at the origin, out of the player's sight.
    bool m_shown = false;
};

// Attaches a new track prop to a piece of the circuit under the pointer (never the first piece). A
// prop that was never attached is thrown away when the mode ends.
class coModePlaceTrackProp : public coModeTool {
  public:
    coModePlaceTrackProp();
    ~coModePlaceTrackProp() override;
    void SetTemplate(coPropTemplate* propTemplate) { m_template = propTemplate; }

    void Think() override;
    void Enter() override;
    void Exit() override;

    const coTrackProp* GetProp() const { return m_prop.get(); }

  private:
    coPropTemplate* m_template = nullptr;
    std::unique_ptr<coTrackProp> m_prop;
};

// Whether the prop may stand where it is: its cells free and no track through it.
bool coPropMayStand(const coProp& prop);
// Puts the track prop on the piece under the ray (cut at the terrain) unless that is the first piece;
// false when it stays where it was.
bool coAttachTrackPropUnderRay(coTrackProp& prop, coPickRay ray);
