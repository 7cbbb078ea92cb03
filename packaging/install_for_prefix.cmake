# Run by `cmake --install` (and by CPack): writes the files that name
# absolute paths for this run's prefix and installs them. The variables
# R40_* and DEVICELIB_VERSION are set by packaging/CMakeLists.txt.
set(R40_PREFIX "${CMAKE_INSTALL_PREFIX}")
# One folder per destination, so that installs running side by side (tests)
# never write each other's files.
string(SHA1 destination "$ENV{DESTDIR}|${CMAKE_INSTALL_PREFIX}")
string(SUBSTRING "${destination}" 0 12 destination)
set(R40_OUTPUT_DIR "${R40_OUTPUT_DIR}/${destination}")

function(r40_full_path out dir)
    if(IS_ABSOLUTE "${dir}")
        set(${out} "${dir}" PARENT_SCOPE)
    else()
        set(${out} "${R40_PREFIX}/${dir}" PARENT_SCOPE)
    endif()
endfunction()

r40_full_path(R40_FULL_LIBDIR "${R40_LIBDIR}")
r40_full_path(R40_FULL_INCLUDEDIR "${R40_INCLUDEDIR}")
r40_full_path(R40_FULL_DATAROOTDIR "${R40_DATAROOTDIR}")
r40_full_path(R40_FULL_LAUNCHER_DIR "${R40_LAUNCHER_DIR}")
set(R40_LAUNCHER "${R40_FULL_LAUNCHER_DIR}/r40console-launcher")

configure_file("${R40_TEMPLATE_DIR}/devicelib.pc.in" "${R40_OUTPUT_DIR}/devicelib.pc" @ONLY)
configure_file("${R40_TEMPLATE_DIR}/r40-console.desktop.in"
               "${R40_OUTPUT_DIR}/r40-console.desktop" @ONLY)

# file(INSTALL) puts $DESTDIR in front, as the generated install rules do.
file(INSTALL "${R40_OUTPUT_DIR}/devicelib.pc" DESTINATION "${R40_FULL_LIBDIR}/pkgconfig"
     PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
file(INSTALL "${R40_OUTPUT_DIR}/r40-console.desktop"
     DESTINATION "${R40_FULL_DATAROOTDIR}/applications"
     PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
