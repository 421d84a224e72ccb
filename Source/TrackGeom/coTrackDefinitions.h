#pragma once
#include <memory>
#include <string>

class coSupportMaker;
class coTrackDefinition;

// The current coaster type's track definition and support maker, as the colour schemes and the coaster
// package loader reach them. The track mesh builder owns them once it installs itself; until then this
// default keeps the loaded track definition and a support maker of its own.
class coTrackDefinitions {
  public:
    virtual ~coTrackDefinitions();

    // Read from the current coaster type's folder; file and chunk errors pass on.
    virtual void LoadTrackDefinition(const std::string& fileName);
    // A wooden maker for the type "Wooden" or a definition asking for wood supports, else a pole maker.
    virtual void LoadSupportDefinition(const std::string& fileName);
    // Null while none is loaded.
    virtual coTrackDefinition* GetTrackDefinition();
    virtual coSupportMaker* GetSupportMaker() { return m_maker.get(); }

  private:
    std::unique_ptr<coSupportMaker> m_maker;
};

coTrackDefinitions& coGetTrackDefinitions();
// Not owned; null restores the default.
void coSetTrackDefinitions(coTrackDefinitions* definitions);
