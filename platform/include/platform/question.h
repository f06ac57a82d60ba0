// Yes/No questions put to the user, such as "overwrite this file?".
//
// The library has no window of its own: a program that wants to answer installs an answerer.
// Without one every question is answered No, so nothing is ever destroyed unasked.
#pragma once

#include "platform/gdi.h"

inline constexpr int IDYES = 6;
inline constexpr int IDNO = 7;

extern "C" {

// Gets the owner window, the title and the text; returns IDYES, IDNO or any other answer.
typedef int (*QuestionAnswerer)(HWND owner, const char *title, const char *text, void *context);

// Installs the answerer for the whole process (null removes it); last call wins.
void SetQuestionAnswerer(QuestionAnswerer answerer, void *context);

// The answerer's reply, or IDNO when none is installed.
int AskYesNo(HWND owner, const char *title, const char *text);
}
