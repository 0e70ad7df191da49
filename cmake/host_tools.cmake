# SPDX-FileCopyrightText: 2026 The varek-em developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Generators that run on the build machine and write sources for the build:
# the angle-table generator (its table gives WebAssembly the x87 sines and
# cosines) and the window's description for the page (varek-form-export). A
# native build runs its own targets. The WebAssembly build cannot run what it
# compiles, so it builds these targets natively first, as a sub-build of this
# very source tree in <build>/host (VAREK_HOST_TOOLS_ONLY: the model and the
# generators, no toolkit), and runs them from there. It
# needs nothing from any other build folder and no build order between
# presets; a change to a generator's sources rebuilds it, since ninja runs in
# the sub-build on every build and rewrites nothing that did not change.
#
# Another generator: add its target to VAREK_HOST_TOOLS, define it in a folder
# that the VAREK_HOST_TOOLS_ONLY build adds (CMakeLists.txt), and call
# varek_host_tool() for its command.
set(VAREK_HOST_TOOLS varek-angle-table varek-form-export)

if(EMSCRIPTEN)
  include(ExternalProject)
  set(varek_host_bin ${CMAKE_BINARY_DIR}/host/bin)
  set(host_byproducts ${VAREK_HOST_TOOLS})
  list(TRANSFORM host_byproducts PREPEND ${varek_host_bin}/)
  # The toolchain file of this build must not reach the native sub-build.
  ExternalProject_Add(varek_host_tools
    SOURCE_DIR ${PROJECT_SOURCE_DIR}
    BINARY_DIR ${CMAKE_BINARY_DIR}/host
    CMAKE_GENERATOR ${CMAKE_GENERATOR}
    CMAKE_ARGS -DVAREK_HOST_TOOLS_ONLY=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo
               -DCMAKE_RUNTIME_OUTPUT_DIRECTORY=${varek_host_bin}
    BUILD_COMMAND ${CMAKE_COMMAND} --build <BINARY_DIR> --target ${VAREK_HOST_TOOLS}
    BUILD_ALWAYS ON
    BUILD_BYPRODUCTS ${host_byproducts}
    INSTALL_COMMAND ""
    USES_TERMINAL_BUILD ON)
endif()

# Sets OUT_COMMAND to the program of generator TARGET and OUT_DEPENDS to what
# a custom command that runs it depends on.
function(varek_host_tool target out_command out_depends)
  if(EMSCRIPTEN)
    set(${out_command} ${varek_host_bin}/${target} PARENT_SCOPE)
    set(${out_depends} varek_host_tools ${varek_host_bin}/${target} PARENT_SCOPE)
  else()
    set(${out_command} $<TARGET_FILE:${target}> PARENT_SCOPE)
    set(${out_depends} ${target} PARENT_SCOPE)
  endif()
endfunction()
