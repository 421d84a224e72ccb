#include "Source/World/coPropTemplate.h"

#include "Engine/Graphics/G3d/g3dFragmentManager.h"
#include "Engine/Graphics/G3d/g3dTransformTreeNode.h"
#include "Engine/Graphics/Sc/scJoint.h"
#include "Source/Scene/coModelHolder.h"
#include "Source/Scene/coTextureCache.h"
#include "Source/Settings/coPaths.h"
#include "Source/World/coInvalidPropFileX.h"
#include "Source/World/coThemeList.h"

#include <map>

namespace {

fsLocator In(const fsLocator& folder, const char* name) {
    fsLocator file = folder;
    file.AppendComponent(name);
    return file;
}

bool EndsWith(const envString& text, const char* ending) {
    const envString tail(ending);
    if (text.GetLength() < tail.GetLength())
        return false;
    const u32 start = text.GetLength() - tail.GetLength();
    for (u32 i = 0; i < tail.GetLength(); ++i) {
        const char16_t unit = text[start + i];
        const char16_t lower = unit >= u'A' && unit <= u'Z' ? char16_t(unit - u'A' + u'a') : unit;
        if (lower != tail[i])
            return false;
    }
    return true;
}

} // namespace

coPropTemplate::ModelKind coPropModelKind(const envString& file) {
    if (EndsWith(file, ".mx"))
        return coPropTemplate::kStatic;
    return EndsWith(file, ".mhx") ? coPropTemplate::kHierarchy : coPropTemplate::kSkinned;
}

fsLocator coPropTextSet(const envString& themeName, const envString& name) {
    fsLocator set(coRootText);
    set.AppendComponent(themeName);
    envString file = name;
    file.Append(".tsf");
    set.AppendComponent(file);
    return set;
}

coPropTemplate::coPropTemplate(const envString& name, const envString& displayName, bool trackProp)
    : m_name(name), m_displayName(displayName), m_trackProp(trackProp) {}

coPropTemplate::~coPropTemplate() {
    Unload();
}

void coPropTemplate::Load(const fsLocator& themeFolder) {
    if (m_loaded)
        return;
    envString prd = m_name;
    prd.Append(".prd");
    fsLocator file = In(themeFolder, "Data");
    file.AppendComponent(prd);
    const coPropDefinition definition = coLoadPropDefinition(file);

    const envString& themeName = themeFolder.GetLastComponent();
    fsLocator effects(coRootEffects);
    const coPropAnimation::Folders folders{In(themeFolder, "Model"), In(themeFolder, "Sound"),
                                           In(effects, "Particle"), In(effects, "Texture"), definition.file};
    std::map<u32, envString> texts;
    const u32 textCount = coReadSetTexts(coPropTextSet(themeName, m_name), texts);
    try {
        LoadModel(themeFolder, definition);
        if (definition.idle.animation.GetLength() > 0)
            m_animations[kIdle].push_back(
                std::make_unique<coPropAnimation>(definition.idle, folders, envString()));
        for (u32 i = 0; i < definition.entries.size(); ++i) {
            const envString name = textCount > i + 2 ? texts[i + 2] : envString();
            m_animations[kEntry].push_back(
                std::make_unique<coPropAnimation>(definition.entries[i], folders, name));
        }
        if (definition.exit.animation.GetLength() > 0)
            m_animations[kExit].push_back(
                std::make_unique<coPropAnimation>(definition.exit, folders, envString()));
    } catch (...) {
        Unload();
        throw;
    }
    m_height = definition.height;
    m_triggerDistance = definition.triggerDistance;
    m_scale = definition.scale;
    m_loaded = true;
}

void coPropTemplate::LoadModel(const fsLocator& themeFolder, const coPropDefinition& definition) {
    fsLocator model = In(themeFolder, "Model");
    model.AppendComponent(definition.model);
    const fsLocator textures = In(themeFolder, "Texture");
    m_modelKind = coPropModelKind(definition.model);
    coReadPropFile(model, definition.file, [&] {
        switch (m_modelKind) {
        case kStatic:
            coLoadStaticModel(model, textures, m_parts, nullptr);
            break;
        case kHierarchy:
            m_nodeTree = std::make_unique<g3dTransformTreeNode>();
            coLoadHierarchyModel(model, textures, *m_nodeTree, m_parts, nullptr);
            break;
        case kSkinned:
            coLoadSingleSkin(model, textures, m_parts, m_skinMesh, m_skinRoot);
            break;
        }
    });
    // A file that reads whole but gives nothing to draw (cut after a chunk, a chunk's name damaged) would
    // place props that nobody sees: it is as damaged as one that cannot be read.
    if (!HasSomethingToDraw())
        throw mayInvalidModelFileX(model);
}

bool coPropTemplate::HasSomethingToDraw() const {
    if (m_modelKind != kSkinned)
        return !m_parts.fragments.empty();
    // A skin's fragment is made per prop from its mesh, with 16-bit indices.
    return m_skinRoot && !m_skinMesh.positions.empty() && !m_skinMesh.indices.empty() &&
           m_skinMesh.indices.size() <= 0xFFFF;
}

void coPropTemplate::Unload() {
    for (auto& list : m_animations)
        list.clear();
    // The nodes point at the fragments: they go first.
    m_nodeTree.reset();
    m_skinRoot.reset();
    m_skinMesh = {};
    for (g3dFragment* fragment : m_parts.fragments)
        g3dFragmentManager::DestroyFragment(fragment);
    m_materialTextures.clear();
    m_texturesStripped = false;
    m_parts.materials.clear();
    for (g3dTexture* texture : m_parts.textures)
        coReleaseTexture(texture);
    m_parts = {};
    m_loaded = false;
}

void coPropTemplate::StripTextures() {
    if (!m_loaded || m_texturesStripped)
        return;
    for (mayMaterialRecord& record : m_parts.materials) {
        m_materialTextures.try_emplace(record.material.get(), *record.material);
        record.material->ClearTextureStages();
    }
    m_texturesStripped = true;
}

void coPropTemplate::RestoreTextures() {
    if (!m_texturesStripped)
        return;
    for (auto& [material, loaded] : m_materialTextures)
        *material = loaded;
    m_texturesStripped = false;
}
