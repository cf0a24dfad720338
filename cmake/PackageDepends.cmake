# Read by cpack before each package (CPACK_PROJECT_CONFIG_FILE): adds the
# packages of the shared libraries the program and its analysis module link
# to the Debian package's Depends, as dpkg-shlibdeps finds them.
if(NOT CPACK_GENERATOR STREQUAL "DEB")
  return()
endif()
find_program(HAYATE_SHLIBDEPS dpkg-shlibdeps)
if(NOT HAYATE_SHLIBDEPS)
  message(FATAL_ERROR "dpkg-shlibdeps (package dpkg-dev) is needed for the package's dependencies")
endif()
# dpkg-shlibdeps wants a debian/control beside it, even an empty one.
set(shlibdeps_dir "${CPACK_PACKAGE_DIRECTORY}/_shlibdeps")
file(REMOVE_RECURSE "${shlibdeps_dir}")
file(WRITE "${shlibdeps_dir}/debian/control" "")
# --ignore-missing-info: libraries that no installed package owns (a Qt built
# by hand) are left out rather than failing the package, as CPack does.
execute_process(COMMAND ${HAYATE_SHLIBDEPS} --ignore-missing-info -O ${HAYATE_PACKAGE_ELF_FILES}
                WORKING_DIRECTORY "${shlibdeps_dir}"
                OUTPUT_VARIABLE shlibdeps_output ERROR_VARIABLE shlibdeps_errors
                RESULT_VARIABLE shlibdeps_result OUTPUT_STRIP_TRAILING_WHITESPACE)
file(REMOVE_RECURSE "${shlibdeps_dir}")
if(NOT shlibdeps_result EQUAL 0 OR NOT shlibdeps_output MATCHES "^shlibs:Depends=(.+)$")
  message(FATAL_ERROR "dpkg-shlibdeps failed: ${shlibdeps_errors}")
endif()
if(CPACK_DEBIAN_PACKAGE_DEPENDS)
  string(APPEND CPACK_DEBIAN_PACKAGE_DEPENDS ", ${CMAKE_MATCH_1}")
else()
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "${CMAKE_MATCH_1}")
endif()
