#pragma once
// Texts as the end-to-end probes print them: UTF-8, one record per line, and
// window texts read from another process.
#include <windows.h>

#include <string>

namespace korvane::e2e {

std::string WideToUtf8(const std::wstring& wide);
// ANSI (the process's code page) to UTF-16.
std::wstring AnsiToWide(const std::string& ansi);
std::string AnsiToUtf8(const std::string& ansi);

// Tab, newline, carriage return and backslash as \t \n \r \\, so that a text
// stays on its record's line.
std::string Escape(const std::string& text);

// Lower-case hex of the bytes; "-" for none.
std::string Hex(const std::string& bytes);

// The window's class name in UTF-8.
std::string ClassOf(HWND window);

// The text of a window of another process through WM_GETTEXT, which is
// marshalled across processes; false (and text empty) if its thread does not
// answer in time.
bool LiveWindowText(HWND window, std::wstring& text);

}  // namespace korvane::e2e
