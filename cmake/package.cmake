# What `cmake --install` lays out and `cpack` zips: one folder that runs where
# it is put. The program looks for its guide beside itself, so the prefix is
# the program's own folder on both builds (the program, guide/ and the readme
# side by side). The guide and the readme are installed by guide/CMakeLists.txt.
install(TARGETS nerubato quorvex RUNTIME DESTINATION .)
# The runner's windows, which it loads from beside itself.
install(TARGETS quorvexui LIBRARY DESTINATION . RUNTIME DESTINATION .)

if(WIN32)
    # Everything nerubato.exe loads that a Windows without Qt lacks: Qt's three
    # libraries, the platform plugin (no window without it) and the native
    # style (without it Qt falls back on its plain one without a word). As
    # programs, so that they keep the execute right an unzipper that maps modes
    # to rights (Cygwin's, MSYS's) must give a DLL.
    set(qt_files $<TARGET_FILE:Qt6::Core> $<TARGET_FILE:Qt6::Gui> $<TARGET_FILE:Qt6::Widgets>)
    install(PROGRAMS ${qt_files} DESTINATION .)
    install(PROGRAMS $<TARGET_FILE:Qt6::QWindowsIntegrationPlugin> DESTINATION platforms)
    install(PROGRAMS $<TARGET_FILE:Qt6::QWindowsVistaStylePlugin> DESTINATION styles)
    set(installed Qt6Core.dll Qt6Gui.dll Qt6Widgets.dll platforms/qwindows.dll
        styles/qwindowsvistastyle.dll)

    # The MinGW runtime the program and Qt link against, from where Debian's
    # posix GCC and winpthreads put it (scripts/wine.sh passes its own list, the
    # folders where Wine finds them for the tests).
    set(NERUBATO_RUNTIME_DIRS /usr/lib/gcc/x86_64-w64-mingw32/12-posix /usr/x86_64-w64-mingw32/lib
        CACHE STRING "Folders holding the MinGW runtime DLLs that go into the package")
    foreach(dll libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
        unset(file)
        find_file(file ${dll} PATHS ${NERUBATO_RUNTIME_DIRS} NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH
            NO_CACHE)
        if(NOT file)
            message(FATAL_ERROR "The package needs ${dll}, which is in none of NERUBATO_RUNTIME_DIRS "
                "(${NERUBATO_RUNTIME_DIRS}): install g++-mingw-w64-x86-64-posix, or name the folder "
                "holding it with -DNERUBATO_RUNTIME_DIRS=...")
        endif()
        install(PROGRAMS ${file} DESTINATION .)
        list(APPEND installed ${dll})
    endforeach()

    # `--strip` (and CPack's CPACK_STRIP_FILES) strips only the targets of this
    # build; the DLLs copied in come with their symbols (libstdc++ alone is 23 MB),
    # so they are stripped here alike.
    list(TRANSFORM installed PREPEND "\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/")
    install(CODE "
        if(CMAKE_INSTALL_DO_STRIP)
            execute_process(COMMAND \"${CMAKE_STRIP}\" --strip-unneeded ${installed}
                COMMAND_ERROR_IS_FATAL ANY)
        endif()")

    # cpack -G ZIP makes nerubato-windows-x64.zip, which unzips as nerubato/: the
    # folder is the install prefix, since CPack would name a top folder of its own
    # after the file.
    set(CPACK_GENERATOR ZIP)
    set(CPACK_PACKAGE_FILE_NAME nerubato-windows-x64)
    set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
    set(CPACK_PACKAGING_INSTALL_PREFIX /nerubato)
    set(CPACK_STRIP_FILES ON)
    set(CPACK_VERBATIM_VARIABLES ON)
    include(CPack)
endif()
