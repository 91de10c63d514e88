#pragma once

#include <string>

// What the system's error number means, in German like every other message;
// an error without a text of its own is named by the system's text and its
// number.
std::string SystemErrorText(int errorNumber);
