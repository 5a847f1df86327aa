# "cpack": a Debian package on Linux (cpack -G DEB) and a .zip on Windows
# (cpack -G ZIP). Each holds both programs and a Quorvel.ini naming the
# server where the package puts it: /usr/bin/quorvel-server in the Debian
# package; in the .zip, quorvel-server.exe (found from the unpacked folder
# only) and Setup.cmd, which names the unpacked folder's server instead.
set(CPACK_PACKAGE_NAME "${QUORVEL_PRODUCT_NAME}")
set(CPACK_PACKAGE_VENDOR "Quorvel developers")
set(CPACK_PACKAGE_CONTACT "Quorvel developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Ada source formatter driven by a formatting server")
set(CPACK_PACKAGE_DESCRIPTION
    "Quorvel reformats Ada source files, one file or every Ada source of a
folder, into a destination folder. It asks its formatting server,
quorvel-server, over a named pipe for the layout of each file and writes
the token stream the server sends back.")
set(CPACK_STRIP_FILES ON)
if(WIN32)
  set(CPACK_GENERATOR ZIP)
else()
  set(CPACK_GENERATOR DEB)
endif()

set(CPACK_DEBIAN_PACKAGE_NAME quorvel)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION devel)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Quorvel developers")
# Dependencies as dpkg-shlibdeps finds them; without it, the C and C++
# runtimes the programs link against.
find_program(QUORVEL_DPKG_SHLIBDEPS dpkg-shlibdeps)
if(QUORVEL_DPKG_SHLIBDEPS)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
else()
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "libc6 (>= 2.34), libgcc-s1 (>= 3.0), libstdc++6 (>= 12)")
endif()

# What differs between the generators is set when CPack runs each.
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_LIST_DIR}/Package_Generator.cmake)
include(CPack)
