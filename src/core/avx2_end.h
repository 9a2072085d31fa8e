// Ends the AVX2 code that core/avx2_begin.h started. No include guard: each begin is matched by an end.
#if defined(__clang__)
#pragma clang attribute pop
#else
#pragma GCC pop_options
#endif
