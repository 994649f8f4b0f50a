# Writes the man page zyl.1: help2man makes NAME, SYNOPSIS's fallback, DESCRIPTION and OPTIONS
# from 'zyl --help'; COMMANDS comes from each command's help ('zyl help COMMAND'), its options as
# tagged paragraphs; the sections no help holds (SYNOPSIS, EXIT STATUS, ENVIRONMENT, FILES,
# EXAMPLES, SEE ALSO) from zyl.h2m beside this file.
# cmake -DZYL=path/to/zyl -DOUT=zyl.1 -P man.cmake
cmake_minimum_required(VERSION 3.25)

# Roff reads a backslash as an escape, '-' as a hyphen, and a line that starts with a dot or a
# quote as a request: such a line would vanish from the page.
function(roff out text)
  string(REPLACE "\\" "\\e" text "${text}")
  string(REPLACE "-" "\\-" text "${text}")
  string(REGEX REPLACE "^([.'])" "\\\\&\\1" text "${text}")
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

# An option or argument of the help ("-w,--width N", "FILE ..."): its name in bold, then the rest.
function(roff_tag out tag)
  string(REGEX MATCH "^([^ ]*)(.*)$" whole "${tag}")
  roff(name "${CMAKE_MATCH_1}")
  roff(rest "${CMAKE_MATCH_2}")
  set(${out} ".TP\n\\fB${name}\\fR${rest}\n" PARENT_SCOPE)
endfunction()

# One command's help as a subsection: its usage as the heading, what it does, its arguments and
# options, then the rest of its help as paragraphs.
function(roff_command out help)
  set(page "")
  set(summary "")
  set(state summary)  # summary, list (arguments and options), gap or text
  set(ended FALSE)
  while(NOT help STREQUAL "")
    string(FIND "${help}" "\n" end)
    if(end LESS 0)
      set(line "${help}")
      set(help "")
    else()
      string(SUBSTRING "${help}" 0 ${end} line)
      math(EXPR end "${end} + 1")
      string(SUBSTRING "${help}" ${end} -1 help)
    endif()
    if(state STREQUAL "summary")
      if(line MATCHES "^Usage: (.*)$")
        roff(usage "${CMAKE_MATCH_1}")
        string(APPEND page ".SS \"${usage}\"\n${summary}\n")
        set(state list)
      else()
        roff(summary "${line}")
      endif()
    elseif(line MATCHES "^(Arguments|Options):$")
      set(state list)
    elseif(line STREQUAL "")
      if(state STREQUAL "list")
        set(state gap)
      endif()
    elseif(state STREQUAL "list" AND line MATCHES "^  ([^ ].*[^ ])  +([^ ].*)$")
      roff_tag(tag "${CMAKE_MATCH_1}")
      roff(text "${CMAKE_MATCH_2}")
      string(APPEND page "${tag}${text}\n")
    elseif(state STREQUAL "list" AND line MATCHES "^  ([^ ].*)$")
      roff_tag(tag "${CMAKE_MATCH_1}")  # too long a name: its description on the next line
      string(APPEND page "${tag}")
    elseif(state STREQUAL "list" AND line MATCHES "^ +(.*)$")
      roff(text "${CMAKE_MATCH_1}")
      string(APPEND page "${text}\n")
    else()
      # The help's lines run on; one after a finished sentence starts a paragraph.
      if(NOT state STREQUAL "text" OR (ended AND line MATCHES "^[-A-Z]"))
        string(APPEND page ".PP\n")
        set(state text)
      endif()
      set(ended FALSE)
      if(line MATCHES "[.)]$")
        set(ended TRUE)
      endif()
      roff(text "${line}")
      string(APPEND page "${text}\n")
    endif()
  endwhile()
  set(${out} "${page}" PARENT_SCOPE)
endfunction()

execute_process(COMMAND ${ZYL} --help OUTPUT_VARIABLE help COMMAND_ERROR_IS_FATAL ANY)
string(REGEX MATCH "\nCommands:\n.*" listed "${help}")
string(REGEX MATCHALL "\n  [a-z][a-z-]+ " commands "${listed}")
set(include "[COMMANDS]\nEach command with its arguments and options; \\fBzyl help\\fR \\fICOMMAND\\fR \
and \\fBzyl\\fR \\fICOMMAND\\fR \\fB\\-\\-help\\fR print the same.\n")
foreach(command IN LISTS commands)
  string(STRIP "${command}" command)
  execute_process(COMMAND ${ZYL} help ${command} OUTPUT_VARIABLE text COMMAND_ERROR_IS_FATAL ANY)
  roff_command(section "${text}")
  string(APPEND include "${section}")
endforeach()
get_filename_component(here "${CMAKE_SCRIPT_MODE_FILE}" DIRECTORY)
file(READ "${here}/zyl.h2m" sections)
file(WRITE ${OUT}.h2m "${include}\n${sections}")
execute_process(COMMAND help2man --no-info --section=1 --include=${OUT}.h2m --output=${OUT}
                        "--name=call the ZIZUDUZ library from scripts and read its debug log" ${ZYL}
                COMMAND_ERROR_IS_FATAL ANY)
