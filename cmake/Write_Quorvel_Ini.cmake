# Writes the default configuration, Quorvel.ini, which the client finds
# beside itself: the pipe to use and the formatting server to start.
# Run as a script: cmake -DINI=<file to write> -DSERVER=<server program>
#   [-DWINDOWS=ON] [-DWINE_DRIVE=ON] [-DSERVER_AS_IS=ON]
#   [-DSETUP=<Setup.cmd to write> -DSETUP_SERVER=<server's file name>]
#   -P Write_Quorvel_Ini.cmake
# SERVER is made absolute: the client starts it from any folder. WINDOWS
# writes it with backslashes; WINE_DRIVE puts it on drive Z:, where Wine
# shows the host's root, for a Windows build made and run on a POSIX host.
# SERVER_AS_IS keeps SERVER as given (only the backslashes): a package's
# path, which holds where the package is unpacked, not on this machine.
# SETUP also writes a Windows command script that writes the same
# configuration beside itself, naming SETUP_SERVER in its own folder.
cmake_minimum_required(VERSION 3.20)
if(NOT INI OR NOT SERVER)
  message(FATAL_ERROR "Write_Quorvel_Ini.cmake needs INI and SERVER")
endif()
if(NOT SERVER_AS_IS)
  get_filename_component(SERVER "${SERVER}" ABSOLUTE)
  if(WINE_DRIVE)
    set(SERVER "Z:${SERVER}")
  endif()
endif()
if(WINDOWS)
  string(REPLACE "/" "\\" SERVER "${SERVER}")
endif()

# The lines of the file, each ending in "\n", with @SERVER@ where the
# server goes; ';' starts a comment line in an INI file (and is a list
# separator to CMake, hence no list here).
string(CONCAT lines
  "; Quorvel's default configuration: the pipe to the formatting server, the\n"
  "; longest reply the client reads, and the server that Quorvel starts when\n"
  "; that pipe does not exist yet.\n"
  "[Quv_Client]\n"
  "Pipename=Quorvel\n"
  "Pipelength=1000\n"
  "Server=@SERVER@\n"
  "; The server's settings (docs/formatting-server.md): remove the ';' to use one.\n"
  "; Compiler=Ada2022\n"
  "; Path=\n"
  "; Units=3\n"
  "; Errors=10\n"
  "; Timeout=\n"
  "; Width=79\n")

string(REPLACE "@SERVER@" "${SERVER}" content "${lines}")
string(REPLACE "\n" "\r\n" content "${content}")
file(WRITE "${INI}" "${content}")

if(NOT SETUP)
  return()
endif()
# The script echoes each line into Quorvel.ini. Its folder is taken before
# delayed expansion is on, and used only as !Here!, so that no character of
# a folder name ('&', ')', '!', '%') is ever read as a command.
if(lines MATCHES "[%!^&|<>\"]")
  message(FATAL_ERROR "Quorvel.ini's lines hold a character that Setup.cmd would have to escape")
endif()
string(REPLACE "@SERVER@" "!Here!${SETUP_SERVER}" echoes "${lines}")
string(REGEX REPLACE "([^\n]*)\n" ">>\"!Here!Quorvel.ini\" echo \\1\r\n" echoes "${echoes}")
string(CONCAT script
  "@echo off\r\n"
  "rem Writes Quorvel.ini beside this script, naming the quorvel-server here:\r\n"
  "rem run it once after unpacking Quorvel, and again after moving the folder.\r\n"
  "setlocal DisableDelayedExpansion\r\n"
  "set \"Here=%~dp0\"\r\n"
  "setlocal EnableDelayedExpansion\r\n"
  "type nul > \"!Here!Quorvel.ini\"\r\n"
  "${echoes}"
  "echo Quorvel.ini now names !Here!${SETUP_SERVER}\r\n")
file(WRITE "${SETUP}" "${script}")
