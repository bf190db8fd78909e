# The PE audit (tools/check-pe.py) refuses a program that Windows would not load as this one must
# be loaded, and names each fault: a static import that is no KnownDLL, a DLL that Windows lacks,
# a missing flag, no SetDefaultDllDirectories, no manifest.
# Run as a test: cmake -DPYTHON=... -DAUDIT=... -DPROGRAM=... -P pe_audit_refuses.cmake
execute_process(COMMAND ${PYTHON} ${AUDIT} --program ${PROGRAM}
                RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(result EQUAL 0)
  message(FATAL_ERROR "the audit let the program pass:\n${output}")
endif()
foreach(fault
    "imports winmm.dll statically, which is no KnownDLL"
    "imports zlib1.dll, which Windows does not have"
    "not marked for Remote Desktop awareness"
    "does not import SetDefaultDllDirectories"
    "has no manifest")
  string(FIND "${output}" "${fault}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "the audit did not report \"${fault}\":\n${output}")
  endif()
endforeach()
message(STATUS "refused, as it should be:\n${output}")
