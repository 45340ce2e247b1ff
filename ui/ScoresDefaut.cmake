# Writes a starting best-scores file at FICHIER unless one is already there: the program
# refuses to start without it, and a player's scores must never be overwritten.
# Usage: cmake -DFICHIER=<path>/canalisor.txt -P ScoresDefaut.cmake
if(NOT DEFINED FICHIER)
  message(FATAL_ERROR "FICHIER is not set")
endif()
if(NOT EXISTS "${FICHIER}")
  # The game writes CR LF line ends and reads a line up to its CR.
  set(contenu "")
  foreach(points 500 400 300 200 100)
    string(APPEND contenu "Canalisor\r\n${points}\r\n")
  endforeach()
  get_filename_component(dossier "${FICHIER}" DIRECTORY)
  file(MAKE_DIRECTORY "${dossier}")
  file(WRITE "${FICHIER}" "${contenu}")
  message(STATUS "Wrote a starting best-scores file: ${FICHIER}")
endif()
