# SPDX-FileCopyrightText: 2026 The varek-em developers
# SPDX-License-Identifier: GPL-3.0-or-later
# The ci preset (cmake --workflow --preset ci): a workflow has one configure
# preset, so this build holds no code of its own but drives the release, web
# and asan builds, each through its own preset into its own folder
# (build/release, build/web, build/asan, the folders a developer uses too),
# and runs their tests:
#
#   build  release, then web, then asan, then fuzz, one after the other, each with all
#          cores; each build runs its preset's configure first, so a changed
#          preset always reaches it
#   test   ci.reuse        reuse lint: every file says its licence
#          ci.clang-tidy   clang-tidy on the project's own sources as the
#                          release build compiles them (scripts/clang-tidy.sh)
#          ci.release      ctest --preset release, every label but e2e; the web
#                          tests use build/web and fail rather than skip without it
#          ci.asan         ctest --preset asan, the same under the sanitizers
#                          (without the tests that load the web build), and
#                          the end-to-end tests: they drive the real program
#                          for minutes, and once under the sanitizers checks
#                          what the optimised build would show and more
#          ci.fuzz         ctest --preset fuzz: the CSV reader's libFuzzer
#                          target for a short while (clang)
include(ExternalProject)
include(ProcessorCount)
ProcessorCount(jobs)
if(jobs EQUAL 0)
  set(jobs 2)
endif()

set(in_source ${CMAKE_COMMAND} -E chdir ${PROJECT_SOURCE_DIR})
set(previous)
# The web build runs the generators of the release build, built just before
# (cmake/host_tools.cmake), rather than compiling them again.
set(ci_options_web -DVAREK_HOST_TOOLS_FROM=${PROJECT_SOURCE_DIR}/build/release)
foreach(preset IN ITEMS release web asan fuzz)
  ExternalProject_Add(ci_${preset}
    SOURCE_DIR ${PROJECT_SOURCE_DIR}
    BINARY_DIR ${PROJECT_SOURCE_DIR}/build/${preset}
    CONFIGURE_COMMAND ""
    BUILD_COMMAND ${in_source} ${CMAKE_COMMAND} --preset ${preset} ${ci_options_${preset}}
          COMMAND ${in_source} ${CMAKE_COMMAND} --build --preset ${preset} --parallel ${jobs}
    BUILD_ALWAYS ON
    INSTALL_COMMAND ""
    USES_TERMINAL_BUILD ON
    DEPENDS ${previous})
  set(previous ci_${preset})
endforeach()

# Qt wants a private runtime directory.
set(xdg_runtime ${CMAKE_BINARY_DIR}/xdg-runtime)
file(MAKE_DIRECTORY ${xdg_runtime})
file(CHMOD ${xdg_runtime} DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE)

enable_testing()
add_test(NAME ci.reuse COMMAND reuse lint WORKING_DIRECTORY ${PROJECT_SOURCE_DIR})
add_test(NAME ci.clang-tidy COMMAND bash scripts/clang-tidy.sh build/release WORKING_DIRECTORY ${PROJECT_SOURCE_DIR})
set(ci_test_options_release --label-exclude e2e)
foreach(preset IN ITEMS release asan fuzz)
  add_test(NAME ci.${preset} COMMAND ${CMAKE_CTEST_COMMAND} --preset ${preset} --parallel ${jobs} ${ci_test_options_${preset}}
           WORKING_DIRECTORY ${PROJECT_SOURCE_DIR})
  set_tests_properties(ci.${preset} PROPERTIES ENVIRONMENT "VAREK_WEB_REQUIRED=1;XDG_RUNTIME_DIR=${xdg_runtime}")
endforeach()
set_tests_properties(ci.reuse ci.clang-tidy ci.release ci.asan ci.fuzz PROPERTIES TIMEOUT 3600)
