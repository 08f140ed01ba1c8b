#include "cli/HeadlessWindow.h"

#include "compare/ShowRTF.h"

namespace corvella {

void HeadlessWindow::selectOption(int number) {
    const size_t first = number <= 2 ? 0 : 2;  // Option1/Option2 and Option3/Option4
    if (options_.at(size_t(number - 1))) return;
    options_[first] = options_[first + 1] = false;
    options_[size_t(number - 1)] = true;
    if (number <= 2) ShowRTF(*this);
}

}  // namespace corvella
