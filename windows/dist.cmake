# SPDX-License-Identifier: MIT
# What Windows users get, in ${PROJECT_BINARY_DIR}/dist: tressin.exe with
# denryoku.html beside it, the portable zip, and the MSI (Debian's wixl).
set(DIST_DIR ${PROJECT_BINARY_DIR}/dist)
set(zip_name tressin-${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH}-windows-x64)
set(msi_name tressin-${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH}-x64.msi)

# Texts for Windows' editors: CR LF line ends.
function(write_crlf in out)
  file(READ ${in} text)
  string(REPLACE "\r\n" "\n" text "${text}")
  string(REPLACE "\n" "\r\n" text "${text}")
  file(WRITE ${out} "${text}")
endfunction()
configure_file(README.txt.in ${CMAKE_CURRENT_BINARY_DIR}/README.lf.txt @ONLY)
set(stage ${CMAKE_CURRENT_BINARY_DIR}/stage/${zip_name})
write_crlf(${CMAKE_CURRENT_BINARY_DIR}/README.lf.txt ${stage}/README.txt)
write_crlf(${PROJECT_SOURCE_DIR}/LICENSE ${stage}/LICENSE.txt)
# wixl takes its files from beside the .wxs, by relative name.
set(msi_stage ${CMAKE_CURRENT_BINARY_DIR}/msi)
configure_file(tressin.wxs.in ${msi_stage}/tressin.wxs @ONLY)

find_program(WIXL wixl)
set(outputs ${DIST_DIR}/tressin.exe ${DIST_DIR}/denryoku.html ${DIST_DIR}/${zip_name}.zip)
add_custom_command(OUTPUT ${DIST_DIR}/tressin.exe ${DIST_DIR}/denryoku.html
  COMMAND ${CMAKE_COMMAND} -E make_directory ${DIST_DIR}
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:tressin> ${DIST_DIR}/tressin.exe
  COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/ui/denryoku.html ${DIST_DIR}/denryoku.html
  DEPENDS tressin ${PROJECT_SOURCE_DIR}/ui/denryoku.html VERBATIM)
# The same sources make the same zip (see make-zip.sh).
add_custom_command(OUTPUT ${DIST_DIR}/${zip_name}.zip
  COMMAND ${CMAKE_COMMAND} -E copy ${DIST_DIR}/tressin.exe ${DIST_DIR}/denryoku.html ${stage}/
  COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/make-zip.sh ${DIST_DIR}/${zip_name}.zip ${TRESSIN_SOURCE_DATE_EPOCH}
          ${CMAKE_CURRENT_BINARY_DIR}/stage ${zip_name} tressin.exe denryoku.html LICENSE.txt README.txt
  DEPENDS ${DIST_DIR}/tressin.exe ${DIST_DIR}/denryoku.html ${stage}/README.txt ${stage}/LICENSE.txt
          ${CMAKE_CURRENT_SOURCE_DIR}/make-zip.sh VERBATIM)
if(WIXL)
  add_custom_command(OUTPUT ${DIST_DIR}/${msi_name}
    COMMAND ${CMAKE_COMMAND} -E copy ${DIST_DIR}/tressin.exe ${DIST_DIR}/denryoku.html ${ART_DIR}/tressin.ico
            ${msi_stage}/
    COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/make-msi.sh ${DIST_DIR}/${msi_name} ${TRESSIN_SOURCE_DATE_EPOCH} ${msi_stage}
    DEPENDS ${DIST_DIR}/tressin.exe ${DIST_DIR}/denryoku.html ${msi_stage}/tressin.wxs
            ${ART_DIR}/tressin.ico ${CMAKE_CURRENT_SOURCE_DIR}/make-msi.sh
            ${CMAKE_CURRENT_SOURCE_DIR}/launch-conditions.idt VERBATIM)
  list(APPEND outputs ${DIST_DIR}/${msi_name})
else()
  message(STATUS "wixl not found: no MSI (scripts/build-windows.sh installs it)")
endif()
add_custom_target(windows_dist ALL DEPENDS ${outputs})
