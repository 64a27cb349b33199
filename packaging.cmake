# What `cmake --install` puts where, and the Debian package `cpack -G DEB` makes of it; for
# Windows, the zip `cpack -G ZIP` makes.
set(CPACK_PACKAGE_NAME velkarin)
set(CPACK_PACKAGE_VENDOR "The Velkarin developers")

if(WIN32)
  # One folder to unpack anywhere: the viewer beside its sample map, which it reads from the
  # working folder, and the README and licence.
  install(TARGETS velkarin RUNTIME DESTINATION .)
  install(FILES assets/env.ppm README.md LICENSE DESTINATION .)
  # The pictures and pages the README links, where its links look for them.
  install(DIRECTORY docs/ DESTINATION docs FILES_MATCHING PATTERN "*.png" PATTERN "*.gif" PATTERN "*.md")
  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_FILE_NAME velkarin-${PROJECT_VERSION}-windows-x86_64)
  set(CPACK_STRIP_FILES ON)
  include(CPack)
  return()
endif()

include(GNUInstallDirs)

install(TARGETS velkarin RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES assets/env.ppm DESTINATION ${CMAKE_INSTALL_DATADIR}/velkarin)
install(DIRECTORY assets/icons/ DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)

# The manual page and the changelog go compressed, as Debian keeps them; -n leaves out the
# time stamp, so the same sources give the same package.
foreach(page IN ITEMS velkarin.1 changelog)
  add_custom_command(
    OUTPUT ${PROJECT_BINARY_DIR}/${page}.gz
    COMMAND gzip -9 -n -c ${PROJECT_SOURCE_DIR}/docs/${page} > ${PROJECT_BINARY_DIR}/${page}.gz
    DEPENDS ${PROJECT_SOURCE_DIR}/docs/${page})
endforeach()
add_custom_target(velkarin_docs ALL
  DEPENDS ${PROJECT_BINARY_DIR}/velkarin.1.gz ${PROJECT_BINARY_DIR}/changelog.gz)
install(FILES ${PROJECT_BINARY_DIR}/velkarin.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${PROJECT_BINARY_DIR}/changelog.gz DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/velkarin)
install(FILES LICENSE DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/velkarin RENAME copyright)

# The desktop entry, written when installing, once the prefix is known.
install(CODE "
  set(VELKARIN_DESKTOP_IN \"${PROJECT_SOURCE_DIR}/assets/velkarin.desktop.in\")
  set(VELKARIN_DESKTOP_OUT \"${PROJECT_BINARY_DIR}/velkarin.desktop\")
  set(VELKARIN_BINDIR \"${CMAKE_INSTALL_BINDIR}\")
  set(VELKARIN_DATADIR \"${CMAKE_INSTALL_DATADIR}\")
")
install(SCRIPT cmake/desktop_entry.cmake)
install(FILES ${PROJECT_BINARY_DIR}/velkarin.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_CONTACT "The Velkarin developers <velkarin@example.org>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Runtime dependencies come from the libraries the executable really links (dpkg-shlibdeps).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "lighting viewer: a helical torus under five coloured lights
A small 3D viewer on fixed-function OpenGL and GLUT. One window shows a torus
whose whole surface is a single strip winding helically around the tube, five
coloured lights each drawn as a small glowing sphere, and a yellow tetrahedron
that turns with the torus. Keys and the mouse spin, light, shade and
environment-map it.")
include(CPack)
