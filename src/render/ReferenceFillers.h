#pragma once

#include "render/RasterTriangle.h"

// Plain per-pixel versions of the fillers' inner loops, written for clarity, not speed. They
// share the set-up and row walk with the fast fillers and must write exactly the same pixels
// and depths; the tests compare the two.
namespace vardel::reference {

void fillShadedTriangle(const RasterTriangle& triangle, bool depth);
void fillTexturedTriangle(const RasterTriangle& triangle, bool mono, bool depth);

} // namespace vardel::reference
