#pragma once

#include "scene/RenderContext.h"

namespace vardel {

// For every object of the context in list order: takes the context's view size, builds the
// object's matrices, and transforms and projects its points. The camera's focal must be set
// for this frame.
void prepareObjects(RenderContext& context);

} // namespace vardel
