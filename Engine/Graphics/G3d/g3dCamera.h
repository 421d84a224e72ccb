#pragma once
#include "Engine/Core/Ma/maMatrix.h"
#include "Engine/Core/Ma/maVector.h"

// The engine's 3D camera: a lens (horizontal field of view, aspect ratio, near and far plane), a view
// matrix built by look-at or given whole, and the eye. The projection is rebuilt only after a lens
// setter. The frame is left-handed: x right, y up, z into the screen.
class g3dCamera {
  public:
    // 90 degrees, 4/3, planes 5 and 10000, at the origin looking down +z with +y up.
    g3dCamera();

    // No validation: near equal to far, or a field of view of 0 or 180, is the caller's to avoid.
    void SetFieldOfView(float degrees);
    void SetAspectRatio(float ratio);
    void SetClipPlanes(float nearDistance, float farDistance);
    float GetNearDistance() const { return m_near; }

    // Up parallel to the view direction takes right as +x.
    void LookAt(const maVector3d& eye, const maVector3d& target, const maVector3d& up);
    // The eye becomes the origin carried back through the matrix.
    void SetViewMatrix(const maMatrix4d& view);
    void GetViewMatrix(maMatrix4d& out) const { out = m_view; }
    void GetProjectionMatrix(maMatrix4d& out);
    const maVector3d* GetPosition() const { return &m_eye; }
    // Columns 0, 1 and 2 of the view's rotation.
    maVector3d& GetRightAxis(maVector3d& out) const { return GetColumn(0, out); }
    maVector3d& GetUpAxis(maVector3d& out) const { return GetColumn(1, out); }
    maVector3d& GetViewDirection(maVector3d& out) const { return GetColumn(2, out); }

    // Hands the view and then the projection to the renderer; once a frame, before the lists are drawn.
    void Apply();
    // The world point at eye depth 1 on the line of sight through (x, y) in device coordinates. x is
    // negated to undo the renderer's mirror.
    maVector3d ScreenToWorld(float x, float y);

  private:
    maVector3d& GetColumn(int column, maVector3d& out) const;
    void RebuildProjection();

    float m_fieldOfView = 90.0f;
    float m_aspectRatio = 1.3333334f;
    float m_near = 5.0f;
    float m_far = 10000.0f;
    bool m_projectionDirty = true;
    maMatrix4d m_projection;
    maMatrix4d m_view;
    maVector3d m_eye;
};
