#include "Source/Track/coCoasterDefinition.h"

#include "Source/Collision/coPickPathBuilder.h"
#include "Source/SavedCoaster/coSavedCoasterServices.h"
#include "Source/Track/coCoasterPieceLoop.h"
#include "Source/Track/coCoasterPieceStraight.h"
#include "Source/Track/coCoasterPieceTurn.h"

#include "coTrackGeomTestSupport.h"

#include <functional>

namespace {

struct coCoasterDefinitionTest : coTrackGeomTest {
    coCoasterDefinition& store = coCoasterDefinitionStore();
    void Load(const std::string& children) { LoadCoaster("CoasterDefinition\n{\n" + children + "}\n"); }
};

struct RecordingPalette : coInversionPalette {
    RecordingPalette() { coSetInversionPalette(this); }
    ~RecordingPalette() override { coSetInversionPalette(nullptr); }
    void SetAllowInversions(bool allow) override { told.push_back(allow); }
    std::vector<bool> told;
};

std::vector<float> V(const maVector3d& v) {
    return {v.x, v.y, v.z};
}
std::vector<float> V(const maVector4d& v) {
    return {v.x, v.y, v.z, v.w};
}

// Each key with a line that sets it, the value read back, the default and the value from the line.
struct Key {
    const char* line;
    std::function<std::vector<float>(const coCoasterDefinition&)> get;
    std::vector<float> initial, read;
};

const Key kKeys[] = {
    {"Inverted 1", [](auto& d) { return std::vector<float>{float(d.GetInverted())}; }, {0}, {1}},
    {"AllowInvertPieces 0",
     [](auto& d) { return std::vector<float>{float(d.GetAllowInvertPieces())}; },
     {1},
     {0}},
    {"NeedsShadow 0", [](auto& d) { return std::vector<float>{float(d.GetNeedsShadow())}; }, {1}, {0}},
    {"InvertStation 1", [](auto& d) { return std::vector<float>{float(d.GetInvertStation())}; }, {0}, {1}},
    {"WoodSupports 7", [](auto& d) { return std::vector<float>{float(d.GetWoodSupports())}; }, {0}, {1}},
    {"EyePosition 1 2 3", [](auto& d) { return V(d.GetEyePosition()); }, {0, 2.5f, -1.5f}, {1, 2, 3}},
    {"CloseEyePosition 4 5 6", [](auto& d) { return V(d.GetCloseEyePosition()); }, {0, 1.5f, 0}, {4, 5, 6}},
    {"TetherOffset 1 2 3 4", [](auto& d) { return V(d.GetTetherOffset()); }, {0, 0, 0, 0}, {1, 2, 3, 4}},
    {"Extrusion 0.5 2 0 1.25",
     [](auto& d) {
         maVector3d offset;
         float width = 0;
         d.GetExtrusion(offset, width);
         return std::vector<float>{offset.x, offset.y, offset.z, width, d.GetExtrusionScale()};
     },
     {0, 1.1f, 0, 1, 1},
     {0.5f, 2, 0, 1.25f, 1.25f}},
    {"PickPathRadius 2", [](auto& d) { return std::vector<float>{d.GetPickPathRadius()}; }, {0}, {2}},
    {"InitialPosition 30", [](auto& d) { return std::vector<float>{d.GetInitialPosition()}; }, {25}, {30}},
    {"NumCars 6", [](auto& d) { return std::vector<float>{float(d.GetNumCars())}; }, {4}, {6}},
    {"CarSeparation 3.5", [](auto& d) { return std::vector<float>{d.GetCarSeparation()}; }, {4}, {3.5f}},
    {"RailHeight 0.75", [](auto& d) { return std::vector<float>{d.GetRailHeight()}; }, {1}, {0.75f}},
    {"TerrainOffset 2", [](auto& d) { return std::vector<float>{d.GetTerrainOffset()}; }, {1.5f}, {2}},
    {"CameraPitch 90", [](auto& d) { return std::vector<float>{d.GetCameraPitch()}; }, {0}, {1.5707964f}},
    {"CameraShake 0.25", [](auto& d) { return std::vector<float>{d.GetCameraShake()}; }, {0}, {0.25f}},
    {"CameraSlide 1 2 3 4",
     [](auto& d) {
         maVector4d slide;
         d.GetCameraSlide(slide);
         return V(slide);
     },
     {0, 0, 0, 0},
     {1, 2, 3, 4}},
    {"ExtrusionPolygon 2 -1 0 1 0.5",
     [](auto& d) {
         std::vector<float> out;
         for (const maVector2d& p : d.GetExtrusionPolygon())
             out.insert(out.end(), {p.x, p.y});
         return out;
     },
     {},
     {-1, 0, 1, 0.5f}},
};

void ExpectNear(const maVector3d& a, const maVector3d& b) {
    EXPECT_NEAR(a.x, b.x, 1e-4f);
    EXPECT_NEAR(a.y, b.y, 1e-4f);
    EXPECT_NEAR(a.z, b.z, 1e-4f);
}

} // namespace

TEST_F(coCoasterDefinitionTest, EveryKeyFromItsDefaultToTheFilesValue) {
    const coCoasterDefinition fresh;
    std::string all;
    for (const Key& key : kKeys) {
        EXPECT_EQ(key.get(fresh), key.initial) << key.line;
        all += std::string(key.line) + "\n";
    }
    EXPECT_EQ(fresh.GetCoasterTypeName(), "");
    RecordingPalette palette;
    Load(all + "Unknown 1 2 3\nCameraShake {\n0.25 99\n}\n");
    for (const Key& key : kKeys)
        EXPECT_EQ(key.get(store), key.read) << key.line; // CameraPitch bit for bit, extra values ignored
    EXPECT_EQ(palette.told, std::vector<bool>{false});
    EXPECT_EQ(log.Count("**Warning**"), 0u);

    // Only four keys go back to their defaults; the rest keep the last file's values.
    Load("NumCars 6\n");
    for (const Key& key : kKeys) {
        const std::string name = key.line;
        const bool reset = name.starts_with("CameraPitch") || name.starts_with("InvertStation") ||
                           name.starts_with("WoodSupports") || name.starts_with("TetherOffset");
        EXPECT_EQ(key.get(store), reset ? key.initial : key.read) << key.line;
    }
}

TEST_F(coCoasterDefinitionTest, RefusedValuesKeepThePreviousOnes) {
    Load("NumCars 6\nRailHeight 2\nEyePosition 1 2 3\nExtrusionPolygon 1 0.5 0.5\nCameraPitch 45\n");
    // Booleans are numbers ("TRUE" is 0); NumCars is one signed byte; out-of-range floats are refused.
    Load("Inverted 1\nNeedsShadow TRUE\nNumCars 200\nRailHeight 1e99\nEyePosition 1 1e99 3\n"
         "ExtrusionPolygon 2 0 0 1 -1e99\nCameraPitch 2e38\n");
    EXPECT_TRUE(store.GetInverted());
    EXPECT_FALSE(store.GetNeedsShadow());
    EXPECT_EQ(store.GetNumCars(), 6);
    EXPECT_TRUE(log.Holds("a train of -56 cars refused"));
    EXPECT_EQ(store.GetRailHeight(), 2.0f);
    EXPECT_EQ(V(store.GetEyePosition()), (std::vector<float>{1, 2, 3}));
    EXPECT_EQ(store.GetExtrusionPolygon().size(), 1u);
    EXPECT_EQ(store.GetCameraPitch(), 0.0f); // reset by the load, then refused
    EXPECT_EQ(log.Count("is not a finite number"), 4u);

    // The saved coaster's car count goes to the store through the same rule.
    coGetSavedCoasterServices().SetNumCars(0);
    EXPECT_EQ(store.GetNumCars(), 6);
    coGetSavedCoasterServices().SetNumCars(3);
    EXPECT_EQ(store.GetNumCars(), 3);

    // A count of 0 or less empties the outline and reads no points.
    Load("ExtrusionPolygon 0\n");
    EXPECT_TRUE(store.GetExtrusionPolygon().empty());
    Load("ExtrusionPolygon 1 2 2\nExtrusionPolygon -3\n");
    EXPECT_TRUE(store.GetExtrusionPolygon().empty());
}

TEST_F(coCoasterDefinitionTest, PickPathsFollowTheDefinition) {
    coCoasterPieceStraight straight;
    straight.SetRunLength(30.0f);
    straight.Place({0, 5, 0}, 0.0f);
    coCoasterPieceTurn turn;
    turn.Place({0, 5, 0}, 0.0f);
    coCoasterPieceLoop loop;
    loop.Place({0, 5, 0}, 0.0f);
    const maVector2d ring[3] = {{-1, 0}, {1, 0}, {0, 2}};
    store.SetExtrusion({0, 2, 0}, 1.0f);
    for (int m : {3, 1, 0}) {
        store.SetExtrusionPolygon(ring, m);
        for (float radius : {0.0f, 0.5f}) {
            store.SetPickPathRadius(radius);
            for (const coCoasterPiece* piece :
                 std::initializer_list<const coCoasterPiece*>{&straight, &turn, &loop}) {
                const coPickPathMesh mesh = coBuildPickPathMesh(*piece);
                const int n = mesh.GetPointCount();
                EXPECT_EQ(n, piece->GetSectionCount());
                EXPECT_EQ(mesh.HasGrid(), m >= 2);
                EXPECT_EQ(mesh.GetDetailPoints().size(), radius > 0 ? size_t(n) : 0u);
                for (int i = 0; i < n; ++i) {
                    const maMatrix4d frame =
                        piece->FrameAt(static_cast<float>(i) / static_cast<float>(n - 1));
                    ExpectNear(mesh.GetPoint(i), frame.TransformPoint({0, 2, 0}));
                    if (radius > 0)
                        ExpectNear(mesh.GetDetailPoints()[i], frame.GetTranslation());
                    if (m >= 2)
                        ExpectNear(mesh.GetRow(i)[0], frame.TransformPoint({-1, 0, 0}));
                }
            }
        }
    }
    // The straight's centre points: 0, 1/3, 2/3 and all of its length, 2 above the rail.
    store.SetExtrusionPolygon(ring, 3);
    const coPickPathMesh mesh = coBuildPickPathMesh(straight);
    for (int i = 0; i < 4; ++i)
        ExpectNear(mesh.GetPoint(i), {0, 7, 10.0f * i});
}
