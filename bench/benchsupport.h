#pragma once

// What the benchmarks share: a folder of their own with generated history files, the plain
// line-by-line read and write that the commands are measured against, and the program to run
// them in. Every time is the best of several passes, so that the ratios compare like with like.

#include <benchmark/benchmark.h>

#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>

#include "app/aurelant.h"
#include "scenario/scripted_platform.h"

namespace aurelant::bench {

// The largest history file that Open accepts.
inline constexpr std::size_t kLargestOpenable = 32887;

// A folder of its own for one benchmark, removed afterwards.
class Workspace {
  public:
    explicit Workspace(const std::string& name);
    Workspace(const Workspace&) = delete;
    Workspace& operator=(const Workspace&) = delete;
    ~Workspace();

    // A history file of `records` days of the steady pattern that Open and Reverse work on.
    std::string history(std::size_t records) const;
    // A history file of `records` days of wandering prices, for the prediction.
    std::string randomWalkHistory(std::size_t records) const;
    std::string path(const std::string& name) const;
    std::string folder() const { return folder_.string(); }

  private:
    std::filesystem::path folder_;
};

// The best of a few timed passes of `work`, in seconds.
double bestSeconds(const std::function<void()>& work);

// A plain line-by-line read of the file.
double plainReadSeconds(const std::string& path);

// A plain line-by-line write of the file's lines into `target`: a file of the same size; with
// `toDisk`, flushed to the disk at the end as a file that replaces a user's file is.
double plainWriteSeconds(const std::string& source, const std::string& target, bool toDisk = false);

// The main window model, started up, with its program folder in the workspace.
class Program {
  public:
    explicit Program(const Workspace& workspace);

    // The best seconds of one click of `command` over the benchmark's iterations; `prepare`
    // sets the scene before each click, untimed.
    double bestClick(benchmark::State& state, const std::string& command,
                     const std::function<void()>& prepare);

    // One untimed click, to set the scene.
    void click(const std::string& command) { window_.click(command); }

    Globals& globals() { return globals_; }
    ScriptedPlatform& platform() { return platform_; }

  private:
    Globals globals_;
    ScriptedPlatform platform_;
    Aurelant window_;
};

// The counter `name`: how many times the baseline the command took.
void reportRatio(benchmark::State& state, const char* name, double seconds, double baseline);

}  // namespace aurelant::bench
