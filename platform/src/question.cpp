#include "platform/question.h"

#include <mutex>

namespace {
std::mutex guard;
QuestionAnswerer current = nullptr;
void *current_context = nullptr;
}  // namespace

extern "C" {

void SetQuestionAnswerer(QuestionAnswerer answerer, void *context) {
  std::lock_guard<std::mutex> lock(guard);
  current = answerer;
  current_context = context;
}

int AskYesNo(HWND owner, const char *title, const char *text) {
  QuestionAnswerer answerer;
  void *context;
  {
    std::lock_guard<std::mutex> lock(guard);
    answerer = current;
    context = current_context;
  }
  // Asked outside the lock so that an answerer may itself change the answerer.
  return answerer ? answerer(owner, title ? title : "", text ? text : "", context) : IDNO;
}
}
