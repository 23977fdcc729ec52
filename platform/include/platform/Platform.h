#pragma once
// Umbrella header of the platform layer.
