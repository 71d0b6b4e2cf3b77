// Start-up time, resident memory and idle cost of the game, beside the bare
// window (the same controls without the game), on a private Xvfb.
//
//   bench_startup_harness [options] GAME BARE
//     --runs N      measured starts of each program, alternating (15)
//     --warmup N    unmeasured starts of each first, to warm the caches (1)
//     --idle S      idle window in seconds (10; 0 skips the idle part)
//     --settle S    wait after the window is shown before idling (2)
//     --env N=V     extra variable for both programs (QT_DEBUG_PLUGINS=1 ...)
//
// A window counts as shown when its first frame is on the screen: the
// top-level window with the expected title has been mapped and its pixels are
// no longer the black root behind it (Qt leaves a new window unpainted until
// it has drawn it). Nothing in the programs is changed for the measurement.
// Both run with a temporary HOME and XDG folders, so no real settings (the
// high score) are read or written, and with no session bus or audio server.

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/select.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

const std::string GameTitle = "Tulvar\u00B4s Quintor";
const std::string BareTitle = "Quintor bare window";
constexpr auto ShowTimeout = std::chrono::seconds(20);

[[noreturn]] void Fail(const std::string &message)
{
    throw std::runtime_error(message);
}

double Ms(Clock::duration d)
{
    return std::chrono::duration<double, std::milli>(d).count();
}

double Median(std::vector<double> values)
{
    if (values.empty())
        return 0.0;
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2.0;
}

std::string ReadFile(const std::string &path)
{
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// A "Name:   1234 kB" field of /proc/<pid>/status; -1 when missing.
long StatusField(const std::string &status, const std::string &name)
{
    const std::string key = "\n" + name + ":";
    const std::size_t at = ("\n" + status).find(key);
    if (at == std::string::npos)
        return -1;
    return std::strtol(status.c_str() + at + name.size() + 1, nullptr, 10);
}

// ---------------------------------------------------------------------------
// Scratch folders and the programs' environment.

struct Sandbox {
    std::string root;
    std::vector<std::string> env;

    explicit Sandbox(const std::vector<std::string> &extraEnv)
    {
        const char *tmp = std::getenv("TMPDIR");
        std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/quintor-bench.XXXXXX";
        if (!mkdtemp(pattern.data()))
            Fail("cannot create a temporary folder: " + std::string(std::strerror(errno)));
        root = pattern;
        for (const char *sub : {"/home", "/config", "/runtime"})
            if (mkdir((root + sub).c_str(), 0700) != 0)
                Fail("cannot create " + root + sub);

        // Only what a program needs: a session bus, a sound server or a
        // desktop theme of the caller would make the figures depend on the
        // caller's desktop.
        const char *path = std::getenv("PATH");
        env = {"PATH=" + std::string(path ? path : "/usr/bin:/bin"),
               "HOME=" + root + "/home",
               "XDG_CONFIG_HOME=" + root + "/config",
               "XDG_RUNTIME_DIR=" + root + "/runtime",
               "QT_QPA_PLATFORM=xcb"};
        for (const char *name : {"LANG", "LC_ALL", "LC_CTYPE"})
            if (const char *value = std::getenv(name))
                env.push_back(std::string(name) + "=" + value);
        env.insert(env.end(), extraEnv.begin(), extraEnv.end());
    }

    ~Sandbox()
    {
        std::error_code ignored;
        std::filesystem::remove_all(root, ignored);
    }
};

pid_t Spawn(const std::vector<std::string> &argv, const std::vector<std::string> &env,
            const std::string &logFile, int keepFd = -1)
{
    std::vector<char *> args;
    for (const auto &a : argv)
        args.push_back(const_cast<char *>(a.c_str()));
    args.push_back(nullptr);
    std::vector<char *> envp;
    for (const auto &e : env)
        envp.push_back(const_cast<char *>(e.c_str()));
    envp.push_back(nullptr);

    const pid_t pid = fork();
    if (pid < 0)
        Fail("fork failed");
    if (pid == 0) {
        const int log = open(logFile.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0600);
        const int null = open("/dev/null", O_RDONLY);
        if (log >= 0) {
            dup2(log, 1);
            dup2(log, 2);
        }
        if (null >= 0)
            dup2(null, 0);
        // Only the standard streams (and Xvfb's -displayfd) are inherited.
        for (int fd = 3; fd < 1024; ++fd)
            if (fd != keepFd)
                close(fd);
        execve(args[0], args.data(), envp.data());
        _exit(127);
    }
    return pid;
}

void Kill(pid_t pid)
{
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
}

// ---------------------------------------------------------------------------
// The private X server.

int g_xErrors = 0;

int CountXError(Display *, XErrorEvent *)
{
    ++g_xErrors; // a window that went away between two requests
    return 0;
}

class Xserver {
public:
    explicit Xserver(const Sandbox &box)
    {
        int pipeFds[2];
        if (pipe(pipeFds) != 0)
            Fail("pipe failed");
        m_log = box.root + "/xvfb.log";
        m_pid = Spawn({XvfbPath(), "-displayfd", std::to_string(pipeFds[1]), "-nolisten", "tcp",
                       "-screen", "0", "1024x768x24", "-br", "-noreset"},
                      box.env, m_log, pipeFds[1]);
        close(pipeFds[1]);

        // Xvfb writes the display number it took once it accepts clients.
        std::string number;
        const auto deadline = Clock::now() + std::chrono::seconds(15);
        char c = 0;
        while (Clock::now() < deadline) {
            fd_set fds;
            FD_ZERO(&fds);
            FD_SET(pipeFds[0], &fds);
            timeval tv{0, 100000};
            if (select(pipeFds[0] + 1, &fds, nullptr, nullptr, &tv) <= 0)
                continue;
            if (read(pipeFds[0], &c, 1) != 1 || c == '\n')
                break;
            number += c;
        }
        close(pipeFds[0]);
        if (number.empty()) {
            Kill(m_pid);
            Fail("Xvfb did not start:\n" + ReadFile(m_log));
        }
        name = ":" + number;
        m_display = XOpenDisplay(name.c_str());
        if (!m_display) {
            Kill(m_pid);
            Fail("cannot open the display " + name);
        }
        XSetErrorHandler(CountXError);
        m_netWmName = XInternAtom(m_display, "_NET_WM_NAME", False);
        m_utf8 = XInternAtom(m_display, "UTF8_STRING", False);
        // Without a window manager a top-level window is a child of the root:
        // its map shows up here.
        XSelectInput(m_display, DefaultRootWindow(m_display), SubstructureNotifyMask);
        XSync(m_display, False);
    }

    ~Xserver()
    {
        if (m_display)
            XCloseDisplay(m_display);
        kill(m_pid, SIGTERM);
        waitpid(m_pid, nullptr, 0);
    }

    std::string name;

    // Waits for the map of a top-level window titled `title`; 0 when `pid`
    // ended (then `ended` is set and the process reaped) or the time ran out.
    Window WaitForMap(const std::string &title, pid_t pid, Clock::time_point deadline, bool &ended)
    {
        ended = false;
        const int fd = ConnectionNumber(m_display);
        while (Clock::now() < deadline) {
            while (XPending(m_display)) {
                XEvent event;
                XNextEvent(m_display, &event);
                if (event.type == MapNotify && Title(event.xmap.window) == title)
                    return event.xmap.window;
            }
            if (waitpid(pid, nullptr, WNOHANG) == pid) {
                ended = true;
                return 0;
            }
            fd_set fds;
            FD_ZERO(&fds);
            FD_SET(fd, &fds);
            timeval tv{0, 20000};
            select(fd + 1, &fds, nullptr, nullptr, &tv);
        }
        return 0;
    }

    // Waits until the window's first frame is drawn: two pixels of plain
    // window background, top-left and bottom-right, are no longer black.
    bool WaitForPaint(Window window, Clock::time_point deadline)
    {
        XWindowAttributes attributes;
        if (!XGetWindowAttributes(m_display, window, &attributes))
            return false;
        const int w = attributes.width;
        const int h = attributes.height;
        while (Clock::now() < deadline) {
            if (!IsBlack(window, w - 3, h - 3) && !IsBlack(window, 2, 2))
                return true;
            std::this_thread::sleep_for(std::chrono::microseconds(500));
        }
        return false;
    }

    // Drops what queued up (the unmaps and destroys of killed programs).
    void Drain()
    {
        XSync(m_display, False);
        while (XPending(m_display)) {
            XEvent event;
            XNextEvent(m_display, &event);
        }
    }

private:
    static std::string XvfbPath()
    {
        for (const char *candidate : {"/usr/bin/Xvfb", "/usr/local/bin/Xvfb"})
            if (access(candidate, X_OK) == 0)
                return candidate;
        Fail("Xvfb not found; install the package xvfb");
    }

    std::string Title(Window window)
    {
        Atom type = None;
        int format = 0;
        unsigned long count = 0, after = 0;
        unsigned char *data = nullptr;
        std::string title;
        if (XGetWindowProperty(m_display, window, m_netWmName, 0, 1024, False, m_utf8, &type, &format,
                               &count, &after, &data) == Success && data) {
            if (type == m_utf8 && format == 8)
                title.assign(reinterpret_cast<char *>(data), count);
            XFree(data);
        }
        return title;
    }

    bool IsBlack(Window window, int x, int y)
    {
        XImage *image = XGetImage(m_display, window, x, y, 1, 1, AllPlanes, ZPixmap);
        if (!image)
            return true;
        const unsigned long pixel = XGetPixel(image, 0, 0);
        XDestroyImage(image);
        return pixel == 0;
    }

    pid_t m_pid = -1;
    std::string m_log;
    Display *m_display = nullptr;
    Atom m_netWmName = None;
    Atom m_utf8 = None;
};

// ---------------------------------------------------------------------------
// CPU time and context switches of every thread of a program.

struct ThreadSample {
    std::string name;
    long long cpuNs = 0; // schedstat: time on a CPU
    long switches = 0;   // voluntary + involuntary
};

struct ProcessSample {
    long long ticks = 0; // utime + stime of the process, dead threads included
    std::map<int, ThreadSample> threads;
};

ProcessSample Sample(pid_t pid)
{
    ProcessSample sample;
    const std::string dir = "/proc/" + std::to_string(pid);
    // Fields 14 and 15 of stat, counted after the command name, which may
    // hold blanks and parentheses.
    const std::string stat = ReadFile(dir + "/stat");
    std::istringstream fields(stat.substr(stat.rfind(')') + 2));
    std::string field;
    for (int i = 3; i <= 15 && fields >> field; ++i)
        if (i >= 14)
            sample.ticks += std::stoll(field);

    if (DIR *tasks = opendir((dir + "/task").c_str())) {
        while (dirent *entry = readdir(tasks)) {
            if (entry->d_name[0] == '.')
                continue;
            const std::string task = dir + "/task/" + entry->d_name;
            const std::string status = ReadFile(task + "/status");
            ThreadSample t;
            t.name = ReadFile(task + "/comm");
            if (!t.name.empty() && t.name.back() == '\n')
                t.name.pop_back();
            t.switches = StatusField(status, "voluntary_ctxt_switches")
                + StatusField(status, "nonvoluntary_ctxt_switches");
            t.cpuNs = std::atoll(ReadFile(task + "/schedstat").c_str());
            sample.threads[std::atoi(entry->d_name)] = t;
        }
        closedir(tasks);
    }
    return sample;
}

double ThreadCpuMs(const ProcessSample &sample)
{
    long long ns = 0;
    for (const auto &entry : sample.threads)
        ns += entry.second.cpuNs;
    return double(ns) / 1e6;
}

// ---------------------------------------------------------------------------
// One start of a program.

struct Program {
    std::string label;
    std::string path;
    std::string title;
    std::vector<double> startMs, mapMs, cpuMs, rssMiB, hwmMiB;
};

struct Started {
    pid_t pid = -1;
    double mapMs = 0;
    double shownMs = 0;
    double cpuMs = 0;
    double rssMiB = 0;
    double hwmMiB = 0;
};

Started Start(Xserver &x, const Sandbox &box, const Program &program, const std::string &log)
{
    x.Drain();
    Started s;
    const auto t0 = Clock::now();
    s.pid = Spawn({program.path}, box.env, log);
    const auto deadline = t0 + ShowTimeout;
    bool ended = false;
    const Window window = x.WaitForMap(program.title, s.pid, deadline, ended);
    const auto mapped = Clock::now();
    if (!window) {
        if (!ended)
            Kill(s.pid);
        Fail(program.label + (ended ? " ended" : " timed out") + " before a window titled \"" +
             program.title + "\" was mapped. Its output:\n" + ReadFile(log));
    }
    if (!x.WaitForPaint(window, deadline)) {
        Kill(s.pid);
        Fail(program.label + ": the window was mapped but its corners stayed black (never drawn?)");
    }
    const auto shown = Clock::now();
    // Memory at the moment the window is shown, before anything else runs.
    const std::string status = ReadFile("/proc/" + std::to_string(s.pid) + "/status");
    s.mapMs = Ms(mapped - t0);
    s.shownMs = Ms(shown - t0);
    s.rssMiB = StatusField(status, "VmRSS") / 1024.0;
    s.hwmMiB = StatusField(status, "VmHWM") / 1024.0;
    s.cpuMs = ThreadCpuMs(Sample(s.pid));
    return s;
}

// ---------------------------------------------------------------------------
// Idle cost.

struct IdleCost {
    double cpuMs = 0;      // from utime + stime (clock ticks)
    double schedCpuMs = 0; // from schedstat, finer
    long switches = 0;
    std::string perThread;
};

IdleCost MeasureIdle(Xserver &x, const Sandbox &box, const Program &program, double settleS,
                     double idleS)
{
    const std::string log = box.root + "/idle.log";
    const Started s = Start(x, box, program, log);
    std::this_thread::sleep_for(std::chrono::duration<double>(settleS));
    const ProcessSample before = Sample(s.pid);
    std::this_thread::sleep_for(std::chrono::duration<double>(idleS));
    const ProcessSample after = Sample(s.pid);
    Kill(s.pid);

    IdleCost cost;
    cost.cpuMs = double(after.ticks - before.ticks) * 1000.0 / double(sysconf(_SC_CLK_TCK));
    for (const auto &[tid, t] : after.threads) {
        const auto old = before.threads.find(tid);
        const long switches = t.switches - (old != before.threads.end() ? old->second.switches : 0);
        const long long ns = t.cpuNs - (old != before.threads.end() ? old->second.cpuNs : 0);
        cost.switches += switches;
        cost.schedCpuMs += double(ns) / 1e6;
        cost.perThread += (cost.perThread.empty() ? "" : ", ") + t.name + " " + std::to_string(switches);
    }
    for (const auto &[tid, t] : before.threads)
        if (!after.threads.count(tid))
            cost.perThread += ", " + t.name + " (ended)";
    return cost;
}

void PrintFirstOutput(const Program &program, const std::string &log)
{
    std::istringstream lines(ReadFile(log));
    std::string line;
    int shown = 0;
    while (std::getline(lines, line) && shown < 8) {
        if (shown++ == 0)
            std::printf("  %s wrote at start-up:\n", program.label.c_str());
        std::printf("    | %s\n", line.c_str());
    }
}

int Usage()
{
    std::fprintf(stderr,
                 "usage: bench_startup_harness [--runs N] [--warmup N] [--idle S] [--settle S]\n"
                 "                             [--env NAME=VALUE]... GAME BARE\n");
    return 2;
}

int Run(int argc, char **argv)
{
    int runs = 15;
    int warmup = 1;
    double idleS = 10;
    double settleS = 2;
    std::vector<std::string> extraEnv;
    std::vector<std::string> paths;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--runs" && hasValue)
            runs = std::max(1, std::atoi(argv[++i]));
        else if (arg == "--warmup" && hasValue)
            warmup = std::max(0, std::atoi(argv[++i]));
        else if (arg == "--idle" && hasValue)
            idleS = std::max(0.0, std::atof(argv[++i]));
        else if (arg == "--settle" && hasValue)
            settleS = std::max(0.0, std::atof(argv[++i]));
        else if (arg == "--env" && hasValue)
            extraEnv.emplace_back(argv[++i]);
        else if (!arg.empty() && arg[0] != '-')
            paths.push_back(arg);
        else
            return Usage();
    }
    if (paths.size() != 2)
        return Usage();

    Program game{"game", paths[0], GameTitle, {}, {}, {}, {}, {}};
    Program bare{"bare", paths[1], BareTitle, {}, {}, {}, {}, {}};
    for (const Program *p : {&game, &bare})
        if (access(p->path.c_str(), X_OK) != 0)
            Fail("not an executable: " + p->path);

    Sandbox box(extraEnv);
    Xserver x(box);
    box.env.push_back("DISPLAY=" + x.name);
    std::printf("Private Xvfb %s, %d warm-up and %d measured starts of each, alternating.\n",
                x.name.c_str(), warmup, runs);
    std::fflush(stdout);

    for (int i = 0; i < warmup + runs; ++i) {
        for (Program *p : {&game, &bare}) {
            const std::string log = box.root + "/" + p->label + std::to_string(i) + ".log";
            const Started s = Start(x, box, *p, log);
            Kill(s.pid);
            if (i == 0)
                PrintFirstOutput(*p, log);
            if (i < warmup)
                continue;
            p->startMs.push_back(s.shownMs);
            p->mapMs.push_back(s.mapMs);
            p->cpuMs.push_back(s.cpuMs);
            p->rssMiB.push_back(s.rssMiB);
            p->hwmMiB.push_back(s.hwmMiB);
        }
    }

    auto minMax = [](const std::vector<double> &v) {
        const auto [lo, hi] = std::minmax_element(v.begin(), v.end());
        char text[64];
        std::snprintf(text, sizeof text, "%.0f-%.0f", *lo, *hi);
        return std::string(text);
    };
    std::printf("\nMedians. start-up: from exec to the first frame on the screen; mapped: to the\n"
                "window's map; CPU: time on a CPU until the first frame, all threads (less\n"
                "disturbed than start-up when the machine is busy).\n");
    std::printf("  %-6s %10s %10s %10s %10s %11s %11s\n", "", "start-up", "min-max", "mapped", "CPU",
                "VmRSS", "VmHWM");
    for (const Program *p : {&game, &bare})
        std::printf("  %-6s %7.1f ms %10s %7.1f ms %7.1f ms %7.1f MiB %7.1f MiB\n", p->label.c_str(),
                    Median(p->startMs), minMax(p->startMs).c_str(), Median(p->mapMs),
                    Median(p->cpuMs), Median(p->rssMiB), Median(p->hwmMiB));

    const double ratio = Median(game.startMs) / Median(bare.startMs);
    const double rssDiff = Median(game.rssMiB) - Median(bare.rssMiB);
    const double hwmDiff = Median(game.hwmMiB) - Median(bare.hwmMiB);
    std::printf("  start-up game/bare  %.2f x     (aim <= 1.20 x: %s); CPU %.2f x\n", ratio,
                ratio <= 1.2 ? "met" : "MISSED", Median(game.cpuMs) / Median(bare.cpuMs));
    std::printf("  VmRSS game-bare    %+.1f MiB   (aim <= 8 MiB: %s); VmHWM %+.1f MiB\n", rssDiff,
                rssDiff <= 8.0 ? "met" : "MISSED", hwmDiff);

    if (idleS > 0) {
        std::printf("\nIdle, window open, %.0f s after a %.0f s settle:\n", idleS, settleS);
        std::fflush(stdout);
        for (const Program *p : {&game, &bare}) {
            const IdleCost c = MeasureIdle(x, box, *p, settleS, idleS);
            std::printf("  %-6s CPU %.0f ms (utime+stime), %.2f ms (schedstat); "
                        "wake-ups %ld  [%s]\n",
                        p->label.c_str(), c.cpuMs, c.schedCpuMs, c.switches, c.perThread.c_str());
            std::fflush(stdout);
        }
    }
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    try {
        return Run(argc, argv);
    } catch (const std::exception &e) {
        std::fprintf(stderr, "bench_startup_harness: %s\n", e.what());
        return 1;
    }
}
