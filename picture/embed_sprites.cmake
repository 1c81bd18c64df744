# Writes OUT, a C++ file holding the bytes of the thirteen sprite files DIR/128.png .. 140.png,
# so that every picture of the board is made from the very files the window shows, wherever
# the program is installed.
set(text "// Made by picture/embed_sprites.cmake from resources/sprites; do not edit.\n")
string(APPEND text "#include \"picture/sprite_files.h\"\n\nnamespace vornick {\n\nnamespace {\n\n")
set(table "")
foreach(number RANGE 128 140)
  file(READ "${DIR}/${number}.png" hex HEX)
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  string(APPEND text "const unsigned char kFile${number}[] = {${bytes}};\n")
  string(APPEND table "    {kFile${number}, sizeof kFile${number}},\n")
endforeach()
string(APPEND text "\n}  // namespace\n\nconst EmbeddedFile kSpriteFiles[kSpriteCount] = {\n")
string(APPEND text "${table}};\n\n}  // namespace vornick\n")
file(WRITE "${OUT}.new" "${text}")
file(COPY_FILE "${OUT}.new" "${OUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUT}.new")
