#include "Source/World/coPlacementGrid.h"

#include "Engine/Graphics/Sc/scSceneManager.h"

#include "Engine/Core/Env/dbgLog.h"
#include "Engine/Graphics/G3d/g3dFragmentManager.h"
#include "Engine/Graphics/G3d/g3dMaterial.h"
#include "Engine/Graphics/Sc/scSimpleMovableObject.h"
#include "Source/Track/coParkWorld.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {

constexpr f32 kDefaultMin = -200.0f, kDefaultMax = 200.0f;
constexpr i32 kDefaultCells = 80;
constexpr i32 kBlockCells = 4;
// The world's render list, the props' own.
constexpr u32 kWorldRenderList = 2;
constexpr f32 kOutlineLift = 2.0f;
constexpr f32 kFootprintLift = kOutlineLift + 0.2f;
constexpr i32 kLowMargin = 2, kHighMargin = 3;

const g3dARGBColor kPulseFrom(0.3f, 0.3f, 0.6f, 1.0f);
const g3dARGBColor kPulseTo(0.5f, 0.5f, 1.0f, 1.0f);
const g3dARGBColor kPlaceable(0.4f, 0.9f, 0.4f, 0.7f);
const g3dARGBColor kNotPlaceable(1.0f, 0.2f, 0.2f, 0.8f);

bool SaneExtent(f32 min, f32 max, i32 n) {
    return n >= 1 && n <= coPlacementGrid::kMaxCells && std::isfinite(min) && std::isfinite(max) &&
           min < max && std::isfinite(max - min);
}

// The cell an offset falls in, truncated toward zero (so just below the low edge is still cell 0) and
// clamped in float first: -1 for anything before the grid, n for anything past it, -1 for NaN.
i32 TruncatedCell(f32 offset, f32 cellSize, i32 n) {
    const f32 cell = offset / cellSize;
    if (!(cell > -1.0f))
        return -1;
    return cell >= static_cast<f32>(n) ? n : static_cast<i32>(cell);
}

void SetColour(g3dMaterial& material, const g3dARGBColor& colour) {
    material.SetDiffuse(colour);
    material.SetAmbient(colour);
}

} // namespace

coPlacementGrid::coPlacementGrid()
    : m_minX(-maMaxFloat), m_maxX(maMaxFloat), m_minZ(-maMaxFloat), m_maxZ(maMaxFloat),
      m_gridMaterial(std::make_unique<g3dMaterial>()), m_footprintMaterial(std::make_unique<g3dMaterial>()) {
    m_pulse.SetStates(kPulseFrom, kPulseTo);
    m_pulse.SetDuration(1.0f);
    m_pulse.SetLooping(true);
    m_pulse.SetPingPong(true);
    SetColour(*m_gridMaterial, kPulseFrom);
}

coPlacementGrid::~coPlacementGrid() = default;

void coPlacementGrid::Build(f32 minX, f32 maxX, f32 minZ, f32 maxZ, i32 nx, i32 nz) {
    // The footprint stands on the old corners.
    DestroyFootprint();
    // Zero or negative counts divide by zero; huge ones ask for gigabytes of cells and heights.
    if (!SaneExtent(minX, maxX, nx) || !SaneExtent(minZ, maxZ, nz)) {
        DBG_WARNING("placement grid x %g..%g, z %g..%g with %d x %d cells is unusable; the default grid is "
                    "used",
                    double(minX), double(maxX), double(minZ), double(maxZ), nx, nz);
        minX = minZ = kDefaultMin;
        maxX = maxZ = kDefaultMax;
        nx = nz = kDefaultCells;
    }
    m_minX = minX;
    m_maxX = maxX;
    m_minZ = minZ;
    m_maxZ = maxZ;
    m_nx = nx;
    m_nz = nz;
    m_cellX = (maxX - minX) / static_cast<f32>(nx);
    m_cellZ = (maxZ - minZ) / static_cast<f32>(nz);
    m_cells.assign(size_t(nx) * size_t(nz), kFree);
    m_cornerHeight.assign(size_t(nx + 1) * size_t(nz + 1), 0.0f);
    const coParkWorld& world = coGetParkWorld();
    for (i32 i = 0; i <= nx; ++i)
        for (i32 j = 0; j <= nz; ++j) {
            f32 height = 0.0f;
            if (world.GetHeightAt(minX + static_cast<f32>(i) * m_cellX, minZ + static_cast<f32>(j) * m_cellZ,
                                  height))
                m_cornerHeight[size_t(i) * size_t(nz + 1) + size_t(j)] = height;
        }
}

void coPlacementGrid::MarkSteepCells(f32 maxStep) {
    for (i32 cx = 0; cx < m_nx; ++cx)
        for (i32 cz = 0; cz < m_nz; ++cz) {
            const f32 a = GetCornerHeight(cx, cz), b = GetCornerHeight(cx, cz + 1);
            const f32 c = GetCornerHeight(cx + 1, cz + 1), d = GetCornerHeight(cx + 1, cz);
            if (std::fabs(a - b) > maxStep || std::fabs(b - c) > maxStep || std::fabs(c - d) > maxStep ||
                std::fabs(d - a) > maxStep)
                m_cells[size_t(cz) * size_t(m_nx) + size_t(cx)] = kBlocked;
        }
}

u8 coPlacementGrid::GetCell(i32 cx, i32 cz) const {
    if (cx < 0 || cz < 0 || cx >= m_nx || cz >= m_nz)
        return kBlocked;
    return m_cells[size_t(cz) * size_t(m_nx) + size_t(cx)];
}

f32 coPlacementGrid::GetCornerHeight(i32 i, i32 j) const {
    if (i < 0 || j < 0 || i > m_nx || j > m_nz || m_nx == 0)
        return 0.0f;
    return m_cornerHeight[size_t(i) * size_t(m_nz + 1) + size_t(j)];
}

void coPlacementGrid::WorldToCell(f32 x, f32 z, i32& cx, i32& cz) const {
    if (m_nx == 0) {
        cx = cz = 0;
        return;
    }
    cx = std::clamp(TruncatedCell(x - m_minX, m_cellX, m_nx), 0, m_nx - 1);
    cz = std::clamp(TruncatedCell(z - m_minZ, m_cellZ, m_nz), 0, m_nz - 1);
}

bool coPlacementGrid::Covers(const maBoundingBox& box, Span& x, Span& z) const {
    // False for NaN too.
    if (!(box.minX <= box.maxX && box.minZ <= box.maxZ))
        return false;
    if (m_nx == 0) {
        x = z = {0, 0};
        return true;
    }
    x = {TruncatedCell(box.minX - m_minX, m_cellX, m_nx), TruncatedCell(box.maxX - m_minX, m_cellX, m_nx)};
    z = {TruncatedCell(box.minZ - m_minZ, m_cellZ, m_nz), TruncatedCell(box.maxZ - m_minZ, m_cellZ, m_nz)};
    return true;
}

void coPlacementGrid::MarkBox(const maBoundingBox& box, u8 value) {
    Span x, z;
    if (m_nx == 0 || !Covers(box, x, z))
        return;
    for (i32 cz = std::max(z.first, 0); cz <= std::min(z.last, m_nz - 1); ++cz)
        for (i32 cx = std::max(x.first, 0); cx <= std::min(x.last, m_nx - 1); ++cx) {
            u8& cell = m_cells[size_t(cz) * size_t(m_nx) + size_t(cx)];
            if (cell != kBlocked)
                cell = value;
        }
}

bool coPlacementGrid::IsBoxFree(const maBoundingBox& box) const {
    Span x, z;
    if (!Covers(box, x, z))
        return false;
    if (m_nx == 0)
        return true;
    if (x.first < 0 || z.first < 0 || x.last > m_nx - 1 || z.last > m_nz - 1)
        return false;
    for (i32 cz = z.first; cz <= z.last; ++cz)
        for (i32 cx = x.first; cx <= x.last; ++cx)
            if (m_cells[size_t(cz) * size_t(m_nx) + size_t(cx)] != kFree)
                return false;
    return true;
}

bool coPlacementGrid::CanPlaceBox(const maBoundingBox& box) const {
    Span x, z;
    if (!Covers(box, x, z))
        return false;
    if (m_nx != 0 && (x.first < kLowMargin || z.first < kLowMargin || x.last > m_nx - kHighMargin ||
                      z.last > m_nz - kHighMargin))
        return false;
    return IsBoxFree(box);
}

maVector3d coPlacementGrid::LiftedCorner(i32 i, i32 j, f32 lift) const {
    return {m_minX + static_cast<f32>(i) * m_cellX, GetCornerHeight(i, j) + lift,
            m_minZ + static_cast<f32>(j) * m_cellZ};
}

// The outlines of the block's free cells: each draws its low x and low z edges, and the high ones it
// shares with a cell that is not free, so that free regions are closed.
g3dFragment* coPlacementGrid::MakeBlock(i32 bx, i32 bz) const {
    std::vector<maVector3d> positions;
    const auto edge = [&](i32 i0, i32 j0, i32 i1, i32 j1) {
        positions.push_back(LiftedCorner(i0, j0, kOutlineLift));
        positions.push_back(LiftedCorner(i1, j1, kOutlineLift));
    };
    for (i32 cz = bz * kBlockCells; cz < std::min((bz + 1) * kBlockCells, m_nz); ++cz)
        for (i32 cx = bx * kBlockCells; cx < std::min((bx + 1) * kBlockCells, m_nx); ++cx) {
            if (GetCell(cx, cz) != kFree)
                continue;
            edge(cx, cz, cx, cz + 1);
            edge(cx, cz, cx + 1, cz);
            if (GetCell(cx + 1, cz) != kFree)
                edge(cx + 1, cz, cx + 1, cz + 1);
            if (GetCell(cx, cz + 1) != kFree)
                edge(cx, cz + 1, cx + 1, cz + 1);
        }
    if (positions.empty())
        return nullptr;
    const std::vector<maVector3d> normals(positions.size(), maVector3d(0.0f, 1.0f, 0.0f));
    std::vector<u16> indices(positions.size());
    for (size_t i = 0; i < indices.size(); ++i)
        indices[i] = static_cast<u16>(i);
    g3dMaterial* material = m_gridMaterial.get();
    return g3dFragmentManager::CreateFragmentPN(positions.data(), normals.data(), u32(positions.size()),
                                                indices.data(), u32(indices.size()), &material, nullptr, 1,
                                                false);
}

void coPlacementGrid::ShowOverlay() {
    HideOverlay();
    // Rounded up: the last rows and columns of a count not divisible by 4 are outlined too.
    const i32 blocksX = (m_nx + kBlockCells - 1) / kBlockCells,
              blocksZ = (m_nz + kBlockCells - 1) / kBlockCells;
    for (i32 bz = 0; bz < blocksZ; ++bz)
        for (i32 bx = 0; bx < blocksX; ++bx)
            if (g3dFragment* block = MakeBlock(bx, bz)) {
                m_overlay.push_back(block);
                m_overlayObjects.push_back(Drawn(block));
                // On the update list, so the blocks out of view are culled.
                scAddToUpdateList(m_overlayObjects.back().get());
            }
    m_updater = std::make_unique<OverlayUpdater>(*this);
    scAddToUpdateList(m_updater.get());
}

void coPlacementGrid::HideOverlay() {
    m_updater.reset();
    m_overlayObjects.clear();
    for (g3dFragment* block : m_overlay)
        g3dFragmentManager::DestroyFragment(block);
    m_overlay.clear();
    DestroyFootprint();
}

void coPlacementGrid::SetCursorBox(const maBoundingBox& box, bool placeable) {
    m_cursorBox = box;
    m_cursorPlaceable = placeable;
}

void coPlacementGrid::SetCursorVisible(bool visible) {
    m_cursorVisible = visible;
}

std::unique_ptr<scSimpleMovableObject> coPlacementGrid::Drawn(g3dFragment* fragment) {
    auto object = std::make_unique<scSimpleMovableObject>(fragment, kWorldRenderList);
    // The fragments are built in world coordinates.
    object->SetPosition(maVector3d());
    object->SetVisible(true);
    return object;
}

void coPlacementGrid::DestroyFootprint() {
    m_footprintObject.reset();
    g3dFragmentManager::DestroyFragment(m_footprint);
    m_footprint = nullptr;
}

void coPlacementGrid::UpdateOverlay(f32 time) {
    SetColour(*m_gridMaterial, m_pulse.Evaluate(time));
    Span x, z;
    if (!m_cursorVisible || m_nx == 0 || !Covers(m_cursorBox, x, z)) {
        DestroyFootprint();
        return;
    }
    SetColour(*m_footprintMaterial, m_cursorPlaceable ? kPlaceable : kNotPlaceable);
    // The covered cells as one sheet over their corners, just above the outline; made anew only when
    // the cursor covers other cells.
    const i32 x0 = std::clamp(x.first, 0, m_nx - 1), x1 = std::clamp(x.last, 0, m_nx - 1);
    const i32 z0 = std::clamp(z.first, 0, m_nz - 1), z1 = std::clamp(z.last, 0, m_nz - 1);
    const std::array<i32, 4> cells{x0, x1, z0, z1};
    if (m_footprint && cells == m_footprintCells)
        return;
    DestroyFootprint();
    m_footprintCells = cells;
    const i32 columns = x1 - x0 + 2, rows = z1 - z0 + 2;
    // A footprint with more corners or corner indices than 16 bits count is not drawn.
    if (columns * rows > 0xFFFF || 6 * (columns - 1) * (rows - 1) > 0xFFFF)
        return;
    std::vector<maVector3d> positions;
    for (i32 i = 0; i < columns; ++i)
        for (i32 j = 0; j < rows; ++j)
            positions.push_back(LiftedCorner(x0 + i, z0 + j, kFootprintLift));
    std::vector<u16> indices;
    for (i32 i = 0; i + 1 < columns; ++i)
        for (i32 j = 0; j + 1 < rows; ++j) {
            const auto at = [rows](i32 a, i32 b) { return static_cast<u16>(a * rows + b); };
            for (u16 index :
                 {at(i, j), at(i, j + 1), at(i + 1, j + 1), at(i, j), at(i + 1, j + 1), at(i + 1, j)})
                indices.push_back(index);
        }
    const std::vector<maVector3d> normals(positions.size(), maVector3d(0.0f, 1.0f, 0.0f));
    g3dMaterial* material = m_footprintMaterial.get();
    m_footprint = g3dFragmentManager::CreateFragmentPNT(positions.data(), normals.data(),
                                                        u32(positions.size()), indices.data(),
                                                        u32(indices.size()), &material, nullptr, 1, false);
    m_footprintObject = Drawn(m_footprint);
}

coPlacementGrid& coGetPlacementGrid() {
    static coPlacementGrid grid;
    return grid;
}
