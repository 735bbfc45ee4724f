/*
 * Pixels of the screen and of bitmap resources, and screenshots of windows
 * saved as PNG files for a person to look at.
 */
#ifndef TESTBENCH_CAPTURE_H
#define TESTBENCH_CAPTURE_H

#include <windows.h>
#include <string>
#include <vector>

namespace tb {

/* Pixels, 0x00RRGGBB, rows top to bottom. */
struct Pixels {
    int w = 0, h = 0;
    std::vector<DWORD> rgb;
    DWORD at(int x, int y) const { return rgb[(size_t)y * w + x]; }
};

/* What the screen shows in a rectangle (empty for an empty rectangle). */
Pixels CaptureScreen(const RECT &rc);
/* A bitmap resource of a module (loaded as data or not). */
Pixels BitmapPixels(HMODULE hModule, int id);
/* Writes the pixels as a 24-bit PNG file. */
bool WritePng(const std::string &path, const Pixels &px);

/* The screen area of a window (the whole screen for NULL or a window that is
 * gone), after a moment for painting, as dir\name.png; the folder is created.
 * Returns the file's path, or "" when nothing was saved. */
std::string SaveScreenshot(HWND hwnd, const std::string &dir, const std::string &name);

} // namespace tb

#endif
