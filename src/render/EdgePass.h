#pragma once

#include "scene/RenderContext.h"

namespace vardel {

// Outlines every front-facing polygon of the polygon table in its own colour over the
// finished image (no depth test). Parts behind the near plane are cut away, and the edges
// the cut creates are not drawn.
void edgePass(RenderContext& context);

} // namespace vardel
