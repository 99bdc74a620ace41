# Installation and the Debian packages (make package): "orvanel" with the programs, the shared
# library and its development files, and "speech-dispatcher-orvanel" with the output module.
install(FILES ${PROJECT_SOURCE_DIR}/docs/man/orvanel-say.1 ${PROJECT_SOURCE_DIR}/docs/man/orvanel.1
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT runtime)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME orvanel)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Orvanel")
set(CPACK_PACKAGE_CONTACT "Orvanel developers <orvanel@localhost>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL runtime speechd)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)

set(CPACK_DEBIAN_RUNTIME_PACKAGE_NAME orvanel)
set(CPACK_DEBIAN_RUNTIME_DESCRIPTION
    "small Turkish text-to-speech synthesizer\nOrvanel speaks Turkish text: a window to type, speak and correct the phonetic\ntranscription, the command-line tool orvanel-say, and the synthesis library\nliborvanel.so.0 with its C header and pkg-config file.")
# Qt needs some font to draw the window; pulse and PipeWire desktops reach ALSA through the plugins.
set(CPACK_DEBIAN_RUNTIME_PACKAGE_RECOMMENDS "libasound2-plugins, fonts-dejavu-core")
set(CPACK_DEBIAN_RUNTIME_PACKAGE_SECTION sound)
# A shlibs file for packages that link liborvanel.so.0, and the ldconfig trigger.
set(CPACK_DEBIAN_RUNTIME_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_DEBIAN_RUNTIME_PACKAGE_GENERATE_SHLIBS_POLICY ">=")

set(CPACK_DEBIAN_SPEECHD_PACKAGE_NAME speech-dispatcher-orvanel)
set(CPACK_DEBIAN_SPEECHD_PACKAGE_DEPENDS "speech-dispatcher")
set(CPACK_DEBIAN_SPEECHD_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_SPEECHD_DESCRIPTION
    "speech-dispatcher output module for Orvanel\nLets screen readers such as Orca, spd-say and every speech-dispatcher client\nspeak Turkish with Orvanel.")

include(CPack)
