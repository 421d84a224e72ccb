#pragma once
#include "Engine/Core/Env/envTypes.h"

#include <string>

// The vocabulary of the 3D device: result codes, formats, states and records, with the numbers of the
// Windows 3D interface that the rendering packages were written against, so their tables read literally.

// Results are HRESULT-shaped: 0 is success, the top bit marks a failure.
using plD3dResult = u32;
constexpr bool plD3dFailed(plD3dResult result) {
    return (result & 0x80000000u) != 0;
}

namespace plD3dErr {
constexpr plD3dResult Ok = 0;
constexpr plD3dResult False = 1; // S_FALSE: success with nothing done
constexpr plD3dResult InvalidArg = 0x80070057;
constexpr plD3dResult OutOfMemory = 0x8007000E;
constexpr plD3dResult Fail = 0x80004005;
constexpr plD3dResult OutOfVideoMemory = 0x8876017C;
constexpr plD3dResult WrongTextureFormat = 0x88760818;
constexpr plD3dResult UnsupportedColorOperation = 0x88760819;
constexpr plD3dResult UnsupportedColorArg = 0x8876081A;
constexpr plD3dResult UnsupportedAlphaOperation = 0x8876081B;
constexpr plD3dResult UnsupportedAlphaArg = 0x8876081C;
constexpr plD3dResult TooManyOperations = 0x8876081D;
constexpr plD3dResult ConflictingTextureFilter = 0x8876081E;
constexpr plD3dResult UnsupportedFactorValue = 0x8876081F;
constexpr plD3dResult ConflictingRenderState = 0x88760821;
constexpr plD3dResult UnsupportedTextureFilter = 0x88760822;
constexpr plD3dResult ConflictingTexturePalette = 0x88760826;
constexpr plD3dResult DriverInternalError = 0x88760827;
constexpr plD3dResult NotFound = 0x88760866;
constexpr plD3dResult MoreData = 0x88760867;
constexpr plD3dResult DeviceLost = 0x88760868;
constexpr plD3dResult DeviceNotReset = 0x88760869;
constexpr plD3dResult NotAvailable = 0x8876086A;
constexpr plD3dResult InvalidDevice = 0x8876086B;
constexpr plD3dResult InvalidCall = 0x8876086C;
constexpr plD3dResult DriverInvalidCall = 0x8876086D;
} // namespace plD3dErr

// Surface formats. Other values (P8 among them) are valid to pass and refused where a format is needed.
enum class plD3dFormat : i32 {
    Unknown = 0,
    R8G8B8 = 20,
    A8R8G8B8 = 21,
    X8R8G8B8 = 22,
    R5G6B5 = 23,
    X1R5G5B5 = 24,
    A1R5G5B5 = 25,
    A4R4G4B4 = 26,
    P8 = 41,
    D16 = 80,
    VertexData = 100,
    Index16 = 101,
    Index32 = 102,
};

enum class plD3dDevType : u32 { Hal = 1, Ref = 2, Sw = 3 };

namespace plD3dCreate {
constexpr u32 SoftwareVertexProcessing = 0x20;
constexpr u32 HardwareVertexProcessing = 0x40;
} // namespace plD3dCreate

namespace plD3dClear {
constexpr u32 Target = 0x1;
constexpr u32 ZBuffer = 0x2;
constexpr u32 Stencil = 0x4;
} // namespace plD3dClear

namespace plD3dSwapEffect {
constexpr u32 Discard = 1;
} // namespace plD3dSwapEffect

namespace plD3dPresentInterval {
constexpr u32 Default = 0;
constexpr u32 One = 1;
constexpr u32 Immediate = 0x80000000;
} // namespace plD3dPresentInterval

namespace plD3dPool {
constexpr u32 Default = 0;
constexpr u32 Managed = 1;
constexpr u32 SystemMem = 2;
} // namespace plD3dPool

namespace plD3dUsage {
constexpr u32 RenderTarget = 0x1;
constexpr u32 DepthStencil = 0x2;
constexpr u32 WriteOnly = 0x8;
constexpr u32 Dynamic = 0x200;
} // namespace plD3dUsage

namespace plD3dLock {
constexpr u32 ReadOnly = 0x10;
constexpr u32 NoSysLock = 0x800;
constexpr u32 NoOverwrite = 0x1000;
constexpr u32 Discard = 0x2000;
constexpr u32 NoDirtyUpdate = 0x8000;
} // namespace plD3dLock

// The resource kind of a format check.
namespace plD3dRType {
constexpr u32 Texture = 3;
} // namespace plD3dRType

constexpr u32 plD3dBackBufferMono = 0;
constexpr u32 plD3dSgrNoCalibration = 0;
constexpr u32 plD3dAdapterDefault = 0;

namespace plD3dTs {
constexpr u32 View = 2;
constexpr u32 Projection = 3;
constexpr u32 Texture0 = 16;
constexpr u32 World = 256;
} // namespace plD3dTs

// Render states, by their numbers.
namespace plD3dRs {
constexpr u32 ZEnable = 7;
constexpr u32 FillMode = 8;
constexpr u32 ShadeMode = 9;
constexpr u32 ZWriteEnable = 14;
constexpr u32 AlphaTestEnable = 15;
constexpr u32 LastPixel = 16;
constexpr u32 SrcBlend = 19;
constexpr u32 DestBlend = 20;
constexpr u32 CullMode = 22;
constexpr u32 ZFunc = 23;
constexpr u32 AlphaRef = 24;
constexpr u32 AlphaFunc = 25;
constexpr u32 DitherEnable = 26;
constexpr u32 AlphaBlendEnable = 27;
constexpr u32 FogEnable = 28;
constexpr u32 SpecularEnable = 29;
constexpr u32 FogColor = 34;
constexpr u32 FogTableMode = 35;
constexpr u32 FogStart = 36;
constexpr u32 FogEnd = 37;
constexpr u32 FogDensity = 38;
constexpr u32 RangeFogEnable = 48;
constexpr u32 StencilEnable = 52;
constexpr u32 StencilFail = 53;
constexpr u32 StencilZFail = 54;
constexpr u32 StencilPass = 55;
constexpr u32 StencilFunc = 56;
constexpr u32 StencilRef = 57;
constexpr u32 StencilMask = 58;
constexpr u32 StencilWriteMask = 59;
constexpr u32 TextureFactor = 60;
constexpr u32 Clipping = 136;
constexpr u32 Lighting = 137;
constexpr u32 Ambient = 139;
constexpr u32 FogVertexMode = 140;
constexpr u32 ColorVertex = 141;
constexpr u32 LocalViewer = 142;
constexpr u32 NormalizeNormals = 143;
constexpr u32 DiffuseMaterialSource = 145;
constexpr u32 SpecularMaterialSource = 146;
constexpr u32 AmbientMaterialSource = 147;
constexpr u32 EmissiveMaterialSource = 148;
constexpr u32 ColorWriteEnable = 168;
constexpr u32 BlendOp = 171;
constexpr u32 Count = 172; // one past the highest state
} // namespace plD3dRs

namespace plD3dCull {
constexpr u32 None = 1;
constexpr u32 Cw = 2;
constexpr u32 Ccw = 3;
} // namespace plD3dCull

namespace plD3dCmp {
constexpr u32 Never = 1;
constexpr u32 Less = 2;
constexpr u32 Equal = 3;
constexpr u32 LessEqual = 4;
constexpr u32 Greater = 5;
constexpr u32 NotEqual = 6;
constexpr u32 GreaterEqual = 7;
constexpr u32 Always = 8;
} // namespace plD3dCmp

namespace plD3dBlend {
constexpr u32 Zero = 1;
constexpr u32 One = 2;
constexpr u32 SrcColor = 3;
constexpr u32 InvSrcColor = 4;
constexpr u32 SrcAlpha = 5;
constexpr u32 InvSrcAlpha = 6;
constexpr u32 DestAlpha = 7;
constexpr u32 InvDestAlpha = 8;
constexpr u32 DestColor = 9;
constexpr u32 InvDestColor = 10;
constexpr u32 SrcAlphaSat = 11;
} // namespace plD3dBlend

namespace plD3dBlendOp {
constexpr u32 Add = 1;
constexpr u32 Subtract = 2;
constexpr u32 RevSubtract = 3;
constexpr u32 Min = 4;
constexpr u32 Max = 5;
} // namespace plD3dBlendOp

namespace plD3dStencilOp {
constexpr u32 Keep = 1;
} // namespace plD3dStencilOp

namespace plD3dPt {
constexpr u32 PointList = 1;
constexpr u32 LineList = 2;
constexpr u32 LineStrip = 3;
constexpr u32 TriangleList = 4;
constexpr u32 TriangleStrip = 5;
constexpr u32 TriangleFan = 6;
} // namespace plD3dPt

// Flexible vertex format bits: a position (XYZ or XYZRHW), an optional colour and up to eight sets of
// two-float texture coordinates (their count in bits 8 to 11).
namespace plD3dFvf {
constexpr u32 Xyz = 0x002;
constexpr u32 XyzRhw = 0x004;
constexpr u32 Normal = 0x010;
constexpr u32 Diffuse = 0x040;
constexpr u32 Specular = 0x080;
constexpr u32 Tex1 = 0x100;
constexpr u32 Tex2 = 0x200;
constexpr u32 TexCountShift = 8;
} // namespace plD3dFvf

// Texture stages and their states, by their numbers; every stage keeps all of them.
constexpr u32 plD3dMaxTextureStages = 8;
namespace plD3dTss {
constexpr u32 ColorOp = 1;
constexpr u32 ColorArg1 = 2;
constexpr u32 ColorArg2 = 3;
constexpr u32 AlphaOp = 4;
constexpr u32 AlphaArg1 = 5;
constexpr u32 AlphaArg2 = 6;
constexpr u32 TexCoordIndex = 11;
constexpr u32 AddressU = 13;
constexpr u32 AddressV = 14;
constexpr u32 MagFilter = 16;
constexpr u32 MinFilter = 17;
constexpr u32 MipFilter = 18;
constexpr u32 TextureTransformFlags = 24;
constexpr u32 Count = 29; // one past the highest state
} // namespace plD3dTss

// TexCoordIndex: the set in the low word, generated coordinates above.
namespace plD3dTci {
constexpr u32 CameraSpaceReflectionVector = 0x30000;
} // namespace plD3dTci

// TextureTransformFlags: how many coordinates the stage's texture transform gives.
namespace plD3dTtff {
constexpr u32 Disable = 0;
constexpr u32 Count2 = 2;
constexpr u32 Count3 = 3;
} // namespace plD3dTtff

// FogTableMode and FogVertexMode.
namespace plD3dFog {
constexpr u32 None = 0;
constexpr u32 Exp = 1;
constexpr u32 Exp2 = 2;
constexpr u32 Linear = 3;
} // namespace plD3dFog

namespace plD3dFill {
constexpr u32 Point = 1;
constexpr u32 Wireframe = 2;
constexpr u32 Solid = 3;
} // namespace plD3dFill

// Stage operations.
namespace plD3dTop {
constexpr u32 Disable = 1;
constexpr u32 SelectArg1 = 2;
constexpr u32 SelectArg2 = 3;
constexpr u32 Modulate = 4;
constexpr u32 Modulate2x = 5;
constexpr u32 Modulate4x = 6;
constexpr u32 Add = 7;
constexpr u32 AddSigned = 8;
constexpr u32 Subtract = 10;
constexpr u32 AddSmooth = 11;
constexpr u32 BlendDiffuseAlpha = 12;
constexpr u32 BlendTextureAlpha = 13;
constexpr u32 BlendFactorAlpha = 14;
constexpr u32 BlendCurrentAlpha = 16;
} // namespace plD3dTop

// Stage arguments: a source in the low bits, modifiers above.
namespace plD3dTa {
constexpr u32 Diffuse = 0;
constexpr u32 Current = 1;
constexpr u32 Texture = 2;
constexpr u32 TFactor = 3;
constexpr u32 Specular = 4;
constexpr u32 SelectMask = 0xF;
constexpr u32 Complement = 0x10;
constexpr u32 AlphaReplicate = 0x20;
} // namespace plD3dTa

namespace plD3dTexf {
constexpr u32 None = 0;
constexpr u32 Point = 1;
constexpr u32 Linear = 2;
} // namespace plD3dTexf

namespace plD3dTaddress {
constexpr u32 Wrap = 1;
constexpr u32 Mirror = 2;
constexpr u32 Clamp = 3;
} // namespace plD3dTaddress

// Capability bits read by the rendering packages.
namespace plD3dDevCaps {
constexpr u32 HwTransformAndLight = 0x10000;
} // namespace plD3dDevCaps
namespace plD3dRasterCaps {
constexpr u32 FogVertex = 0x80;
constexpr u32 FogTable = 0x100;
constexpr u32 WFog = 0x100000;
constexpr u32 ZFog = 0x200000;
} // namespace plD3dRasterCaps

struct plD3dRect {
    i32 left = 0;
    i32 top = 0;
    i32 right = 0;
    i32 bottom = 0;
};

struct plD3dPoint {
    i32 x = 0;
    i32 y = 0;
};

struct plD3dDisplayMode {
    u32 width = 0;
    u32 height = 0;
    u32 refreshRate = 0;
    plD3dFormat format = plD3dFormat::Unknown;
};

struct plD3dAdapterIdentifier {
    std::string description;
};

struct plD3dPresentParameters {
    u32 backBufferWidth = 0;
    u32 backBufferHeight = 0;
    plD3dFormat backBufferFormat = plD3dFormat::Unknown;
    u32 backBufferCount = 0;
    u32 multiSampleType = 0;
    u32 swapEffect = 0;
    bool windowed = false;
    bool enableAutoDepthStencil = false;
    plD3dFormat autoDepthStencilFormat = plD3dFormat::Unknown;
    u32 flags = 0;
    u32 fullScreenRefreshRateInHz = 0;
    u32 fullScreenPresentationInterval = 0;
};

struct plD3dCaps {
    u32 devCaps = 0;
    u32 rasterCaps = 0;
    u32 maxTextureWidth = 0;
    u32 maxTextureHeight = 0;
    u32 maxTextureBlendStages = 0;
    u32 maxSimultaneousTextures = 0;
    u32 maxActiveLights = 0;
};

struct plD3dViewport {
    u32 x = 0;
    u32 y = 0;
    u32 width = 0;
    u32 height = 0;
    f32 minZ = 0.0f;
    f32 maxZ = 1.0f;
};

struct plD3dColorValue {
    f32 r = 0.0f;
    f32 g = 0.0f;
    f32 b = 0.0f;
    f32 a = 0.0f;
};

// How lit vertices reflect: the colours, and the specular power.
struct plD3dMaterial {
    plD3dColorValue diffuse;
    plD3dColorValue ambient;
    plD3dColorValue specular;
    plD3dColorValue emissive;
    f32 power = 0.0f;
};

namespace plD3dLightType {
constexpr u32 Point = 1;
constexpr u32 Spot = 2;
constexpr u32 Directional = 3;
} // namespace plD3dLightType

struct plD3dVector {
    f32 x = 0.0f;
    f32 y = 0.0f;
    f32 z = 0.0f;
};

// A light in world space. The direction is the one the light travels; the range is where a point
// light stops reaching; attenuation is 1 / (a0 + a1 d + a2 d^2).
struct plD3dLight {
    u32 type = 0;
    plD3dColorValue diffuse;
    plD3dColorValue specular;
    plD3dColorValue ambient;
    plD3dVector position;
    plD3dVector direction;
    f32 range = 0.0f;
    f32 falloff = 0.0f;
    f32 attenuation0 = 0.0f;
    f32 attenuation1 = 0.0f;
    f32 attenuation2 = 0.0f;
    f32 theta = 0.0f;
    f32 phi = 0.0f;
};

struct plD3dGammaRamp {
    u16 red[256] = {};
    u16 green[256] = {};
    u16 blue[256] = {};
};

struct plD3dSurfaceDesc {
    plD3dFormat format = plD3dFormat::Unknown;
    u32 usage = 0;
    u32 pool = 0;
    u32 width = 0;
    u32 height = 0;
};

// A vertex buffer's (format VertexData, with its vertex format) or an index buffer's (Index16 or Index32,
// fvf 0) description; size in bytes.
struct plD3dBufferDesc {
    plD3dFormat format = plD3dFormat::Unknown;
    u32 usage = 0;
    u32 pool = 0;
    u32 size = 0;
    u32 fvf = 0;
};

struct plD3dLockedRect {
    i32 pitch = 0;
    void* bits = nullptr;
};
