// The suite's vocabulary of functions: the menu text (with "&" before the
// access letter) and the help line of every function id. The texts are
// constant CP1250 strings.
#pragma once
#include <cstdint>

#define MENU_HELP_UNKNOWN "TTH_???"

// The menu text of a function; "" for id 0. An id outside the vocabulary is
// a switch error and gives "".
const char *MENU_text(int32_t id);
// The help line of a function; "" for id 0. An id outside the vocabulary is
// a switch error and gives MENU_HELP_UNKNOWN.
const char *MENU_help(int32_t id);
