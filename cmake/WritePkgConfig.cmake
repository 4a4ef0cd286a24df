# Run by the install step: writes murmex.pc for CMAKE_INSTALL_PREFIX, the
# prefix being installed to. Relative install folders are written below
# ${prefix}, the way pkg-config files usually spell them.
set(MURMEX_PC_PREFIX "${CMAKE_INSTALL_PREFIX}")
foreach(folder LIBDIR INCLUDEDIR)
    if(IS_ABSOLUTE "${MURMEX_${folder}}")
        set(MURMEX_PC_${folder} "${MURMEX_${folder}}")
    else()
        set(MURMEX_PC_${folder} "\${prefix}/${MURMEX_${folder}}")
    endif()
endforeach()
configure_file("${MURMEX_PC_TEMPLATE}" "${MURMEX_PC_FILE}" @ONLY)
