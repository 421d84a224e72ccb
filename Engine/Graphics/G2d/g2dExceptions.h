#pragma once
#include "Engine/App/Fs/fsLocator.h"
#include "Engine/App/Gf/gfExceptions.h"
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
// The image library cannot start (its structures cannot be made) or cannot write a picture.
class g2dGeneralX : public g2dExceptionX<5> {};
// Which picture file could not be read and what is wrong with it, for the readers that take a file: its
// path inside the pak it was read from and that pak, or the file itself when no pak held it. Pictures
// decoded from memory name no file.
class g2dPictureFailure {
  public:
    void SetFile(const fsLocator& file, const fsLocator& pak) {
        m_file = file;
        m_pak = pak;
    }
    const fsLocator& GetFile() const { return m_file; }
    // No components when the picture was read from disc.
    const fsLocator& GetPak() const { return m_pak; }
    gfDamage GetDamage() const { return m_damage; }

  protected:
    g2dPictureFailure() = default;
    explicit g2dPictureFailure(gfDamage damage) : m_damage(damage) {}
    ~g2dPictureFailure() = default;

  private:
    fsLocator m_file;
    fsLocator m_pak;
    gfDamage m_damage = gfDamage::Malformed;
};

// A picture's bytes cannot be decoded (a damaged PNG), under the library's code.
class g2dDamagedImageX : public g2dGeneralX, public g2dPictureFailure {
  public:
    g2dDamagedImageX() = default;
    explicit g2dDamagedImageX(gfDamage damage) : g2dPictureFailure(damage) {}
};
// An image file is neither BMP nor PNG, or a BMP the reader does not take.
class g2dUnknownImageFileTypeX : public g2dExceptionX<6>, public g2dPictureFailure {
  public:
    g2dUnknownImageFileTypeX() = default;
    explicit g2dUnknownImageFileTypeX(gfDamage damage) : g2dPictureFailure(damage) {}
};

// A font cannot be made; carries the face asked for.
class g2dUnknownFontX : public g2dExceptionX<3> {
  public:
    explicit g2dUnknownFontX(const envString& face) : m_face(face) {}
    const envString& GetFace() const { return m_face; }

  private:
    envString m_face;
};
