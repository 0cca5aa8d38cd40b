// Times starts of windowed programs from outside: from just before the fork
// to the moment the child prints "shown <peak resident KiB>" (its first
// window exposed). The cases run in turn, round after round, so a change in
// the machine's load falls on all of them alike; one warm-up round first.
//   startup_bench RUNS --case NAME PROGRAM [ARG...] [--case ...]
// Prints per case: name, median ms, fastest ms, median peak resident KiB.

#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

namespace {

struct Case {
    std::string name;
    std::vector<std::string> command;
    std::vector<double> millis;
    std::vector<long> peakKiB;
};

struct Start {
    double millis;
    long peakKiB;
};

// One start; nothing when the child fails or shows nothing within 30 s.
std::optional<Start> RunOnce(const std::vector<std::string>& command) {
    int fds[2];
    if (pipe(fds) != 0) {
        return std::nullopt;
    }
    const auto begin = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(fds[1], STDOUT_FILENO);
        // The children's own chatter (Qt's platform notes) is not the report.
        const int null = open("/dev/null", O_WRONLY);
        if (null >= 0) {
            dup2(null, STDERR_FILENO);
        }
        close(fds[0]);
        close(fds[1]);
        std::vector<char*> argv;
        for (const std::string& part : command) {
            argv.push_back(const_cast<char*>(part.c_str()));
        }
        argv.push_back(nullptr);
        execv(argv[0], argv.data());
        _exit(127);
    }
    close(fds[1]);
    std::string line;
    std::optional<Start> start;
    const auto deadline = begin + std::chrono::seconds(30);
    while (!start && std::chrono::steady_clock::now() < deadline) {
        pollfd p{fds[0], POLLIN, 0};
        if (poll(&p, 1, 1000) <= 0) {
            continue;
        }
        char buffer[256];
        const ssize_t got = read(fds[0], buffer, sizeof buffer);
        if (got <= 0) {
            break;
        }
        line.append(buffer, static_cast<std::size_t>(got));
        long kib = 0;
        if (line.find('\n') != std::string::npos &&
            std::sscanf(line.c_str(), "shown %ld", &kib) == 1) {
            const std::chrono::duration<double, std::milli> took =
                std::chrono::steady_clock::now() - begin;
            start = Start{took.count(), kib};
        }
    }
    close(fds[0]);
    if (!start) {
        kill(pid, SIGKILL);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return start;
}

template <typename T>
T Median(std::vector<T> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 5 || std::strcmp(argv[2], "--case") != 0) {
        std::fprintf(stderr,
                     "usage: startup_bench RUNS --case NAME PROGRAM [ARG...] [--case ...]\n");
        return 2;
    }
    const int runs = std::max(1, std::atoi(argv[1]));
    std::vector<Case> cases;
    for (int i = 2; i < argc; ++i) {
        if (std::strcmp(argv[i], "--case") == 0 && i + 2 < argc) {
            cases.push_back(Case{argv[i + 1], {argv[i + 2]}, {}, {}});
            i += 2;
        } else if (!cases.empty()) {
            cases.back().command.push_back(argv[i]);
        }
    }
    for (int round = 0; round <= runs; ++round) {
        for (Case& c : cases) {
            const std::optional<Start> start = RunOnce(c.command);
            if (!start) {
                std::fprintf(stderr, "startup_bench: %s showed no window\n", c.name.c_str());
                return 1;
            }
            if (round > 0) {
                c.millis.push_back(start->millis);
                c.peakKiB.push_back(start->peakKiB);
            }
        }
    }
    for (const Case& c : cases) {
        std::printf("%s\t%.2f\t%.2f\t%ld\n", c.name.c_str(), Median(c.millis),
                    *std::min_element(c.millis.begin(), c.millis.end()), Median(c.peakKiB));
    }
    return 0;
}
