#include "Engine/GUI/Gnf/gnfSelection.h"

const envString& gnfEmptyString() {
    static const envString empty;
    return empty;
}
