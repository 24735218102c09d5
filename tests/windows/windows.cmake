# The Windows build: the core with its Win32 serial backend, the core unit tests that do
# not need POSIX, and the end-to-end tests, whose simulator runs on the Linux side and
# is driven over a local socket (tools/wine-tests).

# GoogleTest from the sources Debian ships, built with the cross compiler.
set(ZAV_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources for the mingw build")
set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(${ZAV_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

add_subdirectory(src/core)
add_subdirectory(tools/zavctl)

set(ZAV_WIN_UNIT_TESTS
    codepage_test.cpp common_datas_test.cpp editing_test.cpp
    lang_test.cpp language_switch_test.cpp number_format_test.cpp read_program_test.cpp
    reply_processing_test.cpp scale_conversion_test.cpp settings_files_test.cpp
    text_lines_test.cpp zav_commands_test.cpp file_names_test.cpp send_progress_test.cpp
    port_error_test.cpp program_check_test.cpp)
list(TRANSFORM ZAV_WIN_UNIT_TESTS PREPEND ${CMAKE_SOURCE_DIR}/tests/unit/)
file(GLOB ZAV_WIN_ONLY_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/windows/*_test.cpp)
add_executable(zav_unit_tests ${ZAV_WIN_UNIT_TESTS} ${ZAV_WIN_ONLY_TESTS})
target_link_libraries(zav_unit_tests PRIVATE zavcore gtest gmock gtest_main)
target_include_directories(zav_unit_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests/support)
target_compile_definitions(zav_unit_tests PRIVATE ZAV_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
zav_warnings(zav_unit_tests)

file(GLOB ZAV_E2E_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/e2e/*.cpp)
add_executable(zav_e2e_tests ${ZAV_E2E_TESTS} ${CMAKE_SOURCE_DIR}/tests/windows/remote_sim.cpp
                             ${CMAKE_SOURCE_DIR}/tools/zavsim/sim_options.cpp
                             ${CMAKE_SOURCE_DIR}/tools/zavsim/controller_model.cpp)
target_link_libraries(zav_e2e_tests PRIVATE zavcore gtest gmock gtest_main ws2_32)
target_include_directories(zav_e2e_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests/support ${CMAKE_SOURCE_DIR}/tests/windows
                                                 ${CMAKE_SOURCE_DIR}/tools/zavsim)
zav_warnings(zav_e2e_tests)
