# Version, build number and commit of this build, written into a generated
# header so that the binary can tell which source it came from.
set(QUILLON_APP_ID "app.quillon.Quillon")
set(QUILLON_VERSION "${PROJECT_VERSION}")
set(QUILLON_BUILD "")
set(QUILLON_COMMIT "")
# The product's website, shown and linked in About; empty leaves the link out.
set(QUILLON_HOMEPAGE "" CACHE STRING "The website the About pane links to (empty: no link)")
find_package(Git QUIET)
if(GIT_FOUND AND EXISTS "${CMAKE_SOURCE_DIR}/.git")
  execute_process(COMMAND "${GIT_EXECUTABLE}" rev-list --count HEAD
    WORKING_DIRECTORY "${CMAKE_SOURCE_DIR}" OUTPUT_VARIABLE QUILLON_BUILD
    OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
  execute_process(COMMAND "${GIT_EXECUTABLE}" rev-parse --short=7 HEAD
    WORKING_DIRECTORY "${CMAKE_SOURCE_DIR}" OUTPUT_VARIABLE QUILLON_COMMIT
    OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
endif()
configure_file("${CMAKE_SOURCE_DIR}/cmake/BuildInfoValues.h.in"
  "${CMAKE_BINARY_DIR}/generated/BuildInfoValues.h" @ONLY)
