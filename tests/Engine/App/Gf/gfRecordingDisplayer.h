#pragma once
#include "Engine/App/Gf/gfErrorHandler.h"
#include "Engine/Core/Env/envUtf.h"

#include <string>
#include <vector>

// An error displayer that records what it is asked to show (in UTF-8) and answers with a fixed answer.
class gfRecordingDisplayer : public gfErrorDisplayer {
  public:
    struct Shown {
        u32 type;
        std::string message;
    };
    u32 Display(u32 type, const envString& message) override {
        shown.push_back({type, envStringToUtf8(message)});
        return answer;
    }
    std::vector<Shown> shown;
    u32 answer = gfAnswerOK;
};
