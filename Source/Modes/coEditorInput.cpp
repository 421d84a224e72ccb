#include "Source/Modes/coEditorInput.h"

namespace {
coEditorInput* g_input = nullptr;
}

void coSetEditorInput(coEditorInput* input) {
    g_input = input;
}

coEditorInput* coGetEditorInput() {
    return g_input;
}
