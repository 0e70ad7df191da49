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
# VAREK_HOST_TOOLS_FROM, a native build of this tree (the ci preset passes
# build/release, built just before): the generators are built there instead,
# by that build's own ninja, so they are compiled once for both builds and
# are never older than their sources.
#
# Another generator: add its target to VAREK_HOST_TOOLS and its folder in a
# native build to VAREK_HOST_TOOL_FOLDERS, define it in a folder that the
# VAREK_HOST_TOOLS_ONLY build adds (CMakeLists.txt), and call
# varek_host_tool() for its command.
set(VAREK_HOST_TOOLS varek-angle-table varek-form-export)
set(VAREK_HOST_TOOL_FOLDERS tools/tables tools/form)
set(VAREK_HOST_TOOLS_FROM "" CACHE PATH "A native build of this tree whose generators the web build uses")

if(EMSCRIPTEN AND VAREK_HOST_TOOLS_FROM)
  include(ExternalProject)
  set(host_byproducts)
  foreach(tool folder IN ZIP_LISTS VAREK_HOST_TOOLS VAREK_HOST_TOOL_FOLDERS)
    set(varek_host_program_${tool} ${VAREK_HOST_TOOLS_FROM}/${folder}/${tool})
    list(APPEND host_byproducts ${varek_host_program_${tool}})
  endforeach()
  ExternalProject_Add(varek_host_tools
    SOURCE_DIR ${PROJECT_SOURCE_DIR}
    BINARY_DIR ${VAREK_HOST_TOOLS_FROM}
    CONFIGURE_COMMAND ""
    BUILD_COMMAND ${CMAKE_COMMAND} --build <BINARY_DIR> --target ${VAREK_HOST_TOOLS}
    BUILD_ALWAYS ON
    BUILD_BYPRODUCTS ${host_byproducts}
    INSTALL_COMMAND ""
    USES_TERMINAL_BUILD ON)
elseif(EMSCRIPTEN)
  include(ExternalProject)
  set(varek_host_bin ${CMAKE_BINARY_DIR}/host/bin)
  set(host_byproducts ${VAREK_HOST_TOOLS})
  list(TRANSFORM host_byproducts PREPEND ${varek_host_bin}/)
  foreach(tool IN LISTS VAREK_HOST_TOOLS)
    set(varek_host_program_${tool} ${varek_host_bin}/${tool})
  endforeach()
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
    set(${out_command} ${varek_host_program_${target}} PARENT_SCOPE)
    set(${out_depends} varek_host_tools ${varek_host_program_${target}} PARENT_SCOPE)
  else()
    set(${out_command} $<TARGET_FILE:${target}> PARENT_SCOPE)
    set(${out_depends} ${target} PARENT_SCOPE)
  endif()
endfunction()
