#pragma once

// The simulation's metres and metres per second in the units the player chose (bool preference
// "metric units"): feet and miles per hour, or metres and kilometres per hour.
float coToDisplayLength(float metres);
float coToDisplaySpeed(float metresPerSecond);
