#include "Engine/Graphics/G3d/private/g3dLightManagerPAC.h"

#include "Engine/Graphics/G2d/g2dDXError.h"
#include "Engine/Graphics/G2d/g2dResetHandler.h"
#include "Engine/Graphics/G2d/private/g2dScreenPAC.h"
#include "Engine/Platform/Graphics/plD3dDevice.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <list>
#include <set>

namespace {

// The device's limit is taken as given up to this many lights.
constexpr u32 kMaxLights = 1000;

struct LightSlot {
    std::unique_ptr<g3dLight> light;
    bool active = false;
    i32 index = -1;
    plD3dLight lastSent;
};

std::list<LightSlot> g_slots;
std::set<u32> g_activeIndices;
g3dARGBColor g_ambient{1.0f, 1.0f, 1.0f, 1.0f};
u32 g_limit = 0;

static_assert(sizeof(plD3dLight) == 26 * 4, "a light record is compared bit for bit");

void Report(plD3dResult result) {
    if (plD3dFailed(result))
        g2dReportDXError(result);
}

// A device that reports no lights is asked again until it does.
u32 LightLimit() {
    if (g_limit == 0) {
        plD3dCaps caps;
        g_pdevice->GetDeviceCaps(&caps);
        g_limit = static_cast<i32>(caps.maxActiveLights) > static_cast<i32>(kMaxLights)
                      ? kMaxLights
                      : caps.maxActiveLights;
    }
    return g_limit;
}

bool HasFreeIndex() {
    return g_activeIndices.size() < LightLimit();
}

u32 FirstFreeIndex() {
    u32 index = 0;
    for (u32 used : g_activeIndices) {
        if (used != index)
            break;
        ++index;
    }
    return index;
}

// Where a0 + a1 d + a2 d^2 reaches 100, the light a hundredth of its strength. No reach, a reach behind
// the light or one too far to compute means no range.
f32 DerivedRange(f32 a0, f32 a1, f32 a2) {
    f32 range = g3dPointLight::kDerivedRange;
    if (a2 != 0.0f) {
        const f32 discriminant = a1 * a1 - 4.0f * a2 * (a0 - 100.0f);
        if (discriminant >= 0.0f)
            range = (std::sqrt(discriminant) - a1) / (2.0f * a2);
    } else if (a1 > 0.0f) {
        range = (100.0f - a0) / a1;
    }
    return range > 0.0f && std::isfinite(range) ? range : g3dPointLight::kDerivedRange;
}

plD3dLight Describe(const g3dLight& light) {
    plD3dLight record;
    const g3dARGBColor& c = light.GetColor();
    record.diffuse = record.specular = {c.r, c.g, c.b, c.a};
    if (const auto* point = dynamic_cast<const g3dPointLight*>(&light)) {
        const maVector3d& p = point->GetPosition();
        record.type = plD3dLightType::Point;
        record.position = {p.x, p.y, p.z};
        record.attenuation0 = point->GetAttenuation(0);
        record.attenuation1 = point->GetAttenuation(1);
        record.attenuation2 = point->GetAttenuation(2);
        record.range = point->GetRange() == g3dPointLight::kDerivedRange
                           ? DerivedRange(record.attenuation0, record.attenuation1, record.attenuation2)
                           : point->GetRange();
    } else if (const auto* directional = dynamic_cast<const g3dDirectionalLight*>(&light)) {
        const maVector3d& d = directional->GetDirection();
        record.type = plD3dLightType::Directional;
        record.direction = {d.x, d.y, d.z};
        record.range = g3dPointLight::kDerivedRange;
        record.attenuation0 = 1.0f;
    }
    return record;
}

void Light(LightSlot& slot) {
    const u32 index = FirstFreeIndex();
    slot.lastSent = Describe(*slot.light);
    Report(g_pdevice->SetLight(index, &slot.lastSent));
    Report(g_pdevice->LightEnable(index, true));
    g_activeIndices.insert(index);
    slot.active = true;
    slot.index = static_cast<i32>(index);
}

void Darken(LightSlot& slot) {
    Report(g_pdevice->LightEnable(static_cast<u32>(slot.index), false));
    g_activeIndices.erase(static_cast<u32>(slot.index));
    slot.active = false;
}

// Components past 0..1 saturate instead of wrapping round in their byte.
u32 ColorByte(f32 component) {
    return static_cast<u32>(std::clamp(component * 255.0f, 0.0f, 255.0f));
}

void SendAmbient() {
    const g3dARGBColor& c = g_ambient;
    Report(g_pdevice->SetRenderState(plD3dRs::Ambient, ColorByte(c.a) << 24 | ColorByte(c.r) << 16 |
                                                           ColorByte(c.g) << 8 | ColorByte(c.b)));
}

void Forget() {
    g_activeIndices.clear();
    for (LightSlot& slot : g_slots)
        slot.active = false;
}

class g3dLightResetter : public g2dD3DResetHandler {
  public:
    void OnDeviceLost() override {
        for (u32 index : g_activeIndices)
            Report(g_pdevice->LightEnable(index, false));
        Forget();
    }
    void OnDeviceReset() override {
        for (LightSlot& slot : g_slots) {
            if (!slot.light->IsOn())
                continue;
            if (!HasFreeIndex())
                break;
            Light(slot);
        }
        SendAmbient();
    }
};

} // namespace

void g3dLightManagerPAC::Initialize() {
    g2dRegisterResetHandler(std::make_unique<g3dLightResetter>());
    g_ambient = {1.0f, 1.0f, 1.0f, 1.0f};
    g_limit = 0;
    Forget();
}

void g3dLightManagerPAC::Shutdown() {
    g_slots.clear();
    g_activeIndices.clear();
}

g3dLight* g3dLightManagerPAC::AddLight(std::unique_ptr<g3dLight> light) {
    LightSlot& slot = g_slots.emplace_back();
    slot.light = std::move(light);
    return g_slots.back().light.get();
}

void g3dLightManagerPAC::RemoveLight(g3dLight* light) {
    const auto slot = std::find_if(g_slots.begin(), g_slots.end(),
                                   [light](const LightSlot& s) { return s.light.get() == light; });
    if (slot == g_slots.end())
        return;
    if (slot->active)
        Darken(*slot);
    g_slots.erase(slot);
}

void g3dLightManagerPAC::SetAmbientColor(const g3dARGBColor& color) {
    g_ambient = color;
    SendAmbient();
}

void g3dLightManagerPAC::UpdateLights() {
    for (LightSlot& slot : g_slots) {
        const bool on = slot.light->IsOn();
        if (!on && slot.active) {
            Darken(slot);
        } else if (on && slot.active) {
            const plD3dLight record = Describe(*slot.light);
            if (std::memcmp(&record, &slot.lastSent, sizeof record) != 0) {
                slot.lastSent = record;
                Report(g_pdevice->SetLight(static_cast<u32>(slot.index), &record));
            }
        } else if (on && HasFreeIndex()) {
            Light(slot);
        }
    }
}
