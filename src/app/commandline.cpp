#include "commandline.h"

#include "version.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

namespace rainquill {

namespace {

// The options Qt's application object reads (it takes them with one dash or two); those
// marked with a value take the next argument unless it is joined with "=".
struct QtOption
{
    std::string_view name;
    bool value;
};

constexpr QtOption QtOptions[] = {
    {"platform", true},  {"platformpluginpath", true}, {"platformtheme", true}, {"plugin", true},
    {"qwindowgeometry", true}, {"qwindowicon", true},  {"qwindowtitle", true},  {"reverse", false},
    {"session", true},   {"style", true},              {"stylesheet", true},    {"widgetcount", false},
    {"display", true},   {"geometry", true},           {"name", true},          {"title", true},
    {"visual", true},    {"ncols", true},              {"cmap", false},         {"nograb", false},
    {"dograb", false},   {"sync", false},              {"qmljsdebugger", true}, {"graphicssystem", true},
};

bool writeOut(std::string_view text)
{
    return std::fwrite(text.data(), 1, text.size(), stdout) == text.size() && std::fflush(stdout) == 0;
}

int print(std::string_view text)
{
    if (writeOut(text))
        return 0;
    std::fputs("rainquill: 无法写入标准输出\n", stderr);
    return 3;
}

// The message may quote an argument: its control characters reach the terminal as "?",
// so that it cannot drive the terminal.
int refuse(std::string message)
{
    for (char &c : message) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f)
            c = '?';
    }
    std::fprintf(stderr, "rainquill: %s\n用“rainquill --help”查看用法。\n", message.c_str());
    return 2;
}

constexpr std::string_view Help =
    "用法：rainquill [-h|--help] [-v|--version] [Qt 选项]\n"
    "打开渐变文字代码生成器：输入或粘贴文字，选好颜色、步长和格式，按“转换”。\n"
    "自定义配色方案保存在当前文件夹的 color.dat 里。程序不打开文件；要转换文件里的\n"
    "文字或在脚本里转换，请用 rainquill-cli(1)。\n"
    "\n"
    "  -h, --help      显示本帮助\n"
    "  -v, --version   显示版本\n"
    "Qt 自己的选项（例如 -platform offscreen）照 Qt 的规则使用。\n"
    "\n"
    "退出状态：0 正常结束，1 没有可用的显示，2 用法有误，3 无法写入标准输出。\n";

} // namespace

std::optional<int> HandleCommandLine(int argc, char **argv)
{
    for (int n = 1; n < argc; ++n) {
        const std::string_view arg(argv[n]);
        if (arg == "--help" || arg == "-h")
            return print(Help);
        if (arg == "--version" || arg == "-v") {
            char text[200];
            std::snprintf(text, sizeof text, "rainquill %s（构建号 %d）\n版权所有 (C) %s Rainquill 的作者们\n许可证：MIT\n",
                          ProjectVersion, CurrentBuild, ReleaseYear);
            return print(text);
        }
        if (arg == "--") {
            if (n + 1 < argc)
                return refuse("不接受参数“" + std::string(argv[n + 1]) + "”：程序不打开文件，请把文字粘贴到窗口里");
            break;
        }
        if (arg.size() < 2 || arg[0] != '-')
            return refuse("不接受参数“" + std::string(arg) + "”：程序不打开文件，请把文字粘贴到窗口里");
        const std::string_view name = arg.substr(arg[1] == '-' ? 2 : 1, arg.find('=') - (arg[1] == '-' ? 2 : 1));
        const QtOption *qt = nullptr;
        for (const QtOption &option : QtOptions) {
            if (option.name == name)
                qt = &option;
        }
        if (!qt)
            return refuse("未知选项 " + std::string(arg.substr(0, arg.find('='))));
        if (qt->value && arg.find('=') == std::string_view::npos)
            ++n; // its value
    }
    return std::nullopt;
}

} // namespace rainquill
