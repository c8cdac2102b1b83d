#include "commandline.h"

#include "version.h"

#include <cstdio>
#include <cstring>
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
    std::fputs("rainquill: cannot write standard output\n", stderr);
    return 2;
}

constexpr std::string_view Help =
    "Usage: rainquill [--help] [--version] [Qt options]\n"
    "Opens the gradient text code generator: type or paste text, choose the colours, the\n"
    "step and the format, and press \"转换\". The custom schemes are kept in color.dat in\n"
    "the current folder. For scripts, see rainquill-cli(1).\n"
    "\n"
    "  --help      show this help\n"
    "  --version   show the version\n"
    "Qt's own options, such as -platform offscreen, are taken as Qt takes them.\n";

} // namespace

std::optional<int> HandleCommandLine(int argc, char **argv)
{
    for (int n = 1; n < argc; ++n) {
        const std::string_view arg(argv[n]);
        if (arg == "--help")
            return print(Help);
        if (arg == "--version") {
            char text[200];
            std::snprintf(text, sizeof text, "rainquill %s (build %d)\nCopyright (C) %s The Rainquill authors\nLicense: MIT\n",
                          ProjectVersion, CurrentBuild, ReleaseYear);
            return print(text);
        }
        if (arg == "--")
            break;
        if (arg.size() <= 2 || arg.substr(0, 2) != "--")
            continue;
        const std::string_view name = arg.substr(2, arg.find('=') - 2);
        const QtOption *qt = nullptr;
        for (const QtOption &option : QtOptions) {
            if (option.name == name)
                qt = &option;
        }
        if (!qt) {
            std::fprintf(stderr, "rainquill: unknown option \"%s\"\nTry 'rainquill --help' for more information.\n",
                         argv[n]);
            return 2;
        }
        if (qt->value && arg.find('=') == std::string_view::npos)
            ++n; // its value
    }
    return std::nullopt;
}

} // namespace rainquill
