#pragma once
#include "Engine/Core/Env/envTypes.h"

#include <functional>
#include <string>
#include <vector>

class guiWindow;

// A script of the player's input played into the running game a frame at a time (the program's
// --inject): pointer moves, clicks on widgets found by their names, keys, typing, waits for modes, and
// checks of what the screens show. Steps are separated by ";" or line ends; "#" starts a comment line.
//   move X,Y | motion DX,DY | down | up | key NAME | type TEXT | frame [N] | wait SECONDS
//   wait mode N [SECONDS] | wait ride-end [SECONDS] (the ride mode current and its train stopped)
//   click PATH | point PATH | expect PATH "REGEX" | expect checked PATH
//   expect unchecked PATH | expect circuit closed N | expect props N | close | shot FILE
//   repeat N STEP (the step N times over)
// "type" types into the name keyboard when it is up, a character a frame as its keys do; elsewhere the
// text arrives as typed characters.
// A click ends a frame after its release, once the widget has acted on it, so that the steps after it
// apply in their written order.
// "point" only moves the pointer onto the widget, so that "down", "motion" and "up" can drag from it;
// "motion" moves the mouse by that much without moving the pointer, as the tools that turn things read it.
// NAME is Return, Escape, F7, Minus, Equals, Tab or a scan code from 1 to 255; PATH names widgets from the GUI's root,
// each found among the descendants of the one before ("Hud/TrackManip/Loop").
class coInjector {
  public:
    using ShotWriter = std::function<bool(const std::string& path)>;
    enum class Result { Running, Done, Failed };

    // Throws std::invalid_argument naming the first step it cannot read.
    coInjector(const std::string& script, ShotWriter shot);

    // Plays what is due this frame.
    Result Step();
    // The failed step and why.
    const std::string& GetFailure() const { return m_failure; }

    // A widget by its path; null when a name is not found among visible widgets.
    static guiWindow* FindWidget(const std::string& path);

  private:
    void AddStep(const std::string& step);

    enum class Verb {
        Move,
        Motion,
        Down,
        Up,
        Key,
        Type,
        Frame,
        Wait,
        WaitMode,
        WaitRideEnd,
        Click,
        Point,
        Expect,
        ExpectCircuit,
        ExpectChecked,
        ExpectProps,
        Close,
        Shot
    };
    struct Action {
        Verb verb;
        std::string text; // the step as written, for failures
        std::string argument;
        f32 x = 0.0f;
        f32 y = 0.0f;
        i32 number = 0;
        f64 seconds = 0.0;
    };
    // A click's or a point's steps, a frame or more each, in the order played.
    enum class ClickPhase { FindWidget, ReachWidget, Press, Release, WidgetActs };

    static Action Parse(const std::string& step);
    // One step's share of this frame: true when the frame has had its input.
    bool Play(Action& action);
    // The mouse, key, text or close input of the step, sent at once.
    void SendInput(const Action& action);
    // A point or a click, a phase at a time.
    bool PlayClick(Action& action);
    // Moves the pointer to the centre of the widget the step names, once it is on screen.
    bool AimAtWidget(Action& action);
    // A wait or expectation: the next step once it holds, a failure once its time is up.
    bool Await(const Action& action);
    // Whether what the step waits for holds; what is seen instead.
    static bool Holds(const Action& action, std::string& seen);
    bool Fail(const Action& action, const std::string& why);
    bool TimedOut(f64 seconds) const;
    void Advance();

    std::vector<Action> m_actions;
    ShotWriter m_shot;
    size_t m_next = 0;
    i32 m_framesPlayed = 0;
    ClickPhase m_click = ClickPhase::FindWidget;
    // The application time the current step began at (the first at the first frame).
    f64 m_started = 0.0;
    u8 m_heldKey = 0;
    bool m_focused = false;
    std::string m_failure;
};
