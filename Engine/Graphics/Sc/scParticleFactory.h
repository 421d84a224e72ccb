#pragma once
#include <vector>

class scAttachment;
class scObject;
class scParticleGeneratorTemplate;
class scSpriteGroupParticleGenerator;

// What the particle factory needs of the scene manager: its update list, its deletion of an object
// (tell the generator's handlers, remove the object's attachments, delete it) and the attachments placed
// on an object. The scene manager installs its lists here; until then the default has no update list
// (the caller keeps what it creates), no attachments, and deletes objects directly.
class scParticleScene {
  public:
    virtual ~scParticleScene() = default;
    virtual void AddToUpdateList(scObject*) {}
    virtual void DeleteObject(scObject* object);
    virtual std::vector<scAttachment*> GetAttachmentsOf(scObject*) { return {}; }
};

// Not owned; null restores the default.
void scSetParticleScene(scParticleScene* scene);

// The generator of the template's kind (0 static, 1 cone, 2 spiral) with its emitter, modes, curve (none
// when the template has none), parameters by index and a share of its texture, joined to the update
// list. None for another kind.
scSpriteGroupParticleGenerator* scCreateParticleGenerator(const scParticleGeneratorTemplate& source,
                                                          float startTime, int renderList);

// Deletes, each once, every generator that a particle attachment placed on the object carries.
void scDeleteParticleGeneratorsOf(scObject* object);
