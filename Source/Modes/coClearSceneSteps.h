#pragma once
#include <functional>

// Steps that run whenever the game world is cleared or another coaster replaces it, so that holders
// of pointers into the world (the editor's selection, its statistics piece) let go of them. The
// world's clear runs them; an owner registers under its own address and removes its steps before it
// goes.
void coAddClearSceneStep(const void* owner, std::function<void()> step);
void coRemoveClearSceneSteps(const void* owner);
void coRunClearSceneSteps();
