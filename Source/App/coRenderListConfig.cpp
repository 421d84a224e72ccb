#include "Source/App/coRenderListConfig.h"

void coBuildRenderListConfigs(std::vector<coRenderListConfig>& list) {
    list.insert(list.end(), {{0, 2, 0, 1}, {0, 2, 0, 1}, {0, 2, 0, 1}, {0, 0, 1, 0}, {1, 0, 0, 0}});
}
