# Copies a JavaScript or CSS file without its comment lines, indentation and
# blank lines, which a page would otherwise download for nothing. Only whole
# lines are dropped, so the code itself is never touched.
# Usage: cmake -DINPUT=FILE -DOUTPUT=FILE -P compact.cmake
file(READ ${INPUT} text)
string(REGEX REPLACE "\n[ \t]*//[^\n]*" "\n" text "\n${text}")
string(REGEX REPLACE "\n[ \t]*/\\*[^\n]*\\*/[ \t]*" "\n" text "${text}")
string(REGEX REPLACE "\n[ \t]+" "\n" text "${text}")
string(REGEX REPLACE "\n\n+" "\n" text "${text}")
string(REGEX REPLACE "^\n" "" text "${text}")
file(WRITE ${OUTPUT} "${text}")
