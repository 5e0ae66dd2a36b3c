// A picture of the whole screen as a PNG file (8-bit RGB), for a person to
// see what a program showed.
#pragma once

// 1 when the file was written.
int SHOT_screen(const char *path);
