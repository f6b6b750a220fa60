# Installation (GNUInstallDirs) and the Debian package (`make package`, CPack).
include(GNUInstallDirs)

set(QAVSEC_DATA ${PROJECT_SOURCE_DIR}/data)

install(TARGETS qavsec-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(TARGET qavsec)
  install(TARGETS qavsec RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${QAVSEC_DATA}/qavsec.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${QAVSEC_DATA}/qavsec.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
  # A double click on a .sec file opens it in the program.
  install(FILES ${QAVSEC_DATA}/qavsec-mime.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages
          RENAME qavsec.xml)
endif()
install(DIRECTORY ${PROJECT_SOURCE_DIR}/examples/ DESTINATION ${CMAKE_INSTALL_DATADIR}/qavsec/examples)
# The user guide Help > Help shows, with its pictures.
install(FILES ${PROJECT_SOURCE_DIR}/docs/user-guide.md DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/docs/images DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(FILES ${QAVSEC_DATA}/qavsec-cli.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${QAVSEC_DATA}/qavsec-cli.bash-completion
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME qavsec-cli)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME qavsec)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "QAV Section")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "Cross-section checks of reinforced-concrete, steel and composite columns")
set(CPACK_PACKAGE_DESCRIPTION
    "QAV Section meshes a column or beam section into fibres and computes its P-M and \
Myy-Mxx interaction curves, load checks, moment-curvature curves and the P-Mx-My surface, \
with a desktop program (qavsec) and a command line (qavsec-cli).")
set(CPACK_PACKAGE_CONTACT "QAV Section developers <qavsec@localhost>")
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# The library dependencies are read from the binaries (dpkg-shlibdeps).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_INSTALL_DIRECTORY qavsec)
include(CPack)
