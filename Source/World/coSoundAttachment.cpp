#include "Source/World/coSoundAttachment.h"

#include "Engine/Audio/Sn/snSoundJob2D.h"

void coSoundAttachment::UpdateTransform(const maVector3d& position, const maRotation& /*rotation*/) {
    if (m_job)
        m_job->SetPosition(position);
}
