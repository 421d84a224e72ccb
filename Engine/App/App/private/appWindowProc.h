#pragma once
#include "Engine/Core/Env/envTypes.h"

class plWindowHost;
struct plMessage;

// The window procedure: turns one message into application events. Returns the message's result.
i64 appWindowProc(plWindowHost& host, const plMessage& message);
// Takes one message, waiting for it while suspended, and translates and dispatches it. False when
// none was taken (a failed wait takes none).
bool appHandleOneMessage(plWindowHost& host);
// The private-use character that a key down of a key without a character stands for; 0 for others.
u16 appKeyDownChar(u32 virtualKey);
