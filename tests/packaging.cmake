# The installed game: its tree, its desktop files, its sounds and its Debian
# package, checked from the shell.  Included from tests/CMakeLists.txt.

set(packaging_environment
    "CMAKE_COMMAND=${CMAKE_COMMAND}"
    "CPACK_COMMAND=${CMAKE_CPACK_COMMAND}"
    "KESTRANO_APP_ID=${KESTRANO_APP_ID}"
    "KESTRANO_VERSION=${PROJECT_VERSION}"
    "KESTRANO_GAME_DIR=${KESTRANO_GAME_DIR}"
    "KESTRANO_GAMESDIR=${KESTRANO_INSTALL_GAMESDIR}"
    "KESTRANO_PROGRAMDIR=${KESTRANO_INSTALL_PROGRAMDIR}"
    "KESTRANO_GAMEDATADIR=${KESTRANO_INSTALL_GAMEDATADIR}"
    "KESTRANO_DATADIR=${CMAKE_INSTALL_DATADIR}"
    "KESTRANO_MANDIR=${CMAKE_INSTALL_MANDIR}")

# Installs into a temporary prefix, validates the desktop entry and metainfo,
# moves the tree and starts it through its launcher on a private X display.
add_test(NAME install_tree
    COMMAND bash "${CMAKE_CURRENT_SOURCE_DIR}/install_tree.sh" "${CMAKE_BINARY_DIR}")
set_tests_properties(install_tree PROPERTIES
    ENVIRONMENT "${packaging_environment}"
    TIMEOUT 120)

# Qt 6.4's sound effects play plain PCM only.
add_test(NAME sounds_plain_pcm
    COMMAND bash "${CMAKE_CURRENT_SOURCE_DIR}/sounds_plain_pcm.sh" "${KESTRANO_GAME_DIR}")

# Builds the .deb with CPack into a temporary folder and compares it with the tree.
add_test(NAME deb_package
    COMMAND bash "${CMAKE_CURRENT_SOURCE_DIR}/deb_package.sh" "${CMAKE_BINARY_DIR}")
set_tests_properties(deb_package PROPERTIES
    ENVIRONMENT "${packaging_environment}"
    TIMEOUT 300)
