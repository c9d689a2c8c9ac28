# SPDX-License-Identifier: MIT
# Run by cpack after packaging: each .deb made the same for every builder
# (normalize-deb.sh), then each package's SHA-256 printed as sha256sum
# prints it, to compare with anyone else's build of the same commit.
foreach(package IN LISTS CPACK_PACKAGE_FILES)
  if(package MATCHES "\\.deb$")
    execute_process(COMMAND bash "${CMAKE_CURRENT_LIST_DIR}/normalize-deb.sh" "${package}" RESULT_VARIABLE status)
    if(NOT status EQUAL 0)
      message(FATAL_ERROR "could not normalize ${package}")
    endif()
  endif()
  file(SHA256 "${package}" sum)
  get_filename_component(name "${package}" NAME)
  message(STATUS "SHA-256: ${sum}  ${name}")
endforeach()
