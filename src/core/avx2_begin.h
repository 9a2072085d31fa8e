// Code from here to core/avx2_end.h is compiled for AVX2, and nothing before or after it. Include
// everything the code shares with the rest of the library first, so that the copies of shared inline
// code a file emits stay plain x86-64 (the linker keeps one copy of each for the whole library).
// No include guard: each begin is matched by an end.
#if defined(__clang__)
#pragma clang attribute push(__attribute__((target("avx2"))), apply_to = function)
#else
#pragma GCC push_options
#pragma GCC target("avx2")
#endif
