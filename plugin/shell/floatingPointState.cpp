// Platform: the floating-point state the plug-in relies on, and leaves alone.

// Every float the plug-in stores is rounded to single precision as it is
// computed, as on every build. On 32-bit x86 that holds only for SSE
// arithmetic (the x87 unit keeps intermediates wider): a build without the
// flags of cmake/mingw-i686.cmake stops here.
#if defined(__i386__) && !defined(__SSE2_MATH__)
#error                                                                                                       \
    "32-bit x86 builds need -msse2 -mfpmath=sse: every float the plug-in stores must be rounded as on other builds"
#endif

#if defined(_WIN32)
// Platform (Windows): MinGW's start-up code calls _fpreset as the DLL is
// loaded and as each new thread of the host starts, which re-initialises the
// x87 unit (precision, rounding, exception masks) of the host's own threads.
// The plug-in computes nothing on the x87 unit and must not change the host's
// state, so this one, which does nothing, is linked instead.
extern "C" void _fpreset(void) {}
#endif
