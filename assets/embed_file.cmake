# SPDX-FileCopyrightText: 2026 The varek-em developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Writes the bytes of INPUT as a C++ array `NAME` (with `NAME_size`) into OUTPUT.
# Run as: cmake -DINPUT=<file> -DOUTPUT=<file.cpp> -DNAME=<identifier> -P embed_file.cmake
file(READ "${INPUT}" hex HEX)
string(LENGTH "${hex}" digits)
math(EXPR size "${digits} / 2")
if(size EQUAL 0)
  message(FATAL_ERROR "embed_file: ${INPUT} is empty")
endif()
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "((0x[0-9a-f][0-9a-f],){20})" "\\1\n" bytes "${bytes}")
get_filename_component(source_name "${INPUT}" NAME)
file(WRITE "${OUTPUT}.tmp"
  "// Generated from ${source_name}; do not edit.\n"
  "#include <cstddef>\n\n"
  "namespace varek::embedded {\n"
  "extern const unsigned char ${NAME}[] = {\n${bytes}\n};\n"
  "extern const std::size_t ${NAME}_size = ${size};\n"
  "}  // namespace varek::embedded\n")
file(RENAME "${OUTPUT}.tmp" "${OUTPUT}")
