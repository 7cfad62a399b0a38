# A whole session from start-up to "close", played by a driver program.  The
# memcheck stage of test.sh runs it under valgrind; here it is an ordinary
# test too, and so also runs under the sanitizers in the asan build.
# Included from tests/CMakeLists.txt, so KESTRANO_GAME_DIR is known here.
add_executable(memcheck_match memcheck/memcheck_match.cpp)
target_link_libraries(memcheck_match PRIVATE kestrano_test_support)
add_dependencies(memcheck_match kestrano_data)
add_test(NAME memcheck_match COMMAND memcheck_match WORKING_DIRECTORY "${KESTRANO_GAME_DIR}")
set_tests_properties(memcheck_match PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LC_ALL=C.UTF-8;LANG=C.UTF-8"
    TIMEOUT 120)
