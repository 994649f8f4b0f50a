# Fails unless the DLL at ${DLL} imports from system DLLs alone: the C++ runtime, libgcc and
# winpthread must be linked in, or callers would need them beside the DLL. With ALLOW, that DLL
# may be imported too; with EXPORTS (comma-separated), the export table must name exactly those.
# Usage: cmake -DOBJDUMP=<objdump> -DDLL=<dll> [-DALLOW=<dll>] [-DEXPORTS=<names>] -P check_imports.cmake
execute_process(COMMAND ${OBJDUMP} -p ${DLL} OUTPUT_VARIABLE dump RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "${OBJDUMP} -p ${DLL} failed: ${result}")
endif()
string(REGEX MATCHALL "DLL Name: [^\r\n]+" lines "${dump}")
if(NOT lines)
  message(FATAL_ERROR "${DLL}: no import table found")
endif()
set(foreign "")
foreach(line IN LISTS lines)
  string(REGEX REPLACE "^DLL Name: *" "" name "${line}")
  string(STRIP "${name}" name)
  string(TOLOWER "${name}" lower)
  string(TOLOWER "${ALLOW}" allowed)
  if(NOT lower MATCHES "^(kernel32|user32|msvcrt)\\.dll$" AND NOT lower MATCHES "^api-ms-win-"
     AND NOT lower STREQUAL allowed)
    list(APPEND foreign ${name})
  endif()
endforeach()
if(foreign)
  message(FATAL_ERROR "${DLL} imports from non-system DLLs: ${foreign}")
endif()

if(DEFINED EXPORTS)
  # objdump lists the exports as "[ ordinal] name" lines after "[Ordinal/Name Pointer] Table".
  string(REGEX REPLACE ".*\\[Ordinal/Name Pointer\\] Table[^\n]*\n" "" table "${dump}")
  string(REGEX REPLACE "\n[ \t\r]*\n.*" "" table "${table}")  # up to the next blank line
  string(REGEX MATCHALL "\\[ *[0-9]+\\] [^\r\n]+" rows "${table}")
  list(TRANSFORM rows REPLACE "^\\[ *[0-9]+\\] " "")
  string(REPLACE "," ";" want "${EXPORTS}")
  list(SORT rows)
  list(SORT want)
  if(NOT rows STREQUAL want)
    message(FATAL_ERROR "${DLL} exports ${rows}, not ${want}")
  endif()
endif()
