# "cmake --install": the client and the formatting server side by side, with
# the default configuration beside the client naming the server where it was
# installed (the prefix and DESTDIR are those of the install). They go to
# bin/ on POSIX and to the install folder itself on Windows, as a Windows
# program folder holds them.
if(WIN32)
  set(QUORVEL_PROGRAM_FOLDER .)
else()
  set(QUORVEL_PROGRAM_FOLDER bin)
endif()
install(TARGETS quorvel quorvel-server RUNTIME DESTINATION ${QUORVEL_PROGRAM_FOLDER})

# When CPack stages a package, QUORVEL_PACKAGE_SERVER (see Package.cmake) is
# the Server line as it must read where the package is unpacked, and
# QUORVEL_PACKAGE_SETUP asks for Setup.cmd, which rewrites the configuration
# for the folder the package was unpacked into.
install(CODE "
  get_filename_component(quorvel_folder
    \"\${CMAKE_INSTALL_PREFIX}/${QUORVEL_PROGRAM_FOLDER}\" ABSOLUTE)
  set(quorvel_server_file \"$<TARGET_FILE_NAME:quorvel-server>\")
  set(quorvel_as_is OFF)
  set(quorvel_setup \"\")
  if(DEFINED QUORVEL_PACKAGE_SERVER)
    set(quorvel_server \"\${QUORVEL_PACKAGE_SERVER}\")
    set(quorvel_as_is ON)
  else()
    set(quorvel_server \"\${quorvel_folder}/\${quorvel_server_file}\")
  endif()
  if(QUORVEL_PACKAGE_SETUP)
    set(quorvel_setup \"\$ENV{DESTDIR}\${quorvel_folder}/Setup.cmd\")
  endif()
  execute_process(
    COMMAND \"${CMAKE_COMMAND}\"
      \"-DINI=\$ENV{DESTDIR}\${quorvel_folder}/Quorvel.ini\"
      \"-DSERVER=\${quorvel_server}\" -DSERVER_AS_IS=\${quorvel_as_is}
      \"-DSETUP=\${quorvel_setup}\" \"-DSETUP_SERVER=\${quorvel_server_file}\"
      -DWINDOWS=${WIN32} -DWINE_DRIVE=${QUORVEL_WINE_DRIVE}
      -P \"${PROJECT_SOURCE_DIR}/cmake/Write_Quorvel_Ini.cmake\"
    COMMAND_ERROR_IS_FATAL ANY)
  message(STATUS \"Installing: \$ENV{DESTDIR}\${quorvel_folder}/Quorvel.ini\")
  if(quorvel_setup)
    message(STATUS \"Installing: \${quorvel_setup}\")
  endif()
")
