# Cross-compiling for Windows x86-64 with Debian's MinGW-w64 (the posix thread
# model, which Qt's std::thread needs). Used to build Qt for Windows
# (scripts/windows-qt.sh) and this project against it (scripts/windows.sh, which
# passes that Qt's prefix as NERUBATO_WINDOWS_QT).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)

# Libraries and packages come from the MinGW tree and that Qt only, never from
# the Linux host's own.
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32 ${NERUBATO_WINDOWS_QT})
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES NERUBATO_WINDOWS_QT)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
