# Precompiled headers, shared. Qt Widgets' and GoogleTest's headers take a
# large part of the compile time of every file that includes them; they are
# compiled once per build into a header that every target of this project
# using them takes (REUSE_FROM), so the cost is paid once, not per target or
# per file.
#
# Three families, one donor target each: Qt Widgets, GoogleTest, and both
# (the widget tests). A precompiled header only serves files compiled with
# the macros it was made with, so each donor defines no more than what every
# target of its family defines (a target may define more, as long as the
# shared headers never look at it; QtTest does look at the test case
# directories each test target defines, so it stays out). GCC refuses a
# header that does not fit (-Winvalid-pch, an error here): a target that
# breaks the rule fails to build instead of silently compiling slower.
#
# With a precompiled header GCC 12 may report warnings about its own
# library's inline code that it keeps quiet without one (a false
# -Warray-bounds in std::string's copy). The MinGW build meets one, so the
# Windows build makes no GoogleTest header; a file that meets one here
# compiles without (set_source_files_properties(... SKIP_PRECOMPILE_HEADERS ON)).
#
# ccache does not cache files compiled with a precompiled header unless told
# to, so with ccache as compiler launcher they stay off by default.

set(r40_ccache_launcher OFF)
if(CMAKE_CXX_COMPILER_LAUNCHER MATCHES "ccache")
    set(r40_ccache_launcher ON)
endif()
if(r40_ccache_launcher)
    set(r40_pch_default OFF)
else()
    set(r40_pch_default ON)
endif()
option(R40_PRECOMPILED_HEADERS "Share precompiled Qt Widgets and GoogleTest headers"
       ${r40_pch_default})

set(R40_PCH_STANDARD <algorithm> <chrono> <cstdint> <cstring> <functional> <memory> <string>
                     <thread> <vector>)
set(R40_PCH_QT <QApplication> <QColor> <QDir> <QFile> <QFont> <QIcon> <QImage> <QKeyEvent>
               <QLabel> <QLineEdit> <QMouseEvent> <QPainter> <QPixmap> <QScreen> <QString>
               <QTimer> <QWidget>)
set(R40_PCH_GTEST <gtest/gtest.h>)

# Which of `wanted` (imported library names) `target` links, directly or
# through this project's own libraries.
function(_r40_linked target wanted out)
    set(found)
    set(seen)
    set(queue ${target})
    while(queue)
        list(POP_FRONT queue current)
        if(current IN_LIST seen)
            continue()
        endif()
        list(APPEND seen ${current})
        get_target_property(type ${current} TYPE)
        set(properties INTERFACE_LINK_LIBRARIES)
        if(NOT type STREQUAL "INTERFACE_LIBRARY")
            list(APPEND properties LINK_LIBRARIES)
        endif()
        foreach(property ${properties})
            get_target_property(libraries ${current} ${property})
            if(NOT libraries)
                continue()
            endif()
            foreach(library ${libraries})
                if(library MATCHES "^\\$<LINK_ONLY:(.+)>$")
                    set(library ${CMAKE_MATCH_1})
                endif()
                if(library IN_LIST wanted)
                    list(APPEND found ${library})
                elseif(TARGET ${library})
                    get_target_property(imported ${library} IMPORTED)
                    if(NOT imported)
                        list(APPEND queue ${library})
                    endif()
                endif()
            endforeach()
        endforeach()
    endwhile()
    list(REMOVE_DUPLICATES found)
    set(${out} ${found} PARENT_SCOPE)
endfunction()

# A donor: an object library of one empty file that makes the header.
function(_r40_pch_donor name)
    cmake_parse_arguments(ARG "" "" "LIBRARIES;HEADERS" ${ARGN})
    set(empty ${CMAKE_BINARY_DIR}/r40_pch/empty.cpp)
    if(NOT EXISTS ${empty})
        file(WRITE ${empty} "// The translation unit that makes a shared precompiled header.\n")
    endif()
    add_library(${name} OBJECT EXCLUDE_FROM_ALL ${empty})
    target_link_libraries(${name} PRIVATE ${ARG_LIBRARIES})
    target_precompile_headers(${name} PRIVATE ${ARG_HEADERS})
endfunction()

# Gives every C++ target of this project that uses Qt Widgets or GoogleTest
# the shared header of its family. Called once, after every folder is added.
function(r40_share_precompiled_headers)
    if(NOT R40_PRECOMPILED_HEADERS)
        return()
    endif()
    set(qt Qt6::Widgets)
    set(gtest GTest::gtest GTest::gtest_main GTest::GTest GTest::Main)
    r40_project_targets(targets)
    set(users_qt)
    set(users_qt_gtest)
    set(users_gtest)
    foreach(target ${targets})
        get_target_property(type ${target} TYPE)
        get_target_property(sources ${target} SOURCES)
        # C sources would want a C header of their own.
        list(FILTER sources INCLUDE REGEX "\\.c$")
        if(sources)
            continue()
        endif()
        _r40_linked(${target} "${qt};${gtest}" linked)
        set(uses_qt OFF)
        set(uses_gtest OFF)
        foreach(library ${linked})
            if(library IN_LIST qt)
                set(uses_qt ON)
            else()
                set(uses_gtest ON)
            endif()
        endforeach()
        # GoogleTest's headers are made for programs (-fPIE); the few
        # libraries that use GoogleTest, test mains, compile without.
        if(uses_qt AND NOT uses_gtest)
            list(APPEND users_qt ${target})
        elseif(uses_qt AND type STREQUAL "EXECUTABLE")
            list(APPEND users_qt_gtest ${target})
        elseif(uses_gtest AND type STREQUAL "EXECUTABLE" AND NOT WIN32)
            list(APPEND users_gtest ${target})
        endif()
    endforeach()

    if(users_qt OR users_qt_gtest)
        # The folders that use Qt found it for themselves; its targets are
        # known only there. Qt asks for position-independent code everywhere,
        # so its libraries and programs compile alike.
        find_package(Qt6 REQUIRED COMPONENTS Widgets)
        _r40_pch_donor(r40_pch_qt LIBRARIES Qt6::Widgets
                       HEADERS ${R40_PCH_STANDARD} ${R40_PCH_QT})
        _r40_pch_donor(r40_pch_qt_gtest LIBRARIES Qt6::Widgets GTest::gtest
                       HEADERS ${R40_PCH_STANDARD} ${R40_PCH_QT} ${R40_PCH_GTEST})
        set_target_properties(r40_pch_qt r40_pch_qt_gtest PROPERTIES
                              POSITION_INDEPENDENT_CODE ON)
    endif()
    if(users_gtest)
        # Programs without Qt are position-independent executables.
        _r40_pch_donor(r40_pch_gtest LIBRARIES GTest::gtest
                       HEADERS ${R40_PCH_STANDARD} ${R40_PCH_GTEST})
        set_target_properties(r40_pch_gtest PROPERTIES POSITION_INDEPENDENT_CODE OFF)
        target_compile_options(r40_pch_gtest PRIVATE -fPIE)
    endif()
    foreach(family qt qt_gtest gtest)
        foreach(target ${users_${family}})
            target_precompile_headers(${target} REUSE_FROM r40_pch_${family})
        endforeach()
    endforeach()
endfunction()
