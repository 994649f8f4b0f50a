# Fails when groff warns about the man page ${PAGE}, when a section a man page is read for is
# missing or CLI11's "Excludes:" shows, or when a line of zyl's help (${ZYL}), its own or a
# command's, is not on the rendered page, blanks aside; the usage lines head their sections, and
# the headings of options and arguments become the page's layout.
# Usage: cmake -DGROFF=<groff> -DZYL=<zyl> -DPAGE=<zyl.1> -P <this>
execute_process(COMMAND ${GROFF} -man -Tascii -ww -P-cbou -rLL=2000n ${PAGE}  # no line breaks
                OUTPUT_VARIABLE page ERROR_VARIABLE warnings COMMAND_ERROR_IS_FATAL ANY)
if(warnings)
  message(FATAL_ERROR "groff warns about ${PAGE}:\n${warnings}")
endif()
foreach(section NAME SYNOPSIS DESCRIPTION COMMANDS "EXIT STATUS" ENVIRONMENT FILES EXAMPLES
                "SEE ALSO")
  if(NOT page MATCHES "\n${section}\n")
    message(SEND_ERROR "${PAGE} lacks the section ${section}")
  endif()
endforeach()
if(page MATCHES "Excludes:")
  message(SEND_ERROR "${PAGE} shows CLI11's Excludes:")
endif()
execute_process(COMMAND ${ZYL} --help OUTPUT_VARIABLE help COMMAND_ERROR_IS_FATAL ANY)
string(REGEX MATCHALL "\n  [a-z][a-z-]+ " commands "${help}")
foreach(command IN LISTS commands)
  string(STRIP "${command}" command)
  execute_process(COMMAND ${ZYL} help ${command} OUTPUT_VARIABLE text COMMAND_ERROR_IS_FATAL ANY)
  string(APPEND help "\n${text}")
endforeach()
string(REGEX REPLACE "[ \n]+" " " page "${page}")
string(REPLACE ";" "<semicolon>" page "${page}")  # the help's lines become a CMake list below
string(REPLACE ";" "<semicolon>" help "${help}")
string(REPLACE "\n" ";" lines "${help}")
foreach(line IN LISTS lines)
  string(REGEX REPLACE " +" " " line "${line}")
  string(STRIP "${line}" line)
  string(REGEX REPLACE "^Usage: (zyl [a-z])" "\\1" line "${line}")
  string(FIND "${page}" "${line}" at)
  if(at LESS 0 AND NOT line MATCHES "^(Usage: zyl \\[|Options:$|Arguments:$)")
    message(SEND_ERROR "${PAGE} lacks a line of the help: ${line}")
  endif()
endforeach()
