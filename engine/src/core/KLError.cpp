#include "korlith3d/types.h"

KLError::~KLError() = default;
