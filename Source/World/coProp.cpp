#include "Source/World/coProp.h"

#include "Engine/App/App/appClock.h"
#include "Engine/Audio/Sn/snSoundJob2D.h"
#include "Engine/Audio/Sn/snSoundManager.h"
#include "Engine/Core/Ma/maRandom.h"
#include "Engine/Graphics/G3d/g3dFragment.h"
#include "Engine/Graphics/G3d/g3dFragmentManager.h"
#include "Engine/Graphics/G3d/g3dTransformTreeNode.h"
#include "Engine/Graphics/Sc/scHierarchyObject.h"
#include "Engine/Graphics/Sc/scJoint.h"
#include "Engine/Graphics/Sc/scParticleAttachment.h"
#include "Engine/Graphics/Sc/scParticleFactory.h"
#include "Engine/Graphics/Sc/scParticleGenerators.h"
#include "Engine/Graphics/Sc/scSceneManager.h"
#include "Engine/Graphics/Sc/scSimpleMovableObject.h"
#include "Engine/Graphics/Sc/scSingleSkinObject.h"
#include "Source/Ride/coRide.h"
#include "Source/Ride/coTrain.h"
#include "Source/Settings/coPrefs.h"
#include "Source/World/coPropTemplate.h"
#include "Source/World/coSoundAttachment.h"

#include <algorithm>
#include <cmath>
#include <map>

namespace {

constexpr f32 kCrossFade = 0.5f;
constexpr f32 kIdleDelay = 5.0f;
constexpr f32 kEndlessCue = 1000000.0f;
constexpr u32 kPropSoundCategory = 1;

std::map<const coPropTemplate*, int>& Users() {
    static std::map<const coPropTemplate*, int> users;
    return users;
}

const coPropAnimation* FirstOf(const coPropTemplate& t, int list) {
    return t.GetListSize(list) > 0 ? &t.GetAnimation(list, 0) : nullptr;
}

// Copies the local matrices of the rest pose back over the posed tree below its root, which carries the
// object's placement.
void RestorePose(const g3dTransformTreeNode& rest, g3dTransformTreeNode& posed) {
    for (u32 i = 0; i < std::min(rest.GetChildCount(), posed.GetChildCount()); ++i) {
        posed.GetChild(i)->GetLocalMatrix() = rest.GetChild(i)->GetLocalMatrix();
        RestorePose(*rest.GetChild(i), *posed.GetChild(i));
    }
}

// Each prop skins a fragment of its own over the template's bind mesh and a copy of its joints.
std::unique_ptr<scSingleSkinObject> MakeSkin(const coPropTemplate& t) {
    const mayMesh& mesh = t.GetSkinMesh();
    std::vector<g3dMaterial*> materials;
    for (const mayMaterialRecord& record : t.GetModelParts().materials)
        materials.push_back(record.material.get());
    const auto count = static_cast<u32>(materials.size());
    const u32* starts = count > 1 ? mesh.rangeStarts.data() : nullptr;
    const auto vertices = static_cast<u32>(mesh.positions.size());
    const auto indices = static_cast<u32>(mesh.indices.size());
    g3dFragment* fragment =
        mesh.uvs.empty()
            ? g3dFragmentManager::CreateFragmentPNT(mesh.positions.data(), mesh.normals.data(), vertices,
                                                    mesh.indices.data(), indices, materials.data(), starts,
                                                    count, true)
            : g3dFragmentManager::CreateFragmentPNT2(mesh.positions.data(), mesh.normals.data(),
                                                     mesh.uvs.data(), vertices, mesh.indices.data(), indices,
                                                     materials.data(), starts, count, true);
    if (!fragment)
        return nullptr;
    auto skin =
        std::make_unique<scSingleSkinObject>(fragment, mesh.positions, mesh.normals, coProp::kRenderList);
    skin->SetJointTree(
        std::unique_ptr<scJoint>(static_cast<scJoint*>(t.GetSkinRoot()->CloneTree().release())));
    return skin;
}

void StopSlot(snSoundJob2D*& job, coSoundAttachment*& attachment) {
    if (!job)
        return;
    scDetachAttachment(attachment);
    delete attachment;
    attachment = nullptr;
    job->Stop();
    snSoundManager::DestroySound(job);
    job = nullptr;
}

} // namespace

coProp::coProp(coPropTemplate& propTemplate)
    : m_template(propTemplate), m_triggerDistance(propTemplate.GetTriggerDistance()) {
    const f32 s = propTemplate.GetScale();
    for (const g3dFragment* fragment : propTemplate.GetModelParts().fragments) {
        const maBoundingBox box = fragment->GetBoundingBox();
        if (box.minX <= box.maxX) {
            m_localBounds.AddPoint(box.GetMin() * s);
            m_localBounds.AddPoint(box.GetMax() * s);
        }
    }
    // A model without geometry still stands somewhere: a point at its position.
    if (m_localBounds.minX > m_localBounds.maxX)
        m_localBounds.AddPoint(maVector3d());
    m_worldBounds = m_localBounds;
    MakeModels();
    ++Users()[&propTemplate];
}

// A hierarchy file's root only gathers its first levels: each is a posed tree of its own, the first the
// one the animations' root level moves. A skin is posed by its idle animation at 0 for its box.
void coProp::MakeModels() {
    const maVector3d scale(m_template.GetScale(), m_template.GetScale(), m_template.GetScale());
    const g3dTransformTreeNode* tree = m_template.GetNodeTree();
    const coPropAnimation* idle = FirstOf(m_template, coPropTemplate::kIdle);
    if (m_template.GetModelKind() == coPropTemplate::kHierarchy && tree) {
        for (u32 i = 0; i < tree->GetChildCount(); ++i) {
            m_models.push_back(std::make_unique<scHierarchyObject>(*tree->GetChild(i), kRenderList));
            if (g3dTransformTreeNode* posed = scGetObjectTree(m_models.back().get()))
                m_restPoses.push_back(posed->CloneTree());
        }
    } else if (m_template.GetModelKind() == coPropTemplate::kSkinned && m_template.GetSkinRoot()) {
        if (std::unique_ptr<scSingleSkinObject> skin = MakeSkin(m_template)) {
            if (idle)
                skin->PlayAnimation(idle->GetFrameAnimation(), 0.0f);
            skin->ApplySkin();
            skin->Update(0.0f);
            skin->SetScale(scale);
            m_localBounds = skin->GetBoundingBox();
            m_worldBounds = m_localBounds;
            m_restPoses.push_back(skin->GetJointTree()->CloneTree());
            skin->StopAnimation();
            m_models.push_back(std::move(skin));
        }
    } else {
        for (g3dFragment* fragment : m_template.GetModelParts().fragments)
            m_models.push_back(std::make_unique<scSimpleMovableObject>(fragment, kRenderList));
    }
    for (const auto& model : m_models) {
        model->SetScale(scale);
        model->SetPositionRotation(maVector3d(), maRotation());
        model->SetVisible(m_visible);
        scAddToUpdateList(model.get());
    }
    m_animated = !m_restPoses.empty() && (idle || FirstOf(m_template, coPropTemplate::kEntry) ||
                                          FirstOf(m_template, coPropTemplate::kExit));
}

coProp::~coProp() {
    StopAllSounds();
    DeleteGenerators();
    for (const auto& model : m_models)
        scRemoveFromUpdateList(model.get());
    m_models.clear();
    if (--Users()[&m_template] == 0)
        Users().erase(&m_template);
}

int coProp::CountUsing(const coPropTemplate& propTemplate) {
    const auto it = Users().find(&propTemplate);
    return it == Users().end() ? 0 : it->second;
}

void coProp::SetPosition(const maVector3d& position) {
    m_position = position;
    for (const auto& model : m_models)
        model->SetPosition(position);
    UpdateWorld();
}

void coProp::SetAngle(f32 heading) {
    m_heading = heading;
    const maRotation rotation(maVector3d(0.0f, 1.0f, 0.0f), heading);
    for (const auto& model : m_models)
        model->SetRotation(rotation);
    UpdateWorld();
}

void coProp::SetPose(const maVector3d& position, const maMatrix4d& rotation) {
    maRotation turn;
    turn.SetFromMatrix3d(rotation.GetRotationPart());
    for (const auto& model : m_models)
        model->SetPositionRotation(position, turn);
    maMatrix4d pose = rotation;
    pose.ReplaceTranslation(position);
    PlaceBounds(pose);
}

void coProp::UpdateWorld() {
    m_transform.SetRotationY(m_heading);
    m_transform.ReplaceTranslation(m_position);
    PlaceBounds(m_transform);
}

void coProp::PlaceBounds(const maMatrix4d& pose) {
    maVector3d corners[8];
    m_localBounds.GetCorners(corners);
    m_worldBounds = maBoundingBox();
    for (const maVector3d& corner : corners)
        m_worldBounds.AddPoint(pose.TransformPoint(corner));
}

void coProp::SetVisible(bool visible) {
    m_visible = visible;
    for (const auto& model : m_models)
        model->SetVisible(visible);
    for (scParticleGenerator* generator : m_generators)
        if (generator)
            generator->SetVisible(visible);
    if (!visible && m_current) {
        StopAllSounds();
        DeleteGenerators();
    }
}

void coProp::SetActive(bool active) {
    if (active == m_active)
        return;
    if (active) {
        m_startTime = -1.0f;
        m_current = nullptr;
        m_looping = true;
        m_active = true;
        return;
    }
    for (const auto& model : m_models)
        if (auto* animated = dynamic_cast<scAnimatableObject*>(model.get()))
            animated->StopAnimation();
    m_current = nullptr;
    for (size_t i = 0; i < m_restPoses.size() && i < m_models.size(); ++i)
        if (g3dTransformTreeNode* tree = scGetObjectTree(m_models[i].get()))
            RestorePose(*m_restPoses[i], *tree);
    // A skin's joints start at its root, which is no placement.
    if (auto* skin = m_models.empty() ? nullptr : dynamic_cast<scSingleSkinObject*>(m_models.front().get())) {
        skin->GetJointTree()->GetLocalMatrix() = m_restPoses.front()->GetLocalMatrix();
        skin->ApplySkin();
    }
    DeleteGenerators();
    StopAllSounds();
    m_trainInside = false;
    m_active = false;
}

void coProp::Update(f32 time) {
    Advance(time, m_active && m_animated && IsTrainInside());
}

void coProp::Advance(f32 time, bool carInside) {
    if (m_active && m_animated) {
        Trigger(time, carInside);
        f32 phase = 0.0f, from = 0.0f;
        if (m_current && coPropPhase(time - m_startTime, m_current->GetDuration(), m_looping, m_lastCueTime,
                                     phase, from)) {
            if (coPrefs::GetBool(coPrefParticles))
                FireParticleCues(from, phase, time);
            StartSoundCues(from, phase, time);
            m_lastCueTime = phase;
        }
    }
    FreeEndedTails();
    if (coPrefs::GetBool(coPrefSoundEffectsOff))
        StopAllSounds();
}

void coProp::Trigger(f32 time, bool carInside) {
    const int event = m_activeEvent;
    const coPropAnimation* entry = event >= 0 && event < m_template.GetListSize(coPropTemplate::kEntry)
                                       ? &m_template.GetAnimation(coPropTemplate::kEntry, event)
                                       : nullptr;
    const coPropAnimation* idle = FirstOf(m_template, coPropTemplate::kIdle);
    const coPropAnimation* exit = FirstOf(m_template, coPropTemplate::kExit);
    const bool entryRunning =
        m_trainInside && entry && m_current == entry && m_startTime + entry->GetDuration() > time;
    const bool on = carInside || entryRunning;
    if (m_startTime < 0.0f)
        m_startTime = time;
    // The program's own draws (0..32767) keep the delay below 5 s whatever the platform's rand.
    if (!m_current && idle)
        Play(idle, time + static_cast<f32>(maRandomInt()) / 32768.0f * kIdleDelay);
    if (on) {
        if (!m_trainInside && entry)
            Play(entry, time);
    } else if (m_trainInside) {
        Play(exit ? exit : idle, time);
    } else if (exit && m_current == exit && m_startTime + exit->GetDuration() < time && idle) {
        Play(idle, time);
    }
    m_trainInside = on;
}

void coProp::Play(const coPropAnimation* animation, f32 startTime) {
    for (const auto& model : m_models)
        if (auto* animated = dynamic_cast<scAnimatableObject*>(model.get())) {
            if (animation)
                animated->CrossFadeAnimation(animation->GetFrameAnimation(), startTime, kCrossFade);
            else
                animated->StopAnimation();
        }
    for (scParticleGenerator* generator : m_generators)
        if (generator)
            generator->SetDuration(0.0f);
    if (m_current) {
        const auto& cues = m_current->GetSoundCues();
        for (size_t i = 0; i < m_sounds.size() && i < cues.size(); ++i)
            if (cues[i].loop)
                StopSlot(m_sounds[i].job, m_sounds[i].attachment);
    }
    m_current = animation;
    m_startTime = startTime;
    if (!animation)
        return;
    m_generators.assign(animation->GetParticleCues().size(), nullptr);
    const size_t count = animation->GetSoundCues().size();
    for (size_t i = count; i < m_sounds.size(); ++i)
        if (m_sounds[i].job)
            m_tailSounds.push_back(m_sounds[i]);
    m_sounds.resize(count);
    m_looping = animation->IsLooping();
}

void coProp::FireParticleCues(f32 from, f32 phase, f32 time) {
    const auto& cues = m_current->GetParticleCues();
    for (size_t i = 0; i < cues.size() && i < m_generators.size(); ++i) {
        const coPropParticleCue& cue = cues[i];
        if (m_generators[i] || !(from <= cue.time && cue.time < phase))
            continue;
        scSpriteGroupParticleGenerator* generator =
            scCreateParticleGenerator(*cue.generator, cue.time + time - from, static_cast<int>(kRenderList));
        if (!generator)
            continue;
        generator->SetDuration(cue.duration < 0.0f ? kEndlessCue : cue.duration);
        generator->SetEmitOffset(cue.offset);
        generator->SetEmitDirection(cue.direction);
        generator->SetVisible(m_visible);
        auto attachment = std::make_unique<scParticleAttachment>();
        attachment->SetGenerator(generator);
        scAttachToNode(attachment.release(), m_models.front().get(), cue.node.c_str());
        m_generators[i] = generator;
        scRegisterGeneratorEventHandler(this, generator);
    }
}

void coProp::StartSoundCues(f32 from, f32 phase, f32 time) {
    if (coPrefs::GetBool(coPrefSoundEffectsOff))
        return;
    const auto& cues = m_current->GetSoundCues();
    for (size_t i = 0; i < cues.size() && i < m_sounds.size(); ++i) {
        SoundSlot& slot = m_sounds[i];
        if (slot.job && slot.job->IsStopped())
            StopSlot(slot.job, slot.attachment);
        if (slot.job) {
            if (!(from <= cues[i].time && cues[i].time < phase) || cues[i].loop)
                continue;
            StopSlot(slot.job, slot.attachment);
        }
        StartSound(slot, i, time);
    }
}

void coProp::StartSound(SoundSlot& slot, size_t index, f32 time) {
    const coPropSoundCue& cue = m_current->GetSoundCues()[index];
    auto* job = dynamic_cast<snSoundJob2D*>(snSoundManager::Clone(cue.job));
    if (!job)
        return;
    job->SetCategory(kPropSoundCategory);
    job->SetVolume(cue.volume);
    job->RampPitch(cue.pitch, 0.0f, time);
    job->SetPositional(true);
    job->SetMinDistance(cue.minDistance);
    job->SetMaxDistance(cue.maxDistance);
    job->Load();
    snSoundManager::ApplyVolume(job);
    slot.job = job;
    slot.attachment = new coSoundAttachment(job);
    if (!m_models.empty())
        scAttachToNode(slot.attachment, m_models.front().get(), cue.node.c_str());
    if (cue.loop)
        job->SetLoopCount(-1);
    job->Play(time);
}

// Every generator the prop still watches goes, those an animation change left to end included: none
// outlives the prop on a node of its models.
void coProp::DeleteGenerators() {
    std::fill(m_generators.begin(), m_generators.end(), nullptr);
    const std::vector<scParticleGenerator*> generators = scGetGeneratorsWatchedBy(this);
    scUnregisterGeneratorEventHandler(this);
    for (scParticleGenerator* generator : generators)
        scDeleteObject(generator);
}

void coProp::StopAllSounds() {
    for (SoundSlot& slot : m_sounds)
        StopSlot(slot.job, slot.attachment);
    for (SoundSlot& slot : m_tailSounds)
        StopSlot(slot.job, slot.attachment);
    m_tailSounds.clear();
}

void coProp::FreeEndedTails() {
    for (SoundSlot& slot : m_tailSounds)
        if (slot.job->IsStopped())
            StopSlot(slot.job, slot.attachment);
    std::erase_if(m_tailSounds, [](const SoundSlot& slot) { return slot.job == nullptr; });
}

void coProp::PauseSounds() {
    for (SoundSlot& slot : m_sounds)
        if (slot.job)
            slot.job->Pause();
}

void coProp::ResumeSounds() {
    for (SoundSlot& slot : m_sounds)
        if (slot.job)
            slot.job->Resume(static_cast<f32>(appGetTime()));
}

void coProp::OnGeneratorRemoved(scParticleGenerator* generator) {
    std::replace(m_generators.begin(), m_generators.end(), generator,
                 static_cast<scParticleGenerator*>(nullptr));
}

size_t coProp::CountGenerators() const {
    return static_cast<size_t>(std::count_if(m_generators.begin(), m_generators.end(),
                                             [](const scParticleGenerator* g) { return g != nullptr; }));
}

size_t coProp::CountSounds() const {
    const auto held = [](const SoundSlot& slot) { return slot.job != nullptr; };
    return static_cast<size_t>(std::count_if(m_sounds.begin(), m_sounds.end(), held) +
                               std::count_if(m_tailSounds.begin(), m_tailSounds.end(), held));
}

bool coProp::RayTest(const maVector3d& origin, const maVector3d& direction, f32& t) const {
    // Slabs: the segment from origin to origin + direction against the world box.
    f32 enter = 0.0f, leave = 1.0f;
    const f32 o[3] = {origin.x, origin.y, origin.z};
    const f32 d[3] = {direction.x, direction.y, direction.z};
    const f32 lo[3] = {m_worldBounds.minX, m_worldBounds.minY, m_worldBounds.minZ};
    const f32 hi[3] = {m_worldBounds.maxX, m_worldBounds.maxY, m_worldBounds.maxZ};
    for (int i = 0; i < 3; ++i) {
        if (d[i] == 0.0f) {
            if (o[i] < lo[i] || o[i] > hi[i])
                return false;
            continue;
        }
        f32 a = (lo[i] - o[i]) / d[i], b = (hi[i] - o[i]) / d[i];
        if (a > b)
            std::swap(a, b);
        enter = std::max(enter, a);
        leave = std::min(leave, b);
        if (enter > leave)
            return false;
    }
    t = enter;
    return true;
}

bool coProp::IsTrainInside() const {
    return coRideHasCars(0) && IsCarInside(coRideGetLeadCar(0).frame.GetTranslation());
}

bool coProp::IsCarInside(const maVector3d& car) const {
    return coPropTriggerInside(m_worldBounds, car, m_triggerDistance);
}

bool coPropTriggerInside(const maBoundingBox& box, const maVector3d& car, f32 triggerDistance) {
    const maVector3d centre = box.GetCenter();
    const maVector3d d = car - maVector3d(centre.x, centre.y, std::clamp(car.z, box.minZ, box.maxZ));
    return maDot(d, d) < triggerDistance * triggerDistance;
}

bool coPropPhase(f32 elapsed, f32 duration, bool looping, f32 lastCueTime, f32& phase, f32& from) {
    if (!(duration > 0.0f) || (!looping && elapsed > duration))
        return false;
    phase = elapsed - std::trunc(elapsed / duration) * duration;
    from = phase < lastCueTime ? lastCueTime - duration : lastCueTime;
    return true;
}
