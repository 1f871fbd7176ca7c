# Cross-builds for 64-bit Windows with Debian's MinGW-w64 (GCC, POSIX threads); the built
# programs and tests run under Wine on the build machine.
#   cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TREVO_MINGW_TRIPLET x86_64-w64-mingw32)
# The POSIX thread model: std::thread and std::mutex need it in GCC 12.
set(CMAKE_C_COMPILER ${TREVO_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TREVO_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${TREVO_MINGW_TRIPLET}-windres)

# Headers and libraries of the target only; programs of the build machine.
set(CMAKE_FIND_ROOT_PATH /usr/${TREVO_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Tests and test discovery run the .exe files through Wine.
find_program(TREVO_WINE wine REQUIRED)
set(CMAKE_CROSSCOMPILING_EMULATOR ${TREVO_WINE})

# No DLL beside the .exe: the C++ and GCC runtimes and winpthread are linked in. winpthread
# comes as a DLL first in the library path, so -static makes the linker take its archive.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
