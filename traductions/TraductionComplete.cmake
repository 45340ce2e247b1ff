# cmake -DLUPDATE= -DTS= -DCOPIE= -DSOURCES= -P TraductionComplete.cmake
# Brings a copy of the translation up to date with the sources, then fails on any entry that
# lupdate left without a finished English text (a new or changed French text) or found gone.
get_filename_component(dossier "${COPIE}" DIRECTORY)
file(MAKE_DIRECTORY "${dossier}")
configure_file("${TS}" "${COPIE}" COPYONLY)
execute_process(COMMAND "${LUPDATE}" -silent -source-language fr -locations none ${SOURCES} -ts "${COPIE}"
  RESULT_VARIABLE resultat)
if(NOT resultat EQUAL 0)
  message(FATAL_ERROR "lupdate failed (${resultat})")
endif()
file(READ "${COPIE}" ts)
# One item per entry; a ';' inside a text would split the list, so it is set aside first.
string(REPLACE ";" "<point-virgule>" ts "${ts}")
string(REPLACE "</message>" ";" entrees "${ts}")
set(n 0)
foreach(entree IN LISTS entrees)
  if(entree MATCHES "<translation type=\"(unfinished|vanished|obsolete)\"")
    set(etat "${CMAKE_MATCH_1}")
    string(REGEX MATCH "<source>[^<]*</source>" source "${entree}")
    string(REPLACE "<point-virgule>" ";" source "${source}")
    message(STATUS "${etat}: ${source}")
    math(EXPR n "${n} + 1")
  endif()
endforeach()
if(n GREATER 0)
  message(FATAL_ERROR "${n} English entries missing, unfinished or left over in ${TS}")
endif()
