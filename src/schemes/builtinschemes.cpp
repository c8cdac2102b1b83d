#include "schemes/builtinschemes.h"

namespace rainquill {

const std::array<ColorScheme, 10> BuiltInSchemes = {{
    {0, 121, 255, 255, 0, 255},
    {0, 0, 255, 0, 240, 255},
    {255, 0, 0, 255, 230, 0},
    {0, 0, 64, 176, 176, 255},
    {0, 128, 64, 0, 128, 255},
    {255, 0, 0, 0, 0, 255},
    {255, 0, 0, 255, 0, 255},
    {0, 0, 0, 255, 0, 0},
    {0, 0, 0, 0, 255, 0},
    {0, 0, 0, 0, 0, 255},
}};

} // namespace rainquill
