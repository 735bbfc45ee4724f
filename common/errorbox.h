/*
 * Error box: loads the deliverable's caption and message strings (260 bytes
 * each), formats the message with the arguments and shows it with an error
 * icon, brought to the foreground. Each deliverable wraps this with its own
 * caption id.
 */
#ifndef TILTKIT_ERRORBOX_H
#define TILTKIT_ERRORBOX_H

#include <windows.h>
#include <stdarg.h>

int ShowErrorBoxV(HINSTANCE hInstance, UINT idCaption, HWND hwndOwner,
                  UINT idText, UINT uType, va_list args);
int ShowErrorBox(HINSTANCE hInstance, UINT idCaption, HWND hwndOwner,
                 UINT idText, ...);

#endif
