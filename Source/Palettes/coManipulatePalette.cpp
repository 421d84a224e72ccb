#include "Source/Palettes/coManipulatePalette.h"

#include "Engine/GUI/Gui/guiButton.h"
#include "Engine/GUI/Gui/guiImage.h"
#include "Engine/GUI/Gui/guiScreen.h"
#include "Engine/GUI/Gui/guiText.h"
#include "Engine/Graphics/G3d/g3dCamera.h"
#include "Source/Screens/coPaletteImage.h"
#include "Source/Screens/coScreenScript.h"
#include "Source/World/coPropTemplate.h"
#include "Source/World/coTrackProp.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>

namespace {

struct ButtonSpec {
    const char* name;
    f32 x;
    f32 y;
    const char* image;
    bool disabledImage;
};

constexpr ButtonSpec kButtons[] = {{"Rotate", 0.0f, 0.0f, "uipart", true},
                                   {"Translate", 0.0f, -50.0f, "uipatr", true},
                                   {"Choose Anim", 50.0f, -50.0f, "uipasa", false},
                                   {"Delete", 50.0f, 0.0f, "uipadl", false}};
constexpr f32 kMinimumSize = 25.0f;
// Below this the eye-space depth gives no usable projection.
constexpr f32 kMinimumW = 1e-6f;

std::unique_ptr<guiButton> MakeButton(const ButtonSpec& spec) {
    auto button = std::make_unique<guiButton>();
    button->SetSize(32, 32);
    button->SetPosition({spec.x, spec.y, 0.0f});
    button->SetName(spec.name);
    guiImage* image = button->GetImage();
    const std::string stem = spec.image;
    coSetPaletteImage(*image, coRootGuiFile("uipa", (stem + "_i.png").c_str()), 0);
    coSetPaletteImage(*image, coRootGuiFile("uipa", (stem + "_o.png").c_str()), 1);
    coSetPaletteImage(*image, coRootGuiFile("uipa", (stem + "_p.png").c_str()), 3);
    if (spec.disabledImage)
        coSetPaletteImage(*image, coRootGuiFile("uipa", (stem + "_d.png").c_str()), 5);
    // The icon's transparent corners take no click.
    for (i32 state : {0, 1, 3})
        image->MakeTransparencyMap(0.0f, state);
    coShowWidget(button->GetText(), false);
    button->SetState(0);
    return button;
}

} // namespace

coManipulatePalette::coManipulatePalette() {
    guiButton** fields[] = {&m_rotate, &m_translate, &m_chooseAnim, &m_delete};
    for (size_t i = 0; i < std::size(kButtons); ++i)
        *fields[i] = AddChild(MakeButton(kButtons[i]));
}

coManipulatePalette::~coManipulatePalette() {
    DeleteAllChildren();
}

void coManipulatePalette::AttachToObject(g3dCamera& camera, const coObject& object) {
    const maBoundingBox box = object.GetBoundingBox();
    const maVector3d extent = box.GetMax() - box.GetMin();
    const f32 size =
        std::max(std::sqrt(extent.x * extent.x + extent.y * extent.y + extent.z * extent.z), kMinimumSize);

    maMatrix4d view, projection;
    camera.GetViewMatrix(view);
    camera.GetProjectionMatrix(projection);
    const maVector3d centre = box.GetCenter();
    const maVector4d p = (view * projection).TransformVector4d({centre.x, centre.y, centre.z, 1.0f});
    // With row vectors w is the eye-space depth: behind the eye it is negative and z / w turns positive
    // again, which would show a mirrored palette; at the eye it would divide by zero.
    if (p.w <= kMinimumW || p.z / p.w < 0.0f) {
        SetVisible(false);
        return;
    }
    SetVisible(true);
    const f32 x = p.x / p.w;
    const f32 y = p.y / p.w;

    const coProp* prop = dynamic_cast<const coProp*>(&object);
    coShowWidget(m_chooseAnim, prop != nullptr && prop->GetTemplate().GetListSize(1) > 1);
    coShowWidget(m_rotate, dynamic_cast<const coTrackProp*>(&object) == nullptr);

    // The eye at the box centre would make the distance 0; the near plane is as close as anything shows.
    const maVector3d toCentre = centre - *camera.GetPosition();
    const f32 nearDistance = camera.GetNearDistance();
    const f32 d = std::max(
        std::sqrt(toCentre.x * toCentre.x + toCentre.y * toCentre.y + toCentre.z * toCentre.z), nearDistance);
    const f32 s = size / (15.0f * d / nearDistance);

    i32 width = 0, height = 0;
    guiGetScreenSize(width, height);
    // The renderer mirrors x, so screen x grows as projected x falls.
    const f32 screenX = (1.0f - (x + s)) * static_cast<f32>(width / 2);
    const f32 screenY = (1.0f - (y + s)) * static_cast<f32>(height / 2);
    SetPosition({screenX, screenY, GetPosition().z});
    for (guiButton* button : {m_rotate, m_translate, m_chooseAnim, m_delete}) {
        const maVector3d at = button->GetImage()->GetPosition();
        button->GetImage()->SetPosition({at.x, at.y, 1.0f});
    }
}
