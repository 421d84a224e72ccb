#pragma once
#include "Source/Career/coMissionObjective.h"

#include <array>
#include <memory>
#include <utility>
#include <vector>

inline constexpr int coObjectiveLevelCount = 4; // win, bronze, silver, gold

// A mission's objectives by level, each level in the order of addition; owns them.
class coObjectiveSet {
  public:
    void Clear();
    void Add(std::unique_ptr<coMissionObjective> objective, int level);
    // True for an empty level; otherwise asks each objective in order and stops at the first not met.
    bool AllMet(int level) const;
    int GetCount(int level) const { return static_cast<int>(m_levels[level].size()); }
    void GetObjective(int index, int level, envString& description, bool& met) const;
    const std::vector<std::unique_ptr<coMissionObjective>>& GetLevel(int level) const {
        return m_levels[level];
    }
    // Hands a level's objectives over, leaving it empty.
    std::vector<std::unique_ptr<coMissionObjective>> TakeLevel(int level) {
        return std::exchange(m_levels[level], {});
    }

  private:
    std::array<std::vector<std::unique_ptr<coMissionObjective>>, coObjectiveLevelCount> m_levels;
};
