# Run by CPack on the staged files before it builds the Debian package.
# Debian keeps games in /usr/games (policy 11.11), while any other install
# puts the binary in bin/, where a prefix's PATH finds it; the game finds
# its data in ../share/korvessa from either. Also drops the compiler's
# .comment and .note sections, which strip keeps and Debian's strip removes.
set(usr "${CPACK_TEMPORARY_INSTALL_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX}")
if(NOT EXISTS "${usr}/bin/korvessa")
  message(FATAL_ERROR "DebianLayout: ${usr}/bin/korvessa was not installed")
endif()
file(MAKE_DIRECTORY "${usr}/games")
file(RENAME "${usr}/bin/korvessa" "${usr}/games/korvessa")
file(GLOB left "${usr}/bin/*")
if(NOT left)
  file(REMOVE_RECURSE "${usr}/bin")
endif()

find_program(STRIP strip REQUIRED)
execute_process(
  COMMAND "${STRIP}" --remove-section=.comment --remove-section=.note "${usr}/games/korvessa"
  RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "DebianLayout: strip failed")
endif()
