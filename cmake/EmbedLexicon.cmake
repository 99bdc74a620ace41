# Turns a text table into a C++ source that holds it as one string:
#   cmake -DIN=table.txt -DOUT=table.cpp [-DNAME=kStressLexicon] -P EmbedLexicon.cmake
# defines orvanel::prosody::detail::<NAME>Text and <NAME>Size (default name kStressLexicon).
# The text is written as hexadecimal bytes, so any content survives unchanged.
if(NOT DEFINED NAME)
  set(NAME kStressLexicon)
endif()
file(READ ${IN} content HEX)
string(LENGTH "${content}" hex_length)
math(EXPR byte_count "${hex_length} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "'\\\\x\\1'," bytes "${content}")
string(REGEX REPLACE "(('\\\\x[0-9a-f][0-9a-f]',){16})" "\\1\n" bytes "${bytes}")
file(WRITE ${OUT}.tmp
  "// Generated from ${IN}; do not edit.\n"
  "#include <cstddef>\n"
  "namespace orvanel::prosody::detail {\n"
  "extern const char ${NAME}Text[];\n"
  "extern const std::size_t ${NAME}Size;\n"
  "const char ${NAME}Text[] = {\n${bytes}'\\0'};\n"
  "const std::size_t ${NAME}Size = ${byte_count};\n"
  "}  // namespace orvanel::prosody::detail\n")
file(COPY_FILE ${OUT}.tmp ${OUT} ONLY_IF_DIFFERENT)
file(REMOVE ${OUT}.tmp)
