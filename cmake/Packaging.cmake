# The packages: `cpack` in a build folder makes a Debian package on Linux and a zip on Windows.
set(CPACK_PACKAGE_NAME horavista)
set(CPACK_PACKAGE_VENDOR "Horavista developers")
set(CPACK_PACKAGE_CONTACT "Horavista developers <horavista@users.noreply.github.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "desktop world clock with two analog dials")
set(CPACK_PACKAGE_DESCRIPTION "Horavista shows two analog dials, each telling the time of one city
chosen from a table of 36, with a picture of your choice between them.
Its interface and help are in Japanese, or in English where the desktop asks
for another language.")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://github.com/horavista/horavista")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_STRIP_FILES ON)

if(WIN32)
    include(cmake/WindowsRuntime.cmake)
    # horavista-2.0.0-win64.zip, holding the program's folder as it is: unpacked, it runs.
    set(CPACK_GENERATOR ZIP)
    set(CPACK_PACKAGE_FILE_NAME ${CPACK_PACKAGE_NAME}-${PROJECT_VERSION}-win64)
    set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
    install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION . RENAME LICENSE.txt)
else()
    # The Debian package: its dependencies on shared libraries are worked out by dpkg-shlibdeps from
    # the installed program.
    set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
    set(CPACK_GENERATOR DEB)
    set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
    set(CPACK_DEBIAN_PACKAGE_SECTION utils)
    set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
    # Not libraries, so dpkg-shlibdeps cannot see them: the interface fonts. Without a font that has Japanese
    # glyphs the Japanese texts are boxes, so one is a dependency (the one the program prefers first); the
    # Latin face only narrows the captions. dpkg-shlibdeps adds the libraries after these.
    set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-ipafont-gothic | fonts-noto-cjk | fonts-vlgothic")
    set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-dejavu-core")
endif()
include(CPack)
