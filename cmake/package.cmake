# The Debian package: `cpack -G DEB` in the build folder makes zav_<version>_<arch>.deb
# of what the install rules put under /usr (tools/check_package checks its contents).

# Manual pages, compressed as Debian keeps them.
find_program(ZAV_GZIP gzip REQUIRED)
set(ZAV_MAN_PAGES zavctl)
if(TARGET zavsim)
    list(APPEND ZAV_MAN_PAGES zavsim)
endif()
set(ZAV_MAN_OUTPUTS)
foreach(page ${ZAV_MAN_PAGES})
    set(source ${CMAKE_SOURCE_DIR}/packaging/man/${page}.1)
    set(output ${CMAKE_BINARY_DIR}/man/${page}.1.gz)
    add_custom_command(OUTPUT ${output}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man
        COMMAND ${ZAV_GZIP} -9n -c ${source} > ${output}
        DEPENDS ${source}
        COMMENT "Manual page ${page}(1)")
    list(APPEND ZAV_MAN_OUTPUTS ${output})
endforeach()
add_custom_target(zav_man_pages ALL DEPENDS ${ZAV_MAN_OUTPUTS})
install(FILES ${ZAV_MAN_OUTPUTS} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zav)
set(CPACK_PACKAGE_CONTACT "zav maintainers <maintainers@zav.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "control program for three-coordinate stepper-motor controllers")
set(CPACK_PACKAGE_DESCRIPTION
    "zav drives a stepper-motor controller with up to three motors over one serial
line: it moves motors directly, composes programs of controller commands, writes
them into a coordinate's memory, starts, pauses and stops them, reads a stored
program back and shows the state of each coordinate. The package also holds
zavctl, the command-line companion for scripts, and zavsim, a simulator of the
controller.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# The libraries come from dpkg-shlibdeps; Qt's platform plugins are loaded at run time,
# so no library names them.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
include(CPack)
