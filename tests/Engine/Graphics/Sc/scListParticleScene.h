#pragma once
#include "Engine/Graphics/Sc/scParticleFactory.h"
#include "Engine/Graphics/Sc/scSceneManager.h"

// The scene package's own lists as the particle factory's scene, without starting the package;
// installed while it lives.
class scListParticleScene : public scParticleScene {
  public:
    scListParticleScene() { scSetParticleScene(this); }
    ~scListParticleScene() override { scSetParticleScene(nullptr); }
    void AddToUpdateList(scObject* object) override { scAddToUpdateList(object); }
    void DeleteObject(scObject* object) override { scDeleteObject(object); }
    std::vector<scAttachment*> GetAttachmentsOf(scObject* object) override {
        return scGetAttachmentsOf(object);
    }
};
