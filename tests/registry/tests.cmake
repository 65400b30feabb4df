# The values as Wine's own registry tool reads them.
kelbrine_wine_test(NAME registry_reg_query COMMAND ${CMAKE_CURRENT_LIST_DIR}/reg_query.sh
                   $<TARGET_FILE:test_registry>)
