#pragma once
#include "Engine/Graphics/May/mayGeometry.h"
#include "Engine/Graphics/May/mayModelFile.h"
#include "Source/World/coPropAnimation.h"

#include "Engine/Graphics/G3d/g3dMaterial.h"

#include <map>
#include <memory>
#include <vector>

class g3dTransformTreeNode;
class scJoint;

// The model and animations of every placed prop of one kind, loaded on first use and shared.
class coPropTemplate {
  public:
    enum ModelKind { kStatic = 0, kHierarchy = 1, kSkinned = 2 };
    enum ListIndex { kIdle = 0, kEntry = 1, kExit = 2 };

    coPropTemplate(const envString& name, const envString& displayName, bool trackProp);
    ~coPropTemplate();
    coPropTemplate(const coPropTemplate&) = delete;
    coPropTemplate& operator=(const coPropTemplate&) = delete;

    // Reads (theme)/"Data"/(name).prd and everything it names: the model from the theme's "Model"
    // folder with its textures from the theme's "Texture" folder under root 6, the animations, particle
    // templates of root 12 and the theme's sounds. Entry event i is named by text i + 2 of the prop's
    // text set. Nothing when loaded already; a failure leaves the template unloaded and holding nothing.
    // A model that gives nothing to draw is refused as damaged (mayInvalidModelFileX).
    void Load(const fsLocator& themeFolder);
    // Gives back everything Load made; the sound manager's templates of the cues leave its list.
    void Unload();
    // The world is attached to and detached from the scene with textures off: the materials lose their
    // stages, keeping their colours, and get them back as they were. Nothing while unloaded.
    void StripTextures();
    void RestoreTextures();

    const envString& GetInternalName() const { return m_name; }
    const envString& GetName() const { return m_displayName; }
    f32 GetHeight() const { return m_height; }
    f32 GetTriggerDistance() const { return m_triggerDistance; }
    f32 GetScale() const { return m_scale; }
    bool IsTrackProp() const { return m_trackProp; }
    bool IsLoaded() const { return m_loaded; }
    bool AreTexturesStripped() const { return m_texturesStripped; }
    ModelKind GetModelKind() const { return m_modelKind; }
    int GetListSize(int list) const { return static_cast<int>(m_animations[size_t(list)].size()); }
    const coPropAnimation& GetAnimation(int list, int index) const {
        return *m_animations[size_t(list)][size_t(index)];
    }
    const mayModelParts& GetModelParts() const { return m_parts; }
    const g3dTransformTreeNode* GetNodeTree() const { return m_nodeTree.get(); }
    const scJoint* GetSkinRoot() const { return m_skinRoot.get(); }
    // The skin's bind mesh; its materials are the model parts'.
    const mayMesh& GetSkinMesh() const { return m_skinMesh; }

  private:
    void LoadModel(const fsLocator& themeFolder, const coPropDefinition& definition);
    bool HasSomethingToDraw() const;

    envString m_name;
    envString m_displayName;
    bool m_trackProp;
    bool m_loaded = false;
    bool m_texturesStripped = false;
    f32 m_height = 0.0f;
    f32 m_triggerDistance = 0.0f;
    f32 m_scale = 1.0f;
    ModelKind m_modelKind = kStatic;
    mayModelParts m_parts;
    std::unique_ptr<g3dTransformTreeNode> m_nodeTree;
    mayMesh m_skinMesh;
    std::unique_ptr<scJoint> m_skinRoot;
    std::vector<std::unique_ptr<coPropAnimation>> m_animations[3];
    // Each material as loaded, with its stages, for restoring.
    std::map<g3dMaterial*, g3dMaterial> m_materialTextures;
};

// The model kind a model file name gives: ".mx" static, ".mhx" hierarchy, any other a skin.
coPropTemplate::ModelKind coPropModelKind(const envString& file);

// The prop's text set: (theme name)/(name).tsf under root 11.
fsLocator coPropTextSet(const envString& themeName, const envString& name);
