#pragma once
#include <string>

// The display adapter's name, "" until the hardware check has run.
const std::string& g3dGetAdapterName();
// Checks that a 3D device factory exists and records the adapter's name; g3dNo3DHardwareX when
// there is none.
void g3dCheckHardware(std::string& adapterName);
