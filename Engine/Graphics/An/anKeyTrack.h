#pragma once
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <map>
#include <utility>
#include <vector>

// The keys of a key animation or of key data: every key in the order added, and a map from each key
// time to the key found at that time. A key added at a time already taken replaces the old one in the
// map; the old key stays in the array. A NaN time has no place on the time line and is left out of
// the map (loaders reject such times first).
template <class T> class anKeyTrack {
  public:
    struct Key {
        float time;
        T value;
    };

    void Add(float time, const T& value) {
        m_keys.push_back({time, value});
        Place(m_keys.size() - 1);
    }

    // The keys either side of t: a is the last key at or before t, b the first after it. Before the
    // first key and after the last both are that key; without keys both are null.
    std::pair<const Key*, const Key*> Find(float t) const {
        if (m_byTime.empty())
            return {nullptr, nullptr};
        const auto next = m_byTime.upper_bound(t);
        if (next == m_byTime.end()) {
            const Key* last = &m_keys[std::prev(next)->second];
            return {last, last};
        }
        const Key* b = &m_keys[next->second];
        return {next == m_byTime.begin() ? b : &m_keys[std::prev(next)->second], b};
    }

    // The latest key time; -1 without keys.
    float GetLastTime() const { return m_byTime.empty() ? -1.0f : m_byTime.rbegin()->first; }

    // Multiplies every key time by the factor and maps the keys anew, later keys winning ties as they
    // do when added. Returns the largest new time, -1 without keys.
    float Scale(float factor) {
        m_byTime.clear();
        float largest = -1.0f;
        for (std::size_t i = 0; i < m_keys.size(); ++i) {
            m_keys[i].time *= factor;
            largest = i == 0 ? m_keys[i].time : std::max(largest, m_keys[i].time);
            Place(i);
        }
        return largest;
    }

  private:
    void Place(std::size_t index) {
        if (!std::isnan(m_keys[index].time))
            m_byTime[m_keys[index].time] = index;
    }

    std::vector<Key> m_keys;
    std::map<float, std::size_t> m_byTime;
};
