# Tests that drive the real game binary from the outside with shell scripts.
# Included from tests/CMakeLists.txt, so KESTRANO_GAME_DIR is known here.

# The start sound must come out of a real sound server, heard on its sink.
add_test(NAME audible_start_sound
    COMMAND bash "${CMAKE_CURRENT_SOURCE_DIR}/audible_start_sound.sh"
            "$<TARGET_FILE:kestrano>" "${KESTRANO_GAME_DIR}")
set_tests_properties(audible_start_sound PROPERTIES
    SKIP_RETURN_CODE 77
    TIMEOUT 120
    RESOURCE_LOCK sound_server)

# The table in a real window, closed from its menu in a round with keys.
add_test(NAME closing_real_window
    COMMAND bash "${CMAKE_CURRENT_SOURCE_DIR}/closing_real_window.sh" "$<TARGET_FILE:test_closing>")
set_tests_properties(closing_real_window PROPERTIES
    WORKING_DIRECTORY "${KESTRANO_GAME_DIR}"
    ENVIRONMENT "LC_ALL=C.UTF-8;LANG=C.UTF-8"
    TIMEOUT 120)
