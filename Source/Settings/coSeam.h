#pragma once

// A seam: an interface a lower area asks through, answered by the implementation a higher area (or a test)
// installs, and by a silent default while none is. Declare one constinit beside its default, so that it
// holds the default before any other file's static initialisers install into it:
//     coRideAudio g_silence;
//     constinit coSeam<coRideAudio> g_audio(g_silence);
template <class T> class coSeam {
  public:
    constexpr explicit coSeam(T& fallback) : m_fallback(&fallback) {}

    T& Get() const { return m_installed ? *m_installed : *m_fallback; }
    // Not owned; null restores the default.
    void Set(T* implementation) { m_installed = implementation; }

  private:
    T* m_fallback;
    T* m_installed = nullptr;
};
