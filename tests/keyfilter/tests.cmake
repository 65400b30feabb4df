# The keyboard filter with real keys: a script types into the engine's real
# main window, run by a small program that reports what the keys did.
add_executable(keyfilter_tool ${CMAKE_CURRENT_LIST_DIR}/tools/keyfilter_tool.cpp
               $<TARGET_OBJECTS:engine_resources>)
target_link_libraries(keyfilter_tool PRIVATE engine)
kelbrine_wine_test(NAME keyfilter_real TIMEOUT 180 COMMAND ${CMAKE_CURRENT_LIST_DIR}/keyfilter.sh
                   $<TARGET_FILE:keyfilter_tool>)
