# SPDX-License-Identifier: MIT
# The program's metadata, in one place for every edition: the generated
# header, the Linux desktop entry and AppStream file, and the Windows
# version resource and installer all take these texts.
set(APP_ID "org.example.Tressin")
set(APP_NAME "Tressin")
set(APP_VENDOR "Tressin developers")
set(APP_VERSION "${PROJECT_VERSION}")
# Where a platform wants four numbers (the Windows version resource and
# manifest), the fourth is 0.
set(APP_VERSION_FOUR "${PROJECT_VERSION}.0")
# Shown as "1.00": the major version and a two-digit minor version, and the
# third number only when it is not 0 ("1.00.1").
if(PROJECT_VERSION_MINOR LESS 10)
  set(APP_DISPLAY_VERSION "${PROJECT_VERSION_MAJOR}.0${PROJECT_VERSION_MINOR}")
else()
  set(APP_DISPLAY_VERSION "${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}")
endif()
if(PROJECT_VERSION_PATCH GREATER 0)
  string(APPEND APP_DISPLAY_VERSION ".${PROJECT_VERSION_PATCH}")
endif()
set(APP_DESCRIPTION "${PROJECT_DESCRIPTION}")
set(APP_COMMENT "電気を大切にしましょう。")
set(APP_LANGUAGE "ja")
# The name under the icon of the page installed on a home screen.
set(APP_SHORT_NAME_JA "電力計算")
# The release's date, as the changelogs give it (and its first second, UTC,
# as the Debian changelog has it): the AppStream release's date, and the
# time stamp of a build from a source tree without Git.
set(APP_RELEASE_DATE "2026-12-11")
set(APP_RELEASE_EPOCH 1796947200)
