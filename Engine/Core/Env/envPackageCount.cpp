#include "Engine/Core/Env/envPackageCount.h"

#include "Engine/Core/Env/dbgLog.h"

bool envPackageCount::CountDown() {
    if (m_count == 0) {
        dbgWarning(__FILE__, __LINE__, "%s shut down more often than started; ignored", m_package);
        return false;
    }
    return --m_count == 0;
}
