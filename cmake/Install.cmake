# "cmake --install": the client and the formatting server side by side in
# bin/, with the default configuration beside the client naming the server
# where it was installed (the prefix and DESTDIR are those of the install).
install(TARGETS quorvel quorvel-server RUNTIME DESTINATION bin)
install(CODE "
  get_filename_component(quorvel_prefix \"\${CMAKE_INSTALL_PREFIX}\" ABSOLUTE)
  execute_process(
    COMMAND \"${CMAKE_COMMAND}\"
      \"-DINI=\$ENV{DESTDIR}\${quorvel_prefix}/bin/Quorvel.ini\"
      \"-DSERVER=\${quorvel_prefix}/bin/$<TARGET_FILE_NAME:quorvel-server>\"
      -DWINDOWS=${WIN32} -DWINE_DRIVE=${QUORVEL_WINE_DRIVE}
      -P \"${PROJECT_SOURCE_DIR}/cmake/Write_Quorvel_Ini.cmake\"
    COMMAND_ERROR_IS_FATAL ANY)
  message(STATUS \"Installing: \$ENV{DESTDIR}\${quorvel_prefix}/bin/Quorvel.ini\")
")
