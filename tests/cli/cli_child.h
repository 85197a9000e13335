#pragma once

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "temp_folder.h"

extern char** environ;

namespace trelvanox::test {

// The built batch tool as a child process, its state in a folder of the test's, its stderr in a
// file. Everything the child needs is made before the fork.
class TChild {
  public:
    TChild(const std::vector<std::string>& args, const std::filesystem::path& state,
           const std::filesystem::path& err)
        : err_(err) {
        std::vector<std::string> env = {"XDG_STATE_HOME=" + state.string()};
        for (char** e = environ; *e; ++e)
            if (std::strncmp(*e, "XDG_STATE_HOME=", 15) != 0) env.emplace_back(*e);
        std::vector<char*> argv = {const_cast<char*>(TRELVANOX_CLI_PATH)};
        for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
        argv.push_back(nullptr);
        std::vector<char*> envp;
        for (std::string& entry : env) envp.push_back(entry.data());
        envp.push_back(nullptr);
        const int errFd = ::open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
        const int nullFd = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
        pid_ = ::fork();
        if (pid_ == 0) {
            ::dup2(nullFd, 1);
            ::dup2(errFd, 2);
            ::execve(TRELVANOX_CLI_PATH, argv.data(), envp.data());
            ::_exit(127);
        }
        ::close(errFd);
        ::close(nullFd);
    }

    void Kill() { ::kill(pid_, SIGKILL); }
    // The exit code, or -1 when a signal ended the child.
    int Wait() {
        int status = 0;
        ::waitpid(pid_, &status, 0);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    std::string Err() const { return ReadText(err_); }

  private:
    std::filesystem::path err_;
    pid_t pid_ = -1;
};

}  // namespace trelvanox::test
