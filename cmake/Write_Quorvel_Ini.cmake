# Writes the default configuration, Quorvel.ini, which the client finds
# beside itself: the pipe to use and the formatting server to start.
# Run as a script: cmake -DINI=<file to write> -DSERVER=<server program>
#   [-DWINDOWS=ON] [-DWINE_DRIVE=ON] -P Write_Quorvel_Ini.cmake
# SERVER must be absolute: the client starts it from any folder. WINDOWS
# writes it with backslashes; WINE_DRIVE puts it on drive Z:, where Wine
# shows the host's root, for a Windows build made and run on a POSIX host.
if(NOT INI OR NOT SERVER)
  message(FATAL_ERROR "Write_Quorvel_Ini.cmake needs INI and SERVER")
endif()
get_filename_component(SERVER "${SERVER}" ABSOLUTE)
if(WINE_DRIVE)
  set(SERVER "Z:${SERVER}")
endif()
if(WINDOWS)
  string(REPLACE "/" "\\" SERVER "${SERVER}")
endif()
# Lines joined with CR LF; ';' starts a comment line in an INI file (and is a
# list separator to CMake, hence no list here).
string(CONCAT content
  "; Quorvel's default configuration: the pipe to the formatting server, the\r\n"
  "; longest reply the client reads, and the server that Quorvel starts when\r\n"
  "; that pipe does not exist yet.\r\n"
  "[Quv_Client]\r\n"
  "Pipename=Quorvel\r\n"
  "Pipelength=1000\r\n"
  "Server=${SERVER}\r\n"
  "; The server's settings (docs/formatting-server.md): remove the ';' to use one.\r\n"
  "; Compiler=Ada2022\r\n"
  "; Path=\r\n"
  "; Units=3\r\n"
  "; Errors=10\r\n"
  "; Timeout=\r\n")
file(WRITE "${INI}" "${content}")
