#pragma once

namespace vardel {

// Light intensity of a point or triangle corner per colour channel, nominally 0..1.
struct VertexShade {
    double r = 0.0;
    double g = 0.0;
    double b = 0.0;
};

// Texture coordinate in texels: u along a texture row, v down the rows.
struct TexCoord {
    double u = 0.0;
    double v = 0.0;
};

} // namespace vardel
