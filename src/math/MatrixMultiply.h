#pragma once

#include <array>
#include <cstddef>

namespace vardel {

// c = a x b for row-major matrices of Rows x Inner and Inner x Columns. Each entry starts at
// 0 and adds a[i][k] * b[k][j] for k in order. The product is formed in a local first, so c
// may be the same matrix as a or b.
template <std::size_t Rows, std::size_t Inner, std::size_t Columns>
void multiplyMatrices(const std::array<std::array<double, Inner>, Rows>& a,
                      const std::array<std::array<double, Columns>, Inner>& b,
                      std::array<std::array<double, Columns>, Rows>& c) {
    std::array<std::array<double, Columns>, Rows> product;
    for (std::size_t i = 0; i < Rows; ++i) {
        for (std::size_t j = 0; j < Columns; ++j) {
            double sum = 0.0;
            for (std::size_t k = 0; k < Inner; ++k) {
                sum += a[i][k] * b[k][j];
            }
            product[i][j] = sum;
        }
    }
    c = product;
}

} // namespace vardel
