# CLI11 for the Windows build (see HeaderOnly.cmake).
include(${CMAKE_CURRENT_LIST_DIR}/HeaderOnly.cmake)
velmora_header_only(CLI11::CLI11 CLI)
