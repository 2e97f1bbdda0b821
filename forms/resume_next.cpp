#include "forms/resume_next.h"

#include <exception>

namespace forms {

void ResumeNext(std::initializer_list<std::function<void()>> statements) {
    for (const auto& statement : statements) {
        try {
            statement();
        } catch (const std::exception&) {
            // Ignored on purpose: the next statement runs.
        }
    }
}

} // namespace forms
