#pragma once

#include <array>

namespace vardel {

// Row-major matrices. A point p transforms as p x M, so a 4 x 3 matrix holds a 3 x 3 linear
// part in rows 0..2 and a translation in row 3.
using Matrix3 = std::array<std::array<double, 3>, 3>;
using Matrix43 = std::array<std::array<double, 3>, 4>;
using Matrix44 = std::array<std::array<double, 4>, 4>;

} // namespace vardel
