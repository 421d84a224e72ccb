#pragma once
#include "Source/Scene/coModelHolder.h"
#include "Source/TrackGeom/coCrossSection.h"

#include <memory>
#include <string>
#include <vector>

// The sections a track is made of; the class says on which pieces one is swept.
// Every piece.
class coTrackRail : public coCrossSection {};
// Pieces whose track element is 1, a chain lift.
class coTrackChain : public coCrossSection {};
// Element 2, brakes.
class coTrackBrakes : public coCrossSection {};
// Element 3, a booster.
class coTrackBooster : public coCrossSection {};
// Element 4, a retarder.
class coTrackRetarder : public coCrossSection {};
// Pieces whose tube flag is 1.
class coTrackTube : public coCrossSection {};

// A model repeated along every piece.
struct coTrackCrossbar {
    // Null until a Geometry child is read: then nothing is placed.
    std::unique_ptr<coModelHolder> model;
    // The group of the piece's objects that receives the crossbars.
    i32 group = 0;
    // The part name for colour schemes.
    std::string name;
    // World units between crossbars, before the detail setting scales it.
    float spacing = 2.0f;
};

// What "Track.def" says a coaster type's track is made of: its sections and crossbars, in file order.
class coTrackDefinition {
  public:
    void AddCrossSection(std::unique_ptr<coCrossSection> section) {
        m_sections.push_back(std::move(section));
    }
    void AddCrossbar(std::unique_ptr<coTrackCrossbar> crossbar) {
        m_crossbars.push_back(std::move(crossbar));
    }

    const std::vector<std::unique_ptr<coCrossSection>>& GetCrossSections() const { return m_sections; }
    const std::vector<std::unique_ptr<coTrackCrossbar>>& GetCrossbars() const { return m_crossbars; }

  private:
    std::vector<std::unique_ptr<coCrossSection>> m_sections;
    std::vector<std::unique_ptr<coTrackCrossbar>> m_crossbars;
};

// Every material of the part, for a colour scheme: first those of the sections of that name (exact
// case), in order, then every material of the models of the crossbars of that name.
void coCollectPartMaterials(const coTrackDefinition& definition, const std::string& part,
                            std::vector<g3dMaterial*>& out);
