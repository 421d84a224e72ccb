#include "Source/TrackGeom/coTrackDefinitions.h"

#include "Source/Track/coCoasterDefinition.h"
#include "Source/TrackGeom/coSupportDefinitionReader.h"
#include "Source/TrackGeom/coSupportMakerPole.h"
#include "Source/TrackGeom/coSupportMakerWood.h"
#include "Source/TrackGeom/coTrackDefinitionReader.h"

namespace {
coTrackDefinitions* g_installed = nullptr;
}

coTrackDefinitions::~coTrackDefinitions() = default;

void coTrackDefinitions::LoadTrackDefinition(const std::string& fileName) {
    coLoadTrackDefinition(fileName);
}

void coTrackDefinitions::LoadSupportDefinition(const std::string& fileName) {
    const coCoasterDefinition& definition = coGetCoasterDefinition();
    m_maker.reset();
    if (definition.GetCoasterTypeName() == "Wooden" || definition.GetWoodSupports())
        m_maker = std::make_unique<coSupportMakerWood>();
    else
        m_maker = std::make_unique<coSupportMakerPole>();
    coLoadSupportDefinition(fileName, *m_maker);
}

coTrackDefinition* coTrackDefinitions::GetTrackDefinition() {
    return coGetLoadedTrackDefinition();
}

coTrackDefinitions& coGetTrackDefinitions() {
    static coTrackDefinitions defaults;
    return g_installed ? *g_installed : defaults;
}

void coSetTrackDefinitions(coTrackDefinitions* definitions) {
    g_installed = definitions;
}
