# SPDX-License-Identifier: MIT
# The window's calculation table (tests/ui/calculations.json) as C++ rows,
# so that every test program takes it in, cross-built ones too, which run
# where the source tree cannot be read (under node, Wine or qemu).
#
#   tressin_calculation_table(OUT_FILE)
# writes rows of {name, shown, reason, marked, entries, units} for
# tests/ui/calculation_table.h; shown is empty for a row that gives a reason
# instead, reason and marked for one that shows a number.
function(tressin_calculation_table out)
  set(json_file ${PROJECT_SOURCE_DIR}/tests/ui/calculations.json)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${json_file})
  file(READ ${json_file} json)
  set(rows "// Made by CMake from tests/ui/calculations.json; do not edit.\n")
  foreach(group computed failed)
    string(JSON count LENGTH "${json}" ${group})
    math(EXPR last "${count} - 1")
    foreach(i RANGE ${last})
      set(fields "")
      foreach(key name shown reason marked)
        string(JSON value ERROR_VARIABLE missing GET "${json}" ${group} ${i} ${key})
        if(missing)
          set(value "")
        endif()
        string(APPEND fields "R\"json(${value})json\", ")
      endforeach()
      foreach(list entries units)
        set(items "")
        foreach(k 0 1 2)
          string(JSON value GET "${json}" ${group} ${i} ${list} ${k})
          string(APPEND items "R\"json(${value})json\", ")
        endforeach()
        string(APPEND fields "{${items}}, ")
      endforeach()
      string(APPEND rows "{${fields}},\n")
    endforeach()
  endforeach()
  # Rewritten only when it changes, so nothing is rebuilt for nothing.
  file(WRITE ${out}.new "${rows}")
  configure_file(${out}.new ${out} COPYONLY)
  file(REMOVE ${out}.new)
endfunction()
