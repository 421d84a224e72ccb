#include "Engine/Audio/Sn/snSoundJob.h"

void snSoundJob::NameAfter(const fsLocator& file) {
    if (m_name.GetLength() == 0 && file.GetComponentCount() > 0)
        m_name = file.GetLastComponent();
}
