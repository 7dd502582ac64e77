#include "shell/hint_placement.h"

namespace kw::shell
{

int hintTop(int top, int screenHeight)
{
    return top + 10 > screenHeight ? screenHeight - 11 : top;
}

} // namespace kw::shell
