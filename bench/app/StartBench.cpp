// Start and memory of the window against a bare Qt window of the same size (bare_window:
// a QLabel in a frameless 1300x788 window), both started in turns by this program under
// the X server of $DISPLAY:
//
//   xvfb-run -s '-screen 0 1920x1080x24' dbus-run-session -- build/dev/bench/app/start_bench
//   [rounds]
//
// (a desktop always has a session bus: without one, both programs start their own through
// dbus-launch, which adds 10-25 ms to each start here.)
//
// For each start: the time from the start of the process until the X server maps its
// first window of at least 600x400 (MapNotify on the root window, seen by this program,
// not told by the program measured), and its resident memory 3 s after the start as
// /proc/<pid>/smaps splits it: anonymous pages (the heap and unnamed mappings) and
// file-backed pages by file. The window runs with its virtual mice, in a scratch user's
// folders.
//
//   xvfb-run dbus-run-session -- build/dev/bench/app/start_bench --wakeups [seconds]
//
// instead starts the program with its window hidden (in the tray), once with the demo
// mice and once with nothing attached, lets it settle and counts how often its threads
// woke up over the given time (20 s unless given): the voluntary context switches of
// every thread, from /proc/<pid>/task/*/status, per second and by thread.
#include <xcb/xcb.h>

#include <dirent.h>

#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kMemoryAfter = std::chrono::seconds(3);
constexpr auto kMapDeadline = std::chrono::seconds(30);

struct Program {
    std::string name;
    std::vector<std::string> arguments; // the program first
};

// Resident kB by mapping: "[heap]", "[anon]" (unnamed), "[stack]", or the file's path.
using MemoryMap = std::map<std::string, long>;

struct Start {
    double mappedMs = -1;
    long rssKb = 0;
    long anonKb = 0;
    long fileKb = 0;
    MemoryMap byMapping;
};

bool isMappingHeader(const std::string& line) {
    const std::size_t dash = line.find('-');
    return dash != std::string::npos && dash > 0 &&
           line.find_first_not_of("0123456789abcdef") == dash;
}

MemoryMap residentByMapping(pid_t pid) {
    MemoryMap memory;
    std::ifstream smaps("/proc/" + std::to_string(pid) + "/smaps");
    std::string line;
    std::string current;
    while (std::getline(smaps, line)) {
        if (isMappingHeader(line)) {
            std::istringstream fields(line);
            std::string range, perms, offset, device, inode, path;
            fields >> range >> perms >> offset >> device >> inode;
            std::getline(fields >> std::ws, path);
            current = path.empty() ? "[anon]" : path;
        } else if (line.rfind("Rss:", 0) == 0) {
            memory[current] += std::strtol(line.c_str() + 4, nullptr, 10);
        }
    }
    return memory;
}

long statusValue(pid_t pid, const std::string& key) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(key + ":", 0) == 0)
            return std::strtol(line.c_str() + key.size() + 1, nullptr, 10);
    }
    return 0;
}

// Waits for the first MapNotify of a large window after the start.
bool waitForMap(xcb_connection_t* x, Clock::time_point deadline) {
    pollfd fd{xcb_get_file_descriptor(x), POLLIN, 0};
    for (;;) {
        while (xcb_generic_event_t* event = xcb_poll_for_event(x)) {
            bool large = false;
            if ((event->response_type & 0x7F) == XCB_MAP_NOTIFY) {
                const auto* map = reinterpret_cast<xcb_map_notify_event_t*>(event);
                xcb_get_geometry_reply_t* geometry =
                    xcb_get_geometry_reply(x, xcb_get_geometry(x, map->window), nullptr);
                large = geometry && geometry->width >= 600 && geometry->height >= 400;
                std::free(geometry);
            }
            std::free(event);
            if (large)
                return true;
        }
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0 || xcb_connection_has_error(x))
            return false;
        poll(&fd, 1, static_cast<int>(left.count()));
    }
}

// Starts program with env; 0 (and a message) when it cannot be started.
pid_t spawn(const Program& program, const std::vector<char*>& env) {
    std::vector<char*> argv;
    for (const std::string& argument : program.arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), env.data()) != 0) {
        std::fprintf(stderr, "cannot start %s\n", argv[0]);
        return 0;
    }
    return pid;
}

Start startOnce(xcb_connection_t* x, const Program& program, const std::vector<char*>& env) {
    while (xcb_generic_event_t* stale = xcb_poll_for_event(x))
        std::free(stale);

    Start start;
    const Clock::time_point begun = Clock::now();
    const pid_t pid = spawn(program, env);
    if (pid == 0)
        return start;
    if (waitForMap(x, begun + kMapDeadline)) {
        start.mappedMs = std::chrono::duration<double, std::milli>(Clock::now() - begun).count();
    }
    std::this_thread::sleep_until(begun + kMemoryAfter);
    start.rssKb = statusValue(pid, "VmRSS");
    start.anonKb = statusValue(pid, "RssAnon");
    start.fileKb = statusValue(pid, "RssFile");
    start.byMapping = residentByMapping(pid);
    kill(pid, SIGTERM);
    for (int i = 0; i < 300; ++i) {
        if (waitpid(pid, nullptr, WNOHANG) == pid)
            return start;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    return start;
}

double median(std::vector<double> values) {
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

std::string scratchFolder() {
    char pattern[] = "/tmp/start-bench-XXXXXX";
    const std::string root = mkdtemp(pattern);
    for (const char* name : {"/data", "/config", "/home", "/run"})
        mkdir((root + name).c_str(), 0700);
    return root;
}

// The environment with a scratch user's folders, on the X server (never offscreen). The
// program checks its server for a new version when it starts: a proxy on a closed
// loopback port keeps that check (and its name lookup) on this machine.
class ScratchEnvironment {
public:
    explicit ScratchEnvironment(const std::string& scratch) {
        static constexpr const char* kDropped[] = {
            "HOME=",        "XDG_",       "QT_QPA_PLATFORM=", "http_proxy=", "https_proxy=",
            "HTTPS_PROXY=", "all_proxy=", "ALL_PROXY=",       "no_proxy=",   "NO_PROXY="};
        for (char** entry = environ; *entry; ++entry) {
            const std::string text = *entry;
            const bool dropped =
                std::any_of(std::begin(kDropped), std::end(kDropped),
                            [&](const char* name) { return text.rfind(name, 0) == 0; });
            if (!dropped)
                m_text.push_back(text);
        }
        m_text.push_back("HOME=" + scratch + "/home");
        m_text.push_back("XDG_DATA_HOME=" + scratch + "/data");
        m_text.push_back("XDG_CONFIG_HOME=" + scratch + "/config");
        m_text.push_back("XDG_RUNTIME_DIR=" + scratch + "/run");
        m_text.push_back("http_proxy=http://127.0.0.1:9");
        m_text.push_back("https_proxy=http://127.0.0.1:9");
        for (std::string& entry : m_text)
            m_pointers.push_back(entry.data());
        m_pointers.push_back(nullptr);
    }
    ScratchEnvironment(const ScratchEnvironment&) = delete;
    ScratchEnvironment& operator=(const ScratchEnvironment&) = delete;

    // What posix_spawn takes: the entries, then a null.
    const std::vector<char*>& pointers() const { return m_pointers; }

private:
    std::vector<std::string> m_text;
    std::vector<char*> m_pointers;
};

void printMappings(const Start& window, const Start& bare) {
    std::map<std::string, std::pair<long, long>> both;
    for (const auto& [name, kb] : window.byMapping)
        both[name].first = kb;
    for (const auto& [name, kb] : bare.byMapping)
        both[name].second = kb;
    std::vector<std::pair<std::string, std::pair<long, long>>> rows(both.begin(), both.end());
    std::sort(rows.begin(), rows.end(), [](const auto& a, const auto& b) {
        return a.second.first - a.second.second > b.second.first - b.second.second;
    });
    std::printf("\nresident kB by mapping, last round (largest extra first):\n");
    std::printf("%9s %9s %9s  %s\n", "window", "bare", "extra", "mapping");
    for (std::size_t i = 0; i < rows.size() && i < 25; ++i) {
        const auto& [name, kb] = rows[i];
        std::printf("%9ld %9ld %9ld  %s\n", kb.first, kb.second, kb.first - kb.second,
                    name.c_str());
    }
}

// Voluntary context switches (each a wait that ended, i.e. a wake-up) of every thread
// of the process, by thread id, with the thread's name.
struct ThreadWaits {
    std::string name;
    long waits = 0;
};
std::map<long, ThreadWaits> waitsByThread(pid_t pid) {
    std::map<long, ThreadWaits> threads;
    const std::string folder = "/proc/" + std::to_string(pid) + "/task";
    DIR* tasks = opendir(folder.c_str());
    if (!tasks)
        return threads;
    while (const dirent* entry = readdir(tasks)) {
        if (entry->d_name[0] == '.')
            continue;
        std::ifstream status(folder + "/" + entry->d_name + "/status");
        ThreadWaits thread;
        std::string line;
        while (std::getline(status, line)) {
            if (line.rfind("Name:", 0) == 0)
                thread.name = line.substr(line.find_first_not_of(" \t", 5));
            else if (line.rfind("voluntary_ctxt_switches:", 0) == 0)
                thread.waits = std::strtol(line.c_str() + 24, nullptr, 10);
        }
        threads[std::strtol(entry->d_name, nullptr, 10)] = thread;
    }
    closedir(tasks);
    return threads;
}

// Starts the program hidden, waits `settle`, then counts its wake-ups over `span`.
void measureWakeups(const Program& program, const std::vector<char*>& env,
                    std::chrono::seconds settle, std::chrono::seconds span) {
    const pid_t pid = spawn(program, env);
    if (pid == 0)
        return;
    std::this_thread::sleep_for(settle);
    const auto before = waitsByThread(pid);
    std::this_thread::sleep_for(span);
    const auto after = waitsByThread(pid);
    kill(pid, SIGTERM);
    int status = 0;
    for (int i = 0; i < 300 && waitpid(pid, &status, WNOHANG) != pid; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    if (kill(pid, 0) == 0) {
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
    }
    if (after.empty()) {
        std::printf("%s: the program ended before the count\n", program.name.c_str());
        return;
    }
    // A thread that began during the count counts from zero; one that ended is lost.
    long total = 0;
    std::map<std::string, long> byName;
    for (const auto& [tid, thread] : after) {
        const auto earlier = before.find(tid);
        const long waits = thread.waits - (earlier == before.end() ? 0 : earlier->second.waits);
        total += waits;
        byName[thread.name] += waits;
    }
    const double seconds = double(span.count());
    std::printf("%-32s %8.2f wake-ups/s (%ld in %.0f s, %zu threads)\n", program.name.c_str(),
                double(total) / seconds, total, seconds, after.size());
    for (const auto& [name, waits] : byName) {
        if (waits > 0)
            std::printf("    %-20s %8.2f/s\n", name.c_str(), double(waits) / seconds);
    }
}

} // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::string(argv[1]) == "--wakeups") {
        const int seconds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 20;
        const std::string scratch = scratchFolder();
        const ScratchEnvironment environment(scratch);
        const Program hidden[] = {
            {"window hidden, demo mice", {CORVANE_PATH, "--virtual-mouse", "-hide"}},
            {"window hidden, nothing attached", {CORVANE_PATH, "-hide"}},
        };
        for (const Program& program : hidden)
            measureWakeups(program, environment.pointers(), std::chrono::seconds(5),
                           std::chrono::seconds(seconds));
        std::string remove = "rm -rf '" + scratch + "'";
        return std::system(remove.c_str()) == 0 ? 0 : 1;
    }
    if (!std::getenv("DBUS_SESSION_BUS_ADDRESS"))
        std::fprintf(stderr, "no session bus: each program starts one of its own (dbus-launch), "
                             "which no desktop does; run under dbus-run-session\n");
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    xcb_connection_t* x = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(x)) {
        std::fprintf(stderr, "start_bench needs an X server: xvfb-run -s '-screen 0 "
                             "1920x1080x24' start_bench\n");
        return 1;
    }
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(x)).data;
    const std::uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(x, screen->root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(x);

    const std::string scratch = scratchFolder();
    const ScratchEnvironment environment(scratch);

    const Program programs[] = {
        {"corvane", {CORVANE_PATH, "--virtual-mouse"}},
        {"bare window", {BARE_WINDOW_PATH}},
    };
    std::map<std::string, std::vector<Start>> starts;
    for (int round = 0; round < rounds; ++round) {
        for (const Program& program : programs)
            starts[program.name].push_back(startOnce(x, program, environment.pointers()));
    }

    std::printf("%-12s %28s %10s %10s %10s\n", "", "mapped ms (min/median/max)", "RSS kB",
                "anon kB", "file kB");
    for (const Program& program : programs) {
        std::vector<double> mapped, rss, anon, file;
        for (const Start& s : starts[program.name]) {
            if (s.mappedMs >= 0)
                mapped.push_back(s.mappedMs);
            rss.push_back(double(s.rssKb));
            anon.push_back(double(s.anonKb));
            file.push_back(double(s.fileKb));
        }
        if (mapped.empty()) {
            std::printf("%-12s never mapped a window\n", program.name.c_str());
            continue;
        }
        std::sort(mapped.begin(), mapped.end());
        std::printf("%-12s %8.1f / %8.1f / %8.1f %10.0f %10.0f %10.0f\n", program.name.c_str(),
                    mapped.front(), median(mapped), mapped.back(), median(rss), median(anon),
                    median(file));
    }
    printMappings(starts["corvane"].back(), starts["bare window"].back());
    std::string remove = "rm -rf '" + scratch + "'";
    return std::system(remove.c_str()) == 0 ? 0 : 1;
}
