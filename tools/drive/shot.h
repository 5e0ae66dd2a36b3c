// A picture of the screen as a PNG file (8-bit RGB), for a person to see
// what a program showed.
#pragma once
#include <windows.h>

// The area of the screen (null: all of it) into the file; 1 when written.
int SHOT_screen(const char *path, const RECT *area = nullptr);
