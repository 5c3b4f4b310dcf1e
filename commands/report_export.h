#pragma once

#include <windows.h>

#include <string>

// The Copy command: the pane's text on the clipboard as Unicode text, acknowledged on the Copy
// button for a moment, and only when the clipboard took it.
void CopyReportToClipboard(HWND window);

// Puts the Copy button's own caption back and stops the timer that would have.
void EndCopyFeedback(HWND window);

// The Save command: the save dialog, then the pane's text written to the chosen file.
void SaveReportToFile(HWND window);

// Opens the clipboard, waiting up to 400 ms while another program holds it.
bool OpenClipboardWhenFree(HWND owner);

// Replaces the clipboard's content with the text and one NUL. False, with the clipboard's old
// content untouched, when the text cannot be prepared or the clipboard cannot be opened.
bool PlaceTextOnClipboard(HWND owner, const std::wstring& text);
