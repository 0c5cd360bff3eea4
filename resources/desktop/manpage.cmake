# cmake -DPLAYER=<executable> -DOUTPUT=<file.1> -DTITLE=<name> -DSOURCE=<version text> -P manpage.cmake
#
# Writes the man page from what the program prints for --help, so that the two
# never disagree: the usage line becomes the synopsis, the description lines
# the description (the first also the one-line summary of NAME), every option
# line an entry of OPTIONS. --help runs before the application object exists
# and so needs no display.
cmake_policy(VERSION 3.16)

execute_process(COMMAND ${PLAYER} --help
                OUTPUT_VARIABLE help RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "${PLAYER} --help failed: ${result}")
endif()

# troff: a backslash and a minus sign need escaping; a leading dot or quote
# would start a request.
function(roff out text)
  string(REPLACE "\\" "\\e" text "${text}")
  string(REPLACE "-" "\\-" text "${text}")
  string(REGEX REPLACE "^([.'])" "\\\\&\\1" text "${text}")
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

string(REPLACE ";" "\\;" help "${help}")
string(REPLACE "\n" ";" lines "${help}")
set(section usage)
set(description "")
set(summary "")
set(options "")
foreach(line IN LISTS lines)
  if(section STREQUAL "usage")
    set(section description)
  elseif(line STREQUAL "Options:")
    set(section options)
  elseif(section STREQUAL "description")
    if(NOT line STREQUAL "")
      roff(text "${line}")
      if(summary STREQUAL "")
        set(summary "${text}")
      endif()
      string(APPEND description ".PP\n${text}\n")
    endif()
  elseif(section STREQUAL "options")
    if(line MATCHES "^  ([^ ].*[^ ])  +([^ ].*)$")
      roff(names "${CMAKE_MATCH_1}")
      roff(text "${CMAKE_MATCH_2}")
      # Option names bold, value names italic.
      string(REGEX REPLACE "(\\\\-(\\\\-)?[A-Za-z0-9]+)" "\\\\fB\\1\\\\fR" names "${names}")
      string(REGEX REPLACE "<([^>]*)>" "<\\\\fI\\1\\\\fR>" names "${names}")
      string(APPEND options ".TP\n${names}\n${text}\n")
    elseif(line MATCHES "^ +([^ ].*)$")
      roff(text "${CMAKE_MATCH_1}")
      string(APPEND options "${text}\n")
    endif()
  endif()
endforeach()

string(TOUPPER "${TITLE}" upper)
string(REGEX REPLACE "\\.$" "" summary "${summary}")
file(WRITE ${OUTPUT}
".TH ${upper} 1 \"\" \"${SOURCE}\" \"User Commands\"
.SH NAME
${TITLE} \\- ${summary}
.SH SYNOPSIS
.B ${TITLE}
[\\fIoptions\\fR]
.SH DESCRIPTION
${description}.SH OPTIONS
${options}")
