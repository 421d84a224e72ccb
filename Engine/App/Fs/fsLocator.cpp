#include "Engine/App/Fs/fsLocator.h"

#include <algorithm>

void fsLocator::AppendComponents(const fsLocator& other) {
    const std::vector<envString> copy = other.m_components; // other may be *this
    m_components.insert(m_components.end(), copy.begin(), copy.end());
}

void fsLocator::Clear() {
    m_components.clear();
    m_root = -1;
}

bool fsLocator::operator==(const fsLocator& other) const {
    return IsRooted() == other.IsRooted() && m_components == other.m_components;
}

bool fsLocator::operator<(const fsLocator& other) const {
    return std::lexicographical_compare(m_components.begin(), m_components.end(), other.m_components.begin(),
                                        other.m_components.end());
}
