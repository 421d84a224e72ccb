#pragma once
#include "Engine/Core/Ma/maVector.h"
#include "Engine/Graphics/G3d/g3dMaterial.h"

#include <memory>
#include <string>
#include <vector>

// An outline swept along the track: an open polyline across it (x towards the frame's side, y up), with
// a normal per vertex, a material and its sampling and texturing settings. Its class says on which
// pieces it is swept.
class coCrossSection {
  public:
    virtual ~coCrossSection() = default;

    int GetVertexCount() const { return static_cast<int>(m_vertices.size()); }
    const maVector2d& GetVertex(int index) const { return m_vertices[static_cast<size_t>(index)]; }
    // Replaces the outline; count 0 or less empties it. The normals are computed afresh.
    void SetVertices(const maVector2d* points, int count);

    // Null until a material is read.
    g3dMaterial* GetMaterial() const { return m_material.get(); }
    void SetMaterial(std::unique_ptr<g3dMaterial> material) { m_material = std::move(material); }

    // 0 or less: the texture spans the whole piece once.
    float GetTextureSpacing() const { return m_textureSpacing; }
    void SetTextureSpacing(float spacing) { m_textureSpacing = spacing; }
    // 0 or less: the extrusion's own sampling.
    float GetSampleSpacing() const { return m_sampleSpacing; }
    void SetSampleSpacing(float spacing) { m_sampleSpacing = spacing; }
    // The group of the piece's objects that receives the geometry; not 0 also samples coarsely.
    i32 GetLOD() const { return m_lod; }
    void SetLOD(i32 lod) { m_lod = lod; }
    // The part name by which colour schemes find the material.
    const std::string& GetName() const { return m_name; }
    void SetName(const std::string& name) { m_name = name; }

  private:
    friend void computeVertexNormals(const coCrossSection& section, std::vector<maVector2d>& out);

    std::vector<maVector2d> m_vertices;
    mutable std::vector<maVector2d> m_normals; // empty until first asked for
    std::unique_ptr<g3dMaterial> m_material;
    float m_textureSpacing = 0.0f;
    float m_sampleSpacing = 0.0f;
    i32 m_lod = 0;
    std::string m_name;
};

// One unit normal per vertex: the tangent turned by -90 degrees, so an outline running towards +x faces
// -y. Interior vertices take the mean of their two edges, the ends their own edge, or, when the outline
// closes on itself, the mean of the first and last edge. A zero tangent gives (1, 0); a lone vertex
// (0, 1). Computed once and copied afterwards.
void computeVertexNormals(const coCrossSection& section, std::vector<maVector2d>& out);
