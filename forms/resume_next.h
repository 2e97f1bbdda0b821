#pragma once

#include <functional>
#include <initializer_list>

namespace forms {

// Runs the statements in order; a statement that fails is skipped and the next one runs.
// For the few sequences whose failures must not stop the program (clipboard work).
void ResumeNext(std::initializer_list<std::function<void()>> statements);

} // namespace forms
