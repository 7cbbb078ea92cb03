# CPack post-build script: the Debian package gets the ldconfig trigger
# instead of the postinst and postrm that call ldconfig, which CPack writes
# for every package with a library in /usr/lib. dpkg runs ldconfig once
# after all packages are unpacked, and the package keeps no maintainer
# scripts. The files and their md5sums stay as CPack made them.
foreach(deb IN LISTS CPACK_PACKAGE_FILES)
    if(NOT deb MATCHES "\\.deb$")
        continue()
    endif()
    set(tree "${CPACK_TOPLEVEL_DIRECTORY}/ldconfig-trigger")
    file(REMOVE_RECURSE "${tree}")
    execute_process(COMMAND dpkg-deb --raw-extract "${deb}" "${tree}"
                    COMMAND_ERROR_IS_FATAL ANY)
    file(REMOVE "${tree}/DEBIAN/postinst" "${tree}/DEBIAN/postrm")
    file(WRITE "${tree}/DEBIAN/triggers" "activate-noawait ldconfig\n")
    file(CHMOD "${tree}/DEBIAN/triggers" PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
    execute_process(COMMAND dpkg-deb --root-owner-group -Zgzip --build "${tree}" "${deb}"
                    OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
    file(REMOVE_RECURSE "${tree}")
endforeach()
