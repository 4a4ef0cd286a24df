# What `cmake --install` puts where: the engine library with its headers, a
# CMake package (find_package(Murmex) gives murmex::murmex) and a pkg-config
# file, and, when they are built, the murmex tool, the kestrine player and the
# demo script. Each rule names the component (the Debian package) its files
# belong to: library (the shared library), development (what building against
# it needs), python, tool (the murmex tool with the files it uses) and player
# (the programs that need Qt).
include(CMakePackageConfigHelpers)

set(MURMEX_CMAKE_PACKAGE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/Murmex)

install(TARGETS murmex EXPORT MurmexTargets
    ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT development)
# The shared library with the C functions, for hosts in other languages; the
# libmurmex.so link, which only the linker reads, goes with the headers.
install(TARGETS murmex_shared
    LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT library
        NAMELINK_COMPONENT development
    RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT library
    ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT development)
# The Python package: PREFIX/lib/python3/dist-packages/murmex, which finds the
# library in PREFIX/lib (or its multiarch folder).
install(DIRECTORY ${PROJECT_SOURCE_DIR}/bindings/python/murmex
    DESTINATION lib/python3/dist-packages COMPONENT python
    FILES_MATCHING PATTERN "*.py" PATTERN "py.typed"
    PATTERN "__pycache__" EXCLUDE)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/include/murmex
    DESTINATION ${CMAKE_INSTALL_INCLUDEDIR} COMPONENT development
    FILES_MATCHING PATTERN "*.h")
install(FILES ${MURMEX_GENERATED_INCLUDE_DIR}/murmex/version.h
    DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/murmex COMPONENT development)
install(EXPORT MurmexTargets
    NAMESPACE murmex::
    DESTINATION ${MURMEX_CMAKE_PACKAGE_DIR} COMPONENT development)

configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/MurmexConfig.cmake.in
    ${PROJECT_BINARY_DIR}/MurmexConfig.cmake
    INSTALL_DESTINATION ${MURMEX_CMAKE_PACKAGE_DIR})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/MurmexConfigVersion.cmake
    COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/MurmexConfig.cmake
    ${PROJECT_BINARY_DIR}/MurmexConfigVersion.cmake
    DESTINATION ${MURMEX_CMAKE_PACKAGE_DIR} COMPONENT development)

# murmex.pc names absolute folders, so it is written when installing, for the
# prefix actually installed to (`cmake --install --prefix` may differ from
# the one configured).
set(MURMEX_PC_FILE ${PROJECT_BINARY_DIR}/murmex.pc)
install(CODE "
    set(MURMEX_PC_TEMPLATE \"${PROJECT_SOURCE_DIR}/cmake/murmex.pc.in\")
    set(MURMEX_PC_FILE \"${MURMEX_PC_FILE}\")
    set(MURMEX_LIBDIR \"${CMAKE_INSTALL_LIBDIR}\")
    set(MURMEX_INCLUDEDIR \"${CMAKE_INSTALL_INCLUDEDIR}\")
    set(MURMEX_VERSION \"${PROJECT_VERSION}\")
    include(\"${PROJECT_SOURCE_DIR}/cmake/WritePkgConfig.cmake\")
" COMPONENT development)
install(FILES ${MURMEX_PC_FILE} DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig
    COMPONENT development)

# Everything installed, so that an install can build just that.
add_custom_target(murmex_installables DEPENDS murmex murmex_shared)
if(TARGET murmex_cli)
    install(TARGETS murmex_cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT tool)
    add_dependencies(murmex_installables murmex_cli)
endif()
if(TARGET kestrine)
    install(TARGETS kestrine RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT player)
    add_dependencies(murmex_installables kestrine)
endif()
# Beside the tool, where `murmex preview` looks for it; with the player, since
# its window needs Qt, which the tool does not.
if(TARGET murmex_preview)
    install(TARGETS murmex_preview RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT player)
    add_dependencies(murmex_installables murmex_preview)
endif()
# examples/ installs the demo itself, where its data file is named.
if(TARGET demo_data)
    add_dependencies(murmex_installables demo_data)
endif()
# The web build, once `make web` has made it in this build folder's web/:
# the engine for pages and Node, and the page `murmex publish` fills, where
# the installed tool looks for them. The README there is the npm package's.
install(DIRECTORY ${PROJECT_BINARY_DIR}/web/share/murmex/web/
    DESTINATION ${CMAKE_INSTALL_DATADIR}/murmex/web COMPONENT tool
    OPTIONAL
    PATTERN README.md EXCLUDE)
# The manual as HTML, once `make docs` has built it in this build folder's
# docs/html/, with the tool (`make package` builds it first).
install(DIRECTORY ${PROJECT_BINARY_DIR}/docs/html/
    DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/murmex/html COMPONENT tool
    OPTIONAL)
