# The directory choice on drives of its own: the script maps drive letters
# in the Wine prefix, then runs the cases that rely on them.
target_sources(test_dirselect PRIVATE ${CMAKE_CURRENT_LIST_DIR}/tools/dir_window.cpp)
add_executable(dirselect_drives ${CMAKE_CURRENT_LIST_DIR}/tools/drives_test.cpp
               ${CMAKE_CURRENT_LIST_DIR}/tools/dir_window.cpp $<TARGET_OBJECTS:engine_resources>)
target_link_libraries(dirselect_drives PRIVATE test_common)
target_include_directories(dirselect_drives PRIVATE ${CMAKE_SOURCE_DIR}/tests)
kelbrine_wine_test(NAME dirselect_drives COMMAND ${CMAKE_CURRENT_LIST_DIR}/drives.sh
                   $<TARGET_FILE:dirselect_drives>)
