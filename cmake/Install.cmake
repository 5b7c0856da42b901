# What `cmake --install` (and `make install`) puts below the prefix (default /usr/local):
#   bin/quorvel, bin/quorvel-cli                       the editor and the command-line tool
#   share/applications/quorvel.desktop                  desktop entry
#   share/mime/packages/quorvel.xml                     the .qvp and .msq file types
#   share/icons/hicolor/*/{apps,mimetypes}/...          application and file-type icons
#   share/man/man1/quorvel.1, quorvel-cli.1             manual pages
#   share/quorvel/examples/                             the example project with its pictures
#   share/quorvel/sounds/flup.wav                       the editor's sound
#   share/doc/quorvel/README.md
# Nothing is written outside the prefix. Without DESTDIR the MIME database and the desktop
# database below the prefix are refreshed when their tools are present.
# Included at the end of the top-level CMakeLists, after every subdirectory, so that the
# program targets are known when they exist.

include(GNUInstallDirs)

set(QUORVEL_SHARE_DIR ${CMAKE_INSTALL_DATADIR}/quorvel)

foreach(program quorvel quorvel-cli)
  if(TARGET ${program})
    install(TARGETS ${program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  endif()
endforeach()

set(QUORVEL_RESOURCES ${PROJECT_SOURCE_DIR}/resources)
install(FILES ${QUORVEL_RESOURCES}/quorvel.desktop
  DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${QUORVEL_RESOURCES}/quorvel-mime.xml
  DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages RENAME quorvel.xml)
install(DIRECTORY ${QUORVEL_RESOURCES}/icons/hicolor
  DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)
install(FILES ${QUORVEL_RESOURCES}/flup.wav DESTINATION ${QUORVEL_SHARE_DIR}/sounds)
install(FILES
  ${PROJECT_SOURCE_DIR}/examples/example.qvp
  ${PROJECT_SOURCE_DIR}/examples/anfang.bmp
  ${PROJECT_SOURCE_DIR}/examples/ende.bmp
  DESTINATION ${QUORVEL_SHARE_DIR}/examples)
install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/quorvel)

# Manual pages carry the program's version and the folder of the installed example; the
# prefix is known only when installing (cmake --install --prefix), so they are made then.
foreach(page quorvel.1 quorvel-cli.1)
  install(CODE "
    set(QV_MAN_IN \"${PROJECT_SOURCE_DIR}/man/${page}.in\")
    set(QV_MAN_OUT \"${PROJECT_BINARY_DIR}/man/${page}\")
    set(QV_DATADIR \"${CMAKE_INSTALL_DATADIR}\")
    set(QUORVEL_VERSION_STRING \"${QUORVEL_VERSION_STRING}\")
    include(\"${PROJECT_SOURCE_DIR}/cmake/ConfigureManPage.cmake\")
  ")
  install(FILES ${PROJECT_BINARY_DIR}/man/${page} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()

find_program(QUORVEL_UPDATE_MIME_DATABASE update-mime-database)
find_program(QUORVEL_UPDATE_DESKTOP_DATABASE update-desktop-database)
install(CODE "
  if(\"\$ENV{DESTDIR}\" STREQUAL \"\")
    set(share \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_DATADIR}\")
    if(EXISTS \"${QUORVEL_UPDATE_MIME_DATABASE}\")
      message(STATUS \"Updating the MIME database in \${share}/mime\")
      # (the tool warns about a folder outside XDG_DATA_DIRS, which a fresh prefix often is)
      execute_process(COMMAND \"${CMAKE_COMMAND}\" -E env \"XDG_DATA_DIRS=\${share}\"
        \"${QUORVEL_UPDATE_MIME_DATABASE}\" \"\${share}/mime\")
    endif()
    if(EXISTS \"${QUORVEL_UPDATE_DESKTOP_DATABASE}\")
      execute_process(COMMAND \"${QUORVEL_UPDATE_DESKTOP_DATABASE}\" -q \"\${share}/applications\")
    endif()
  endif()
")
