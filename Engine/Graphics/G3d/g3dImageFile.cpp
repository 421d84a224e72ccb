#include "Engine/Graphics/G3d/g3dImageFile.h"

#include "Engine/Graphics/G2d/g2dExceptions.h"
#include "Engine/Graphics/G2d/g2dImageFile.h"
#include "Engine/Graphics/G3d/g3dExceptions.h"

i32 g3dGetImageFileType(const fsLocator& file) {
    try {
        return g2dGetImageFileType(file);
    } catch (const g2dUnknownImageFileTypeX& unknown) {
        throw g3dUnknownImageFileTypeX(unknown);
    }
}
