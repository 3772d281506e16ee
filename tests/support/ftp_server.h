#pragma once
// A real FTP server for tests and benchmarks: pyftpdlib on 127.0.0.1 and a
// free port, run by /usr/bin/python3 (the interpreter that has pyftpdlib)
// from tests/support/ftp_server.py, with a temporary home folder.
//
// The server lives as long as this object. It also ends when this process
// dies, because it exits when its standard input (our pipe) closes.
// Header-only so that benchmarks, which build without the tests, use it too.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <stdexcept>
#include <string>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace tk::test {

struct FtpServerOptions {
    bool noMlsd = false;      // a server without MLSD (clients fall back to LIST)
    bool dosList = false;     // LIST in the DOS form
    double shiftHours = 0;    // listed dates this many hours off the real ones
    bool logCommands = false; // keep every command and reply (LogText)
    int bytesPerSecond = 0;   // data connections slowed to this rate (0: full speed)
    // Lines added as they stand to every LIST and MLSD answer.
    std::vector<std::string> extraListingLines = {};
};

class FtpServer {
public:
    static constexpr const char* kUser = "tester";
    static constexpr const char* kPassword = "s3cret";

    explicit FtpServer(const FtpServerOptions& options = {})
    {
        if (!root_.isValid() || !QDir().mkpath(Home()))
            throw std::runtime_error("cannot create the FTP server's folders");
        std::vector<std::string> args = {"/usr/bin/python3", ScriptPath(), QFile::encodeName(Home()).toStdString(),
                                         kUser, kPassword};
        if (options.logCommands)
            args.insert(args.end(), {"--log", QFile::encodeName(LogPath()).toStdString()});
        if (options.noMlsd)
            args.push_back("--no-mlsd");
        if (options.dosList)
            args.push_back("--dos-list");
        if (options.shiftHours != 0)
            args.insert(args.end(), {"--shift-hours", std::to_string(options.shiftHours)});
        if (options.bytesPerSecond > 0)
            args.insert(args.end(), {"--rate", std::to_string(options.bytesPerSecond)});
        for (const std::string& line : options.extraListingLines)
            args.insert(args.end(), {"--extra-line", line});
        Spawn(args);
        port_ = ReadPort();
    }

    ~FtpServer() { Stop(); }
    FtpServer(const FtpServer&) = delete;
    FtpServer& operator=(const FtpServer&) = delete;

    int Port() const { return port_; }
    // The login folder; files put there appear in the account.
    QString Home() const { return root_.filePath(QStringLiteral("home")); }
    QString HomeFile(const QString& name) const { return Home() + QLatin1Char('/') + name; }
    QStringList HomeEntries() const { return QDir(Home()).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name); }
    QByteArray LogText() const
    {
        QFile log(LogPath());
        return log.open(QIODevice::ReadOnly) ? log.readAll() : QByteArray();
    }

    // Ends the server at once; every open connection drops.
    void Stop()
    {
        if (pid_ <= 0)
            return;
        CloseFd(toChild_);
        CloseFd(fromChild_);
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }
    // Freezes the server: connections stay open but nothing answers.
    void Pause() { ::kill(pid_, SIGSTOP); }
    void Resume() { ::kill(pid_, SIGCONT); }

    // A port on 127.0.0.1 where nothing listens (refused connections).
    static int UnusedPort()
    {
        const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
        ::close(fd);
        return ntohs(address.sin_port);
    }

private:
    QString LogPath() const { return root_.filePath(QStringLiteral("server.log")); }

    // The script lies in the source tree's tests/support; build folders sit
    // inside the source tree, so look upwards from the executable.
    static std::string ScriptPath()
    {
        if (const char* path = std::getenv("KS_FTP_SERVER_SCRIPT"))
            return path;
        namespace fs = std::filesystem;
        for (fs::path folder = fs::read_symlink("/proc/self/exe").parent_path(); !folder.empty();
             folder = folder.parent_path()) {
            const fs::path candidate = folder / "tests" / "support" / "ftp_server.py";
            if (fs::exists(candidate))
                return candidate.string();
            if (folder == folder.root_path())
                break;
        }
        throw std::runtime_error("tests/support/ftp_server.py not found above the executable");
    }

    static void CloseFd(int& fd)
    {
        if (fd >= 0)
            ::close(fd);
        fd = -1;
    }

    void Spawn(const std::vector<std::string>& args)
    {
        int input[2];
        int output[2];
        if (::pipe2(input, O_CLOEXEC) != 0 || ::pipe2(output, O_CLOEXEC) != 0)
            throw std::runtime_error("pipe2 failed");
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, input[0], 0);
        posix_spawn_file_actions_adddup2(&actions, output[1], 1);
        std::vector<char*> argv;
        for (const std::string& arg : args)
            argv.push_back(const_cast<char*>(arg.c_str()));
        argv.push_back(nullptr);
        const int spawned = ::posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        ::close(input[0]);
        ::close(output[1]);
        toChild_ = input[1];
        fromChild_ = output[0];
        if (spawned != 0) {
            pid_ = -1;
            Stop();
            throw std::runtime_error("cannot start /usr/bin/python3");
        }
    }

    // The script prints its port once it listens.
    int ReadPort()
    {
        std::string line;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(15);
        while (line.find('\n') == std::string::npos) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
            pollfd ready{fromChild_, POLLIN, 0};
            char buffer[64];
            ssize_t got = 0;
            if (left.count() <= 0 || ::poll(&ready, 1, static_cast<int>(left.count())) <= 0
                || (got = ::read(fromChild_, buffer, sizeof buffer)) <= 0) {
                Stop();
                throw std::runtime_error("the FTP server did not start (is python3-pyftpdlib installed?)");
            }
            line.append(buffer, static_cast<size_t>(got));
        }
        return std::stoi(line);
    }

    QTemporaryDir root_;
    pid_t pid_ = -1;
    int toChild_ = -1;
    int fromChild_ = -1;
    int port_ = 0;
};

}  // namespace tk::test
