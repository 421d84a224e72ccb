#pragma once

// The closed R1 circuit: four chained straights of 20 and four right-angle turns of radius 15.
void DemoLayR1();
