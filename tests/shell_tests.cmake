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
