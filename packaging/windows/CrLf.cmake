# Copies IN to OUT with every line ended by CR LF, for Windows' own editors:
#   cmake -DIN=README.md -DOUT=README.txt -P CrLf.cmake
file(READ "${IN}" content)
string(REGEX REPLACE "\r*\n" "\r\n" content "${content}")
file(WRITE "${OUT}.part" "${content}")
file(RENAME "${OUT}.part" "${OUT}")
