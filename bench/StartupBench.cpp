// Start-up as a player meets it: from spawning the process to its first
// presented frame, for the game and for the least SDL program in C++ that
// starts the same subsystems (video, game controllers, audio with a device
// playing) and shows a frame (both load SDL and the shared C++ runtime), in
// alternating pairs on the dummy video and audio drivers. Both print a line right after their first present;
// that line is the finish. Besides the wall time, the CPU time each process
// used in all, which other work on a shared machine leaves nearly as it is.
#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <optional>
#include <poll.h>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr int pairs = 25;
constexpr int startUpTimeoutMs = 10'000;

using Clock = std::chrono::steady_clock;

struct StartUpTimes {
    double wall; // seconds from spawn to the first line
    double cpu;  // seconds of CPU the process used, up to its exit
};

// Reads the child's output to its end, so that it never blocks on a full pipe.
void drain(int fd) {
    char buffer[4096];
    while (read(fd, buffer, sizeof buffer) > 0) {
    }
}

double seconds(const timeval& t) {
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) * 1e-6;
}

// The times of a start-up to the first line the program prints, or nothing
// if it failed. The program is then stopped with SIGTERM and must exit with 0.
std::optional<StartUpTimes> startUp(const char* path) {
    int pipeFds[2];
    if (pipe(pipeFds) != 0) {
        return std::nullopt;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
    posix_spawn_file_actions_addclose(&actions, pipeFds[1]);
    std::string program = path;
    char* argv[] = {program.data(), nullptr};

    const Clock::time_point start = Clock::now();
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, path, &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    close(pipeFds[1]);
    if (spawned != 0) {
        close(pipeFds[0]);
        return std::nullopt;
    }

    // The status line ends in a carriage return, the minimal program's in a
    // newline. A program that shows nothing for this long has failed.
    bool finished = false;
    pollfd output{pipeFds[0], POLLIN, 0};
    char c = 0;
    while (!finished && poll(&output, 1, startUpTimeoutMs) == 1 && read(pipeFds[0], &c, 1) == 1) {
        finished = c == '\r' || c == '\n';
    }
    const double wall = std::chrono::duration<double>(Clock::now() - start).count();

    kill(pid, SIGTERM);
    drain(pipeFds[0]);
    close(pipeFds[0]);
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    const bool cleanExit = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    const double cpu = seconds(usage.ru_utime) + seconds(usage.ru_stime);
    return finished && cleanExit ? std::optional(StartUpTimes{wall, cpu}) : std::nullopt;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2.0;
}

void startUpPairs(benchmark::State& state) {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    std::vector<double> game;
    std::vector<double> minimal;
    std::vector<double> cpuRatios;
    for (auto _ : state) {
        for (int i = 0; i < pairs; ++i) {
            // Alternate which goes first, so neither always finds a warmer cache.
            const bool gameFirst = i % 2 == 0;
            const auto a = startUp(gameFirst ? SKERRION_BINARY : MINIMAL_SDL);
            const auto b = startUp(gameFirst ? MINIMAL_SDL : SKERRION_BINARY);
            if (!a || !b) {
                state.SkipWithError("a program failed to show its first frame or to exit with 0");
                return;
            }
            const StartUpTimes& ofGame = gameFirst ? *a : *b;
            const StartUpTimes& ofMinimal = gameFirst ? *b : *a;
            game.push_back(ofGame.wall);
            minimal.push_back(ofMinimal.wall);
            cpuRatios.push_back(ofGame.cpu / ofMinimal.cpu);
        }
        state.SetIterationTime(median(game));
    }
    const auto [gameMin, gameMax] = std::minmax_element(game.begin(), game.end());
    const auto [minimalMin, minimalMax] = std::minmax_element(minimal.begin(), minimal.end());
    state.counters["game"] = median(game);
    state.counters["game_min"] = *gameMin;
    state.counters["game_max"] = *gameMax;
    state.counters["minimal"] = median(minimal);
    state.counters["minimal_min"] = *minimalMin;
    state.counters["minimal_max"] = *minimalMax;
    state.counters["vs_minimal"] = median(game) / median(minimal);
    // Each pair ran back to back, so its ratio is spared slow swings of load.
    std::vector<double> ratios;
    for (std::size_t i = 0; i < game.size(); ++i) {
        ratios.push_back(game[i] / minimal[i]);
    }
    state.counters["pair_ratio"] = median(ratios);
    state.counters["cpu_pair_ratio"] = median(cpuRatios);
}

} // namespace

BENCHMARK(startUpPairs)
    ->Name("StartUp")
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
