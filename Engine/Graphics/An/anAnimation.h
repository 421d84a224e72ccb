#pragma once
#include "Engine/Core/Env/envTypes.h"

#include <memory>

class anAnimInstance;

// A template of a value that changes over time. It has a duration and maps any time into it, looping
// and ping-ponging as its flags say; typed templates compute the value. Whoever starts the animation
// asks for an instance, which remembers when it started.
class anAnimation {
  public:
    virtual ~anAnimation() = default;

    virtual std::unique_ptr<anAnimInstance> CreateInstance(float startTime) const = 0;
    // A deep copy of the template.
    virtual std::unique_ptr<anAnimation> Clone() const = 0;
    virtual void ScaleTime(float factor) = 0;

    void SetDuration(float duration) { m_duration = duration; }
    float GetDuration() const { return m_duration; }
    void SetLooping(bool on) { SetFlag(kLoop, on); }
    void SetPingPong(bool on) { SetFlag(kPingPong, on); }
    bool IsLooping() const { return m_flags & kLoop; }

    // The time within [0, duration] that a time on the template's clock stands for.
    float MapTime(float t) const;

  protected:
    anAnimation() = default;
    anAnimation(const anAnimation&) = default;
    anAnimation& operator=(const anAnimation&) = default;

  private:
    static constexpr u8 kLoop = 1;
    static constexpr u8 kPingPong = 2;

    void SetFlag(u8 flag, bool on) { m_flags = on ? u8(m_flags | flag) : u8(m_flags & ~flag); }

    float m_duration = 0.0f;
    u8 m_flags = 0;
};

// One playing of a template: its start time. The template is not owned; whoever made the instance
// deletes it.
class anAnimInstance {
  public:
    explicit anAnimInstance(float startTime) : m_startTime(startTime) {}
    virtual ~anAnimInstance() = default;

    // A new instance of the same template with the same start time.
    virtual std::unique_ptr<anAnimInstance> Clone() const = 0;

    float GetStartTime() const { return m_startTime; }

  private:
    float m_startTime;
};
