#pragma once
#include "Engine/Core/Env/envExceptionX.h"
#include "Engine/Core/Env/envString.h"

// The 2D screen package's exceptions (error package 10); each code selects its text in "g2dErrors.tsf".
constexpr u32 g2dErrorPackage = 10;

template <u32 Number> class g2dExceptionX : public envExceptionX {
  public:
    u32 GetCode() const override { return envMakeErrorCode(g2dErrorPackage, Number); }
};

// The device cannot be created, or no full-screen format fits.
class g2dScreenInitX : public g2dExceptionX<2> {};
// An image file cannot be decoded (the image library's structures, a damaged PNG).
class g2dGeneralX : public g2dExceptionX<5> {};
// An image file is neither BMP nor PNG, or a BMP the reader does not take.
class g2dUnknownImageFileTypeX : public g2dExceptionX<6> {};

// A font cannot be made; carries the face asked for.
class g2dUnknownFontX : public g2dExceptionX<3> {
  public:
    explicit g2dUnknownFontX(const envString& face) : m_face(face) {}
    const envString& GetFace() const { return m_face; }

  private:
    envString m_face;
};
