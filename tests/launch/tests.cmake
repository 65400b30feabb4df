# The program the launch tests start, built beside test_launch.exe; the
# main window helpers of the script tests.
add_executable(launch_child WIN32 ${CMAKE_CURRENT_LIST_DIR}/tools/child.cpp)
set_target_properties(launch_child PROPERTIES OUTPUT_NAME LCHILD SUFFIX .EXE)
add_dependencies(test_launch launch_child)
target_sources(test_launch PRIVATE ${CMAKE_SOURCE_DIR}/tests/script/medium.cpp)
