# SPDX-License-Identifier: MIT
# The same commit gives the same bytes, wherever, whenever and by whomever it
# is built. Every time stamp that ends up in an artefact is the last
# commit's (a builder's own SOURCE_DATE_EPOCH wins; a source tree without
# Git falls back to the release's date), and no build path is compiled in.
if(DEFINED ENV{SOURCE_DATE_EPOCH})
  set(TRESSIN_SOURCE_DATE_EPOCH "$ENV{SOURCE_DATE_EPOCH}")
else()
  set(TRESSIN_SOURCE_DATE_EPOCH "${APP_RELEASE_EPOCH}")
  find_package(Git QUIET)
  if(GIT_FOUND)
    execute_process(COMMAND ${GIT_EXECUTABLE} -C ${PROJECT_SOURCE_DIR} log -1 --format=%ct
      OUTPUT_VARIABLE commit_time RESULT_VARIABLE git_status
      OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
    if(git_status EQUAL 0 AND commit_time MATCHES "^[0-9]+$")
      set(TRESSIN_SOURCE_DATE_EPOCH "${commit_time}")
      # A new commit or checkout configures again, for its own date.
      execute_process(COMMAND ${GIT_EXECUTABLE} -C ${PROJECT_SOURCE_DIR} rev-parse --path-format=absolute
                              --git-path logs/HEAD
        OUTPUT_VARIABLE head_log OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
      if(EXISTS "${head_log}")
        set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${head_log}")
      endif()
    endif()
  endif()
endif()

# Paths in __FILE__ and debug information relative to the trees.
add_compile_options("-ffile-prefix-map=${PROJECT_SOURCE_DIR}/=" "-ffile-prefix-map=${PROJECT_BINARY_DIR}/=")