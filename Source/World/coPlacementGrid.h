#pragma once
#include "Engine/Core/Ma/maBoundingBox.h"
#include "Engine/Graphics/An/an2StateAnimation.h"
#include "Engine/Graphics/G3d/g3dARGBColor.h"
#include "Engine/Graphics/Sc/scObject.h"

#include <array>
#include <memory>
#include <vector>

class g3dFragment;
class g3dMaterial;
class scSimpleMovableObject;

// The cells laid over the environment's extent on which props and the dock are placed: free (0),
// occupied (1) or blocked because the terrain is too steep (3). It answers whether a footprint may go
// somewhere and draws the aids of placing: an outline of the free cells and the tinted footprint.
// Before its first Build it is empty: unbounded, and every box is free.
class coPlacementGrid {
  public:
    static constexpr u8 kFree = 0;
    static constexpr u8 kOccupied = 1;
    static constexpr u8 kBlocked = 3;
    // Counts outside 1..kMaxCells, bounds that are not finite or not increasing give the default grid.
    static constexpr i32 kMaxCells = 1024;

    coPlacementGrid();
    ~coPlacementGrid();

    // Every cell free; every corner's height sampled from the park's terrain (0 where there is none).
    void Build(f32 minX, f32 maxX, f32 minZ, f32 maxZ, i32 nx, i32 nz);
    // Blocks every cell two of whose neighbouring corners differ by more than the step.
    void MarkSteepCells(f32 maxStep);

    u8 GetCell(i32 cx, i32 cz) const;
    f32 GetCornerHeight(i32 i, i32 j) const;
    f32 GetMinX() const { return m_minX; }
    f32 GetMaxX() const { return m_maxX; }
    f32 GetMinZ() const { return m_minZ; }
    f32 GetMaxZ() const { return m_maxZ; }
    i32 GetCellCountX() const { return m_nx; }
    i32 GetCellCountZ() const { return m_nz; }

    // The cell holding the point, clamped into the grid.
    void WorldToCell(f32 x, f32 z, i32& cx, i32& cz) const;
    // Writes the value into the cells the box's x and z extent covers, clamped into the grid. Blocked
    // cells stay blocked, so taking an object away (0) frees only the cells it occupied.
    void MarkBox(const maBoundingBox& box, u8 value);
    // Inside the grid and every covered cell free. An empty, inverted or NaN box is never free.
    bool IsBoxFree(const maBoundingBox& box) const;
    // IsBoxFree, and clear of the edges: 2 cells at the low edges, 3 at the high ones.
    bool CanPlaceBox(const maBoundingBox& box) const;

    // The outline of the free cells, 4 x 4 cells a fragment, and the footprint, drawn with the world
    // while the overlay is shown.
    void ShowOverlay();
    void HideOverlay();
    void SetCursorBox(const maBoundingBox& box, bool placeable);
    void SetCursorVisible(bool visible);
    // The pulse of the outline's colour at the time, and the footprint over the cells the cursor covers.
    // While the overlay is shown, the scene's update list calls it every frame.
    void UpdateOverlay(f32 time);

    const std::vector<g3dFragment*>& GetOverlayFragments() const { return m_overlay; }
    g3dFragment* GetFootprintFragment() const { return m_footprint; }
    const g3dMaterial& GetGridMaterial() const { return *m_gridMaterial; }
    const g3dMaterial& GetFootprintMaterial() const { return *m_footprintMaterial; }

  private:
    struct Span {
        i32 first, last; // covered cells, unclamped: -1 before the grid, n past it
    };
    bool Covers(const maBoundingBox& box, Span& x, Span& z) const;
    maVector3d LiftedCorner(i32 i, i32 j, f32 lift) const;
    g3dFragment* MakeBlock(i32 bx, i32 bz) const;
    // The fragment drawn where it stands, with the world.
    static std::unique_ptr<scSimpleMovableObject> Drawn(g3dFragment* fragment);
    void DestroyFootprint();

    // The overlay's place on the update list.
    class OverlayUpdater : public scObject {
      public:
        explicit OverlayUpdater(coPlacementGrid& grid) : m_grid(grid) {}
        void Update(float time) override { m_grid.UpdateOverlay(time); }

      private:
        coPlacementGrid& m_grid;
    };

    f32 m_minX, m_maxX, m_minZ, m_maxZ;
    i32 m_nx = 0, m_nz = 0;
    f32 m_cellX = 0.0f, m_cellZ = 0.0f;
    std::vector<u8> m_cells;         // cz * nx + cx
    std::vector<f32> m_cornerHeight; // i * (nz + 1) + j

    std::vector<g3dFragment*> m_overlay;
    std::vector<std::unique_ptr<scSimpleMovableObject>> m_overlayObjects;
    std::unique_ptr<g3dMaterial> m_gridMaterial;
    an2StateAnimation<g3dARGBColor> m_pulse;

    maBoundingBox m_cursorBox;
    bool m_cursorPlaceable = false;
    bool m_cursorVisible = false;
    g3dFragment* m_footprint = nullptr;
    std::array<i32, 4> m_footprintCells{}; // x0, x1, z0, z1 the footprint covers
    std::unique_ptr<scSimpleMovableObject> m_footprintObject;
    std::unique_ptr<g3dMaterial> m_footprintMaterial;
    std::unique_ptr<OverlayUpdater> m_updater;
};

coPlacementGrid& coGetPlacementGrid();
