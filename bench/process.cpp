// vistrel-bench-process: whole processes timed from outside, as a user meets
// them. Each series is a command line; every round runs each series once, in
// an order that turns every round, so that all series meet the same machine
// load and the same warm caches. The first series is the baseline; the
// figures are medians, and ratios are of medians.
//
//   vistrel-bench-process MODE [OPTIONS] @NAME PROGRAM ARGS... [@NAME PROGRAM ARGS...]...
//
// MODE
//   exit    from spawn to exit; each run must exit with status 0 and the
//           warm-up run must print something (stdout goes to /dev/null)
//   paint   from spawn to the end of the first paint of the program's first
//           window, as the preloaded probe (--probe) reports it
//   xpaint  from spawn to the moment the X server has drawn (DAMAGE) nearly
//           all of a mapped top-level window of the program; the window is
//           then closed as a window manager would close it
//   memory  peak resident memory (VmHWM) after the first paint and a settle
//           (--settle, default 300 ms), as the probe reports it
// OPTIONS
//   --rounds N        measured rounds (default 30); --warmup N unmeasured first (default 2)
//   --probe LIB       the first-paint probe, for paint and memory
//   --title TEXT      the heading of the table
//   --limit NAME=R    a TARGET line: NAME's median at most R times the baseline's
//   --limit-add NAME=M  a TARGET line (memory): NAME at most M MiB above the baseline
//   --ahead NAME=PEER   a TARGET line: NAME's median below PEER's (skipped without PEER)
//   --optional NAME   a series whose program may be missing or fail (a peer);
//                     it is then left out with the reason
#include "figures.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <map>
#include <optional>
#include <poll.h>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#ifdef VISTREL_BENCH_XCB
#include <xcb/damage.h>
#include <xcb/xcb.h>
#endif

extern char **environ;

using vistrel::bench::median;
using vistrel::bench::printVerdict;

namespace {

enum class Mode { Exit, Paint, XPaint, Memory };

struct Series {
    std::string name;
    std::vector<std::string> argv;
    bool optional = false;
    std::string skipped;        // why an optional series was left out
    std::vector<double> values; // ms, or MiB for memory
    std::vector<double> rss;    // peak resident memory of each run, MiB
};

struct Limit {
    std::string name;
    double value;
    std::string peer;
};

struct Options {
    Mode mode = Mode::Exit;
    int rounds = 30;
    int warmup = 2;
    int settleMs = 300;
    std::string probe;
    std::string title;
    std::vector<Limit> ratioLimits;
    std::vector<Limit> addLimits;
    std::vector<Limit> ahead;
    std::vector<Series> series;
};

double now() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

double quantile(std::vector<double> v, double q) {
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    const double at = q * double(v.size() - 1);
    const auto low = static_cast<std::size_t>(std::floor(at));
    const std::size_t high = std::min(low + 1, v.size() - 1);
    return v[low] + (v[high] - v[low]) * (at - double(low));
}

[[noreturn]] void usage(const char *why) {
    std::fprintf(stderr, "vistrel-bench-process: %s\n", why);
    std::exit(2);
}

Limit limitOf(const std::string &text, bool numeric) {
    const std::size_t eq = text.find('=');
    if (eq == std::string::npos)
        usage("a limit is NAME=VALUE");
    Limit limit{text.substr(0, eq), 0, {}};
    if (numeric)
        limit.value = std::atof(text.c_str() + eq + 1);
    else
        limit.peer = text.substr(eq + 1);
    return limit;
}

Options parse(int argc, char **argv) {
    Options o;
    if (argc < 2)
        usage("no mode");
    const std::string mode = argv[1];
    if (mode == "exit")
        o.mode = Mode::Exit;
    else if (mode == "paint")
        o.mode = Mode::Paint;
    else if (mode == "xpaint")
        o.mode = Mode::XPaint;
    else if (mode == "memory")
        o.mode = Mode::Memory;
    else
        usage("unknown mode");
    std::vector<std::string> optional;
    int i = 2;
    for (; i < argc && argv[i][0] != '@'; ++i) {
        const std::string arg = argv[i];
        if (i + 1 >= argc)
            usage("an option lacks its value");
        const std::string value = argv[++i];
        if (arg == "--rounds")
            o.rounds = std::clamp(std::atoi(value.c_str()), 1, 10000);
        else if (arg == "--warmup")
            o.warmup = std::clamp(std::atoi(value.c_str()), 0, 100);
        else if (arg == "--settle")
            o.settleMs = std::clamp(std::atoi(value.c_str()), 0, 60000);
        else if (arg == "--probe")
            o.probe = value;
        else if (arg == "--title")
            o.title = value;
        else if (arg == "--limit")
            o.ratioLimits.push_back(limitOf(value, true));
        else if (arg == "--limit-add")
            o.addLimits.push_back(limitOf(value, true));
        else if (arg == "--ahead")
            o.ahead.push_back(limitOf(value, false));
        else if (arg == "--optional")
            optional.push_back(value);
        else
            usage("unknown option");
    }
    for (; i < argc; ++i) {
        if (argv[i][0] == '@') {
            Series s;
            s.name = argv[i] + 1;
            s.optional = std::find(optional.begin(), optional.end(), s.name) != optional.end();
            o.series.push_back(s);
        } else {
            o.series.back().argv.emplace_back(argv[i]);
        }
    }
    if (o.series.empty())
        usage("no series");
    for (const Series &s : o.series)
        if (s.argv.empty())
            usage("a series without a program");
    if ((o.mode == Mode::Paint || o.mode == Mode::Memory) && o.probe.empty())
        usage("paint and memory need --probe");
    return o;
}

// The outcome of one run.
struct Outcome {
    bool ok = false;
    std::string failure;
    double value = 0; // ms, or MiB for memory
    double rssMiB = 0;
    std::string output; // the first bytes of stdout, warm-up runs only
};

// The start of a file: reading stops once `limit` bytes are in.
std::string slurp(const std::string &path, std::size_t limit) {
    std::string text;
    if (FILE *f = std::fopen(path.c_str(), "r")) {
        char buffer[512];
        std::size_t n = 0;
        while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0 && text.size() < limit)
            text.append(buffer, n);
        std::fclose(f);
    }
    return text;
}

class Child {
public:
    Child() = default;
    Child(const Child &) = delete;
    Child &operator=(const Child &) = delete;
    ~Child() { finish(2000); }

    // Starts `argv` with `extraEnv` added; stdout to `out` (or /dev/null),
    // stderr to a file shown when the run fails. A pipe to the probe lands on
    // descriptor 3 when `withReport`.
    bool start(const std::vector<std::string> &argv, const std::vector<std::string> &extraEnv,
               const std::string &out, bool withReport) {
        std::vector<std::string> env;
        for (char **e = environ; *e; ++e)
            env.emplace_back(*e);
        for (const std::string &extra : extraEnv) {
            const std::string key = extra.substr(0, extra.find('=') + 1);
            env.erase(std::remove_if(env.begin(), env.end(),
                                     [&key](const std::string &e) { return e.rfind(key, 0) == 0; }),
                      env.end());
            env.push_back(extra);
        }
        std::vector<char *> envp, args;
        for (std::string &e : env)
            envp.push_back(e.data());
        envp.push_back(nullptr);
        std::vector<std::string> argCopy = argv;
        for (std::string &a : argCopy)
            args.push_back(a.data());
        args.push_back(nullptr);

        int fds[2] = {-1, -1};
        if (withReport && pipe2(fds, O_CLOEXEC) != 0)
            return false;
        std::snprintf(errPath_, sizeof errPath_, "/tmp/vistrel-bench-stderr-XXXXXX");
        const int errFd = mkstemp(errPath_);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 1, out.empty() ? "/dev/null" : out.c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (errFd >= 0)
            posix_spawn_file_actions_adddup2(&actions, errFd, 2);
        if (withReport)
            posix_spawn_file_actions_adddup2(&actions, fds[1], 3);
        started_ = now();
        const int spawned =
            posix_spawn(&pid_, args[0], &actions, nullptr, args.data(), envp.data());
        posix_spawn_file_actions_destroy(&actions);
        if (errFd >= 0)
            close(errFd);
        if (withReport) {
            close(fds[1]);
            report_ = fds[0];
        }
        if (spawned != 0) {
            pid_ = -1;
            failure_ = std::string("cannot start ") + argv[0] + ": " + std::strerror(spawned);
            return false;
        }
        return true;
    }

    double started() const { return started_; }
    pid_t pid() const { return pid_; }
    int report() const { return report_; }

    // Waits for the exit; true when it exited with status 0.
    bool wait(double limitMs, int *status = nullptr) {
        if (pid_ < 0)
            return false;
        const double deadline = now() + limitMs;
        int st = 0;
        rusage usage{};
        while (true) {
            const pid_t got = wait4(pid_, &st, WNOHANG, &usage);
            if (got == pid_)
                break;
            if (got < 0 || now() > deadline)
                return false;
            usleep(200);
        }
        ended_ = now();
        pid_ = -1;
        rssKiB_ = usage.ru_maxrss;
        if (status)
            *status = st;
        return WIFEXITED(st) && WEXITSTATUS(st) == 0;
    }

    // Ends a child that is still running: asked first, then forced.
    void finish(double limitMs) {
        if (pid_ > 0 && !wait(limitMs)) {
            kill(pid_, SIGTERM);
            if (!wait(2000)) {
                kill(pid_, SIGKILL);
                wait(5000);
            }
        }
        if (report_ >= 0)
            close(report_);
        report_ = -1;
        if (errPath_[0])
            unlink(errPath_);
        errPath_[0] = 0;
    }

    double ended() const { return ended_; }
    double rssMiB() const { return double(rssKiB_) / 1024.0; }
    const std::string &failure() const { return failure_; }

    std::string errors() const { return slurp(errPath_, 2000); }

private:
    pid_t pid_ = -1;
    int report_ = -1;
    double started_ = 0;
    double ended_ = 0;
    long rssKiB_ = 0;
    std::string failure_;
    char errPath_[64] = {};
};

// Reads the probe's lines until `want` comes or the limit passes.
std::optional<std::string> readLine(int fd, const char *want, double limitMs, std::string &buffer) {
    const double deadline = now() + limitMs;
    while (true) {
        std::size_t nl;
        while ((nl = buffer.find('\n')) != std::string::npos) {
            std::string line = buffer.substr(0, nl);
            buffer.erase(0, nl + 1);
            if (line.rfind(want, 0) == 0)
                return line;
        }
        const double left = deadline - now();
        if (left <= 0)
            return std::nullopt;
        pollfd p{fd, POLLIN, 0};
        if (poll(&p, 1, static_cast<int>(std::ceil(left))) <= 0)
            return std::nullopt;
        char chunk[256];
        const ssize_t n = read(fd, chunk, sizeof chunk);
        if (n <= 0)
            return std::nullopt;
        buffer.append(chunk, static_cast<std::size_t>(n));
    }
}

std::string tempOutput() {
    char path[] = "/tmp/vistrel-bench-out-XXXXXX";
    const int fd = mkstemp(path);
    if (fd >= 0)
        close(fd);
    return path;
}

Outcome failed(const Child &child, const std::string &why) {
    Outcome o;
    o.failure = why;
    const std::string errors = child.errors();
    if (!errors.empty())
        o.failure += "; its error output: " + errors.substr(0, 600);
    return o;
}

Outcome runExit(const Series &s, bool warm) {
    Child child;
    const std::string out = warm ? tempOutput() : std::string();
    if (!child.start(s.argv, {}, out, false))
        return failed(child, child.failure());
    int status = 0;
    if (!child.wait(60000, &status)) {
        Outcome o = failed(child, "did not exit with status 0 (wait status " +
                                      std::to_string(status) + ")");
        if (!out.empty())
            unlink(out.c_str());
        return o;
    }
    Outcome o;
    o.ok = true;
    o.value = child.ended() - child.started();
    o.rssMiB = child.rssMiB();
    if (!out.empty()) {
        o.output = slurp(out, 4096);
        unlink(out.c_str());
        if (o.output.empty())
            return failed(child, "printed nothing");
    }
    return o;
}

Outcome runProbed(const Series &s, const Options &opt) {
    Child child;
    const bool memory = opt.mode == Mode::Memory;
    const std::vector<std::string> env{"LD_PRELOAD=" + opt.probe, "VISTREL_BENCH_FD=3",
                                       "VISTREL_BENCH_SETTLE_MS=" +
                                           std::to_string(memory ? opt.settleMs : 0)};
    if (!child.start(s.argv, env, {}, true))
        return failed(child, child.failure());
    std::string buffer;
    const std::optional<std::string> painted = readLine(child.report(), "painted ", 20000, buffer);
    if (!painted)
        return failed(child, "no first paint reported within 20 s");
    long long sec = 0, nsec = 0;
    std::sscanf(painted->c_str(), "painted %lld %lld", &sec, &nsec);
    const double paintedAt = double(sec) * 1e3 + double(nsec) / 1e6;
    const std::optional<std::string> figures =
        readLine(child.report(), "memory", double(opt.settleMs) + 20000, buffer);
    if (!child.wait(20000))
        return failed(child, "did not end with status 0 after its first paint");
    Outcome o;
    o.ok = true;
    o.rssMiB = child.rssMiB();
    o.value = paintedAt - child.started();
    if (memory) {
        const char *hwm = figures ? std::strstr(figures->c_str(), "VmHWM=") : nullptr;
        if (!hwm)
            return failed(child, "no memory figures reported");
        o.value = std::atof(hwm + 6) / 1024.0;
    }
    return o;
}

#ifdef VISTREL_BENCH_XCB

// The X display the programs show their windows on, watched through the
// DAMAGE extension: every drawing into a top-level window is reported with
// its rectangle.
class Display {
public:
    bool open() {
        conn_ = xcb_connect(nullptr, nullptr);
        if (!conn_ || xcb_connection_has_error(conn_))
            return false;
        const xcb_query_extension_reply_t *ext = xcb_get_extension_data(conn_, &xcb_damage_id);
        if (!ext || !ext->present)
            return false;
        damageEvent_ = ext->first_event + XCB_DAMAGE_NOTIFY;
        free(xcb_damage_query_version_reply(conn_, xcb_damage_query_version(conn_, 1, 1), nullptr));
        root_ = xcb_setup_roots_iterator(xcb_get_setup(conn_)).data->root;
        const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
        xcb_change_window_attributes(conn_, root_, XCB_CW_EVENT_MASK, &mask);
        protocols_ = atom("WM_PROTOCOLS");
        deleteWindow_ = atom("WM_DELETE_WINDOW");
        xcb_flush(conn_);
        return true;
    }
    ~Display() {
        if (conn_)
            xcb_disconnect(conn_);
    }

    // Forgets the windows of the run before.
    void reset() {
        drain();
        windows_.clear();
    }

    // Waits until a mapped top-level window has had at least `share` of its
    // area drawn since it was mapped; returns that moment, or nothing.
    std::optional<double> waitForDrawnWindow(double limitMs, double share) {
        const double deadline = now() + limitMs;
        while (now() < deadline) {
            xcb_generic_event_t *event = xcb_poll_for_event(conn_);
            if (!event) {
                if (xcb_connection_has_error(conn_))
                    return std::nullopt;
                pollfd p{xcb_get_file_descriptor(conn_), POLLIN, 0};
                poll(&p, 1, 5);
                continue;
            }
            const std::optional<double> done = handle(event, share);
            free(event);
            if (done)
                return done;
        }
        return std::nullopt;
    }

    // Asks every mapped window of the run to close, as a window manager would.
    void closeWindows() {
        for (const auto &[id, w] : windows_) {
            if (!w.mapped)
                continue;
            xcb_client_message_event_t message{};
            message.response_type = XCB_CLIENT_MESSAGE;
            message.format = 32;
            message.window = id;
            message.type = protocols_;
            message.data.data32[0] = deleteWindow_;
            message.data.data32[1] = XCB_CURRENT_TIME;
            xcb_send_event(conn_, 0, id, XCB_EVENT_MASK_NO_EVENT,
                           reinterpret_cast<const char *>(&message));
        }
        xcb_flush(conn_);
    }

private:
    struct Window {
        int width = 0;
        int height = 0;
        bool mapped = false;
        std::vector<unsigned char> drawn;
        long drawnCount = 0;
    };

    xcb_atom_t atom(const char *name) {
        xcb_intern_atom_reply_t *reply = xcb_intern_atom_reply(
            conn_, xcb_intern_atom(conn_, 0, static_cast<uint16_t>(std::strlen(name)), name),
            nullptr);
        const xcb_atom_t a = reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
        free(reply);
        return a;
    }

    void drain() {
        while (xcb_generic_event_t *event = xcb_poll_for_event(conn_))
            free(event);
    }

    std::optional<double> handle(xcb_generic_event_t *event, double share) {
        const uint8_t type = event->response_type & 0x7f;
        if (type == XCB_CREATE_NOTIFY) {
            const auto *e = reinterpret_cast<xcb_create_notify_event_t *>(event);
            if (std::getenv("VISTREL_BENCH_DEBUG"))
                std::fprintf(stderr, "%.2f create %x %dx%d\n", now(), e->window, e->width,
                             e->height);
            if (e->parent != root_)
                return std::nullopt;
            Window &w = windows_[e->window];
            w.width = e->width;
            w.height = e->height;
            xcb_damage_create(conn_, xcb_generate_id(conn_), e->window,
                              XCB_DAMAGE_REPORT_LEVEL_RAW_RECTANGLES);
            xcb_flush(conn_);
        } else if (type == XCB_CONFIGURE_NOTIFY) {
            const auto *e = reinterpret_cast<xcb_configure_notify_event_t *>(event);
            if (auto it = windows_.find(e->window); it != windows_.end()) {
                it->second.width = e->width;
                it->second.height = e->height;
            }
        } else if (type == XCB_MAP_NOTIFY) {
            const auto *e = reinterpret_cast<xcb_map_notify_event_t *>(event);
            if (std::getenv("VISTREL_BENCH_DEBUG"))
                std::fprintf(stderr, "%.2f map %x\n", now(), e->window);
            if (auto it = windows_.find(e->window); it != windows_.end()) {
                Window &w = it->second;
                w.mapped = true;
                w.drawn.assign(static_cast<std::size_t>(w.width) * w.height, 0);
                w.drawnCount = 0;
            }
        } else if (type == damageEvent_) {
            const auto *e = reinterpret_cast<xcb_damage_notify_event_t *>(event);
            if (std::getenv("VISTREL_BENCH_DEBUG"))
                std::fprintf(stderr, "%.2f damage %x %d,%d %dx%d\n", now(), e->drawable, e->area.x,
                             e->area.y, e->area.width, e->area.height);
            auto it = windows_.find(e->drawable);
            if (it == windows_.end() || !it->second.mapped)
                return std::nullopt;
            Window &w = it->second;
            const int x1 = std::min<int>(e->area.x + e->area.width, w.width);
            const int y1 = std::min<int>(e->area.y + e->area.height, w.height);
            for (int y = std::max<int>(e->area.y, 0); y < y1; ++y)
                for (int x = std::max<int>(e->area.x, 0); x < x1; ++x) {
                    unsigned char &cell = w.drawn[static_cast<std::size_t>(y) * w.width + x];
                    if (!cell) {
                        cell = 1;
                        ++w.drawnCount;
                    }
                }
            const double area = double(w.width) * w.height;
            if (area > 64 && double(w.drawnCount) >= share * area)
                return now();
        }
        return std::nullopt;
    }

    xcb_connection_t *conn_ = nullptr;
    xcb_window_t root_ = 0;
    uint8_t damageEvent_ = 0;
    xcb_atom_t protocols_ = XCB_ATOM_NONE;
    xcb_atom_t deleteWindow_ = XCB_ATOM_NONE;
    std::map<xcb_window_t, Window> windows_;
};

Outcome runX(const Series &s, Display &display) {
    display.reset();
    Child child;
    if (!child.start(s.argv, {}, {}, false))
        return failed(child, child.failure());
    if (std::getenv("VISTREL_BENCH_DEBUG"))
        std::fprintf(stderr, "%.2f started %s\n", child.started(), s.name.c_str());
    const std::optional<double> drawn = display.waitForDrawnWindow(30000, 0.9);
    if (!drawn) {
        child.finish(0);
        return failed(child, "no window drawn within 30 s");
    }
    Outcome o;
    o.ok = true;
    o.value = *drawn - child.started();
    display.closeWindows();
    child.finish(5000);
    o.rssMiB = child.rssMiB();
    return o;
}

#endif

Outcome runOnce(const Series &s, const Options &opt, bool warm, void *display) {
    switch (opt.mode) {
    case Mode::Exit:
        return runExit(s, warm);
    case Mode::Paint:
    case Mode::Memory:
        return runProbed(s, opt);
    case Mode::XPaint:
#ifdef VISTREL_BENCH_XCB
        return runX(s, *static_cast<Display *>(display));
#else
        (void)display;
        return Outcome{false, "built without xcb-damage", 0, 0, {}};
#endif
    }
    return {};
}

// The program's path; a bare name is looked for on PATH. Empty when there is none.
std::string resolveProgram(const std::string &program) {
    if (program.find('/') != std::string::npos)
        return access(program.c_str(), X_OK) == 0 ? program : std::string();
    const char *path = std::getenv("PATH");
    std::string folders = path ? path : "/usr/bin:/bin";
    std::size_t start = 0;
    while (start <= folders.size()) {
        const std::size_t end = std::min(folders.find(':', start), folders.size());
        const std::string candidate = folders.substr(start, end - start) + '/' + program;
        if (end > start && access(candidate.c_str(), X_OK) == 0)
            return candidate;
        start = end + 1;
    }
    return {};
}

const Series *find(const Options &o, const std::string &name) {
    for (const Series &s : o.series)
        if (s.name == name && s.skipped.empty() && !s.values.empty())
            return &s;
    return nullptr;
}

} // namespace

int main(int argc, char *argv[]) {
    Options o = parse(argc, argv);
    std::signal(SIGPIPE, SIG_IGN);
    void *display = nullptr;
#ifdef VISTREL_BENCH_XCB
    Display x;
    if (o.mode == Mode::XPaint) {
        if (!x.open()) {
            std::fprintf(stderr, "vistrel-bench-process: no X display with DAMAGE\n");
            return 1;
        }
        display = &x;
    }
#endif
    for (Series &s : o.series) {
        const std::string program = resolveProgram(s.argv[0]);
        if (program.empty())
            s.skipped = "not installed (" + s.argv[0] + ")";
        else
            s.argv[0] = program;
    }

    const int total = o.warmup + o.rounds;
    const std::size_t n = o.series.size();
    for (int round = 0; round < total; ++round) {
        for (std::size_t k = 0; k < n; ++k) {
            Series &s = o.series[(static_cast<std::size_t>(round) + k) % n];
            if (!s.skipped.empty())
                continue;
            const bool warm = round < o.warmup;
            const Outcome outcome = runOnce(s, o, warm && round == 0, display);
            if (!outcome.ok) {
                if (s.optional) {
                    s.skipped = outcome.failure;
                    s.values.clear();
                    continue;
                }
                std::fprintf(stderr, "vistrel-bench-process: %s: %s\n", s.name.c_str(),
                             outcome.failure.c_str());
                return 1;
            }
            if (!warm) {
                s.values.push_back(outcome.value);
                s.rss.push_back(outcome.rssMiB);
            }
        }
    }

    const bool memory = o.mode == Mode::Memory;
    const Series &base = o.series.front();
    if (!base.skipped.empty()) {
        std::fprintf(stderr, "vistrel-bench-process: the baseline %s: %s\n", base.name.c_str(),
                     base.skipped.c_str());
        return 1;
    }
    const double baseMedian = median(base.values);
    std::printf("%s (%d rounds, medians)\n", o.title.c_str(), o.rounds);
    std::printf("  %-28s %10s %10s %10s %8s %9s\n", "", memory ? "MiB" : "ms",
                memory ? "min" : "p25", memory ? "max" : "p75", memory ? "+MiB" : "ratio",
                "peak RSS");
    for (const Series &s : o.series) {
        if (!s.skipped.empty()) {
            std::printf("  %-28s left out: %s\n", s.name.c_str(), s.skipped.c_str());
            continue;
        }
        const double m = median(s.values);
        std::printf("  %-28s %10.2f %10.2f %10.2f %8.2f %9.2f\n", s.name.c_str(), m,
                    memory ? quantile(s.values, 0) : quantile(s.values, 0.25),
                    memory ? quantile(s.values, 1) : quantile(s.values, 0.75),
                    memory ? m - baseMedian : m / baseMedian, median(s.rss));
    }
    for (const Limit &l : o.ratioLimits) {
        if (const Series *s = find(o, l.name)) {
            const double m = median(s->values);
            char figures[200];
            std::snprintf(figures, sizeof figures, "%.2f x %s (target <= %.2f x); %.2f vs %.2f ms",
                          m / baseMedian, base.name.c_str(), l.value, m, baseMedian);
            printVerdict(o.title + ": " + l.name, m / baseMedian <= l.value, figures);
        }
    }
    for (const Limit &l : o.addLimits) {
        if (const Series *s = find(o, l.name)) {
            const double m = median(s->values);
            char figures[200];
            std::snprintf(figures, sizeof figures,
                          "%+.2f MiB over %s (target <= +%.2f MiB); %.2f vs %.2f MiB",
                          m - baseMedian, base.name.c_str(), l.value, m, baseMedian);
            printVerdict(o.title + ": " + l.name, m - baseMedian <= l.value, figures);
        }
    }
    for (const Limit &l : o.ahead) {
        const Series *s = find(o, l.name);
        const Series *peer = find(o, l.peer);
        if (s && peer) {
            const double m = median(s->values), p = median(peer->values);
            char figures[200];
            std::snprintf(figures, sizeof figures, "%.2f x %s's start-up; %.2f vs %.2f ms", m / p,
                          l.peer.c_str(), m, p);
            printVerdict(o.title + ": " + l.name + " ahead of " + l.peer, m < p, figures);
        }
    }
    std::fflush(stdout);
    return 0;
}
