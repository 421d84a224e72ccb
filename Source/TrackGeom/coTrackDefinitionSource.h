#pragma once
#include <memory>
#include <string>

class coSupportMaker;
class coTrackDefinition;
class coTrackMeshBuilder;

// The current coaster type's track definition and support maker, as the colour schemes and the coaster
// package loader reach them. The game installs the track mesh builder's (coMeshBuilderDefinitions); until
// then this default keeps the loaded track definition and a support maker of its own.
class coTrackDefinitionSource {
  public:
    virtual ~coTrackDefinitionSource();

    // Read from the current coaster type's folder; file and chunk errors pass on.
    virtual void LoadTrackDefinition(const std::string& fileName);
    // A wooden maker for the type "Wooden" or a definition asking for wood supports, else a pole maker.
    virtual void LoadSupportDefinition(const std::string& fileName);
    // Null while none is loaded.
    virtual coTrackDefinition* GetTrackDefinition();
    virtual coSupportMaker* GetSupportMaker() { return m_maker.get(); }
    // Drops the loaded definition, the maker and the track textures: their models and textures must go
    // before the renderer that holds their fragments.
    void Free();

  private:
    std::unique_ptr<coSupportMaker> m_maker;
};

// The mesh builder's definitions, loaded by the builder on first use; installed for its lifetime.
class coMeshBuilderDefinitions : public coTrackDefinitionSource {
  public:
    explicit coMeshBuilderDefinitions(coTrackMeshBuilder& builder);
    ~coMeshBuilderDefinitions() override;

    void LoadTrackDefinition(const std::string& fileName) override;
    void LoadSupportDefinition(const std::string& fileName) override;
    coTrackDefinition* GetTrackDefinition() override;
    coSupportMaker* GetSupportMaker() override;

  private:
    coTrackMeshBuilder& m_builder;
};

coTrackDefinitionSource& coGetTrackDefinitionSource();
// Not owned; null restores the default.
void coSetTrackDefinitionSource(coTrackDefinitionSource* source);
