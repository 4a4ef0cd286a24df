# CLI11 and nlohmann-json for a cross build: both are header-only, so the
# build machine's Debian headers serve any target. Their own CMake configs
# add -I/usr/include, which would put the host's C library headers before the
# target's; here each is a header-only target over a folder that holds only
# links to those two libraries' header folders.
set(MURMEX_HOST_HEADERS ${CMAKE_BINARY_DIR}/host-headers)
file(MAKE_DIRECTORY ${MURMEX_HOST_HEADERS})

function(murmex_host_header_library target folder)
    find_path(MURMEX_${folder}_ROOT ${folder} PATHS /usr/include
        NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH REQUIRED)
    if(NOT EXISTS ${MURMEX_HOST_HEADERS}/${folder})
        file(CREATE_LINK ${MURMEX_${folder}_ROOT}/${folder} ${MURMEX_HOST_HEADERS}/${folder}
            SYMBOLIC)
    endif()
    add_library(${target} INTERFACE IMPORTED GLOBAL)
    target_include_directories(${target} INTERFACE ${MURMEX_HOST_HEADERS})
endfunction()

murmex_host_header_library(CLI11::CLI11 CLI)
murmex_host_header_library(nlohmann_json::nlohmann_json nlohmann)
