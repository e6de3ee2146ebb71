// What every benchmark program shares: timing with the performance counter, the alternating
// A B A B rounds, timed child processes for the system's side, the peak working set of our
// side, and the one result line the bench command gathers into its table.
#pragma once

#include <windows.h>

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace bench {

class Stopwatch {
public:
    Stopwatch();
    double Seconds() const;

private:
    LARGE_INTEGER start_;
};

double Median(std::vector<double> values);

// Peak working set of this process so far, in bytes. A size is measured in a process of its
// own so that the peak belongs to that size alone.
size_t PeakWorkingSet();

// Runs a command line to its end with the given current folder; returns its exit code, or -1
// when it could not be started. Output goes where the command line's redirections say.
int RunChild(const std::string& commandLine, const std::string& currentFolder = std::string());

// A child run to its end with its memory counters sampled meanwhile: a process's counters are
// gone once it has exited, so the peak is taken while it lives.
struct SampledRun {
    bool started = false;
    int exitCode = -1;
    size_t peakWorkingSet = 0;
};
SampledRun RunSampled(const std::string& commandLine, const std::string& currentFolder);

struct PairMedians {
    double ours = 0;
    double system = 0;
};

// Runs our side and the system's side in turns, `rounds` times each, after one untimed
// warm-up of each so both meet the same file cache; returns the medians in seconds. A single
// round goes without the warm-up: it is for sizes too large to repeat, whose data was just
// made and is in the cache already.
PairMedians Alternate(int rounds, const std::function<void()>& ours, const std::function<void()>& system);

// The same for sides that time themselves and return their seconds, so that what a round must
// do first (emptying its destination) stays out of the figures.
PairMedians AlternateSelfTimed(int rounds, const std::function<double()>& ours, const std::function<double()>& system);

// One line per measurement, tab-separated, read by scripts/bench.sh:
// ROW <benchmark> <scale> <ours seconds> <system seconds or -> <peak working set bytes> <note>
// A benchmark without a system side passes a negative systemSeconds.
void PrintRow(const std::string& benchmark, int scale, double oursSeconds, double systemSeconds, size_t peakBytes,
              const std::string& note);

// Command-line convention of every benchmark program: `prepare <scale>` makes the data,
// `measure <scale> <rounds>` times it, `clean <scale>` removes it.
struct Arguments {
    std::string mode;
    int scale = 1;
    int rounds = 5;
};

// What a benchmark program does in each mode; each gives the program's exit code.
struct Modes {
    std::function<int(const Arguments&)> prepare;
    std::function<int(const Arguments&)> measure;
    std::function<int(const Arguments&)> clean;
};

// The program's main: reads the command line (a usage line and exit code 2 when it does not
// fit the convention) and does what its mode says.
int Main(int argc, char** argv, const char* program, const Modes& modes);

// The folder all benchmark data lives under: C:\zeltrin-bench\<name>\x<scale>.
std::string DataFolder(const std::string& benchmark, int scale);

// Makes a folder and its parents; true when it exists afterwards.
bool MakeFolders(const std::string& path);

// Removes a folder tree; used between rounds to give each side an empty destination.
void RemoveTree(const std::string& path);

}  // namespace bench
