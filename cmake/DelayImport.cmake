# Makes a delay-import library for one system DLL from the toolchain's own import library: every
# function the import library names, imported so that the DLL is loaded at the first call to one of
# them instead of before the program's first instruction. Run by cmake/windows.cmake as
#   cmake -DNM=... -DDLLTOOL=... -DIMPORT_LIB=libfoo.a -DDLL=FOO.dll -DOUTPUT=libfoo_delay.a -P DelayImport.cmake
execute_process(COMMAND ${NM} ${IMPORT_LIB} OUTPUT_VARIABLE symbols COMMAND_ERROR_IS_FATAL ANY)
string(REGEX MATCHALL "[ \t]I __imp_[A-Za-z0-9_]+" functions "${symbols}")
list(TRANSFORM functions REPLACE "^[ \t]I __imp_" "")
list(REMOVE_DUPLICATES functions)
list(LENGTH functions count)
if(count EQUAL 0)
  message(FATAL_ERROR "${IMPORT_LIB} names no function of ${DLL}")
endif()
list(JOIN functions "\n" exports)
file(WRITE ${OUTPUT}.def "LIBRARY ${DLL}\nEXPORTS\n${exports}\n")
execute_process(COMMAND ${DLLTOOL} --input-def ${OUTPUT}.def --output-delaylib ${OUTPUT} --dllname ${DLL}
  COMMAND_ERROR_IS_FATAL ANY)
