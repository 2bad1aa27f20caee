# Install rules, the Debian package and the offline demo server.
# Included at the end of the top-level CMakeLists once the program target exists.

include(GNUInstallDirs)

set(PAGORA_APP_ID "org.example.Pagora")
set(PAGORA_PACKAGING_DIR ${PROJECT_SOURCE_DIR}/packaging)

install(TARGETS pagora RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PAGORA_PACKAGING_DIR}/${PAGORA_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PAGORA_PACKAGING_DIR}/${PAGORA_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${PAGORA_PACKAGING_DIR}/icons/${PAGORA_APP_ID}.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(size 48 128 256)
  install(FILES ${PAGORA_PACKAGING_DIR}/icons/${PAGORA_APP_ID}-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
          RENAME ${PAGORA_APP_ID}.png)
endforeach()

# Debian package: `cpack -G DEB` in the build folder.
set(CPACK_GENERATOR "DEB")
set(CPACK_PACKAGE_NAME "pagora")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Pagora developers")
set(CPACK_PACKAGE_CONTACT "The Pagora developers <pagora@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PAGORA_PRODUCT_NAME}: saves an online flipbook as one PDF")
set(CPACK_PACKAGE_DESCRIPTION
    "Pagora fetches the page images of an online flipbook, a book or magazine\n"
    "published as a series of page images, and writes them into one PDF file,\n"
    "one image per page.")
string(JOIN "" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION "net")
set(CPACK_DEBIAN_PACKAGE_PRIORITY "optional")
# Library dependencies come from dpkg-shlibdeps; what the program needs at run
# time without linking it is listed here: the X11 platform plugin of Qt, a CJK
# font for the Chinese captions and xdg-open for the catalogue page.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-wqy-microhei, xdg-utils")
include(CPack)

option(PAGORA_BUILD_DEMO "Build the offline demo's web server" ON)
if(PAGORA_BUILD_DEMO)
  add_subdirectory(${PROJECT_SOURCE_DIR}/demo ${PROJECT_BINARY_DIR}/demo)
endif()

if(PAGORA_BUILD_TESTS)
  add_subdirectory(${PROJECT_SOURCE_DIR}/tests/packaging ${PROJECT_BINARY_DIR}/tests/packaging)
endif()
