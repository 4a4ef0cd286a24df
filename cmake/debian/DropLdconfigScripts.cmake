# Run by CPack after it made the packages (CPACK_POST_BUILD_SCRIPTS): takes
# the postinst and postrm scripts CPack wrote to call ldconfig out of each
# package again, since the shared library's package runs ldconfig through
# its trigger, and no package of this project has maintainer scripts of its
# own. A package is unpacked and built again with dpkg-deb, owned by root as
# CPack made it.
foreach(package IN LISTS CPACK_PACKAGE_FILES)
    set(tree "${package}.tree")
    file(REMOVE_RECURSE "${tree}")
    execute_process(COMMAND dpkg-deb --raw-extract "${package}" "${tree}"
        COMMAND_ERROR_IS_FATAL ANY)
    if(EXISTS "${tree}/DEBIAN/postinst" OR EXISTS "${tree}/DEBIAN/postrm")
        file(REMOVE "${tree}/DEBIAN/postinst" "${tree}/DEBIAN/postrm")
        execute_process(COMMAND dpkg-deb --root-owner-group --build "${tree}" "${package}"
            OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
    endif()
    file(REMOVE_RECURSE "${tree}")
endforeach()
