#include "display.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QtGlobal>

#include <cerrno>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <netdb.h>
#include <poll.h>
#include <string_view>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace rainquill {

namespace {

constexpr int ConnectSeconds = 5;

bool connectsWithin(int fd, const sockaddr *address, socklen_t length)
{
    if (::connect(fd, address, length) != 0 && errno != EINPROGRESS)
        return false;
    pollfd wait{fd, POLLOUT, 0};
    int error = 0;
    socklen_t size = sizeof error;
    return ::poll(&wait, 1, ConnectSeconds * 1000) == 1 &&
           ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &size) == 0 && error == 0;
}

// A local socket by path; a leading '@' names one in the abstract namespace.
bool unixSocketAnswers(const std::string &path)
{
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.empty() || path.size() >= sizeof address.sun_path)
        return false;
    std::memcpy(address.sun_path, path.data(), path.size());
    if (path[0] == '@')
        address.sun_path[0] = '\0';
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    const bool answered = ::connect(fd, reinterpret_cast<const sockaddr *>(&address),
                                    socklen_t(offsetof(sockaddr_un, sun_path) + path.size())) == 0;
    ::close(fd);
    return answered;
}

bool tcpAnswers(const std::string &host, int port)
{
    addrinfo hints{};
    hints.ai_socktype = SOCK_STREAM;
    addrinfo *found = nullptr;
    if (::getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found) != 0)
        return false;
    bool answered = false;
    for (const addrinfo *a = found; a && !answered; a = a->ai_next) {
        const int fd = ::socket(a->ai_family, a->ai_socktype | SOCK_CLOEXEC | SOCK_NONBLOCK, a->ai_protocol);
        if (fd < 0)
            continue;
        answered = connectsWithin(fd, a->ai_addr, a->ai_addrlen);
        ::close(fd);
    }
    ::freeaddrinfo(found);
    return answered;
}

// An X display name, [protocol/][host]:number[.screen], as libxcb reaches it: a local
// socket when there is no host, TCP port 6000 + number otherwise.
bool xDisplayAnswers(std::string name)
{
    // "tcp/" or "unix/" in front: the sockets tried are the same either way.
    if (const auto slash = name.find('/'); slash != std::string::npos && slash != 0 && slash < name.rfind(':'))
        name.erase(0, slash + 1);
    const auto colon = name.rfind(':');
    if (colon == std::string::npos)
        return false;
    const std::string host = name.substr(0, colon);
    const std::string number = name.substr(colon + 1, name.find('.', colon) - colon - 1);
    if (number.empty() || number.find_first_not_of("0123456789") != std::string::npos || number.size() > 5)
        return false;
    if (host.starts_with('/')) // a socket's own path
        return unixSocketAnswers(host);
    if (host.empty() || host == "unix") {
        const std::string path = "/tmp/.X11-unix/X" + number;
        if (unixSocketAnswers('@' + path) || unixSocketAnswers(path))
            return true;
    }
    return host != "unix" && tcpAnswers(host.empty() ? std::string("localhost") : host, 6000 + std::stoi(number));
}

bool waylandAnswers()
{
    const char *name = std::getenv("WAYLAND_DISPLAY");
    std::string socket = name && *name ? name : "wayland-0";
    if (socket[0] != '/') {
        const char *runtime = std::getenv("XDG_RUNTIME_DIR");
        if (!runtime || !*runtime)
            return false;
        socket = std::string(runtime) + '/' + socket;
    }
    return unixSocketAnswers(socket);
}

// The value of a Qt option given on the command line ("-platform x", "--platform=x").
std::optional<std::string> optionValue(int argc, char **argv, std::string_view option)
{
    std::optional<std::string> value;
    for (int n = 1; n < argc; ++n) {
        std::string_view arg(argv[n]);
        if (arg == "--")
            break;
        if (arg.substr(0, 2) == "--")
            arg.remove_prefix(2);
        else if (arg.substr(0, 1) == "-")
            arg.remove_prefix(1);
        else
            continue;
        if (arg == option && n + 1 < argc)
            value = argv[++n];
        else if (arg.substr(0, option.size()) == option && arg.substr(option.size(), 1) == "=")
            value = std::string(arg.substr(option.size() + 1));
    }
    return value;
}

// The platforms Qt will try, in its order of precedence: the command line, the
// environment, the session type, the build's default.
std::vector<std::string> platforms(int argc, char **argv)
{
    std::string names = "xcb";
    const char *session = std::getenv("XDG_SESSION_TYPE");
    if (session && std::string_view(session) == "wayland") {
        const auto gnome = [](const char *variable) {
            const char *value = std::getenv(variable);
            return value && QByteArray(value).toLower().contains("gnome");
        };
        if (!gnome("XDG_CURRENT_DESKTOP") && !gnome("XDG_SESSION_DESKTOP"))
            names = "wayland";
    }
    if (const char *environment = std::getenv("QT_QPA_PLATFORM"); environment && *environment)
        names = environment;
    if (const auto argument = optionValue(argc, argv, "platform"))
        names = *argument;
    std::vector<std::string> list;
    for (const QByteArray &name : QByteArray::fromStdString(names).split(';'))
        list.push_back(name.split(':').front().trimmed().toStdString()); // "xcb:option=value"
    return list;
}

QList<std::pair<QtMsgType, QString>> held;
QtMessageHandler previousHandler = nullptr;

void holdMessage(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type == QtFatalMsg) {
        std::fputs("rainquill: 图形界面无法启动（没有能用的显示或 Qt 平台插件），窗口打不开\n", stderr);
        std::_Exit(1);
    }
    held.append({type, message});
}

} // namespace

std::optional<std::string> MissingDisplay(int argc, char **argv)
{
    const auto display = optionValue(argc, argv, "display");
    const char *variable = std::getenv("DISPLAY");
    const std::string xDisplay = display ? *display : variable ? variable : "";
    for (const std::string &platform : platforms(argc, argv)) {
        if (platform == "xcb"                   ? xDisplayAnswers(xDisplay)
            : platform.rfind("wayland", 0) == 0 ? waylandAnswers()
                                                : true)
            return std::nullopt;
    }
    if (xDisplay.empty())
        return "rainquill: 没有可用的显示（未设置 DISPLAY），窗口打不开；在终端里转换文字请用 rainquill-cli";
    return "rainquill: 连不上显示“" + xDisplay + "”，窗口打不开；在终端里转换文字请用 rainquill-cli";
}

StartupMessages::StartupMessages()
{
    previousHandler = qInstallMessageHandler(holdMessage);
}

StartupMessages::~StartupMessages()
{
    qInstallMessageHandler(previousHandler);
    for (const auto &[type, message] : std::as_const(held))
        qt_message_output(type, QMessageLogContext(), message);
    held.clear();
}

} // namespace rainquill
