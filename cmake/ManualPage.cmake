# Makes a program's manual page at build time: the sections that the program
# prints from its own help definitions (PROGRAM --manual-page) go into the
# hand-written rest of the page, where TEMPLATE holds @HELP_SECTIONS@.
#   cmake -DPROGRAM=prog -DTEMPLATE=page.1.in -DOUTPUT=page.1 -DPROJECT_VERSION=v
#         -DVELMORA_RELEASE_DATE=date -P ManualPage.cmake
execute_process(COMMAND "${PROGRAM}" --manual-page OUTPUT_VARIABLE HELP_SECTIONS RESULT_VARIABLE result)
if(NOT result EQUAL 0 OR HELP_SECTIONS STREQUAL "")
  message(FATAL_ERROR "${PROGRAM} --manual-page printed no sections (${result})")
endif()
configure_file("${TEMPLATE}" "${OUTPUT}" @ONLY)
