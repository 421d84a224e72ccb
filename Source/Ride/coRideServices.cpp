#include "Source/Ride/coRideServices.h"

namespace {
coRideAudio g_silence;
coRideCarScene g_noCars;
const coRideProps g_noProps;

coRideAudio* g_audio = &g_silence;
coRideCarScene* g_carScene = &g_noCars;
const coRideProps* g_props = &g_noProps;
} // namespace

void coSetRideAudio(coRideAudio* audio) {
    g_audio = audio ? audio : &g_silence;
}

coRideAudio& coGetRideAudio() {
    return *g_audio;
}

void coSetRideCarScene(coRideCarScene* scene) {
    g_carScene = scene ? scene : &g_noCars;
}

coRideCarScene& coGetRideCarScene() {
    return *g_carScene;
}

void coSetRideProps(const coRideProps* props) {
    g_props = props ? props : &g_noProps;
}

const coRideProps& coGetRideProps() {
    return *g_props;
}
