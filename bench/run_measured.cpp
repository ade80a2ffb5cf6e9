// Runs one command and prints, as one JSON object, its CPU time, wall time,
// peak resident memory and exit code, with standard output discarded.
//
// The peak comes from wait4 on the child. Linux carries a process's peak
// across exec, so a child forked from a large process (a Python script)
// would report that process's size; forked from this small program it
// reports its own.
//
// Usage: run_measured [--stdin FILE] COMMAND [ARGUMENT...]
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>

namespace {

double seconds(const timeval& t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; }

[[noreturn]] void runChild(const char* stdinPath, char** command) {
    const int in = open(stdinPath != nullptr ? stdinPath : "/dev/null", O_RDONLY);
    const int out = open("/dev/null", O_WRONLY);
    if (in < 0 || out < 0 || dup2(in, 0) < 0 || dup2(out, 1) < 0) _exit(126);
    execvp(command[0], command);
    std::fprintf(stderr, "run_measured: cannot run %s: %s\n", command[0], std::strerror(errno));
    _exit(127);
}

}  // namespace

int main(int argc, char** argv) {
    int first = 1;
    const char* stdinPath = nullptr;
    if (argc > 2 && std::strcmp(argv[1], "--stdin") == 0) {
        stdinPath = argv[2];
        first = 3;
    }
    if (first >= argc) {
        std::fprintf(stderr, "usage: run_measured [--stdin FILE] COMMAND [ARGUMENT...]\n");
        return 2;
    }
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child < 0) {
        std::perror("run_measured: fork");
        return 1;
    }
    if (child == 0) runChild(stdinPath, argv + first);

    int status = 0;
    rusage usage{};
    if (wait4(child, &status, 0, &usage) < 0) {
        std::perror("run_measured: wait4");
        return 1;
    }
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const int code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    std::printf("{\"cpu_seconds\": %.6f, \"wall_seconds\": %.6f, \"peak_kib\": %ld, \"exit_code\": %d}\n",
                seconds(usage.ru_utime) + seconds(usage.ru_stime), wall, usage.ru_maxrss, code);
    return 0;
}
