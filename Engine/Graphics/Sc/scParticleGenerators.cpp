#include "Engine/Graphics/Sc/scParticleGenerators.h"

#include "Engine/Core/Ma/maConstants.h"
#include "Engine/Graphics/G3d/g3dUVATexture.h"
#include "Engine/Graphics/Sc/scEmitter.h"

#include <cmath>
#include <iterator>

namespace {

bool IsOrigin(const maVector3d& v) {
    return v.x == 0.0f && v.y == 0.0f && v.z == 0.0f;
}

} // namespace

void scParticleList::Append(scParticle* particle) {
    particle->previous = tail;
    particle->next = nullptr;
    if (tail)
        tail->next = particle;
    else
        head = particle;
    tail = particle;
    ++count;
}

void scParticleList::Unlink(scParticle* particle) {
    if (particle->previous)
        particle->previous->next = particle->Next();
    else
        head = particle->Next();
    if (particle->next)
        particle->next->previous = particle->previous;
    else
        tail = particle->Previous();
    particle->next = particle->previous = nullptr;
    --count;
}

template <class Particle> scParticleGeneratorOf<Particle>::~scParticleGeneratorOf() {
    for (scParticle* next = m_list.head; next;) {
        auto* particle = static_cast<Particle*>(next);
        next = particle->Next();
        delete particle;
    }
}

template <class Particle> void scParticleGeneratorOf<Particle>::Update(float time) {
    scParticleGenerator::Update(time);
    if (IsExpired() && m_list.count == 0) {
        SetFinished();
        return;
    }
    if (IsOrigin(m_list.previousPosition))
        m_list.previousPosition = GetPosition();

    maBoundingBox box;
    const scParticleContext context = MakeContext(box);
    const float dt = GetFrameDelta();
    for (scParticle* next = m_list.head; next;) {
        auto* particle = static_cast<Particle*>(next);
        next = particle->Next();
        // One already past its life (born with a life below 0) dies rather than living for ever.
        if (particle->age > particle->life)
            particle->dead = true;
        else
            particle->Update(dt, context);
        if (particle->dead) {
            m_list.Unlink(particle);
            delete particle;
        }
    }
    RefreshMaterial();
    if (!IsExpired())
        Emit(context, box);
    PlaceGroup(box, m_list.head);
    m_list.previousPosition = GetPosition();
}

template <class Particle>
scParticleContext scParticleGeneratorOf<Particle>::MakeContext(maBoundingBox& box) const {
    scParticleContext context;
    context.curve = GetAnimation();
    context.box = &box;
    context.linearGrowth = GetGrowthMode() == 0;
    const float growth = GetParameter(5);
    context.hasGrowthFactor = context.linearGrowth || growth > 0.0f;
    context.growthRate = context.linearGrowth ? growth : context.hasGrowthFactor ? std::log(growth) : 0.0f;
    context.frameCount = GetUVATexture() ? GetUVATexture()->GetFrameCount() : 0;
    context.randomFrames = GetFrameMode() == 1;
    return context;
}

template <class Particle> scEmission scParticleGeneratorOf<Particle>::MakeEmission() const {
    scEmission emission;
    for (size_t i = 0; i < emission.p.size(); ++i)
        emission.p[i] = GetParameter(static_cast<int>(i));
    emission.generatorMatrix = GetRotation().GetMatrix().GetRotationPart();
    emission.generatorMatrix.Scale(GetScale().x, GetScale().y, GetScale().z);
    maRotation turn;
    turn.SetFromVectors(maVector3d(0.0f, 0.0f, 1.0f), GetEmitDirection());
    emission.directionMatrix = turn.GetMatrix().GetRotationPart();
    emission.drawFrames = GetUVATexture() && GetFrameMode() == 1;
    emission.frameCount = GetUVATexture() ? GetUVATexture()->GetFrameCount() : 0;
    return emission;
}

template <class Particle>
void scParticleGeneratorOf<Particle>::Emit(const scParticleContext& context, maBoundingBox& box) {
    float& accumulator = m_list.accumulator;
    accumulator += GetFrameDelta() * GetParameter(2);
    if (!(accumulator > 1.0f))
        return;
    // The births are spread along the path since the last update, one step apart.
    const maVector3d start = m_list.previousPosition;
    const maVector3d step = (GetPosition() - start) / std::trunc(accumulator);
    scEmission emission = MakeEmission();
    Particle::PrepareEmissions(emission);

    // One birth per whole unit above the last: ceil(a) - 1 of them, counted in 64 bits, since a float
    // accumulator past 2^24 no longer changes when 1 is taken off.
    const double owed = std::ceil(static_cast<double>(accumulator)) - 1.0;
    const i64 births = owed < 9.0e18 ? static_cast<i64>(owed) : INT64_MAX;
    const float limit = GetParameter(3);
    const double most = std::trunc(static_cast<double>(limit));
    bool keepOwed = false;
    i64 made = 0;
    maVector3d along = start;
    for (; made < births; ++made) {
        if (limit > 0.0f && m_list.count >= most) {
            keepOwed = true; // the births wait for room
            break;
        }
        if (made >= kMaxEmissionsPerUpdate)
            break;
        maVector3d point;
        GetEmitter()->GetPoint(point);
        emission.directionMatrix.TransformInPlace(point);
        point = point + GetEmitOffset();
        emission.generatorMatrix.TransformInPlace(point);
        emission.point = point + along;
        Particle::DrawEmission(emission);
        Particle* particle = new Particle(emission, context);
        box.AddPoint(emission.point);
        if (!particle)
            break; // the pool is full: no record will come free before the next update
        m_list.Append(particle);
        along = along + step;
    }
    if (keepOwed)
        accumulator = static_cast<float>(static_cast<double>(accumulator) - static_cast<double>(made));
    else
        // What a full run leaves: the part above the last whole unit, 1 for a whole number.
        accumulator = accumulator == std::trunc(accumulator) ? 1.0f : accumulator - std::floor(accumulator);
}

scStaticParticleGenerator::scStaticParticleGenerator(float startTime, int renderList)
    : scParticleGeneratorOf(startTime, renderList) {}

scConeParticleGenerator::scConeParticleGenerator(float startTime, int renderList)
    : scParticleGeneratorOf(startTime, renderList) {
    SetParameter(12, maHalfPiF);
    SetParameter(13, 5.0f);
    SetParameter(14, 5.0f);
}

scSpiralParticleGenerator::scSpiralParticleGenerator(float startTime, int renderList)
    : scParticleGeneratorOf(startTime, renderList) {
    const float defaults[] = {1.0f, 1.0f, 0.0f,   1.0f,  0.0f,  0.0f, 0.0f,
                              0.0f, 0.0f, 360.0f, 90.0f, 90.0f, 3.0f, 0.0f};
    for (int i = 0; i < static_cast<int>(std::size(defaults)); ++i)
        SetParameter(12 + i, defaults[i]);
}

template class scParticleGeneratorOf<scStaticParticle>;
template class scParticleGeneratorOf<scConeParticle>;
template class scParticleGeneratorOf<scSpiralParticle>;
