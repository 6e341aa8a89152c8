# Reads each filter's record (yiq/yiq.json, rgb/rgb.json, hsv/hsv.json) into
# variables and writes the header <kind>_record.h into generated/, for the
# C++ sources and the resource scripts. Variables, for KIND yiq, rgb, hsv:
#   SORVEL_<KIND>_TITLE, _EDITOR_TITLE, _DESCRIPTION, _DIALOG_CAPTION, _SUMMARY, _LIBRARY,
#   _HELP_FILE, _KEYWORDS
#   SORVEL_<KIND>_PARAMETER_<i>_NAME, _DEFAULT, _MINIMUM, _MAXIMUM, _BRIEF,
#   _EXPLANATION for i = 0, 1, 2, in the order of the script line.
set(SORVEL_FILTER_KINDS yiq rgb hsv)

# A C string literal of text.
function(sorvel_c_string out text)
  string(REPLACE "\\" "\\\\" text "${text}")
  string(REPLACE "\"" "\\\"" text "${text}")
  set(${out} "\"${text}\"" PARENT_SCOPE)
endfunction()

macro(sorvel_read_filter_record kind)
  set(record_file ${PROJECT_SOURCE_DIR}/${kind}/${kind}.json)
  set_property(DIRECTORY ${PROJECT_SOURCE_DIR} APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${record_file})
  file(READ ${record_file} record)
  string(TOUPPER ${kind} KIND)
  foreach(field title description dialog_caption summary library help_file keywords)
    string(TOUPPER ${field} FIELD)
    string(JSON SORVEL_${KIND}_${FIELD} GET "${record}" ${field})
  endforeach()
  string(REGEX REPLACE " v[0-9.]+$" "" SORVEL_${KIND}_EDITOR_TITLE "${SORVEL_${KIND}_TITLE}")
  string(JSON count LENGTH "${record}" parameters)
  if(NOT count EQUAL 3)
    message(FATAL_ERROR "${record_file}: a filter has three parameters, not ${count}")
  endif()
  foreach(i 0 1 2)
    foreach(field name default minimum maximum brief explanation)
      string(TOUPPER ${field} FIELD)
      string(JSON SORVEL_${KIND}_PARAMETER_${i}_${FIELD} GET "${record}" parameters ${i} ${field})
    endforeach()
  endforeach()
endmacro()

function(sorvel_write_record_header kind)
  string(TOUPPER ${kind} KIND)
  set(lines "")
  foreach(field TITLE EDITOR_TITLE DESCRIPTION DIALOG_CAPTION SUMMARY LIBRARY)
    sorvel_c_string(${field} "${SORVEL_${KIND}_${field}}")
  endforeach()
  sorvel_c_string(HELP_PATH "plugins\\${SORVEL_${KIND}_HELP_FILE}")
  set(parameters "")
  foreach(i 0 1 2)
    set(p SORVEL_${KIND}_PARAMETER_${i})
    string(TOLOWER "${${p}_NAME}" command_name)
    sorvel_c_string(name "${${p}_NAME}")
    sorvel_c_string(command_name "${command_name}")
    sorvel_c_string(brief "${${p}_BRIEF}")
    sorvel_c_string(explanation "${${p}_EXPLANATION}")
    string(APPEND parameters "\n     {${name}, ${command_name}, ${${p}_DEFAULT}, ${${p}_MINIMUM}, ${${p}_MAXIMUM},\n      ${brief},\n      ${explanation}},")
  endforeach()
  file(CONFIGURE OUTPUT ${PROJECT_BINARY_DIR}/generated/${kind}_record.h CONTENT
"// Made by CMake from ${kind}/${kind}.json: change that file, not this one.
#ifndef SORVEL_${KIND}_RECORD_H
#define SORVEL_${KIND}_RECORD_H

// For the resource script.
#define SORVEL_${KIND}_TITLE ${TITLE}
#define SORVEL_${KIND}_CAPTION ${DIALOG_CAPTION}
#define SORVEL_${KIND}_LIBRARY ${LIBRARY}

#ifndef RC_INVOKED
#include \"frame/portable/filter_record.h\"

namespace sorvel::${kind} {

inline constexpr FilterRecord kRecord{
    ${TITLE},
    ${EDITOR_TITLE},
    ${DESCRIPTION},
    ${SUMMARY},
    ${LIBRARY},
    ${HELP_PATH},
    {${parameters}
    }};

}  // namespace sorvel::${kind}
#endif
#endif
" @ONLY)
endfunction()

# The help file the Help button opens, from <kind>/<help file>.in: the
# record's names, title, dialog caption and script line filled in, with the
# CRLF line ends Notepad wants. SORVEL_<KIND>_HELP_PATH names the result.
function(sorvel_write_help_file kind)
  string(TOUPPER ${kind} KIND)
  foreach(field TITLE LIBRARY HELP_FILE DIALOG_CAPTION)
    set(${field} "${SORVEL_${KIND}_${field}}")
  endforeach()
  set(names "")
  set(defaults "")
  foreach(i 0 1 2)
    string(TOLOWER "${SORVEL_${KIND}_PARAMETER_${i}_NAME}" name)
    list(APPEND names "${name}")
    list(APPEND defaults "${SORVEL_${KIND}_PARAMETER_${i}_DEFAULT}")
  endforeach()
  list(JOIN names ", " PARAMETERS)
  list(JOIN defaults ", " DEFAULTS)
  set(help ${PROJECT_BINARY_DIR}/generated/${HELP_FILE})
  configure_file(${PROJECT_SOURCE_DIR}/${kind}/${HELP_FILE}.in ${help} @ONLY NEWLINE_STYLE CRLF)
  set(SORVEL_${KIND}_HELP_PATH ${help} PARENT_SCOPE)
endfunction()

foreach(kind ${SORVEL_FILTER_KINDS})
  sorvel_read_filter_record(${kind})
  sorvel_write_record_header(${kind})
  sorvel_write_help_file(${kind})
endforeach()
