# The libraries a Windows build needs, made from what Debian ships, since
# Debian packages none of them for MinGW:
# - GoogleTest from Debian's source package googletest (/usr/src/googletest);
# - TinyXML from Debian's own source package, patches applied, which
#   `scripts/setup windows` fetches and unpacks into the build tree
#   (deps/tinyxml); it is never part of the repository;
# - CLI11 and nlohmann-json, header-only: their Debian headers, through an
#   include directory of their own, as /usr/include itself must never reach
#   the cross-compiler (glibc's headers would shadow MinGW's).

set(R40_GOOGLETEST_SOURCE_DIR /usr/src/googletest
    CACHE PATH "GoogleTest sources (Debian package googletest)")
if(NOT EXISTS ${R40_GOOGLETEST_SOURCE_DIR}/CMakeLists.txt)
    message(FATAL_ERROR "No GoogleTest sources in ${R40_GOOGLETEST_SOURCE_DIR}: "
                        "run scripts/setup windows")
endif()
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(${R40_GOOGLETEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
# Not our code: built without our warnings as errors.
foreach(target gtest gtest_main gmock gmock_main)
    target_compile_options(${target} PRIVATE -w)
endforeach()

set(R40_TINYXML_SOURCE_DIR ${CMAKE_BINARY_DIR}/deps/tinyxml
    CACHE PATH "TinyXML sources unpacked from Debian's source package")
if(NOT EXISTS ${R40_TINYXML_SOURCE_DIR}/tinyxml.h)
    message(FATAL_ERROR "No TinyXML sources in ${R40_TINYXML_SOURCE_DIR}: run scripts/setup "
                        "windows, which fetches Debian's source package tinyxml into the build tree")
endif()
# The objects Debian's libtinyxml holds (its debian/rules): with the STL,
# tinystr is not needed.
add_library(tinyxml STATIC ${R40_TINYXML_SOURCE_DIR}/tinyxml.cpp
                           ${R40_TINYXML_SOURCE_DIR}/tinyxmlparser.cpp
                           ${R40_TINYXML_SOURCE_DIR}/tinyxmlerror.cpp)
target_compile_definitions(tinyxml PUBLIC TIXML_USE_STL)
target_compile_options(tinyxml PRIVATE -w)
set_target_properties(tinyxml PROPERTIES CXX_STANDARD 11)
# What config/ looks for with find_path and find_library.
set(TINYXML_INCLUDE_DIR ${R40_TINYXML_SOURCE_DIR} CACHE PATH "" FORCE)
set(TINYXML_LIBRARY tinyxml CACHE STRING "" FORCE)

# Header-only libraries: CLI11 and nlohmann-json, as their CMake packages
# name them, so that find_package(... CONFIG) in tools/ finds these.
set(host_headers ${CMAKE_BINARY_DIR}/host-headers)
foreach(entry CLI,CLI11 nlohmann,nlohmann_json)
    string(REPLACE "," ";" parts ${entry})
    list(GET parts 0 folder)
    list(GET parts 1 package)
    set(target ${package}::${package})
    if(NOT EXISTS /usr/include/${folder})
        message(FATAL_ERROR "/usr/include/${folder} is missing: run scripts/setup windows")
    endif()
    file(MAKE_DIRECTORY ${host_headers}/${package})
    file(CREATE_LINK /usr/include/${folder} ${host_headers}/${package}/${folder} SYMBOLIC)
    add_library(${target} INTERFACE IMPORTED GLOBAL)
    set_target_properties(${target} PROPERTIES
        INTERFACE_INCLUDE_DIRECTORIES ${host_headers}/${package})
    file(WRITE ${host_headers}/${package}Config.cmake
         "# ${target} is defined by cmake/windows/Dependencies.cmake.\n")
    set(${package}_DIR ${host_headers} CACHE PATH "" FORCE)
endforeach()
