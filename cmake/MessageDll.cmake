# zeltrin_add_message_dll(TARGET MC_FILE)
# Builds <bin>/<TARGET>.dll, a DLL that holds nothing but the message table compiled from
# MC_FILE, the way an event source's message file looks. It has no code and no entry point:
# it is only ever loaded as a data file.
find_program(ZELTRIN_WINDMC x86_64-w64-mingw32-windmc REQUIRED)

function(zeltrin_add_message_dll target mc)
  get_filename_component(base ${mc} NAME_WE)
  set(work ${CMAKE_CURRENT_BINARY_DIR}/${target})
  set(dll ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/${target}.dll)
  file(MAKE_DIRECTORY ${work})
  add_custom_command(OUTPUT ${dll}
    COMMAND ${ZELTRIN_WINDMC} -r ${work} -h ${work} ${mc}
    COMMAND ${CMAKE_RC_COMPILER} -I ${work} -O coff -o ${work}/${base}.o ${work}/${base}.rc
    COMMAND ${CMAKE_C_COMPILER} -shared -nostdlib -Wl,-e,0 -o ${dll} ${work}/${base}.o
    WORKING_DIRECTORY ${work}
    DEPENDS ${mc}
    VERBATIM)
  add_custom_target(${target} DEPENDS ${dll})
endfunction()
