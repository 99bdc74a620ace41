# Installation and the Debian packages (make package): "orvanel" with the programs, the shared
# library and its development files, and "speech-dispatcher-orvanel" with the output module.
# Each package has its copyright file and changelog, man pages compressed with gzip -9n, stripped
# binaries, and the module's orvanel.conf is a conffile (an edit survives an upgrade, a reinstall
# and a remove; a purge removes it): lintian finds no errors in either (the warnings that remain
# are in docs/speechd/screen-reader.md).

# The maintainer address in the packages (and in their copyright file and changelog).
set(ORVANEL_PACKAGE_CONTACT "Orvanel developers <orvanel@orvanel.invalid>"
    CACHE STRING "Maintainer of the Debian packages: Name <address>")
string(TIMESTAMP ORVANEL_PACKAGE_DATE "%a, %d %b %Y %H:%M:%S +0000" UTC)

set(ORVANEL_PACKAGE_FILES ${CMAKE_BINARY_DIR}/package)
configure_file(${CMAKE_CURRENT_LIST_DIR}/debian/copyright.in ${ORVANEL_PACKAGE_FILES}/copyright
               @ONLY)
configure_file(${CMAKE_CURRENT_LIST_DIR}/debian/changelog.in ${ORVANEL_PACKAGE_FILES}/changelog
               @ONLY)
set(ORVANEL_COMPRESSED)
foreach(file IN ITEMS ${ORVANEL_PACKAGE_FILES}/changelog ${PROJECT_SOURCE_DIR}/docs/man/orvanel-say.1
                      ${PROJECT_SOURCE_DIR}/docs/man/orvanel.1)
  get_filename_component(name ${file} NAME)
  add_custom_command(OUTPUT ${ORVANEL_PACKAGE_FILES}/${name}.gz
    COMMAND gzip -9nc ${file} > ${ORVANEL_PACKAGE_FILES}/${name}.gz
    DEPENDS ${file} VERBATIM)
  list(APPEND ORVANEL_COMPRESSED ${ORVANEL_PACKAGE_FILES}/${name}.gz)
endforeach()
add_custom_target(orvanel_package_files ALL DEPENDS ${ORVANEL_COMPRESSED})

install(FILES ${ORVANEL_PACKAGE_FILES}/orvanel-say.1.gz ${ORVANEL_PACKAGE_FILES}/orvanel.1.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT runtime)
install(FILES ${ORVANEL_PACKAGE_FILES}/copyright ${ORVANEL_PACKAGE_FILES}/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/orvanel COMPONENT runtime)
install(FILES ${ORVANEL_PACKAGE_FILES}/copyright ${ORVANEL_PACKAGE_FILES}/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/speech-dispatcher-orvanel COMPONENT speechd)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME orvanel)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Orvanel")
set(CPACK_PACKAGE_CONTACT "${ORVANEL_PACKAGE_CONTACT}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL runtime speechd)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

set(CPACK_DEBIAN_RUNTIME_PACKAGE_NAME orvanel)
set(CPACK_DEBIAN_RUNTIME_DESCRIPTION
    "small Turkish text-to-speech synthesizer\nOrvanel speaks Turkish text: a window to type, speak and correct the phonetic\ntranscription, the command-line tool orvanel-say, and the synthesis library\nliborvanel.so.0 with its C header and pkg-config file.")
# Qt needs some font to draw the window; pulse and PipeWire desktops reach ALSA through the plugins.
set(CPACK_DEBIAN_RUNTIME_PACKAGE_RECOMMENDS "libasound2-plugins, fonts-dejavu-core")
set(CPACK_DEBIAN_RUNTIME_PACKAGE_SECTION sound)
# A shlibs file for packages that link liborvanel.so.0 (CPack reads only the package-wide
# switch; the module's package has no shared library), and the ldconfig trigger.
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS_POLICY ">=")
set(CPACK_DEBIAN_RUNTIME_PACKAGE_CONTROL_EXTRA ${CMAKE_CURRENT_LIST_DIR}/debian/runtime/triggers)

set(CPACK_DEBIAN_SPEECHD_PACKAGE_NAME speech-dispatcher-orvanel)
set(CPACK_DEBIAN_SPEECHD_PACKAGE_CONTROL_EXTRA ${CMAKE_CURRENT_LIST_DIR}/debian/speechd/conffiles)
set(CPACK_DEBIAN_SPEECHD_PACKAGE_DEPENDS "speech-dispatcher")
set(CPACK_DEBIAN_SPEECHD_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_SPEECHD_DESCRIPTION
    "speech-dispatcher output module for Orvanel\nLets screen readers such as Orca, spd-say and every speech-dispatcher client\nspeak Turkish with Orvanel.")

include(CPack)
