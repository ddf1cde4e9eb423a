# Where installed programs and libraries look for the project's shared libraries.
#
# In the build tree CMake points every program and test at build/lib itself. An install into
# the system's library folder (/usr/lib/x86_64-linux-gnu, as a Debian package does) needs no
# search path at all; into any other prefix (/usr/local, /opt/velmora, a scratch folder) each
# installed file looks relative to its own place ($ORIGIN), so the prefix can be moved whole.

# Sets the install search path of `target`, installed into `destination` (relative to the
# prefix), to the library folder as seen from there.
function(velmora_install_rpath target destination)
  if(NOT CMAKE_SYSTEM_NAME STREQUAL "Linux")
    return()
  endif()
  set(libdir "${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_LIBDIR}")
  if(IS_ABSOLUTE "${CMAKE_INSTALL_LIBDIR}")
    set(libdir "${CMAKE_INSTALL_LIBDIR}")
  endif()
  if("${libdir}" IN_LIST CMAKE_CXX_IMPLICIT_LINK_DIRECTORIES)
    return()
  endif()
  set(from "${destination}")
  if(NOT IS_ABSOLUTE "${from}")
    set(from "${CMAKE_INSTALL_PREFIX}/${from}")
  endif()
  file(RELATIVE_PATH relative "${from}" "${libdir}")
  if(relative STREQUAL "")
    set(rpath "$ORIGIN")
  else()
    set(rpath "$ORIGIN/${relative}")
  endif()
  set_target_properties(${target} PROPERTIES INSTALL_RPATH "${rpath}")
endfunction()
