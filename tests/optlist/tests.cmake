# The real option list: the doctest cases share its window with a small
# program that a script drives with real clicks and keys.
target_sources(test_optlist PRIVATE ${CMAKE_CURRENT_LIST_DIR}/tools/list_window.cpp)
add_executable(optlist_tool ${CMAKE_CURRENT_LIST_DIR}/tools/optlist_tool.cpp
               ${CMAKE_CURRENT_LIST_DIR}/tools/list_window.cpp $<TARGET_OBJECTS:engine_resources>)
target_link_libraries(optlist_tool PRIVATE engine)
kelbrine_wine_test(NAME optlist_real COMMAND ${CMAKE_CURRENT_LIST_DIR}/optlist.sh
                   $<TARGET_FILE:optlist_tool>)
