# SPDX-License-Identifier: MIT
# Cross-compiling the core for another of Debian's architectures with its
# cross compiler (g++-TRIPLET), run under qemu-user. Linked statically, so
# qemu needs no libraries of the other architecture.
#
#   cmake -DCMAKE_TOOLCHAIN_FILE=cmake/debian-cross.cmake -DTRESSIN_CROSS_TRIPLET=aarch64-linux-gnu ...
set(CMAKE_SYSTEM_NAME Linux)
if(NOT TRESSIN_CROSS_TRIPLET)
  message(FATAL_ERROR "debian-cross.cmake: say -DTRESSIN_CROSS_TRIPLET=aarch64-linux-gnu (or another)")
endif()
# The triplet's processor, and the name of qemu-user's emulator for it.
string(REGEX MATCH "^[^-]+" cpu ${TRESSIN_CROSS_TRIPLET})
set(qemu ${cpu})
if(cpu MATCHES "^i.86$")
  set(qemu i386)
elseif(cpu STREQUAL "arm")
  set(qemu arm)
endif()
set(CMAKE_SYSTEM_PROCESSOR ${cpu})
set(CMAKE_C_COMPILER ${TRESSIN_CROSS_TRIPLET}-gcc)
set(CMAKE_CXX_COMPILER ${TRESSIN_CROSS_TRIPLET}-g++)
set(CMAKE_FIND_ROOT_PATH /usr/${TRESSIN_CROSS_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
find_program(TRESSIN_QEMU qemu-${qemu} REQUIRED)
set(CMAKE_CROSSCOMPILING_EMULATOR ${TRESSIN_QEMU})
# Passed on to the builds CMake makes of its own to try the compiler.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES TRESSIN_CROSS_TRIPLET)
