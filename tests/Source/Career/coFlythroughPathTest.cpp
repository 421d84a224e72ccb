#include "Source/Career/coFlythroughPath.h"

#include <gtest/gtest.h>

namespace {

// Spots and connectors as records of what they were given; the line mesh as a count of makings.
class coRecordingFlythroughScene : public coFlythroughScene {
  public:
    struct Spot : coFlythroughHandle {
        maVector3d GetPosition() const override { return position; }
        void SetPosition(const maVector3d& p) override { position = p; }
        maVector3d position;
        g3dARGBColor colour;
    };
    struct Connector : coFlythroughConnector {
        explicit Connector(int& live) : live(live) { ++live; }
        ~Connector() override { --live; }
        void Place(const maVector3d& p, const maRotation& r, const maVector3d& s) override {
            position = p;
            rotation = r;
            scale = s;
        }
        int& live;
        maVector3d position, scale;
        maRotation rotation;
    };

    coRecordingFlythroughScene() { coSetFlythroughScene(this); }
    ~coRecordingFlythroughScene() override { coSetFlythroughScene(nullptr); }

    std::unique_ptr<coFlythroughHandle> CreateSpot(const maVector3d& position,
                                                   const g3dARGBColor& colour) override {
        auto spot = std::make_unique<Spot>();
        spot->position = position;
        spot->colour = colour;
        spots.push_back(spot.get());
        return spot;
    }
    void CreateLineMesh() override { ++meshesMade; }
    void DestroyLineMesh() override { ++meshesDestroyed; }
    std::unique_ptr<coFlythroughConnector> CreateConnector() override {
        auto connector = std::make_unique<Connector>(liveConnectors);
        connectors.push_back(connector.get());
        return connector;
    }

    std::vector<Spot*> spots;
    std::vector<Connector*> connectors;
    int meshesMade = 0, meshesDestroyed = 0, liveConnectors = 0;
};

bool Near(const maVector3d& a, const maVector3d& b) {
    return (a - b).Length() < 1e-5f;
}

} // namespace

TEST(coFlythroughPath, HandlesAreColouredSpotsJoinedByAConnectorThatShareOneLineMesh) {
    coRecordingFlythroughScene scene;
    coFlythroughPath path;
    path.AddPoint(maVector3d(0, 0, 0), maVector3d(3, 4, 0));
    path.SetHandlesShown(true);
    path.AddPoint(maVector3d(1, 1, 1), maVector3d(1, 1, -1));
    ASSERT_EQ(scene.spots.size(), 4u);
    EXPECT_EQ(scene.meshesMade, 1);
    // Look-at handle blue, position handle green.
    EXPECT_EQ(scene.spots[0]->colour.b, 1.0f);
    EXPECT_EQ(scene.spots[1]->colour.g, 1.0f);
    EXPECT_TRUE(Near(scene.spots[0]->position, maVector3d(3, 4, 0)));
    // The connector starts at the camera and is as long as the distance to the look-at point.
    const auto* connector = scene.connectors[0];
    EXPECT_TRUE(Near(connector->position, maVector3d(0, 0, 0)));
    EXPECT_TRUE(Near(connector->scale, maVector3d(5, 5, 5)));
    maVector3d axis(0, 0, 1);
    connector->rotation.Rotate(axis);
    EXPECT_TRUE(Near(axis, maVector3d(0.6f, 0.8f, 0)));

    // A dragged handle is where the point is, and stays there once hidden.
    scene.spots[1]->SetPosition(maVector3d(3, 4, 5));
    path.GetPoint(0).PlaceConnector();
    EXPECT_TRUE(Near(connector->position, maVector3d(3, 4, 5)));
    path.GetPoint(0).ShowHandles(false);
    EXPECT_TRUE(Near(path.GetPoint(0).GetCameraPosition(), maVector3d(3, 4, 5)));
    EXPECT_EQ(scene.meshesDestroyed, 0); // the second point still uses it
    path.Clear();
    EXPECT_EQ(scene.meshesDestroyed, 1);
    EXPECT_EQ(scene.liveConnectors, 0);
}
