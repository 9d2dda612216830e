#include "forms/forms.h"

namespace vorel::forms {

const Control *find(const Window &window, std::string_view name)
{
    for (const Control &control : window.controls) {
        if (control.name == name)
            return &control;
    }
    return nullptr;
}

} // namespace vorel::forms
