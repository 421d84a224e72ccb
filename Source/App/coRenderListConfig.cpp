#include "Source/App/coRenderListConfig.h"

void coBuildRenderListConfigs(std::vector<g3dRenderListConfig>& list) {
    list.insert(list.end(),
                {{0, 2, 0, true}, {0, 2, 0, true}, {0, 2, 0, true}, {0, 0, 1, false}, {1, 0, 0, false}});
}
