# Native checks of the text table and of its generator. Included at the end
# of the top directory (see resources/CMakeLists.txt), so paths are spelled
# from this file's folder.
find_package(GTest REQUIRED)
include(GoogleTest)
set(hw_native_dir ${CMAKE_CURRENT_LIST_DIR})
set(hw_native_out ${PROJECT_BINARY_DIR}/tests/dlls/native)
add_executable(hw_texts_test ${hw_native_dir}/texts_test.cpp)
set_target_properties(hw_texts_test PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${hw_native_out})
target_link_libraries(hw_texts_test PRIVATE hw_texts)
hw_add_gtest(hw_texts_test)

# The generator refuses definitions that would give the two outputs different
# texts or clash in the ids header, and says why.
set(hw_bad_defs
    "bad_escape=only the escapes"
    "bare_quote=only the escapes"
    "descending=is not above the previous id"
    "duplicate_name=is used twice"
    "malformed=expected: ID NAME")
foreach(entry IN LISTS hw_bad_defs)
  string(REPLACE "=" ";" entry "${entry}")
  list(GET entry 0 bad)
  list(GET entry 1 reason)
  # CMake wraps long messages: any blank may become a line break.
  string(REPLACE " " "[ \n]+" reason "${reason}")
  add_test(NAME hw_texts_generator_rejects_${bad}
           COMMAND ${CMAKE_COMMAND} -DDEF=${hw_native_dir}/bad_defs/${bad}.def
                   -DOUT_DIR=${hw_native_out}/bad_${bad}
                   -P ${PROJECT_SOURCE_DIR}/resources/cmake/generate_texts.cmake)
  set_tests_properties(hw_texts_generator_rejects_${bad} PROPERTIES
                       PASS_REGULAR_EXPRESSION "${reason}")
endforeach()
