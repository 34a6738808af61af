// Whole processes against the physical limit, as a user meets them: each
// figure is a program run as a process of its own (no shell around it) beside
// a baseline process that does the least the same work needs, the two run in
// turn, round after round after a warm-up, and the median of the pairwise
// ratios printed with the machine's load. Seconds on a shared machine are
// noisy; the pairwise ratio cancels what the load does to both alike.
//
// - StartUp: the headless driver up to a second function shown and closed,
//   against `cat` of the four data files; on the store as the program writes
//   it and on a foreign one.
// - ListJson: `tunewright-cli --json list` against the same `cat`.
// - Save: `tunewright-cli set` of one function (its backup and the store's
//   write, durable), against writing the same bytes durably: the backup and
//   the store's temporary file each with fsync, the rename, both folders
//   fsynced. A foreign store is put back before each round.
// - Import: `tunewright-import /s` of a 20 MB file into an empty store, and of
//   a file that repeats one key 50,000 times, against a durable write of the
//   file; ImportIntoSections imports one value into a store that holds one key
//   in 20,000 sections, against a durable write of that store.
// - Peak memory: of the start-up, of the import (against the file's size) and
//   of `apply --check` of a profile (against its size).
//
// Run as "--durable-write [--new FILE SOURCE]... [--replace FILE SOURCE]..."
// this program is the write baseline; as "--peak-of" the memory helper; as
// "--installation FOLDER canonical|foreign" it writes the large installation
// into FOLDER, to profile a program on it.
#include "support/Installation.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <stdexcept>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

using Argv = std::vector<std::string>;

std::string SelfPath()
{
    return std::filesystem::read_symlink("/proc/self/exe").string();
}

// ---- the durable-write baseline ------------------------------------------

[[noreturn]] void Fail(const std::string& what)
{
    std::fprintf(stderr, "whole_process: %s: %s\n", what.c_str(), std::strerror(errno));
    std::exit(1);
}

void WriteAndSync(int fd, const std::string& bytes, const std::string& path)
{
    for (std::size_t done = 0; done < bytes.size();) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n <= 0)
            Fail("cannot write " + path);
        done += static_cast<std::size_t>(n);
    }
    if (::fsync(fd) != 0 || ::close(fd) != 0)
        Fail("cannot sync " + path);
}

void SyncFolderOf(const std::string& path)
{
    const std::string folder = std::filesystem::path(path).parent_path().string();
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0 || ::fsync(fd) != 0 || ::close(fd) != 0)
        Fail("cannot sync " + folder);
}

// A new file as a backup is made, or a file replaced as the store is: a
// temporary file beside it, renamed over it. Each file and each folder synced.
int DurableWriteMain(int argc, char** argv)
{
    for (int i = 2; i + 2 < argc; i += 3) {
        const std::string how = argv[i];
        const std::string path = argv[i + 1];
        const std::string bytes = bench::ReadBytes(argv[i + 2]);
        if (how == "--new") {
            ::unlink(path.c_str());
            const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
            if (fd < 0)
                Fail("cannot create " + path);
            WriteAndSync(fd, bytes, path);
        } else {
            const std::string temporary = path + ".tmp";
            const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
            if (fd < 0)
                Fail("cannot create " + temporary);
            WriteAndSync(fd, bytes, temporary);
            if (::rename(temporary.c_str(), path.c_str()) != 0)
                Fail("cannot rename " + temporary);
        }
        SyncFolderOf(path);
    }
    return 0;
}

// ---- running processes ----------------------------------------------------

struct Command {
    Argv argv;
    std::string input = "/dev/null";
    int exitStatus = 0; // what a successful run ends with
};

pid_t Start(const Command& command, int output)
{
    std::vector<char*> args;
    for (const std::string& arg : command.argv)
        args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);
    const pid_t child = ::fork();
    if (child < 0)
        throw std::runtime_error("cannot fork");
    if (child == 0) {
        const int in = ::open(command.input.c_str(), O_RDONLY);
        const int out = output >= 0 ? output : ::open("/dev/null", O_WRONLY);
        if (in < 0 || out < 0 || ::dup2(in, 0) < 0 || ::dup2(out, 1) < 0)
            ::_exit(126);
        ::execv(args[0], args.data());
        ::_exit(127);
    }
    return child;
}

rusage Finish(pid_t child, const Command& command)
{
    int status = 0;
    rusage usage{};
    while (::wait4(child, &status, 0, &usage) < 0)
        if (errno != EINTR)
            throw std::runtime_error("cannot wait for " + command.argv.front());
    if (!WIFEXITED(status) || WEXITSTATUS(status) != command.exitStatus)
        throw std::runtime_error(command.argv.front() + " " + command.argv.back() + " ended with status "
                                 + std::to_string(WIFEXITED(status) ? WEXITSTATUS(status) : -1));
    return usage;
}

// One run's wall time, from the fork to the child's end.
double Seconds(const Command& command)
{
    const auto start = std::chrono::steady_clock::now();
    Finish(Start(command, -1), command);
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// A child's peak resident memory counts what its parent held at the fork, so
// the program is started from this program run afresh as "--peak-of STATUS
// INPUT ARGV...", which holds little, and which prints the peak in kilobytes.
double PeakBytes(const Command& command)
{
    Command helper{{SelfPath(), "--peak-of", std::to_string(command.exitStatus), command.input}};
    helper.argv.insert(helper.argv.end(), command.argv.begin(), command.argv.end());
    int pipeEnds[2];
    if (::pipe(pipeEnds) != 0)
        throw std::runtime_error("cannot make a pipe");
    const pid_t child = Start(helper, pipeEnds[1]);
    ::close(pipeEnds[1]);
    std::string text;
    char buffer[64];
    for (ssize_t n; (n = ::read(pipeEnds[0], buffer, sizeof buffer)) > 0;)
        text.append(buffer, static_cast<std::size_t>(n));
    ::close(pipeEnds[0]);
    Finish(child, helper);
    return std::stod(text) * 1024;
}

int PeakOfMain(int argc, char** argv)
{
    Command command{{argv + 4, argv + argc}, argv[3], std::atoi(argv[2])};
    try {
        std::printf("%ld\n", Finish(Start(command, -1), command).ru_maxrss);
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "whole_process: %s\n", e.what());
        return 1;
    }
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

std::string LoadAverage()
{
    std::ifstream in("/proc/loadavg");
    std::string one, five, fifteen;
    in >> one >> five >> fifteen;
    return one + " " + five + " " + fifteen;
}

std::string Duration(double seconds)
{
    char text[32];
    if (seconds >= 1)
        std::snprintf(text, sizeof text, "%.2f s", seconds);
    else if (seconds >= 1e-3)
        std::snprintf(text, sizeof text, "%.2f ms", seconds * 1e3);
    else
        std::snprintf(text, sizeof text, "%.0f us", seconds * 1e6);
    return text;
}

std::string Megabytes(double bytes)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.1f MB", bytes / 1e6);
    return text;
}

std::string Ratio(double ratio, double target)
{
    char text[64];
    if (target > 0)
        std::snprintf(text, sizeof text, "%.2fx | %.1fx, %s", ratio, target, ratio <= target ? "met" : "missed");
    else
        std::snprintf(text, sizeof text, "%.2fx | ", ratio);
    return text;
}

int Rounds()
{
    const char* rounds = std::getenv("TW_WHOLE_PROCESS_ROUNDS");
    return rounds ? std::max(1, std::atoi(rounds)) : 15;
}

struct Pair {
    std::string figure;
    Command program;
    std::string baselineName;
    Command baseline;
    double target;
    std::function<void()> before = [] {}; // puts the files back before each run of either
};

// Each round runs both, the first of the two alternating, so that neither
// always meets the caches or the disk as the other left them.
void Measure(const Pair& pair)
{
    constexpr int kWarmUp = 2;
    std::vector<double> ratios, programs, baselines;
    for (int round = -kWarmUp; round < Rounds(); ++round) {
        double program = 0, baseline = 0;
        for (int side = 0; side < 2; ++side) {
            pair.before();
            if ((side == 0) == (round % 2 == 0))
                program = Seconds(pair.program);
            else
                baseline = Seconds(pair.baseline);
        }
        if (round < 0)
            continue;
        programs.push_back(program);
        baselines.push_back(baseline);
        ratios.push_back(program / baseline);
    }
    std::printf("| %s | %s | %s | %s | %s |\n", pair.figure.c_str(), Duration(Median(programs)).c_str(),
                pair.baselineName.c_str(), Duration(Median(baselines)).c_str(),
                Ratio(Median(ratios), pair.target).c_str());
    std::fflush(stdout);
}

// `before` runs before each round: an import's rounds each start from an
// empty store, not from the one the round before filled.
void MeasurePeak(const std::string& figure, const Command& program, const std::string& baselineName,
                 double baselineBytes, double target, double limitBytes = 0,
                 const std::function<void()>& before = {})
{
    std::vector<double> peaks;
    for (int round = 0; round < 3; ++round) {
        if (before)
            before();
        peaks.push_back(PeakBytes(program));
    }
    const double peak = Median(peaks);
    if (limitBytes > 0)
        std::printf("| %s | %s | | | | %s, %s |\n", figure.c_str(), Megabytes(peak).c_str(),
                    Megabytes(limitBytes).c_str(), peak <= limitBytes ? "met" : "missed");
    else
        std::printf("| %s | %s | %s | %s | %s |\n", figure.c_str(), Megabytes(peak).c_str(), baselineName.c_str(),
                    Megabytes(baselineBytes).c_str(), Ratio(peak / baselineBytes, target).c_str());
    std::fflush(stdout);
}

// ---- the files --------------------------------------------------------------

void Copy(const std::string& from, const std::string& to)
{
    std::filesystem::copy_file(from, to, std::filesystem::copy_options::overwrite_existing);
}

double FileBytes(const std::string& path)
{
    return static_cast<double>(std::filesystem::file_size(path));
}

// A registry file of about `bytes`: the large store's keys as often as it
// takes, each round under keys of its own.
std::string ImportText(std::size_t bytes)
{
    const std::string store = bench::StoreText(bench::kLargeInstallation);
    const std::string body = store.substr(store.find("\r\n") + 2);
    std::string text = "REGEDIT4\r\n";
    for (int round = 0; text.size() < bytes; ++round) {
        std::string copy = body;
        const std::string from = "\\Software\\", to = "\\Software\\Import " + std::to_string(round) + "\\";
        for (std::size_t at = copy.find(from); at != std::string::npos; at = copy.find(from, at + to.size()))
            copy.replace(at, from.size(), to);
        text += copy;
    }
    return text;
}

std::string RepeatedKeyText(int sections)
{
    std::string text = "REGEDIT4\r\n";
    for (int i = 0; i < sections; ++i)
        text += "\r\n[HKEY_CURRENT_USER\\Software\\Hostile\\Same Key]\r\n\"Value " + std::to_string(i % 100)
            + "\"=\"" + std::to_string(i) + "\"\r\n";
    return text;
}

// The backup that a set of the first function writes, near enough in size.
std::string BackupText()
{
    return "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\" + bench::FunctionSubKey(0) + "]\r\n\"" + bench::FunctionValueName(0)
        + "\"=\"1\"\r\n";
}

void StartUpFigures(const bench::Installation& installation, const std::string& form, double target)
{
    const std::string script = installation.File("session.txt");
    bench::WriteBytes(script, "tick\nselect 1\ntick\nclose\n");
    Argv cat{"/bin/cat"};
    const Argv files = installation.DataFiles();
    cat.insert(cat.end(), files.begin(), files.end());
    const Command driver{{TW_SCRIPT_BINARY, "--app-folder", installation.Folder()}, script};
    Measure({"StartUp + 2 shows, " + form, driver, "cat of the 4 files", {cat}, target});
    if (form == "canonical") {
        Measure({"ListJson, " + form, {{TW_CLI_BINARY, "--app-folder", installation.Folder(), "--json", "list"}},
                 "cat of the 4 files", {cat}, 3.0});
    }
    MeasurePeak("PeakMemory of start-up, " + form, driver, "", 0, 0, 10e6);
}

void SaveFigure(const bench::Installation& installation, const std::string& form)
{
    const std::string pristine = installation.File("pristine.reg");
    Copy(installation.StorePath(), pristine);
    const std::string backup = installation.File("backup-sample.reg");
    bench::WriteBytes(backup, BackupText());
    std::filesystem::create_directories(installation.File("baseline"));
    std::filesystem::create_directories(installation.File("backup"));
    // The store as it was before each run, so that each set changes the
    // function's value (off to on) and a foreign store is met as foreign.
    const auto before = [=, &installation] { Copy(pristine, installation.StorePath()); };
    Measure({"Save, " + form,
             {{TW_CLI_BINARY, "--app-folder", installation.Folder(), "set", "10000", "on"}},
             "durable write of backup and store",
             {{SelfPath(), "--durable-write", "--new", installation.File("baseline/backup.reg"), backup, "--replace",
               installation.File("baseline-registry.reg"), pristine}},
             2.0,
             before});
}

void ImportFigures(const std::string& folder)
{
    const std::string store = folder + "/import-store.reg";
    const std::string empty = folder + "/empty.reg";
    bench::WriteBytes(empty, "REGEDIT4\r\n");
    const auto emptyStore = [=] { Copy(empty, store); };
    const auto durable = [&](const std::string& file) {
        return Command{{SelfPath(), "--durable-write", "--replace", folder + "/baseline-copy.reg", file}};
    };

    const std::string large = folder + "/import-20mb.reg";
    bench::WriteBytes(large, ImportText(20u << 20));
    const Command importLarge{{TW_IMPORT_BINARY, "/s", "--registry", store, large}};
    Measure({"Import 20 MB into an empty store", importLarge, "durable write of the file", durable(large), 3.0,
             emptyStore});
    MeasurePeak("PeakMemory of that import", importLarge, "the file", FileBytes(large), 1.5, 0, emptyStore);

    const std::string repeated = folder + "/repeated-key.reg";
    bench::WriteBytes(repeated, RepeatedKeyText(50000));
    Measure({"Import of one key in 50,000 sections", {{TW_IMPORT_BINARY, "/s", "--registry", store, repeated}},
             "durable write of the file", durable(repeated), 3.0, emptyStore});

    const std::string sectioned = folder + "/sectioned-store.reg";
    bench::WriteBytes(sectioned, RepeatedKeyText(20000));
    const std::string one = folder + "/one-value.reg";
    bench::WriteBytes(one, "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Hostile\\Same Key]\r\n\"New\"=\"1\"\r\n");
    Measure({"Import of one value into one key in 20,000 sections",
             {{TW_IMPORT_BINARY, "/s", "--registry", store, one}}, "durable write of the store", durable(sectioned),
             3.0, [=] { Copy(sectioned, store); }});
}

void ApplyFigures(const bench::Installation& installation)
{
    // A profile of every value of another large store, under keys that the
    // installation does not have, so that all of it would change.
    const std::string profile = installation.File("profile.reg");
    bench::WriteBytes(profile, ImportText(5u << 20));
    const Command check{{TW_CLI_BINARY, "--app-folder", installation.Folder(), "apply", profile, "--check"}, "/dev/null",
                        3};
    MeasurePeak("PeakMemory of apply --check", check, "the profile", FileBytes(profile), 4.0);
    const std::string repeated = installation.File("repeated-profile.reg");
    bench::WriteBytes(repeated, RepeatedKeyText(50000));
    MeasurePeak("PeakMemory of apply --check, one key in 50,000 sections",
                {{TW_CLI_BINARY, "--app-folder", installation.Folder(), "apply", repeated, "--check"}, "/dev/null", 3},
                "the profile", FileBytes(repeated), 4.0);
    // Each apply that writes meets the store as it was, with no backup of
    // the run before.
    const std::string pristine = installation.File("before-apply.reg");
    Copy(installation.StorePath(), pristine);
    const auto fresh = [=, &installation] {
        Copy(pristine, installation.StorePath());
        std::filesystem::remove_all(installation.File("backup"));
        std::filesystem::create_directories(installation.File("backup"));
    };
    MeasurePeak("PeakMemory of apply", {{TW_CLI_BINARY, "--app-folder", installation.Folder(), "apply", profile}},
                "the profile", FileBytes(profile), 4.0, 0, fresh);
    fresh();
}

// The large installation copied into `folder`, to profile a program on it.
int InstallationMain(const std::string& folder, const std::string& form)
{
    const bench::Installation installation(bench::kLargeInstallation,
                                           form == "foreign" ? bench::StoreForm::Foreign : bench::StoreForm::Canonical);
    std::filesystem::create_directories(folder + "/backup");
    for (const std::string& file : installation.DataFiles())
        Copy(file, folder + "/" + std::filesystem::path(file).filename().string());
    return 0;
}

// The profiles that ApplyFigures measures, written into `folder`, to
// profile apply on them by hand.
int ProfilesMain(const std::string& folder)
{
    bench::WriteBytes(folder + "/profile.reg", ImportText(5u << 20));
    bench::WriteBytes(folder + "/repeated-profile.reg", RepeatedKeyText(50000));
    return 0;
}

int Run()
{
    std::printf("Whole processes, %d rounds after 2 of warm-up, median of the pairwise ratios; load average %s "
                "(%ld cores)\n\n",
                Rounds(), LoadAverage().c_str(), ::sysconf(_SC_NPROCESSORS_ONLN));
    std::printf("| figure | median | baseline | median | ratio | target |\n|---|---|---|---|---|---|\n");
    std::fflush(stdout);
    {
        const bench::Installation canonical(bench::kLargeInstallation, bench::StoreForm::Canonical);
        StartUpFigures(canonical, "canonical", 2.5);
        SaveFigure(canonical, "canonical");
        ApplyFigures(canonical);
    }
    {
        const bench::Installation foreign(bench::kLargeInstallation, bench::StoreForm::Foreign);
        StartUpFigures(foreign, "foreign", 3.0);
        SaveFigure(foreign, "foreign");
    }
    {
        // Removed however the figures end.
        const std::unique_ptr<const std::string, void (*)(const std::string*)> folder(
            new std::string(bench::MakeTemporaryFolder()), [](const std::string* path) {
                std::error_code ignored;
                std::filesystem::remove_all(*path, ignored);
                delete path;
            });
        ImportFigures(*folder);
    }
    std::printf("\nload average at the end %s\n", LoadAverage().c_str());
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc > 1 && std::strcmp(argv[1], "--durable-write") == 0)
        return DurableWriteMain(argc, argv);
    if (argc == 4 && std::strcmp(argv[1], "--installation") == 0)
        return InstallationMain(argv[2], argv[3]);
    if (argc == 3 && std::strcmp(argv[1], "--profiles") == 0)
        return ProfilesMain(argv[2]);
    if (argc > 4 && std::strcmp(argv[1], "--peak-of") == 0)
        return PeakOfMain(argc, argv);
    try {
        return Run();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "whole_process: %s\n", e.what());
        return 1;
    }
}
