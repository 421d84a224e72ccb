#include "Source/TrackGeom/coTrackDefinitionSource.h"

#include "Source/Settings/coSeam.h"
#include "Source/Track/coCoasterDefinition.h"
#include "Source/TrackGeom/coCrossSectionReader.h"
#include "Source/TrackGeom/coSupportDefinitionReader.h"
#include "Source/TrackGeom/coSupportMakerPole.h"
#include "Source/TrackGeom/coSupportMakerWood.h"
#include "Source/TrackGeom/coTrackDefinitionReader.h"
#include "Source/TrackGeom/coTrackMeshBuilder.h"

namespace {
coTrackDefinitionSource g_defaults;
constinit coSeam<coTrackDefinitionSource> g_installed(g_defaults);
} // namespace

coTrackDefinitionSource::~coTrackDefinitionSource() = default;

void coTrackDefinitionSource::LoadTrackDefinition(const std::string& fileName) {
    coLoadTrackDefinition(fileName);
}

void coTrackDefinitionSource::LoadSupportDefinition(const std::string& fileName) {
    const coCoasterDefinition& definition = coGetCoasterDefinition();
    m_maker.reset();
    if (definition.GetCoasterTypeName() == "Wooden" || definition.GetWoodSupports())
        m_maker = std::make_unique<coSupportMakerWood>();
    else
        m_maker = std::make_unique<coSupportMakerPole>();
    coLoadSupportDefinition(fileName, *m_maker);
}

void coTrackDefinitionSource::Free() {
    m_maker.reset();
    coFreeTrackDefinition();
    coReleaseTrackTextures();
}

coTrackDefinition* coTrackDefinitionSource::GetTrackDefinition() {
    return coGetLoadedTrackDefinition();
}

coMeshBuilderDefinitions::coMeshBuilderDefinitions(coTrackMeshBuilder& builder) : m_builder(builder) {
    coSetTrackDefinitionSource(this);
}

coMeshBuilderDefinitions::~coMeshBuilderDefinitions() {
    coSetTrackDefinitionSource(nullptr);
}

void coMeshBuilderDefinitions::LoadTrackDefinition(const std::string& fileName) {
    m_builder.LoadTrackDefinition(fileName);
}

void coMeshBuilderDefinitions::LoadSupportDefinition(const std::string& fileName) {
    m_builder.LoadSupportDefinition(fileName);
}

coTrackDefinition* coMeshBuilderDefinitions::GetTrackDefinition() {
    return &m_builder.GetTrackDefinition();
}

coSupportMaker* coMeshBuilderDefinitions::GetSupportMaker() {
    return &m_builder.GetSupportMaker();
}

coTrackDefinitionSource& coGetTrackDefinitionSource() {
    return g_installed.Get();
}

void coSetTrackDefinitionSource(coTrackDefinitionSource* source) {
    g_installed.Set(source);
}
