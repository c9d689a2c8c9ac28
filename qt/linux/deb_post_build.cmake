# SPDX-License-Identifier: MIT
# Run by cpack after packaging. A .deb is an ar archive whose headers carry
# each member's mode as cpack's own files had it on disk, after the builder's
# umask: they are set to 0644, so every umask gives the same package. Then
# each package's SHA-256 is printed, as sha256sum prints it, to compare
# with anyone else's build of the same commit.
foreach(package IN LISTS CPACK_PACKAGE_FILES)
  if(package MATCHES "\\.deb$")
    file(SIZE "${package}" size)
    set(header 8)  # past "!<arch>\n"; each member: a 60-byte header, its data, padding to even
    while(header LESS size)
      math(EXPR mode_at "${header} + 40")
      math(EXPR size_at "${header} + 48")
      file(READ "${package}" member_size OFFSET ${size_at} LIMIT 10)
      string(STRIP "${member_size}" member_size)
      execute_process(COMMAND printf "%-8s" 100644
                      COMMAND dd "of=${package}" bs=1 seek=${mode_at} conv=notrunc status=none
                      RESULT_VARIABLE status)
      if(NOT status EQUAL 0)
        message(FATAL_ERROR "could not set the modes in ${package}")
      endif()
      math(EXPR header "${header} + 60 + ${member_size} + ${member_size} % 2")
    endwhile()
  endif()
  file(SHA256 "${package}" sum)
  get_filename_component(name "${package}" NAME)
  message(STATUS "SHA-256: ${sum}  ${name}")
endforeach()
