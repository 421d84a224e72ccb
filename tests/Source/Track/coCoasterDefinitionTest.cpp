#include "Source/Track/coCoasterDefinition.h"

#include "Source/Collision/coPickPathBuilder.h"
#include "Source/SavedCoaster/coSavedCoasterServices.h"
#include "Source/Track/coCoasterPieceLoop.h"
#include "Source/Track/coCoasterPieceStraight.h"
#include "Source/Track/coCoasterPieceTurn.h"

#include "Source/Track/coTrackTestSupport.h"
#include "Source/TrackGeom/coTrackGeomTestSupport.h"

#include <tuple>

namespace {

struct coCoasterDefinitionTest : coTrackGeomTest {
    coCoasterDefinition& store = coCoasterDefinitionStore();
    void Load(const std::string& children) { LoadCoaster("CoasterDefinition\n{\n" + children + "}\n"); }
};

struct RecordingPalette : coInversionListener {
    RecordingPalette() { coSetInversionListener(this); }
    ~RecordingPalette() override { coSetInversionListener(nullptr); }
    void SetAllowInversions(bool allow) override { told.push_back(allow); }
    std::vector<bool> told;
};

// Every key's values in file-table order (flags as 0 or 1), the polygon's points last.
std::vector<float> Values(const coCoasterDefinition& d) {
    maVector3d offset;
    float width = 0;
    d.GetExtrusion(offset, width);
    maVector4d slide;
    d.GetCameraSlide(slide);
    const maVector3d &eye = d.GetEyePosition(), &close = d.GetCloseEyePosition();
    const maVector4d& tether = d.GetTetherOffset();
    const float flags[5] = {float(d.GetInverted()), float(d.GetAllowInvertPieces()),
                            float(d.GetNeedsShadow()), float(d.GetInvertStation()),
                            float(d.GetWoodSupports())};
    std::vector<float> v(flags, flags + 5);
    v.insert(v.end(),
             {eye.x, eye.y, eye.z, close.x, close.y, close.z, tether.x, tether.y, tether.z, tether.w});
    v.insert(v.end(), {offset.x, offset.y, offset.z, width, d.GetExtrusionScale(), d.GetPickPathRadius()});
    v.insert(v.end(),
             {d.GetInitialPosition(), float(d.GetNumCars()), d.GetCarSeparation(), d.GetRailHeight()});
    v.insert(v.end(), {d.GetTerrainOffset(), d.GetCameraPitch(), d.GetCameraShake()});
    v.insert(v.end(), {slide.x, slide.y, slide.z, slide.w});
    for (const maVector2d& point : d.GetExtrusionPolygon())
        v.insert(v.end(), {point.x, point.y});
    return v;
}

const char* kEveryKey =
    "Inverted 1\nAllowInvertPieces 0\nNeedsShadow 0\nInvertStation 1\nWoodSupports 7\n"
    "EyePosition 1 2 3\nCloseEyePosition 4 5 6\nTetherOffset 1 2 3 4\nExtrusion 0.5 2 0 1.25\n"
    "PickPathRadius 2\nInitialPosition 30\nNumCars 6\nCarSeparation 3.5\nRailHeight 0.75\n"
    "TerrainOffset 2\nCameraPitch 90\nCameraShake 0.25\nCameraSlide 1 2 3 4\n"
    "ExtrusionPolygon 2 -1 0 1 0.5\n";
const std::vector<float> kDefaults = {0,    1, 1, 0, 0, 0,  2.5f, -1.5f, 0, 1.5f, 0, 0, 0, 0, 0, 0,
                                      1.1f, 0, 1, 1, 0, 25, 4,    4,     1, 1.5f, 0, 0, 0, 0, 0, 0};
const std::vector<float> kRead = {1,     0, 0,          1,     1, 1, 2,     3,     4,  5,  6, 1,
                                  2,     3, 4,          0.5f,  2, 0, 1.25f, 1.25f, 2,  30, 6, 3.5f,
                                  0.75f, 2, 1.5707964f, 0.25f, 1, 2, 3,     4,     -1, 0,  1, 0.5f};
// CameraPitch, InvertStation, WoodSupports and TetherOffset.
const std::vector<size_t> kResetEachLoad = {26, 3, 4, 11, 12, 13, 14};

} // namespace

TEST_F(coCoasterDefinitionTest, EveryKeyFromItsDefaultToTheFilesValue) {
    const coCoasterDefinition fresh;
    EXPECT_EQ(std::tuple(Values(fresh), fresh.GetCoasterTypeName()), std::tuple(kDefaults, ""));
    RecordingPalette palette;
    // CameraPitch bit for bit; unknown chunks and extra values are passed over.
    Load(std::string(kEveryKey) + "Unknown 1 2 3\nCameraShake {\n0.25 99\n}\n");
    EXPECT_EQ(Values(store), kRead);
    EXPECT_EQ(std::tuple(palette.told, log.Count("**Warning**")), std::tuple(std::vector<bool>{false}, 0u));

    // Only four keys go back to their defaults; the rest keep the last file's values.
    Load("NumCars 5\n");
    std::vector<float> expected = kRead;
    for (size_t i : kResetEachLoad)
        expected[i] = kDefaults[i];
    expected[22] = 5;
    EXPECT_EQ(Values(store), expected);
}

TEST_F(coCoasterDefinitionTest, RefusedValuesKeepThePreviousOnes) {
    Load("RailHeight 2\nEyePosition 1 2 3\nExtrusionPolygon 1 0.5 0.5\nCameraPitch 45\n");
    // Booleans are numbers ("TRUE" is 0); NumCars is one signed byte; out-of-range floats are refused.
    Load("Inverted 1\nNeedsShadow TRUE\nNumCars 200\nRailHeight 1e99\nEyePosition 1 1e99 3\n"
         "ExtrusionPolygon 2 0 0 1 -1e99\nCameraPitch 2e38\n");
    // The camera pitch is reset by the load, then refused.
    EXPECT_EQ(std::tuple(store.GetInverted(), store.GetNeedsShadow(), store.GetNumCars(),
                         store.GetRailHeight(), store.GetEyePosition().y, store.GetExtrusionPolygon().size(),
                         store.GetCameraPitch()),
              std::tuple(true, false, 4, 2.0f, 2.0f, 1u, 0.0f));
    EXPECT_TRUE(log.Holds("a train of -56 cars refused"));
    EXPECT_EQ(log.Count("is not a finite number"), 4u);

    // The saved coaster's car count goes to the store through the same rule.
    coGetSavedCoasterServices().SetNumCars(0);
    EXPECT_EQ(store.GetNumCars(), 4);
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
                EXPECT_EQ(std::tuple(n, mesh.HasGrid(), mesh.GetDetailPoints().size()),
                          std::tuple(piece->GetSectionCount(), m >= 2, radius > 0 ? size_t(n) : 0u));
                for (int i = 0; i < n; ++i) {
                    const maMatrix4d frame =
                        piece->FrameAt(static_cast<float>(i) / static_cast<float>(n - 1));
                    ExpectVectorNear(mesh.GetPoint(i), frame.TransformPoint({0, 2, 0}), 1e-4f);
                    if (radius > 0)
                        ExpectVectorNear(mesh.GetDetailPoints()[i], frame.GetTranslation(), 1e-4f);
                    if (m >= 2)
                        ExpectVectorNear(mesh.GetRow(i)[0], frame.TransformPoint({-1, 0, 0}), 1e-4f);
                }
            }
        }
    }
    // The straight's centre points: 0, 1/3, 2/3 and all of its length, 2 above the rail.
    store.SetExtrusionPolygon(ring, 3);
    const coPickPathMesh mesh = coBuildPickPathMesh(straight);
    for (int i = 0; i < 4; ++i)
        ExpectVectorNear(mesh.GetPoint(i), {0, 7, 10.0f * i}, 1e-4f);
}
