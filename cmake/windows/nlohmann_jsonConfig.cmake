# nlohmann-json for the Windows build (see HeaderOnly.cmake).
include(${CMAKE_CURRENT_LIST_DIR}/HeaderOnly.cmake)
velmora_header_only(nlohmann_json::nlohmann_json nlohmann)
