#include "Source/App/coInjector.h"

#include "Engine/App/App/appClock.h"
#include "Engine/Core/Env/envString.h"
#include "Engine/Core/Env/envUtf.h"
#include "Engine/GUI/Gui/guiCheckbox.h"
#include "Engine/GUI/Gui/guiContainer.h"
#include "Engine/GUI/Gui/guiCursor.h"
#include "Engine/GUI/Gui/guiMaterial.h"
#include "Engine/GUI/Gui/guiScreen.h"
#include "Engine/GUI/Gui/guiText.h"
#include "Engine/GUI/Gui/guiWindowMgr.h"
#include "Engine/Graphics/G2d/private/g2dScreenPAC.h"
#include "Engine/Platform/Window/plDirectInputKeys.h"
#include "Engine/Platform/Window/plWindowHost.h"
#include "Engine/Platform/plServices.h"
#include "Source/Modes/coModeStack.h"
#include "Source/Ride/coRide.h"
#include "Source/Screens/coKeyboardDialog.h"
#include "Source/Track/coCircuit.h"
#include "Source/World/coPropList.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <regex>
#include <sstream>
#include <stdexcept>

namespace {

constexpr f64 kDefaultTimeout = 30.0;
// A ride of a long coaster outlasts the usual wait.
constexpr f64 kRideTimeout = 300.0;
constexpr f64 kFindTimeout = 10.0;

struct NamedKey {
    const char* name;
    u8 scanCode;
};
constexpr NamedKey kKeys[] = {{"Return", plDik::Return}, {"Escape", plDik::Escape}, {"F7", plDik::F7},
                              {"Minus", plDik::Minus},   {"Equals", plDik::Equals}, {"Tab", plDik::Tab}};

i32 ScanCode(const std::string& name) {
    for (const NamedKey& key : kKeys)
        if (name == key.name)
            return key.scanCode;
    i32 number = -1;
    const auto [end, error] = std::from_chars(name.data(), name.data() + name.size(), number);
    return error == std::errc() && end == name.data() + name.size() && number > 0 && number < 256 ? number
                                                                                                  : -1;
}

void Deliver(const plInjectedInput& input) {
    if (plWindowHost* host = plGetServices().window)
        host->InjectInput(input);
}

void Inject(plInjectedInput::Kind kind, bool down = false, u8 scanCode = 0, const std::string& text = {}) {
    plInjectedInput input;
    input.kind = kind;
    input.down = down;
    input.scanCode = scanCode;
    input.text = text;
    Deliver(input);
}

std::string Rest(std::istringstream& words) {
    std::string rest;
    std::getline(words >> std::ws, rest);
    return rest;
}

guiWindow* FindDescendant(guiWindow* from, const std::string& name) {
    auto* container = dynamic_cast<guiContainer*>(from);
    if (!container)
        return nullptr;
    for (i32 i = 0; i < container->GetChildCount(); ++i) {
        guiWindow* child = container->GetChild(i);
        if (!child->IsEffectivelyVisible())
            continue;
        if (child->GetName() == name)
            return child;
        if (guiWindow* found = FindDescendant(child, name))
            return found;
    }
    return nullptr;
}

// The screen boxes of a widget's drawn parts joined, in device coordinates.
struct ScreenRect {
    f32 minX = 0.0f, maxX = 0.0f, minY = 0.0f, maxY = 0.0f;
    bool any = false;

    void Join(const guiWindow* window) {
        if (!window->IsEffectivelyVisible())
            return;
        if (const auto* material = dynamic_cast<const guiMaterial*>(window)) {
            const maBoundingBox& box = material->GetScreenBox();
            if (box.maxX > box.minX && box.maxY > box.minY) {
                minX = any ? std::min(minX, box.minX) : box.minX;
                maxX = any ? std::max(maxX, box.maxX) : box.maxX;
                minY = any ? std::min(minY, box.minY) : box.minY;
                maxY = any ? std::max(maxY, box.maxY) : box.maxY;
                any = true;
            }
        }
        if (const auto* container = dynamic_cast<const guiContainer*>(window))
            for (i32 i = 0; i < container->GetChildCount(); ++i)
                Join(container->GetChild(i));
    }
};

// The first text a widget shows in its idle state: its own, or its first text part's.
bool TextOf(guiWindow* window, std::string& out) {
    if (auto* text = dynamic_cast<guiText*>(window)) {
        out = envStringToNarrow(text->GetText(0));
        return true;
    }
    if (auto* container = dynamic_cast<guiContainer*>(window))
        for (i32 i = 0; i < container->GetChildCount(); ++i)
            if (TextOf(container->GetChild(i), out))
                return true;
    return false;
}

// The system's pointer moves, as the player's mouse moves it; the GUI reads it at its next update.
void MovePointer(f32 x, f32 y) {
    if (!g_pdevice)
        return;
    const maVector2d pixels = guiGuiToScreen({x, y});
    g_pdevice->SetCursorPosition(static_cast<i32>(std::lround(pixels.x)),
                                 static_cast<i32>(std::lround(pixels.y)), 0);
}

// Whether the widget that the path (before the line end) names shows a text that the pattern (after it)
// finds; what it shows otherwise.
bool Shows(const std::string& pathAndPattern, std::string& seen) {
    const size_t split = pathAndPattern.find('\n');
    guiWindow* widget = coInjector::FindWidget(pathAndPattern.substr(0, split));
    std::string shown;
    const bool hasText = widget && TextOf(widget, shown);
    seen = widget ? "it shows \"" + shown + "\"" : "no such widget on screen";
    return hasText && std::regex_search(shown, std::regex(pathAndPattern.substr(split + 1)));
}

i32 CurrentModeId() {
    const coMode* current = coCurrentMode();
    for (i32 id = 0; id < coModeTableSize; ++id)
        if (current && coGetMode(id) == current)
            return id;
    return -1;
}

} // namespace

coInjector::coInjector(const std::string& script, ShotWriter shot) : m_shot(std::move(shot)) {
    std::string step;
    std::istringstream steps(script);
    while (std::getline(steps, step)) {
        if (step.find_first_not_of(" \t") == std::string::npos || step[step.find_first_not_of(" \t")] == '#')
            continue;
        std::istringstream parts(step);
        std::string part;
        while (std::getline(parts, part, ';'))
            if (part.find_first_not_of(" \t\r") != std::string::npos)
                AddStep(part);
    }
}

void coInjector::AddStep(const std::string& step) {
    std::istringstream words(step);
    std::string verb;
    words >> verb;
    if (verb != "repeat") {
        m_actions.push_back(Parse(step));
        return;
    }
    int count = 0;
    const std::string repeated = words >> count ? Rest(words) : std::string();
    if (count < 1 || repeated.empty())
        throw std::invalid_argument("cannot read the step \"" + step + "\"");
    m_actions.insert(m_actions.end(), static_cast<size_t>(count), Parse(repeated));
}

coInjector::Action coInjector::Parse(const std::string& step) {
    std::istringstream words(step);
    std::string verb, word;
    words >> verb;
    Action action{Verb::Frame, step, {}};
    action.number = 1;
    char comma = 0;
    const auto bad = [&step] { return std::invalid_argument("cannot read the step \"" + step + "\""); };
    if (verb == "move" || verb == "motion") {
        if (!(words >> action.x >> comma >> action.y) || comma != ',')
            throw bad();
        action.verb = verb == "move" ? Verb::Move : Verb::Motion;
    } else if (verb == "down" || verb == "up" || verb == "close") {
        action.verb = verb == "down" ? Verb::Down : verb == "up" ? Verb::Up : Verb::Close;
    } else if (verb == "key") {
        if (!(words >> word) || (action.number = ScanCode(word)) < 0)
            throw bad();
        action.verb = Verb::Key;
    } else if (verb == "type") {
        action.verb = Verb::Type;
        action.argument = Rest(words);
    } else if (verb == "frame") {
        if (words >> word &&
            (std::from_chars(word.data(), word.data() + word.size(), action.number).ec != std::errc() ||
             action.number < 1))
            throw bad();
    } else if (verb == "wait") {
        action.seconds = kDefaultTimeout;
        if (words >> word && word == "mode") {
            action.verb = Verb::WaitMode;
            if (!(words >> action.number))
                throw bad();
            words >> action.seconds;
        } else if (word == "ride-end") {
            action.verb = Verb::WaitRideEnd;
            action.seconds = kRideTimeout;
            if (f64 seconds = 0.0; words >> seconds)
                action.seconds = seconds;
        } else {
            action.verb = Verb::Wait;
            std::istringstream seconds(word);
            if (!(seconds >> action.seconds) || action.seconds < 0.0)
                throw bad();
        }
    } else if (verb == "click" || verb == "point" || verb == "shot") {
        action.verb = verb == "click" ? Verb::Click : verb == "point" ? Verb::Point : Verb::Shot;
        action.argument = Rest(words);
        if (action.argument.empty())
            throw bad();
    } else if (verb == "expect") {
        if (!(words >> word))
            throw bad();
        if (word == "checked" || word == "unchecked") {
            // The rest names the box, so its path may hold blanks.
            action.verb = Verb::ExpectChecked;
            action.number = word == "checked" ? 1 : 0;
            action.argument = Rest(words);
            if (action.argument.empty())
                throw bad();
        } else if (word == "circuit") {
            action.verb = Verb::ExpectCircuit;
            if (!(words >> word) || word != "closed" || !(words >> action.number))
                throw bad();
        } else if (word == "props") {
            action.verb = Verb::ExpectProps;
            if (!(words >> action.number))
                throw bad();
        } else {
            // Widget names hold spaces ("Time Stat"): the path runs up to the quoted pattern.
            action.verb = Verb::Expect;
            const std::string more = Rest(words);
            const std::string rest = more.empty() ? word : word + ' ' + more;
            const size_t quote = rest.find('"');
            if (quote == std::string::npos || quote == 0 || rest.size() - quote < 2 || rest.back() != '"')
                throw bad();
            action.argument = rest.substr(0, rest.find_last_not_of(' ', quote - 1) + 1);
            action.argument += '\n' + rest.substr(quote + 1, rest.size() - quote - 2);
        }
        action.seconds = kFindTimeout;
    } else {
        throw bad();
    }
    return action;
}

coInjector::Result coInjector::Step() {
    if (!m_failure.empty())
        return Result::Failed;
    if (!m_focused) {
        // Without the focus the game reads no input at all.
        Inject(plInjectedInput::Kind::Focus);
        m_focused = true;
        m_started = appGetTime();
        return Result::Running;
    }
    if (m_heldKey != 0) {
        Inject(plInjectedInput::Kind::Key, false, m_heldKey);
        m_heldKey = 0;
        return Result::Running;
    }
    while (m_next < m_actions.size())
        if (Play(m_actions[m_next]))
            return m_failure.empty() ? Result::Running : Result::Failed;
    return Result::Done;
}

void coInjector::Advance() {
    ++m_next;
    m_framesPlayed = 0;
    m_click = ClickPhase::FindWidget;
    m_started = appGetTime();
}

bool coInjector::Fail(const Action& action, const std::string& why) {
    m_failure = "\"" + action.text + "\": " + why;
    return true;
}

// In the application's time, which a run with a fixed frame step moves by the step each frame: waits
// then last the same frames however busy the machine is.
bool coInjector::TimedOut(f64 seconds) const {
    return appGetTime() - m_started >= seconds;
}

guiWindow* coInjector::FindWidget(const std::string& path) {
    guiWindow* window = guiWindowMgr::GetRoot();
    std::istringstream names(path);
    std::string name;
    while (window && std::getline(names, name, '/'))
        window = FindDescendant(window, name);
    return window;
}

bool coInjector::Play(Action& action) {
    switch (action.verb) {
    case Verb::Move:
        MovePointer(action.x, action.y);
        Advance();
        return false;
    case Verb::Motion:
    case Verb::Down:
    case Verb::Up:
    case Verb::Key:
    case Verb::Type:
    case Verb::Close:
        SendInput(action);
        Advance();
        return true;
    case Verb::Frame:
        if (++m_framesPlayed >= action.number)
            Advance();
        return true;
    case Verb::Wait:
        if (TimedOut(action.seconds))
            Advance();
        return true;
    case Verb::Point:
    case Verb::Click:
        return PlayClick(action);
    case Verb::WaitMode:
    case Verb::WaitRideEnd:
    case Verb::Expect:
    case Verb::ExpectCircuit:
    case Verb::ExpectChecked:
    case Verb::ExpectProps:
        return Await(action);
    case Verb::Shot:
        if (!m_shot || !m_shot(action.argument))
            return Fail(action, "the picture was not written");
        Advance();
        return false;
    }
    return false;
}

void coInjector::SendInput(const Action& action) {
    switch (action.verb) {
    case Verb::Motion: {
        plInjectedInput motion;
        motion.kind = plInjectedInput::Kind::MouseMotion;
        motion.dx = static_cast<i32>(action.x);
        motion.dy = static_cast<i32>(action.y);
        Deliver(motion);
        break;
    }
    case Verb::Down:
    case Verb::Up:
        Inject(plInjectedInput::Kind::MouseButton, action.verb == Verb::Down);
        break;
    case Verb::Key:
        m_heldKey = static_cast<u8>(action.number);
        Inject(plInjectedInput::Kind::Key, true, m_heldKey);
        break;
    case Verb::Type:
        // The name keyboard reads the keys, not typed characters: the text goes to it as its keys type.
        if (auto* keyboard = dynamic_cast<coKeyboardDialog*>(FindWidget("Keyboard Dialog")))
            keyboard->Type(envString(envUtf8ToUtf16(action.argument).c_str()));
        else
            Inject(plInjectedInput::Kind::Text, false, 0, action.argument);
        break;
    case Verb::Close:
        Inject(plInjectedInput::Kind::Close);
        break;
    default:
        break;
    }
}

bool coInjector::PlayClick(Action& action) {
    switch (m_click) {
    case ClickPhase::FindWidget:
        return AimAtWidget(action);
    // As a player waits for the pointer to reach the widget before pressing; pointing ends there.
    case ClickPhase::ReachWidget: {
        const maVector2d at = guiCursorMgr::GetPosition();
        if (std::fabs(at.x - action.x) > 1.5f || std::fabs(at.y - action.y) > 1.5f)
            return TimedOut(kFindTimeout) ? Fail(action, "the pointer stays off the widget") : true;
        if (action.verb == Verb::Point)
            Advance();
        else
            m_click = ClickPhase::Press;
        return true;
    }
    case ClickPhase::Press:
        Inject(plInjectedInput::Kind::MouseButton, true);
        m_click = ClickPhase::Release;
        return true;
    case ClickPhase::Release:
        Inject(plInjectedInput::Kind::MouseButton, false);
        m_click = ClickPhase::WidgetActs;
        return true;
    // The frame after the release is the widget's to act on it, so the next step follows the click's work
    // (text typed after a click on Clear stays).
    case ClickPhase::WidgetActs:
        Advance();
        return true;
    }
    return true;
}

bool coInjector::AimAtWidget(Action& action) {
    ScreenRect box;
    if (guiWindow* widget = FindWidget(action.argument))
        box.Join(widget);
    if (!box.any)
        return TimedOut(kFindTimeout) ? Fail(action, "no such widget on screen") : true;
    i32 width = 0, height = 0;
    guiGetScreenSize(width, height);
    // The box's centre from device coordinates back to GUI pixels.
    action.x = ((box.minX + box.maxX) / 2.0f + 1.0f) * static_cast<f32>(width) / 2.0f + 0.5f;
    action.y = (1.0f - (box.minY + box.maxY) / 2.0f) * static_cast<f32>(height) / 2.0f + 0.5f;
    MovePointer(action.x, action.y);
    m_click = ClickPhase::ReachWidget;
    return true;
}

bool coInjector::Await(const Action& action) {
    std::string seen;
    if (Holds(action, seen)) {
        Advance();
        return false;
    }
    return TimedOut(action.seconds) ? Fail(action, seen) : true;
}

bool coInjector::Holds(const Action& action, std::string& seen) {
    switch (action.verb) {
    // A mode counts once it has been entered: a pushed mode enters only at the manager's next update.
    case Verb::WaitMode:
        seen = "mode " + std::to_string(CurrentModeId()) + " stayed";
        return CurrentModeId() == action.number && !coModeStackIsNewlyCurrent();
    case Verb::WaitRideEnd:
        seen = "mode " + std::to_string(CurrentModeId()) + (coRideIsRunning() ? ", the ride running" : "");
        return CurrentModeId() == coModeIdRide && !coModeStackIsNewlyCurrent() && !coRideIsRunning();
    case Verb::Expect:
        return Shows(action.argument, seen);
    case Verb::ExpectCircuit:
        seen =
            std::to_string(coCircuitPieceCount()) + " pieces, " + (coCircuitIsClosed() ? "closed" : "open");
        return coCircuitIsClosed() && coCircuitPieceCount() >= action.number;
    case Verb::ExpectChecked: {
        const auto* box = dynamic_cast<const guiCheckbox*>(FindWidget(action.argument));
        seen = box ? (box->IsChecked() ? "it is checked" : "it is unchecked") : "no such box on screen";
        return box && box->IsChecked() == (action.number == 1);
    }
    case Verb::ExpectProps: {
        std::vector<coProp*> props;
        coPropList::CollectAll(props);
        seen = std::to_string(props.size()) + " props";
        return static_cast<i32>(props.size()) == action.number;
    }
    default:
        return false;
    }
}
