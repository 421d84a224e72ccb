#include "Source/Career/coObjectiveSet.h"

void coObjectiveSet::Clear() {
    for (auto& level : m_levels)
        level.clear();
}

void coObjectiveSet::Add(std::unique_ptr<coMissionObjective> objective, int level) {
    m_levels[level].push_back(std::move(objective));
}

bool coObjectiveSet::AllMet(int level) const {
    for (const auto& objective : m_levels[level])
        if (!objective->IsMet())
            return false;
    return true;
}

void coObjectiveSet::GetObjective(int index, int level, envString& description, bool& met) const {
    const coMissionObjective& objective = *m_levels[level][index];
    description = objective.GetDescription();
    met = objective.IsMet();
}
