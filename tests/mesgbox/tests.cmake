# The real message box, opened by a small program and driven by a script
# with real keys and clicks under the test run's display.
add_executable(mesgbox_tool ${CMAKE_CURRENT_LIST_DIR}/tools/mesgbox_tool.cpp
               $<TARGET_OBJECTS:engine_resources>)
target_link_libraries(mesgbox_tool PRIVATE engine)
kelbrine_wine_test(NAME mesgbox_real COMMAND ${CMAKE_CURRENT_LIST_DIR}/mesgbox.sh
                   $<TARGET_FILE:mesgbox_tool>)
