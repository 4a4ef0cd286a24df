# The Debian package, made by CPack from what `cmake --install` puts under
# /usr, with stripped programs: the tool, the preview, the player, both
# libraries with headers, CMake package and murmex.pc, the Python package,
# the demo, the man pages and the editor files. Its dependencies are computed
# from the programs and the shared library (dpkg-shlibdeps).

# The release date is CHANGELOG.md's, for this version: a release the
# changelog does not name stops the configuration rather than ship unnamed.
file(STRINGS ${PROJECT_SOURCE_DIR}/CHANGELOG.md MURMEX_RELEASE_HEADING
    REGEX "^## \\[${PROJECT_VERSION}\\] - [0-9-]+$")
if(NOT MURMEX_RELEASE_HEADING)
    message(FATAL_ERROR "CHANGELOG.md has no heading \"## [${PROJECT_VERSION}] - DATE\"")
endif()
string(REGEX REPLACE ".* - " "" MURMEX_RELEASE_DAY "${MURMEX_RELEASE_HEADING}")
execute_process(COMMAND date -R -u -d "${MURMEX_RELEASE_DAY} 12:00"
    OUTPUT_VARIABLE MURMEX_RELEASE_DATE OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)

set(MURMEX_PACKAGE_MAINTAINER "The Murmex authors <murmex@example.org>")
set(MURMEX_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/murmex)

# Debian's documentation files: the copyright notice, and the changelogs
# compressed the way Debian wants them (no name or time stamp inside).
configure_file(${CMAKE_CURRENT_LIST_DIR}/debian/changelog.in
    ${PROJECT_BINARY_DIR}/debian/changelog.Debian @ONLY)
set(MURMEX_COMPRESSED_DOCS
    ${PROJECT_BINARY_DIR}/debian/changelog.Debian.gz ${PROJECT_BINARY_DIR}/debian/changelog.gz)
add_custom_command(OUTPUT ${MURMEX_COMPRESSED_DOCS}
    COMMAND gzip -9nc ${PROJECT_BINARY_DIR}/debian/changelog.Debian
        > ${PROJECT_BINARY_DIR}/debian/changelog.Debian.gz
    COMMAND gzip -9nc ${PROJECT_SOURCE_DIR}/CHANGELOG.md > ${PROJECT_BINARY_DIR}/debian/changelog.gz
    DEPENDS ${PROJECT_BINARY_DIR}/debian/changelog.Debian ${PROJECT_SOURCE_DIR}/CHANGELOG.md
    VERBATIM)
add_custom_target(murmex_docs ALL DEPENDS ${MURMEX_COMPRESSED_DOCS})
add_dependencies(murmex_installables murmex_docs)
install(FILES ${MURMEX_COMPRESSED_DOCS} ${CMAKE_CURRENT_LIST_DIR}/debian/copyright
    DESTINATION ${MURMEX_DOC_DIR})

# CPack installs through the build's install step, which would otherwise
# build everything, the tests included; `make package` builds what is
# installed first.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME murmex)
set(CPACK_PACKAGE_VENDOR "The Murmex authors")
set(CPACK_PACKAGE_CONTACT ${MURMEX_PACKAGE_MAINTAINER})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "conversation engine, authoring tool and player")
# CPack indents each line of the description; Debian wants them short.
set(CPACK_PACKAGE_DESCRIPTION "Murmex plays conversation scripts of characters and talk units:
states, conditions on named variables, money, actions and hand-overs between
characters. The package holds the engine library for C++ and C with its
headers, CMake package and pkg-config file, the Python package, the murmex
tool that checks, plays, tests and scrambles scripts, the murmex-preview
window, the Kestrine player, the Brackenford demo and editor support for Vim
and Neovim.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION devel)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The shared library's shlibs file, for packages that link against it, and
# the ldconfig trigger, which Debian wants instead of maintainer scripts that
# call ldconfig (what CPack would write for a generated shlibs file).
configure_file(${CMAKE_CURRENT_LIST_DIR}/debian/shlibs.in ${PROJECT_BINARY_DIR}/debian/shlibs @ONLY)
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA
    ${PROJECT_BINARY_DIR}/debian/shlibs ${CMAKE_CURRENT_LIST_DIR}/debian/triggers)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# Liberation Sans stands in for the window's font; Python runs the binding.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-liberation2")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "python3, neovim | vim")
include(CPack)
