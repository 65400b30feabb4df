# The whole installer driven as a user would: each script lays out a medium
# inside the Wine C: drive, starts the real KELBRINE.EXE on it and checks what
# the walk through its pages installed. The probe only reads the screen.
add_executable(e2e_probe ${CMAKE_CURRENT_LIST_DIR}/tools/probe.cpp
               $<TARGET_OBJECTS:engine_resources>)
target_link_libraries(e2e_probe PRIVATE engine)
foreach(script install flow disks search screens startup)
  kelbrine_wine_test(NAME e2e_${script} COMMAND ${CMAKE_CURRENT_LIST_DIR}/${script}.sh
                     $<TARGET_FILE:KELBRINE> $<TARGET_FILE:e2e_probe>)
endforeach()
