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
// Platform (Windows): mingw-w64's DLL start-up code does not call _fpreset,
// neither as the DLL is loaded nor as the host's threads start. Its TLS
// callback names it only in the branch for a new thread, which its TLS
// dispatcher never takes (it passes on process attach and the detaches
// only). That reference alone would link the runtime's own _fpreset, an
// fninit that would set the x87 unit of the calling host thread to 64-bit
// precision. This one, which does nothing, is linked instead, so the module
// holds no code that changes the host's x87 state, whatever a runtime
// version does with the reference; the plug-in itself computes nothing on
// the x87 unit.
extern "C" void _fpreset(void) {}
#endif
