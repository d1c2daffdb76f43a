# Cross-building the headless back end and its tests for another processor with one of Debian's
# cross compilers (WIRBELBOX_TRIPLET: aarch64-linux-gnu, s390x-linux-gnu, arm-linux-gnueabihf, …).
# Its programs run under qemu's user-mode emulation: no machine image, no binfmt.
set(CMAKE_SYSTEM_NAME Linux)
string(REGEX REPLACE "-.*" "" CMAKE_SYSTEM_PROCESSOR ${WIRBELBOX_TRIPLET})
set(CMAKE_C_COMPILER ${WIRBELBOX_TRIPLET}-gcc)
set(CMAKE_CXX_COMPILER ${WIRBELBOX_TRIPLET}-g++)
# Libraries as Debian's multiarch installs them (qt6-base-dev:arm64 beside the build machine's).
set(CMAKE_LIBRARY_ARCHITECTURE ${WIRBELBOX_TRIPLET})
set(PKG_CONFIG_EXECUTABLE ${WIRBELBOX_TRIPLET}-pkg-config)
# Their root: the processor's own libraries where Debian's multiarch has them (as beside :arm64 Qt),
# else the cross compiler's. The loader and the C library must come from one package: the cross
# root's loader picks up a newer multiarch C library, and the pair hangs at the first thread.
set(root /usr/${WIRBELBOX_TRIPLET})
if(EXISTS /usr/lib/${WIRBELBOX_TRIPLET}/libc.so.6 AND EXISTS /usr/lib/${WIRBELBOX_TRIPLET}/libstdc++.so.6)
  set(root /)
endif()
set(CMAKE_CROSSCOMPILING_EMULATOR qemu-${CMAKE_SYSTEM_PROCESSOR}-static -L ${root})
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES WIRBELBOX_TRIPLET)
