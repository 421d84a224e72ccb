#include "Source/Ride/coRideServices.h"

#include "Source/Settings/coSeam.h"

namespace {
coRideAudio g_silence;
coRideCarScene g_noCars;
const coRideProps g_noProps;

constinit coSeam<coRideAudio> g_audio(g_silence);
constinit coSeam<coRideCarScene> g_carScene(g_noCars);
constinit coSeam<const coRideProps> g_props(g_noProps);
} // namespace

void coSetRideAudio(coRideAudio* audio) {
    g_audio.Set(audio);
}

coRideAudio& coGetRideAudio() {
    return g_audio.Get();
}

void coSetRideCarScene(coRideCarScene* scene) {
    g_carScene.Set(scene);
}

coRideCarScene& coGetRideCarScene() {
    return g_carScene.Get();
}

void coSetRideProps(const coRideProps* props) {
    g_props.Set(props);
}

const coRideProps& coGetRideProps() {
    return g_props.Get();
}
