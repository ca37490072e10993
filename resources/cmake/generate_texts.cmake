# Turns resources/strings.def into the three forms the build needs:
#   string_ids.h     named constants (namespace hw::ids) for program, CLI and libraries
#   texts_table.inc  the C++ table behind hw::texts::text(id)
#   strings.rc       the STRINGTABLE of the resource library
# Run as: cmake -DDEF=<strings.def> -DOUT_DIR=<dir> -P generate_texts.cmake
cmake_minimum_required(VERSION 3.25)

if(NOT DEF OR NOT OUT_DIR)
  message(FATAL_ERROR "usage: cmake -DDEF=strings.def -DOUT_DIR=dir -P generate_texts.cmake")
endif()

file(READ "${DEF}" content)
# CMake lists split on ";" and treat brackets specially; park them so that
# every line survives the split unchanged.
string(REPLACE ";" "@HW_SEMI@" content "${content}")
string(REPLACE "[" "@HW_LBR@" content "${content}")
string(REPLACE "]" "@HW_RBR@" content "${content}")
string(REPLACE "\r" "" content "${content}")
string(REPLACE "\n" ";" lines "${content}")

function(hw_restore out text)
  string(REPLACE "@HW_SEMI@" ";" text "${text}")
  string(REPLACE "@HW_LBR@" "[" text "${text}")
  string(REPLACE "@HW_RBR@" "]" text "${text}")
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

set(ids_body "")
set(table_body "")
set(rc_body "")
set(previous_id 0)
set(seen_names "")
set(count 0)
set(line_no 0)
foreach(line IN LISTS lines)
  math(EXPR line_no "${line_no} + 1")
  string(STRIP "${line}" line)
  if(line STREQUAL "" OR line MATCHES "^#")
    continue()
  endif()
  if(NOT line MATCHES "^([0-9]+)[ \t]+([A-Z][A-Z0-9_]*)[ \t]+\"(.*)\"$")
    message(FATAL_ERROR "${DEF}:${line_no}: expected: ID NAME \"text\"")
  endif()
  set(id "${CMAKE_MATCH_1}")
  set(name "${CMAKE_MATCH_2}")
  set(text "${CMAKE_MATCH_3}")

  if(id LESS_EQUAL previous_id)
    message(FATAL_ERROR "${DEF}:${line_no}: id ${id} is not above the previous id ${previous_id}")
  endif()
  if(id GREATER 65535)
    message(FATAL_ERROR "${DEF}:${line_no}: id ${id} does not fit a string table")
  endif()
  if(name IN_LIST seen_names)
    message(FATAL_ERROR "${DEF}:${line_no}: name ${name} is used twice")
  endif()
  list(APPEND seen_names "${name}")
  set(previous_id "${id}")

  # Only \n, \t, \" and \\ are allowed; a bare quote or any other backslash
  # would mean different things to the C++ compiler and the resource compiler.
  string(REGEX REPLACE "\\\\[nt\"\\\\]" "" rest "${text}")
  if(rest MATCHES "[\\\\\"]")
    message(FATAL_ERROR "${DEF}:${line_no}: only the escapes \\n \\t \\\" \\\\ are allowed in texts")
  endif()
  if(NOT rest MATCHES "^[ -~]*$")
    message(FATAL_ERROR "${DEF}:${line_no}: texts are plain printable ASCII (use \\n and \\t)")
  endif()

  hw_restore(text "${text}")
  # The resource compiler writes a quote inside a string as "".
  string(REPLACE "\\\\" "@HW_BACKSLASH@" rc_text "${text}")
  string(REPLACE "\\\"" "\"\"" rc_text "${rc_text}")
  string(REPLACE "@HW_BACKSLASH@" "\\\\" rc_text "${rc_text}")

  string(APPEND ids_body "inline constexpr int ${name} = ${id};\n")
  string(APPEND table_body "    {${id}, \"${name}\", \"${text}\"},\n")
  string(APPEND rc_body "  ${id}, \"${rc_text}\"\n")
  math(EXPR count "${count} + 1")
endforeach()

if(count EQUAL 0)
  message(FATAL_ERROR "${DEF}: no texts")
endif()

set(note "Generated from resources/strings.def by resources/cmake/generate_texts.cmake; edit that file.")

# Written through a temporary file so that unchanged outputs keep their time
# stamps and nothing that includes them is rebuilt.
function(hw_write_if_changed path text)
  file(WRITE "${path}.tmp" "${text}")
  file(COPY_FILE "${path}.tmp" "${path}" ONLY_IF_DIFFERENT)
  file(REMOVE "${path}.tmp")
endfunction()

hw_write_if_changed("${OUT_DIR}/resources/string_ids.h"
"// ${note}
#pragma once

// String-table ids of the resource library, by role.
namespace hw::ids {
${ids_body}}  // namespace hw::ids
")

hw_write_if_changed("${OUT_DIR}/resources/texts_table.inc"
"// ${note}
// Entries in ascending id order: {id, name, text}.
${table_body}")

hw_write_if_changed("${OUT_DIR}/resources/strings.rc"
"// ${note}
STRINGTABLE
BEGIN
${rc_body}END
")
