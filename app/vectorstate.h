// Some of Qt's SIMD code (its UTF-8 conversion among it) returns with the
// upper halves of the AVX registers in use. Until they are cleared, every
// SSE instruction of ours and the C library's sine run many times slower on
// Intel processors (seen here: 120 ns instead of 7 ns a sine, "Todas" 3.6 ms
// instead of 1.4 ms). Clearing them is one instruction, so the drawing
// surface does it before it hands control back to the plotting code.
#pragma once

void clearUpperVectorState();
