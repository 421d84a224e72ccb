#pragma once
#include "Engine/Core/Env/envExceptionX.h"
#include "Engine/Graphics/G2d/g2dExceptions.h"

// The 3D package's exceptions (error package 11); each code selects its text in "g3dErrors.tsf".
constexpr u32 g3dErrorPackage = 11;

template <u32 Number> class g3dExceptionX : public envExceptionX {
  public:
    u32 GetCode() const override { return envMakeErrorCode(g3dErrorPackage, Number); }
};

// A texture file is neither BMP nor PNG; it names the file as the 2D readers do.
class g3dUnknownImageFileTypeX : public g3dExceptionX<3>, public g2dPictureFailure {
  public:
    g3dUnknownImageFileTypeX() = default;
    explicit g3dUnknownImageFileTypeX(const g2dPictureFailure& failure) : g2dPictureFailure(failure) {}
};
// No 3D device, or the device lacks the texture formats the renderer needs.
class g3dNo3DHardwareX : public g3dExceptionX<4> {};
