# The launcher is tested as a user meets it: the real INSTALL.EXE started
# from a temporary medium, driven with real clicks and keys, its window
# checked on screenshots. RECORD.EXE is the target its buttons start.
add_executable(launcher_record WIN32 ${CMAKE_CURRENT_LIST_DIR}/tools/record.cpp)
set_target_properties(launcher_record PROPERTIES OUTPUT_NAME RECORD SUFFIX .EXE)

foreach(case missing_ini buttons_2_and_5 keyboard title_without_run long_title broken_pictures
             picture_shown drive_root)
  kelbrine_wine_test(NAME launcher_${case} TIMEOUT 120
    COMMAND ${CMAKE_CURRENT_LIST_DIR}/launcher.sh ${case} $<TARGET_FILE:launcher> $<TARGET_FILE:launcher_record>)
endforeach()
kelbrine_wine_test(NAME launcher_japanese_paths TIMEOUT 120
  COMMAND ${CMAKE_CURRENT_LIST_DIR}/launcher.sh japanese_paths $<TARGET_FILE:launcher> $<TARGET_FILE:launcher_record>
  ENV LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8)

# The doctest program of this folder checks the picture loader and the path
# rules of the launcher's own sources.
target_sources(test_launcher PRIVATE ${CMAKE_SOURCE_DIR}/launcher/picture.cpp ${CMAKE_SOURCE_DIR}/launcher/form.cpp)
target_include_directories(test_launcher PRIVATE ${CMAKE_SOURCE_DIR}/launcher)
