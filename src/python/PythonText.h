#pragma once

#include <pybind11/pybind11.h>

#include <string>
#include <string_view>

// Bytes from the library as Python text. The library gives bytes: names,
// cultures and name types as the data files hold them (UTF-8 or
// Windows-1252), and messages that quote such bytes inside German text.

// A name, a culture, a name type or a path as the desktop program shows it:
// the bytes as UTF-8 where they are valid UTF-8, otherwise read as
// Windows-1252 by the library's own table (never Python's cp1252 codec,
// which refuses five of the bytes that the table maps).
std::string ShownUtf8(std::string_view bytes);
pybind11::str ShownText(std::string_view bytes);

// A message: its German text stays as it is, and the data's bytes it quotes
// read as the desktop program would show them. Read as a whole, a message
// that quotes a Windows-1252 name is not valid UTF-8, and its own umlauts
// and quotation marks would turn into Windows-1252 mojibake.
std::string MessageUtf8(std::string_view bytes);
pybind11::str MessageText(std::string_view bytes);
