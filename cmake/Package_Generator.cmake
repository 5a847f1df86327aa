# Read by CPack for each generator it runs: where the package puts the
# programs, and so the Server line of the Quorvel.ini it holds (passed to the
# install rules of Install.cmake).
if(CPACK_GENERATOR STREQUAL "DEB")
  set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
  set(CPACK_CUSTOM_INSTALL_VARIABLES "QUORVEL_PACKAGE_SERVER=/usr/bin/quorvel-server")
elseif(CPACK_GENERATOR STREQUAL "ZIP" AND CPACK_SYSTEM_NAME MATCHES "^win")
  set(CPACK_CUSTOM_INSTALL_VARIABLES "QUORVEL_PACKAGE_SERVER=quorvel-server.exe"
                                     "QUORVEL_PACKAGE_SETUP=ON")
else()
  message(FATAL_ERROR "Quorvel is packaged with DEB on Linux and ZIP on Windows, not ${CPACK_GENERATOR}")
endif()
