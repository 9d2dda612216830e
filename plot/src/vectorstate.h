// Plain SSE arithmetic after code that leaves the upper halves of the AVX
// registers in use pays a penalty at every instruction: a window toolkit's
// own vector code may leave them so, and the sound of a plot then took ten
// times as long. Loops over many samples clear them first.
#pragma once

namespace vorel {

inline void clearUpperVectorState()
{
#if defined(__x86_64__) && defined(__GNUC__)
    if (__builtin_cpu_supports("avx"))
        __asm__ volatile("vzeroupper" ::: "xmm0", "xmm1", "xmm2", "xmm3", "xmm4", "xmm5", "xmm6", "xmm7", "xmm8",
                         "xmm9", "xmm10", "xmm11", "xmm12", "xmm13", "xmm14", "xmm15");
#endif
}

} // namespace vorel
