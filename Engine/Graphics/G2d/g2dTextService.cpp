#include "Engine/Graphics/G2d/g2dTextService.h"

namespace {

class StandInTextService : public g2dTextService {
  public:
    g2dFont GetFont(const envString&, i32) override { return 0; }
    void ReleaseFont(g2dFont) override {}
    void MeasureText(g2dFont, const envString&, u32& width, u32& height) override { width = height = 0; }
    void DrawText(g2dFont, const envString&, const plD3dRect&, u32) override {}
};

StandInTextService g_standIn;
g2dTextService* g_service = &g_standIn;

} // namespace

void g2dSetTextService(g2dTextService* service) {
    g_service = service ? service : &g_standIn;
}

g2dTextService& g2dGetTextService() {
    return *g_service;
}
