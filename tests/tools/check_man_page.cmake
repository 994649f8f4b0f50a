# Fails when groff warns about the man page ${PAGE}, or when a line of zyl's help (${ZYL}), of
# its own or of a command, is not on the rendered page. help2man reshapes the usage line and the
# option heading; every other line must be there, blanks aside.
# Usage: cmake -DGROFF=<groff> -DZYL=<zyl> -DPAGE=<zyl.1> -P check_man_page.cmake
execute_process(COMMAND ${GROFF} -man -Tascii -ww -P-cbou -rLL=2000n ${PAGE}  # no line breaks
                OUTPUT_VARIABLE page ERROR_VARIABLE warnings COMMAND_ERROR_IS_FATAL ANY)
if(warnings)
  message(FATAL_ERROR "groff warns about ${PAGE}:\n${warnings}")
endif()
string(REGEX REPLACE "[ \n]+" " " page "${page}")
string(REPLACE ";" "<semicolon>" page "${page}")  # lines below are split into CMake lists

execute_process(COMMAND ${ZYL} --help OUTPUT_VARIABLE help COMMAND_ERROR_IS_FATAL ANY)
string(REGEX MATCHALL "\n  [a-z][a-z-]+ " commands "${help}")
foreach(command IN LISTS commands)
  string(STRIP "${command}" command)
  execute_process(COMMAND ${ZYL} help ${command} OUTPUT_VARIABLE text COMMAND_ERROR_IS_FATAL ANY)
  string(APPEND help "\n${text}")
endforeach()
string(REPLACE ";" "<semicolon>" help "${help}")
string(REPLACE "\n" ";" lines "${help}")
set(missing "")
foreach(line IN LISTS lines)
  string(REGEX REPLACE " +" " " line "${line}")
  string(STRIP "${line}" line)
  string(FIND "${page}" "${line}" at)
  if(at LESS 0 AND NOT line MATCHES "^(Usage: zyl \\[|Options:$)")
    string(APPEND missing "\n  ${line}")
  endif()
endforeach()
if(missing)
  message(FATAL_ERROR "${PAGE} lacks these lines of the help:${missing}")
endif()
