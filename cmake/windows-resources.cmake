# What Windows reads from a program's file itself, before it runs: the icon
# Explorer shows, the version its properties show and the manifest. Compiled
# by the RC language (the toolchain's windres).
if(WIN32)
    enable_language(RC)
endif()

# nerubato_windows_resources(TARGET ICON <ico> DESCRIPTION <text> INTERNAL <name>)
#   TARGET       the program's executable target; its file name (OUTPUT_NAME, or
#                the target's name, with .exe) becomes OriginalFilename
#   ICON         its .ico (relative to the calling folder, or absolute): the
#                file's first icon, and so the one Explorer shows
#   DESCRIPTION  FileDescription, what Explorer shows as the file's description
#   INTERNAL     InternalName, and the manifest's assembly name
# ProductName is the product's, ネルバト, for every program of it; the version
# is the top project()'s; the manifest (resources/nerubato.manifest.in) is the
# same for every program. resources/program.rc.in is configured into TARGET.rc
# in the calling folder's build directory. Does nothing but on Windows, so that
# a program's folder calls it unconditionally.
function(nerubato_windows_resources target)
    if(NOT WIN32)
        return()
    endif()
    cmake_parse_arguments(PARSE_ARGV 1 ARG "" "ICON;DESCRIPTION;INTERNAL" "")
    foreach(argument ICON DESCRIPTION INTERNAL)
        if(NOT ARG_${argument})
            message(FATAL_ERROR "nerubato_windows_resources(${target}) needs ${argument}")
        endif()
    endforeach()
    # Windows wants all four numbers; project() may give fewer. The top project()'s,
    # so that every program carries the product's version.
    foreach(part MAJOR MINOR PATCH TWEAK)
        set(PROGRAM_VERSION_${part} 0)
        if(CMAKE_PROJECT_VERSION_${part})
            set(PROGRAM_VERSION_${part} ${CMAKE_PROJECT_VERSION_${part}})
        endif()
    endforeach()
    set(PROGRAM_VERSION ${CMAKE_PROJECT_VERSION})
    get_filename_component(PROGRAM_ICON ${ARG_ICON} ABSOLUTE)
    set(PROGRAM_DESCRIPTION ${ARG_DESCRIPTION})
    set(PROGRAM_INTERNAL ${ARG_INTERNAL})
    get_target_property(PROGRAM_FILE ${target} OUTPUT_NAME)
    if(NOT PROGRAM_FILE)
        set(PROGRAM_FILE ${target})
    endif()
    string(APPEND PROGRAM_FILE ${CMAKE_EXECUTABLE_SUFFIX})

    set(PROGRAM_MANIFEST ${CMAKE_CURRENT_BINARY_DIR}/${target}.manifest)
    set(rc ${CMAKE_CURRENT_BINARY_DIR}/${target}.rc)
    configure_file(${CMAKE_SOURCE_DIR}/resources/nerubato.manifest.in ${PROGRAM_MANIFEST} @ONLY)
    configure_file(${CMAKE_SOURCE_DIR}/resources/program.rc.in ${rc} @ONLY)
    target_sources(${target} PRIVATE ${rc})
    # windres reports no dependencies: a changed icon or manifest rebuilds the resources.
    set_source_files_properties(${rc} TARGET_DIRECTORY ${target} PROPERTIES
        OBJECT_DEPENDS "${PROGRAM_ICON};${PROGRAM_MANIFEST}")
endfunction()
