#pragma once

// Whether SSE2 intrinsics can be used: VARDEL_SSE2 is 1 on x86-64, where SSE2 is part of every
// processor, and 0 elsewhere (the WebAssembly build). Each SSE2 loop keeps a plain one beside
// it that computes the same values, which runs where VARDEL_SSE2 is 0.

#if defined(__SSE2__) || defined(_M_X64)
#define VARDEL_SSE2 1
#include <emmintrin.h>
#else
#define VARDEL_SSE2 0
#endif
