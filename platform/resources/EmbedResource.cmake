# cmake -DINPUT=file -DOUTPUT=file.cpp -DSYMBOL=name -P EmbedResource.cmake
# Writes `const unsigned char name[]` and `const std::size_t nameSize` holding the file.
file(READ "${INPUT}" hex HEX)
string(LENGTH "${hex}" digits)
math(EXPR size "${digits} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
file(WRITE "${OUTPUT}" "// Generated from ${INPUT}.\n#include <cstddef>\n\n"
  "extern const unsigned char ${SYMBOL}[] = {\n  ${bytes}\n};\n"
  "extern const std::size_t ${SYMBOL}Size = ${size};\n")
