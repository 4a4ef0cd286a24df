# What `cmake --install` puts where: the engine library with its headers, a
# CMake package (find_package(Murmex) gives murmex::murmex) and a pkg-config
# file, and, when they are built, the murmex tool, the kestrine player and the
# demo script.
include(CMakePackageConfigHelpers)

set(MURMEX_CMAKE_PACKAGE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/Murmex)

install(TARGETS murmex EXPORT MurmexTargets
    ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR})
# The shared library with the C functions, for hosts in other languages.
install(TARGETS murmex_shared
    LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
    RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
    ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR})
# The Python package: PREFIX/lib/python3/dist-packages/murmex, which finds the
# library in PREFIX/lib.
install(DIRECTORY ${PROJECT_SOURCE_DIR}/bindings/python/murmex
    DESTINATION lib/python3/dist-packages
    FILES_MATCHING PATTERN "*.py" PATTERN "py.typed"
    PATTERN "__pycache__" EXCLUDE)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/include/murmex
    DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}
    FILES_MATCHING PATTERN "*.h")
install(FILES ${MURMEX_GENERATED_INCLUDE_DIR}/murmex/version.h
    DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/murmex)
install(EXPORT MurmexTargets
    NAMESPACE murmex::
    DESTINATION ${MURMEX_CMAKE_PACKAGE_DIR})

configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/MurmexConfig.cmake.in
    ${PROJECT_BINARY_DIR}/MurmexConfig.cmake
    INSTALL_DESTINATION ${MURMEX_CMAKE_PACKAGE_DIR})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/MurmexConfigVersion.cmake
    COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/MurmexConfig.cmake
    ${PROJECT_BINARY_DIR}/MurmexConfigVersion.cmake
    DESTINATION ${MURMEX_CMAKE_PACKAGE_DIR})

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
")
install(FILES ${MURMEX_PC_FILE} DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)

# Everything installed, so that an install can build just that.
add_custom_target(murmex_installables DEPENDS murmex murmex_shared)
if(TARGET murmex_cli)
    install(TARGETS murmex_cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
    add_dependencies(murmex_installables murmex_cli)
endif()
if(TARGET kestrine)
    install(TARGETS kestrine RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
    add_dependencies(murmex_installables kestrine)
endif()
# Beside the tool, where `murmex preview` looks for it.
if(TARGET murmex_preview)
    install(TARGETS murmex_preview RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
    add_dependencies(murmex_installables murmex_preview)
endif()
# examples/ installs the demo itself, where its data file is named.
if(TARGET demo_data)
    add_dependencies(murmex_installables demo_data)
endif()
# The web build, once `make web` has made it in this build folder's web/:
# the engine for pages and Node, and the page `murmex publish` fills, where
# the installed tool looks for them.
install(DIRECTORY ${PROJECT_BINARY_DIR}/web/share/murmex/web/
    DESTINATION ${CMAKE_INSTALL_DATADIR}/murmex/web
    OPTIONAL)
