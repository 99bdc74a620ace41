# Turns a text table into a C++ source that holds it as one string:
#   cmake -DIN=table.txt -DOUT=table.cpp -P EmbedLexicon.cmake
# The text is written as hexadecimal bytes, so any content survives unchanged.
file(READ ${IN} content HEX)
string(LENGTH "${content}" hex_length)
math(EXPR byte_count "${hex_length} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "'\\\\x\\1'," bytes "${content}")
string(REGEX REPLACE "(('\\\\x[0-9a-f][0-9a-f]',){16})" "\\1\n" bytes "${bytes}")
file(WRITE ${OUT}.tmp
  "// Generated from ${IN}; do not edit.\n"
  "#include <cstddef>\n"
  "namespace orvanel::prosody::detail {\n"
  "extern const char kStressLexiconText[];\n"
  "extern const std::size_t kStressLexiconSize;\n"
  "const char kStressLexiconText[] = {\n${bytes}'\\0'};\n"
  "const std::size_t kStressLexiconSize = ${byte_count};\n"
  "}  // namespace orvanel::prosody::detail\n")
file(COPY_FILE ${OUT}.tmp ${OUT} ONLY_IF_DIFFERENT)
file(REMOVE ${OUT}.tmp)
