# Cross-building the headless back end and its tests for another processor with one of Debian's
# cross compilers (WIRBELBOX_TRIPLET: aarch64-linux-gnu, s390x-linux-gnu, arm-linux-gnueabihf, …).
# Its programs run under qemu's user-mode emulation, the cross compiler's libraries as their root:
# no machine image, no binfmt.
set(CMAKE_SYSTEM_NAME Linux)
string(REGEX REPLACE "-.*" "" CMAKE_SYSTEM_PROCESSOR ${WIRBELBOX_TRIPLET})
set(CMAKE_C_COMPILER ${WIRBELBOX_TRIPLET}-gcc)
set(CMAKE_CXX_COMPILER ${WIRBELBOX_TRIPLET}-g++)
# Libraries as Debian's multiarch installs them (qt6-base-dev:arm64 beside the build machine's).
set(CMAKE_LIBRARY_ARCHITECTURE ${WIRBELBOX_TRIPLET})
set(PKG_CONFIG_EXECUTABLE ${WIRBELBOX_TRIPLET}-pkg-config)
set(CMAKE_CROSSCOMPILING_EMULATOR qemu-${CMAKE_SYSTEM_PROCESSOR}-static -L /usr/${WIRBELBOX_TRIPLET})
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES WIRBELBOX_TRIPLET)
