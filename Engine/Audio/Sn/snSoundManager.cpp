#include "Engine/Audio/Sn/snSoundManager.h"

#include "Engine/Audio/Sn/snSoundJob2D.h"
#include "Engine/Audio/Sn/snSoundJobMP3.h"
#include "Engine/Audio/Sn/snSoundSystem.h"
#include "Engine/Core/Env/dbgLog.h"

#include <algorithm>
#include <array>
#include <bit>
#include <list>
#include <memory>

namespace {

using JobList = std::list<std::unique_ptr<snSoundJob>>;

JobList g_active;
JobList g_preload;
std::array<f32, snSoundManager::kCategoryCount> g_categoryVolumes{1.0f, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f};
f32 g_masterVolume = 1.0f;

JobList::iterator Find(JobList& list, const snSoundJob* job) {
    return std::find_if(list.begin(), list.end(), [job](const auto& held) { return held.get() == job; });
}

// A copy by the template's most derived kind; null for kinds that cannot be copied.
std::unique_ptr<snSoundJob> CopyOf(const snSoundJob& job) {
    if (const auto* streamed = dynamic_cast<const snSoundJob2DStreamed*>(&job))
        return std::make_unique<snSoundJob2DStreamed>(*streamed);
    if (const auto* sound = dynamic_cast<const snSoundJob2D*>(&job))
        return std::make_unique<snSoundJob2D>(*sound);
    return nullptr;
}

snSoundJob* CloneTemplate(const snSoundJob* preloaded) {
    if (!preloaded) {
        dbgWarning("Audio/Sn/private/snSoundManager", __LINE__,
                   "Cannot Clone Sound: does not exist in Preload List");
        return nullptr;
    }
    std::unique_ptr<snSoundJob> copy = CopyOf(*preloaded);
    if (!copy) {
        dbgWarning("Audio/Sn/private/snSoundManager", __LINE__, "Cannot Clone Sound: unknown type");
        return nullptr;
    }
    snSoundJob* job = copy.get();
    g_active.push_back(std::move(copy));
    return job;
}

template <class Job> Job* MakeActive(const fsLocator& file) {
    auto job = std::make_unique<Job>();
    Job* made = job.get();
    made->SetFile(file);
    g_active.push_back(std::move(job));
    snSoundManager::ApplyVolume(made);
    return made;
}

} // namespace

void snSoundManager::Init() {
    g_categoryVolumes.fill(1.0f);
    g_masterVolume = 1.0f;
}

void snSoundManager::Shutdown() {
    ClearPreloadList();
    ClearActiveList();
}

void snSoundManager::Update(f32 time) {
    const bool deviceUp = snIsSoundSystemUp();
    for (auto it = g_active.begin(); it != g_active.end();) {
        snSoundJob& job = **it;
        job.Update(time);
        if (job.IsAutoRelease() && (job.IsStopped() || !deviceUp))
            it = g_active.erase(it);
        else
            ++it;
    }
}

snSoundJob2D* snSoundManager::CreateSound(const fsLocator& file, const envString& name, bool tryClone) {
    if (tryClone) {
        if (auto* clone = dynamic_cast<snSoundJob2D*>(CloneByName(name))) {
            ApplyVolume(clone);
            return clone;
        }
    }
    auto* job = MakeActive<snSoundJob2D>(file);
    job->SetName(name);
    return job;
}

snSoundJob2DStreamed* snSoundManager::CreateStreamedSound(const fsLocator& file) {
    return MakeActive<snSoundJob2DStreamed>(file);
}

snSoundJobMP3* snSoundManager::CreateMP3Sound(const fsLocator& file) {
    return MakeActive<snSoundJobMP3>(file);
}

int snSoundManager::DestroySound(snSoundJob* job) {
    const auto it = Find(g_active, job);
    if (it == g_active.end())
        return 0;
    g_active.erase(it);
    return 1;
}

void snSoundManager::AddToActiveList(snSoundJob* job) {
    if (job && Find(g_active, job) == g_active.end() && Find(g_preload, job) == g_preload.end())
        g_active.emplace_back(job);
}

snSoundJob* snSoundManager::FindActive(const snSoundJob* job) {
    const auto it = Find(g_active, job);
    return it == g_active.end() ? nullptr : it->get();
}

void snSoundManager::AddToPreloadList(snSoundJob* job) {
    if (!job || Find(g_preload, job) != g_preload.end())
        return;
    const auto active = Find(g_active, job);
    if (active != g_active.end()) {
        // The node hands its job over to the template list.
        g_preload.push_back(std::move(*active));
        g_active.erase(active);
        return;
    }
    g_preload.emplace_back(job);
}

void snSoundManager::RemoveFromPreloadList(snSoundJob* job) {
    const auto it = Find(g_preload, job);
    if (it != g_preload.end())
        g_preload.erase(it);
}

void snSoundManager::ClearPreloadList() {
    g_preload.clear();
}

void snSoundManager::ClearActiveList() {
    g_active.clear();
}

snSoundJob* snSoundManager::CloneByName(const envString& name) {
    const auto it = std::find_if(g_preload.begin(), g_preload.end(),
                                 [&name](const auto& job) { return job->GetName() == name; });
    return CloneTemplate(it == g_preload.end() ? nullptr : it->get());
}

snSoundJob* snSoundManager::Clone(const snSoundJob* preloaded) {
    const auto it = Find(g_preload, preloaded);
    return CloneTemplate(it == g_preload.end() ? nullptr : it->get());
}

void snSoundManager::ApplyVolume(snSoundJob* job) {
    if (!job)
        return;
    job->SetMasterVolume(g_masterVolume);
    job->SetCategoryVolume(g_categoryVolumes[CategoryIndex(job->GetCategory())]);
}

void snSoundManager::SetCategoryVolume(f32 volume, int bits) {
    const u32 index = CategoryIndex(static_cast<u32>(bits));
    if (volume == g_categoryVolumes[index])
        return;
    // NaN is stored as silence, like every value below the range.
    g_categoryVolumes[index] = volume > 0.0f ? std::min(volume, 1.0f) : 0.0f;
    for (JobList* list : {&g_preload, &g_active})
        for (const auto& job : *list)
            if (job->GetCategory() == static_cast<u32>(bits))
                job->SetCategoryVolume(g_categoryVolumes[index]);
}

f32 snSoundManager::GetCategoryVolume(u32 index) {
    return g_categoryVolumes[std::min(index, kCategoryCount - 1)];
}

u32 snSoundManager::CategoryIndex(u32 bits) {
    if (bits == 0)
        return 0;
    return std::min<u32>(static_cast<u32>(std::bit_width(bits)) - 1, kCategoryCount - 1);
}

void snSoundManager::SetListenerPosition(const maVector3d& position) {
    for (const auto& job : g_active)
        if (auto* sound = dynamic_cast<snSoundJob2D*>(job.get()); sound && sound->IsPositional())
            sound->SetListenerPosition(position);
}

void snSoundManager::SetListenerOrientation(const maRotation& orientation) {
    for (const auto& job : g_active)
        if (auto* sound = dynamic_cast<snSoundJob2D*>(job.get()); sound && sound->IsPositional())
            sound->SetListenerOrientation(orientation);
}

u32 snSoundManager::GetActiveCount() {
    return static_cast<u32>(g_active.size());
}

u32 snSoundManager::GetPreloadCount() {
    return static_cast<u32>(g_preload.size());
}
