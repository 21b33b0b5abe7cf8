# Native Linux build for i386 with g++-multilib: the portable logic in the pointer and struct sizes of
# the shipped 32-bit exe. The distribution's GoogleTest is 64-bit; this build makes its own from the
# sources (TFM_GTEST_FROM_SOURCE in the native-x86 preset).
# SSE2 arithmetic, as the shipped exe does: doubles are rounded as on 64-bit, not kept in the x87's wider
# registers, so a pixel computed from a scale falls on the same row in every build.
set(CMAKE_C_FLAGS_INIT "-m32 -msse2 -mfpmath=sse")
set(CMAKE_CXX_FLAGS_INIT "-m32 -msse2 -mfpmath=sse")
set(CMAKE_EXE_LINKER_FLAGS_INIT -m32)
set(CMAKE_SHARED_LINKER_FLAGS_INIT -m32)
set(CMAKE_MODULE_LINKER_FLAGS_INIT -m32)
set(CMAKE_LIBRARY_ARCHITECTURE i386-linux-gnu)
