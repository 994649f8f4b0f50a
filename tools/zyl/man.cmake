# Writes the man page zyl.1 from zyl's own help: help2man makes the page from 'zyl --help', and
# each command's help ('zyl help COMMAND') follows in a section of its own.
# cmake -DZYL=path/to/zyl -DOUT=zyl.1 -P man.cmake
cmake_minimum_required(VERSION 3.25)
execute_process(COMMAND ${ZYL} --help OUTPUT_VARIABLE help COMMAND_ERROR_IS_FATAL ANY)
string(REGEX MATCH "\nCommands:\n.*" listed "${help}")
string(REGEX MATCHALL "\n  [a-z][a-z-]+ " commands "${listed}")
set(include "[COMMANDS IN DETAIL]\n")
foreach(command IN LISTS commands)
  string(STRIP "${command}" command)
  execute_process(COMMAND ${ZYL} help ${command} OUTPUT_VARIABLE text COMMAND_ERROR_IS_FATAL ANY)
  # Roff reads a backslash as an escape, '-' as a hyphen, and a line that starts with a dot or a
  # quote as a request: such a line would vanish from the page.
  string(REPLACE "\\" "\\e" text "${text}")
  string(REPLACE "-" "\\-" text "${text}")
  string(REGEX REPLACE "(^|\n)([.'])" "\\1\\\\&\\2" text "${text}")
  string(APPEND include ".SS ${command}\n.nf\n${text}.fi\n")
endforeach()
file(WRITE ${OUT}.h2m "${include}")
execute_process(COMMAND help2man --no-info --section=1 --include=${OUT}.h2m --output=${OUT}
                        "--name=call the ZIZUDUZ library from scripts and read its debug log" ${ZYL}
                COMMAND_ERROR_IS_FATAL ANY)
