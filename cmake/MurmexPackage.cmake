# The Debian packages, made by CPack from what `cmake --install` puts under
# /usr, one package for each install component (CPack's own DEB components,
# since they split the one build without a second, Debian-made copy of its
# install rules), with stripped programs:
# - library: libmurmex1, the shared library;
# - development: libmurmex-dev, the static library, headers, libmurmex.so,
#   the CMake package and murmex.pc;
# - python: python3-murmex, the Python package;
# - tool: murmex, the tool with its man page, the web runtime for `murmex
#   publish`, the demo and the editor files;
# - player: kestrine, the player and the preview window, the only programs
#   that need Qt, with their man pages.
# Dependencies on other packages are computed from the programs and the
# shared library (dpkg-shlibdeps).
set(MURMEX_COMPONENTS library development python tool player)
set(MURMEX_LIBRARY_PACKAGE libmurmex${PROJECT_VERSION_MAJOR})
set(CPACK_DEBIAN_LIBRARY_PACKAGE_NAME ${MURMEX_LIBRARY_PACKAGE})
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_NAME libmurmex-dev)
set(CPACK_DEBIAN_PYTHON_PACKAGE_NAME python3-murmex)
set(CPACK_DEBIAN_TOOL_PACKAGE_NAME murmex)
set(CPACK_DEBIAN_PLAYER_PACKAGE_NAME kestrine)

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
# Every package carries them in its own folder; an install that is not a
# package's gets the tool's folder only.
foreach(component IN LISTS MURMEX_COMPONENTS)
    string(TOUPPER ${component} upper)
    set(package ${CPACK_DEBIAN_${upper}_PACKAGE_NAME})
    set(exclude)
    if(NOT component STREQUAL "tool")
        set(exclude EXCLUDE_FROM_ALL)
    endif()
    install(FILES ${MURMEX_COMPRESSED_DOCS} ${CMAKE_CURRENT_LIST_DIR}/debian/copyright
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/${package} COMPONENT ${component} ${exclude})
endforeach()

# CPack installs through the build's install step, which would otherwise
# build everything, the tests included; `make package` builds what is
# installed first.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

set(CPACK_GENERATOR DEB)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL ${MURMEX_COMPONENTS})
set(CPACK_PACKAGE_NAME murmex)
set(CPACK_PACKAGE_VENDOR "The Murmex authors")
set(CPACK_PACKAGE_CONTACT ${MURMEX_PACKAGE_MAINTAINER})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SOURCE murmex)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

# Each description's first line is the package's synopsis; CPack indents the
# lines after it, which Debian wants short.
set(MURMEX_ABOUT "Murmex plays conversation scripts of characters and talk units:
states, conditions on named variables, money, actions and hand-overs between
characters.")
set(CPACK_DEBIAN_LIBRARY_DESCRIPTION "conversation engine, shared library
${MURMEX_ABOUT}
This package holds the shared library with the engine's C functions, for
programs in C and for hosts in other languages.")
set(CPACK_DEBIAN_LIBRARY_PACKAGE_SECTION libs)
# The shared library's shlibs file, for packages that link against it, and
# the ldconfig trigger, which Debian wants instead of maintainer scripts that
# call ldconfig (what CPack would write for a generated shlibs file).
configure_file(${CMAKE_CURRENT_LIST_DIR}/debian/shlibs.in ${PROJECT_BINARY_DIR}/debian/shlibs @ONLY)
set(CPACK_DEBIAN_LIBRARY_PACKAGE_CONTROL_EXTRA
    ${PROJECT_BINARY_DIR}/debian/shlibs ${CMAKE_CURRENT_LIST_DIR}/debian/triggers)
# CPack still writes postinst and postrm scripts that call ldconfig for any
# package with a shared object in /usr/lib or a folder of it, unless its
# control files ship scripts of those names, and empty ones are wrong too:
# after the packages are made, the scripts are taken out of them again.
set(CPACK_POST_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/debian/DropLdconfigScripts.cmake)

set(CPACK_DEBIAN_DEVELOPMENT_DESCRIPTION "conversation engine, development files
${MURMEX_ABOUT}
This package holds what building against the engine needs: the headers, the
static library for C++, the link to the shared library for C, the CMake
package (find_package(Murmex)) and the pkg-config file.")
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_SECTION libdevel)
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_DEPENDS "${MURMEX_LIBRARY_PACKAGE} (= ${PROJECT_VERSION})")

set(CPACK_DEBIAN_PYTHON_DESCRIPTION "conversation engine, Python package
${MURMEX_ABOUT}
This package holds the Python package murmex, which plays scripts through
the shared library.")
set(CPACK_DEBIAN_PYTHON_PACKAGE_SECTION python)
set(CPACK_DEBIAN_PYTHON_PACKAGE_ARCHITECTURE all)
set(CPACK_DEBIAN_PYTHON_PACKAGE_DEPENDS "${MURMEX_LIBRARY_PACKAGE} (= ${PROJECT_VERSION}), python3")

set(CPACK_DEBIAN_TOOL_DESCRIPTION "conversation engine, authoring tool
${MURMEX_ABOUT}
This package holds the murmex tool, which checks, plays, tests, scrambles and
publishes scripts, with the web runtime for published pages, the Brackenford
demo and editor support for Vim and Neovim. murmex preview needs the window
from the kestrine package.")
set(CPACK_DEBIAN_TOOL_PACKAGE_SECTION devel)
set(CPACK_DEBIAN_TOOL_PACKAGE_SUGGESTS "kestrine, neovim | vim")

set(CPACK_DEBIAN_PLAYER_DESCRIPTION "conversation engine, Kestrine player
${MURMEX_ABOUT}
This package holds the Kestrine player, which plays a game's data.chr in a
window, and murmex-preview, the window murmex preview shows a script in.")
set(CPACK_DEBIAN_PLAYER_PACKAGE_SECTION x11)
# Liberation Sans stands in for the window's font.
set(CPACK_DEBIAN_PLAYER_PACKAGE_RECOMMENDS "fonts-liberation2")
include(CPack)
