# Turns a file into a C++ source that returns its bytes, run at build time:
#   cmake -DINPUT=file -DOUTPUT=source.cpp -DFUNCTION=Name -DHEADER=header.h -P EmbedFile.cmake
# The source defines `std::span<const unsigned char> velmora::FUNCTION()`.
file(READ "${INPUT}" hex HEX)
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "((0x..,){16})" "\\1\n    " bytes "${bytes}")
file(WRITE "${OUTPUT}.tmp"
  "// Generated from ${INPUT}; do not edit.\n"
  "#include \"${HEADER}\"\n\n"
  "namespace velmora {\n\n"
  "namespace {\nconst unsigned char Bytes[] = {\n    ${bytes}\n};\n} // namespace\n\n"
  "std::span<const unsigned char> ${FUNCTION}()\n{\n    return Bytes;\n}\n\n"
  "} // namespace velmora\n")
# Only a changed file makes its users rebuild.
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.tmp")
