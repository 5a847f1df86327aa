# Chooses the operating-system backend: every facility has one neutral header
# and a _posix.cpp / _win32.cpp pair; QUORVEL_BACKEND names the suffix.
if(WIN32)
  set(QUORVEL_BACKEND win32)
  add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
  # Static runtime so that the programs run under Wine and on any Windows
  # without the MinGW DLLs beside them.
  add_link_options(-static -static-libgcc -static-libstdc++)
else()
  set(QUORVEL_BACKEND posix)
endif()

# A Windows build made on a POSIX host runs under Wine, which shows the
# host's root as drive Z:; paths written for it at build time go there.
set(QUORVEL_WINE_DRIVE OFF)
if(WIN32 AND CMAKE_HOST_UNIX)
  set(QUORVEL_WINE_DRIVE ON)
endif()

# quorvel_backend_sources(<target> <name>...) adds <name>_<backend>.cpp of
# each facility to <target>.
function(quorvel_backend_sources target)
  foreach(name IN LISTS ARGN)
    target_sources(${target} PRIVATE ${name}_${QUORVEL_BACKEND}.cpp)
  endforeach()
endfunction()
