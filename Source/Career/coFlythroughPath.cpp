#include "Source/Career/coFlythroughPath.h"

void coFlythroughPath::AddPoint(const maVector3d& camera, const maVector3d& lookAt) {
    m_points.push_back(std::make_unique<coFlythroughPoint>(camera, lookAt));
}
