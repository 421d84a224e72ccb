#include "Engine/GUI/Gui/guiSoundCues.h"

#include "Engine/Audio/Sn/snSoundJob2D.h"
#include "Engine/Audio/Sn/snSoundManager.h"
#include "Engine/Core/Ma/maRandom.h"
#include "Engine/GUI/Gui/guiWindow.h"

void guiSoundCues::AddCue(i32 state, const fsLocator& file, f32 volume) {
    const envString name = file.GetComponentCount() > 0 ? file.GetLastComponent() : envString();
    snSoundJob* job = snSoundManager::CreateSound(file, name, false);
    try {
        job->Load();
    } catch (...) {
        snSoundManager::DestroySound(job);
        throw;
    }
    job->SetVolume(volume);
    job->SetCategory(kCategory);
    snSoundManager::ApplyVolume(job);
    s_cues[state].jobs.push_back(job);
}

void guiSoundCues::Clear() {
    for (auto& [state, set] : s_cues)
        for (snSoundJob* job : set.jobs)
            snSoundManager::DestroySound(job);
    s_cues.clear();
    s_lastWindow = nullptr;
}

void guiSoundCues::Reset() {
    s_lastWindow = nullptr;
    s_muted = false;
}

void guiSoundCues::Update(f32 time) {
    if (s_muted)
        return;
    const guiWindow* window = guiWindow::GetOverWindow();
    if (!window) {
        s_lastWindow = nullptr;
        return;
    }
    const i32 state = window->GetState();
    if (window == s_lastWindow) {
        if (state == s_lastState)
            return;
        // The pointer resting again after a press or a release must not repeat the hover sound.
        if (state == guiStateOver && s_lastState != guiStateIdle)
            return;
    }
    s_lastWindow = window;
    s_lastState = state;
    if (!window->IsSoundEnabled())
        return;
    if (const auto found = s_cues.find(state); found != s_cues.end())
        PlayOne(found->second, time);
}

void guiSoundCues::Forget(const guiWindow* window) {
    if (s_lastWindow == window)
        s_lastWindow = nullptr;
}

u32 guiSoundCues::GetCueCount(i32 state) {
    const auto found = s_cues.find(state);
    return found == s_cues.end() ? 0 : static_cast<u32>(found->second.jobs.size());
}

void guiSoundCues::PlayOne(CueSet& set, f32 time) {
    const auto count = static_cast<i32>(set.jobs.size());
    if (count == 0)
        return;
    i32 pick = static_cast<i32>(maRandomInt() % static_cast<u32>(count));
    if (pick == set.last)
        pick = (set.last + 1) % count;
    set.jobs[static_cast<size_t>(pick)]->Play(time);
    set.last = pick;
}
