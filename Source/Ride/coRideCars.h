#pragma once
#include "Engine/Core/Ma/maVector.h"
#include "Engine/Graphics/G3d/g3dCamera.h"
#include "Engine/Graphics/G3d/g3dMaterial.h"
#include "Source/Ride/coRideServices.h"

#include <memory>
#include <vector>

class coModelHolder;
class g3dRenderTargetTexture;
class scParticleGeneratorTemplate;
class scSimpleMovableObject;
class scSpriteGroupParticleGenerator;

// What the cavern headlight hands the ride modes' render step: the cars to draw into the texture and
// a sphere round the train. cars is null when nothing is drawn.
struct coCavernHeadlight {
    const std::vector<std::unique_ptr<scSimpleMovableObject>>* cars = nullptr;
    g3dCamera* camera = nullptr;
    g3dMaterial* material = nullptr;
    g3dRenderTargetTexture* texture = nullptr;
    maVector3d centre;
    float radius = 0.0f;
};

// The train cars as scene objects on the update list, with their models, their flames and the cavern
// headlight's texture.
class coRideCars : public coRideCarScene {
  public:
    // A car model or flame that cannot be used is told through reportFailure, called while its failure
    // is being handled.
    explicit coRideCars(void (*reportFailure)());
    coRideCars(const coRideCars&) = delete;
    coRideCars& operator=(const coRideCars&) = delete;
    ~coRideCars() override;

    // A train whose models cannot be loaded is reported once and leaves the ride without cars: never
    // half a train, never an object without a model.
    void BuildCars(int trainCount, int carsPerTrain) override;
    void FreeCars() override;
    int GetCarCount() const override { return static_cast<int>(m_cars.size()); }
    void SetCarsVisible(bool visible) override;
    void PlaceCar(int index, const maVector3d& position, const maRotation& rotation) override;

    const std::vector<std::unique_ptr<scSimpleMovableObject>>& GetCars() const { return m_cars; }
    const std::vector<scSpriteGroupParticleGenerator*>& GetFlames() const { return m_flames; }

    // The headlight of the cavern environment; see coRenderCavernHeadlight.
    coCavernHeadlight RenderCavernHeadlight();

  private:
    // Loads the lead and follower models; false (reported, nothing held) when either cannot be used.
    bool LoadModels();
    void AddCar(const coModelHolder& holder);
    void AddFlames();
    void ReleaseHeadlightTexture();

    void (*m_reportFailure)();
    std::vector<std::unique_ptr<scSimpleMovableObject>> m_cars;
    std::unique_ptr<coModelHolder> m_lead;
    std::unique_ptr<coModelHolder> m_follower;
    std::unique_ptr<scParticleGeneratorTemplate> m_flameTemplate;
    std::vector<scSpriteGroupParticleGenerator*> m_flames; // owned by the scene's update list
    g3dMaterial m_headlightMaterial;
    g3dCamera m_headlightCamera;
    g3dRenderTargetTexture* m_headlightTexture = nullptr; // the texture manager's, released here
};

// Installs the scene's cars in place of the carless default, telling their files' failures through
// reportFailure; stopping frees them and restores it.
void coStartRideCars(void (*reportFailure)());
void coStopRideCars();
// With the cars started, at least one car, a coaster that needs shadows, an environment named "cavern"
// with its shadows on: the car list, camera, material, 256 x 256 texture (while preferences 38 and 39
// are both on; otherwise the texture is released) and the train's sphere. Otherwise no car list.
coCavernHeadlight coRenderCavernHeadlight();
// Whether the ride shows the cavern's headlight: a coaster that needs shadows in an environment named
// "cavern" with its shadows on, and preferences 38 and 39 both on. A ride without car objects (the test
// ride) still has the lamp ahead of its train.
bool coCavernHeadlightShown();
