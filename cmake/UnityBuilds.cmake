# Unity builds: a target's C++ files compile in batches of eight, each batch
# one translation unit, so what the files of a batch include (the project's
# headers, and the inline code of Qt, GoogleTest and the standard library)
# is compiled once per batch instead of once per file.
#
# The files of a batch share one scope: names a file keeps to itself (an
# anonymous namespace, `static`) must differ from those of the other files of
# its target. The targets named below give several files the same such names
# on purpose (every dialog template its CONTROLS, every test file of a
# program its own constants), or in a batch meet GCC 12's false warning about
# std::string (see PrecompiledHeaders.cmake), and compile file by file.
#
# ccache caches by file; a batch would miss whenever any of its files
# changes, so with ccache as compiler launcher unity builds stay off by
# default. Such a build also shows a file that compiles only thanks to an
# include of another file of its batch.

if(CMAKE_CXX_COMPILER_LAUNCHER MATCHES "ccache")
    set(r40_unity_default OFF)
else()
    set(r40_unity_default ON)
endif()
option(R40_UNITY_BUILD "Compile each target's files in batches" ${r40_unity_default})

set(R40_FILE_BY_FILE devicelib_objects resources r40ctl_core console devicelib_tests sim_tests
                     r40ctl_unit_tests)

# Every C++ target of this project with more than one file, but those above,
# compiles in batches. (A batch of one file gains nothing, and GCC judges a
# file included into a batch as a header: -Wsubobject-linkage.) Called once,
# after every folder is added.
function(r40_unity_builds)
    if(NOT R40_UNITY_BUILD)
        return()
    endif()
    r40_project_targets(targets)
    list(REMOVE_ITEM targets ${R40_FILE_BY_FILE})
    foreach(target ${targets})
        get_target_property(sources ${target} SOURCES)
        list(FILTER sources INCLUDE REGEX "\\.(cpp|cc|cxx)$")
        list(LENGTH sources count)
        if(count GREATER 1)
            set_target_properties(${target} PROPERTIES UNITY_BUILD ON UNITY_BUILD_BATCH_SIZE 8)
        endif()
    endforeach()
endfunction()
