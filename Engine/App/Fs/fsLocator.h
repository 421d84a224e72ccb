#pragma once
#include "Engine/Core/Env/envString.h"

#include <vector>

// A file path as a list of components plus a root number (-1: unrooted, a complete path).
// An absolute native path keeps an empty first component for "/".
class fsLocator {
public:
    fsLocator() = default;
    explicit fsLocator(i32 root) : m_root(root) {}

    void AppendComponent(const char* component) { m_components.emplace_back(component); }
    void AppendComponent(const envString& component) { m_components.push_back(component); }
    void AppendComponents(const fsLocator& other);
    void RemoveLastComponent() { m_components.pop_back(); }
    void Clear();

    void SetRoot(i32 root) { m_root = root < 0 ? -1 : root; }
    i32 GetRoot() const { return m_root; }
    bool IsRooted() const { return m_root >= 0; }

    u32 GetComponentCount() const { return static_cast<u32>(m_components.size()); }
    const envString& GetComponent(u32 index) const { return m_components[index]; }
    const envString& GetLastComponent() const { return m_components.back(); }

    // Equal when both are rooted or both unrooted and the components match; root numbers are not compared.
    bool operator==(const fsLocator& other) const;
    bool operator!=(const fsLocator& other) const { return !(*this == other); }
    // Lexicographic over the components only: the key order of maps keyed by locator.
    bool operator<(const fsLocator& other) const;

private:
    std::vector<envString> m_components;
    i32 m_root = -1;
};
