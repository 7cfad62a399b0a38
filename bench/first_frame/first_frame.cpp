// Starts a program on the X server of $DISPLAY and measures, from outside:
//
//   frame_ms       exec to the first painted frame of its main window
//   map_ms         exec to the main window being mapped
//   startup_cpu_ms CPU the process used up to the first frame
//   idle_cpu_ms    CPU it used in the IDLE seconds right after the first frame
//   idle_switches  context switches in those seconds (each is a wake-up)
//   peak_kb        peak resident memory (VmHWM) at the end of the idle time
//
//   first_frame [--size WxH] [--idle SECONDS] [--probe COMMAND] [--shot FILE.ppm]
//               [--timeout SECONDS] -- PROGRAM [ARG...]
//
// The first frame is seen through the X DAMAGE extension: the server reports
// every drawing on the screen, and the first one inside the program's window
// that leaves more than a few colours in it is the frame (the window is mapped
// with no background of its own, so mapping alone draws nothing).  The main
// window is the first window of the process mapped at --size (default
// 640x480).  --probe runs COMMAND through /bin/sh with the program's process
// id as $1 at the end of the idle time; its output joins the result line.
// --shot saves the window as it was when it counted as painted, to see that
// the frame measured is the whole table.  With no frame within --timeout
// seconds (default 30) it gives up.
// Prints one line of name=value pairs on standard output; the program's own
// standard output is thrown away.

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xdamage.h>

#include <dirent.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>
#include <thread>
#include <string>
#include <unordered_set>
#include <vector>

namespace {

// A window of one or two colours is the screen behind it or a cleared area,
// not a painted frame.
constexpr size_t kPaintedColours = 8;

pid_t child = -1;

[[noreturn]] void fail(const char *message)
{
    std::fprintf(stderr, "first_frame: %s\n", message);
    if (child > 0)
        kill(child, SIGKILL);
    std::exit(1);
}

double now_ms()
{
    using Ms = std::chrono::duration<double, std::milli>;
    return std::chrono::duration_cast<Ms>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

struct Usage
{
    double cpu_ms = 0;     // on-CPU time of the threads alive, from schedstat (ns)
    double process_ms = 0; // utime + stime of the whole process, in clock ticks
    long switches = 0;     // voluntary + involuntary context switches
};

long status_field(const std::string &path, const char *name)
{
    std::ifstream file(path);
    std::string line;
    const size_t length = std::strlen(name);
    while (std::getline(file, line)) {
        if (line.compare(0, length, name) == 0 && line.size() > length && line[length] == ':')
            return std::strtol(line.c_str() + length + 1, nullptr, 10);
    }
    return -1;
}

// The nanosecond figures are summed over the threads alive at the moment: a
// thread that ends between two readings takes its share with it.  The
// process's own utime + stime keeps the share of ended threads, but counts in
// whole clock ticks (10 ms); both are reported.
Usage usage(pid_t pid)
{
    Usage total;
    {
        std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
        std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
        // Fields after the command name, which is in parentheses and may hold blanks.
        std::istringstream fields(text.substr(text.rfind(')') + 2));
        std::string field;
        unsigned long long ticks = 0;
        for (int number = 3; number <= 15 && fields >> field; ++number)
            if (number == 14 || number == 15)
                ticks += std::stoull(field);
        total.process_ms = ticks * 1000.0 / sysconf(_SC_CLK_TCK);
    }
    const std::string tasks = "/proc/" + std::to_string(pid) + "/task";
    DIR *dir = opendir(tasks.c_str());
    if (!dir)
        fail("the program is gone");
    while (dirent *entry = readdir(dir)) {
        if (entry->d_name[0] == '.')
            continue;
        const std::string task = tasks + "/" + entry->d_name;
        std::ifstream schedstat(task + "/schedstat");
        long long on_cpu_ns = 0;
        if (schedstat >> on_cpu_ns)
            total.cpu_ms += on_cpu_ns / 1e6;
        const long voluntary = status_field(task + "/status", "voluntary_ctxt_switches");
        const long involuntary = status_field(task + "/status", "nonvoluntary_ctxt_switches");
        if (voluntary > 0)
            total.switches += voluntary;
        if (involuntary > 0)
            total.switches += involuntary;
    }
    closedir(dir);
    return total;
}

long window_pid(Display *display, Window window)
{
    static const Atom net_wm_pid = XInternAtom(display, "_NET_WM_PID", False);
    Atom type = None;
    int format = 0;
    unsigned long items = 0, after = 0;
    unsigned char *data = nullptr;
    long pid = -1;
    if (XGetWindowProperty(display, window, net_wm_pid, 0, 1, False, XA_CARDINAL, &type, &format,
                           &items, &after, &data) == Success &&
        data && items == 1 && format == 32)
        pid = static_cast<long>(*reinterpret_cast<unsigned long *>(data));
    if (data)
        XFree(data);
    return pid;
}

// Byte 0..255 of `pixel` under `mask` (a TrueColor visual's channel mask).
unsigned channel(unsigned long pixel, unsigned long mask)
{
    if (mask == 0)
        return 0;
    int shift = 0;
    while (!((mask >> shift) & 1))
        ++shift;
    const unsigned long top = mask >> shift;
    return static_cast<unsigned>(((pixel & mask) >> shift) * 255 / top);
}

void save_ppm(XImage *image, const char *path)
{
    FILE *file = std::fopen(path, "wb");
    if (!file)
        return;
    std::fprintf(file, "P6\n%d %d\n255\n", image->width, image->height);
    for (int y = 0; y < image->height; ++y) {
        for (int x = 0; x < image->width; ++x) {
            const unsigned long pixel = XGetPixel(image, x, y);
            std::fputc(channel(pixel, image->red_mask), file);
            std::fputc(channel(pixel, image->green_mask), file);
            std::fputc(channel(pixel, image->blue_mask), file);
        }
    }
    std::fclose(file);
}

// Colours in the window, counted up to one more than a painted frame needs.
// With `shot`, a frame that counts as painted is also saved there.
size_t colours_in(Display *display, Window window, int width, int height, const char *shot)
{
    XImage *image = XGetImage(display, window, 0, 0, width, height, AllPlanes, ZPixmap);
    if (!image)
        return 0;
    std::unordered_set<unsigned long> colours;
    for (int y = 0; y < height && colours.size() <= kPaintedColours; y += 2)
        for (int x = 0; x < width && colours.size() <= kPaintedColours; x += 2)
            colours.insert(XGetPixel(image, x, y));
    if (shot && colours.size() >= kPaintedColours)
        save_ppm(image, shot);
    XDestroyImage(image);
    return colours.size();
}

std::string run_probe(const char *command, pid_t pid)
{
    const std::string line =
        std::string("/bin/sh -c '") + command + "' probe " + std::to_string(pid);
    FILE *pipe = popen(line.c_str(), "r");
    if (!pipe)
        return {};
    std::string output;
    char buffer[256];
    while (std::fgets(buffer, sizeof buffer, pipe))
        output += buffer;
    pclose(pipe);
    for (char &c : output)
        if (c == '\n')
            c = ' ';
    return output;
}

} // namespace

int main(int argc, char **argv)
{
    int want_width = 640, want_height = 480;
    double idle_seconds = 10.0;
    const char *probe = nullptr;
    const char *shot = nullptr;
    double timeout_ms = 30000;
    int first = 1;
    for (; first < argc; ++first) {
        const std::string arg = argv[first];
        if (arg == "--") {
            ++first;
            break;
        }
        if (arg == "--size" && first + 1 < argc) {
            if (std::sscanf(argv[++first], "%dx%d", &want_width, &want_height) != 2)
                fail("--size wants WIDTHxHEIGHT");
        } else if (arg == "--idle" && first + 1 < argc) {
            idle_seconds = std::atof(argv[++first]);
        } else if (arg == "--probe" && first + 1 < argc) {
            probe = argv[++first];
        } else if (arg == "--shot" && first + 1 < argc) {
            shot = argv[++first];
        } else if (arg == "--timeout" && first + 1 < argc) {
            timeout_ms = std::atof(argv[++first]) * 1000;
        } else {
            fail("usage: first_frame [--size WxH] [--idle SECONDS] [--probe COMMAND] "
                 "[--shot FILE.ppm] [--timeout SECONDS] -- PROGRAM [ARG...]");
        }
    }
    if (first >= argc)
        fail("no program given");
    if (probe && std::strchr(probe, '\''))
        fail("--probe must not contain single quotes");

    Display *display = XOpenDisplay(nullptr);
    if (!display)
        fail("cannot open the X display");
    int damage_event = 0, damage_error = 0;
    if (!XDamageQueryExtension(display, &damage_event, &damage_error))
        fail("the X server has no DAMAGE extension");
    const Window root = DefaultRootWindow(display);
    XSelectInput(display, root, SubstructureNotifyMask);
    const Damage damage = XDamageCreate(display, root, XDamageReportRawRectangles);
    XSync(display, False);

    const double start = now_ms();
    child = fork();
    if (child < 0)
        fail("cannot fork");
    if (child == 0) {
        close(ConnectionNumber(display));
        // Standard output carries the result line; the program's own goes
        // to /dev/null.
        const int null = open("/dev/null", O_WRONLY);
        if (null >= 0)
            dup2(null, STDOUT_FILENO);
        execvp(argv[first], argv + first);
        std::perror("first_frame: exec");
        _exit(127);
    }

    Window window = None;
    double map_ms = -1, frame_ms = -1;
    const int fd = ConnectionNumber(display);
    while (frame_ms < 0) {
        if (!XPending(display)) {
            const double left = timeout_ms - (now_ms() - start);
            if (left <= 0)
                fail("no painted frame in time");
            pollfd wait_for{fd, POLLIN, 0};
            poll(&wait_for, 1, static_cast<int>(left < 100 ? left : 100));
            int status = 0;
            if (waitpid(child, &status, WNOHANG) == child) {
                child = -1;
                fail("the program ended before its first frame");
            }
            continue;
        }
        XEvent event;
        XNextEvent(display, &event);
        const double at = now_ms() - start;
        if (event.type == MapNotify && window == None) {
            XWindowAttributes attributes;
            const Window mapped = event.xmap.window;
            if (XGetWindowAttributes(display, mapped, &attributes) &&
                attributes.width == want_width && attributes.height == want_height &&
                !attributes.override_redirect && window_pid(display, mapped) == child) {
                window = mapped;
                map_ms = at;
            }
        } else if (event.type == damage_event + XDamageNotify && window != None) {
            const auto &drawn = reinterpret_cast<const XDamageNotifyEvent &>(event);
            XWindowAttributes attributes;
            if (!XGetWindowAttributes(display, window, &attributes))
                continue;
            const bool inside = drawn.area.x < attributes.x + attributes.width &&
                                drawn.area.x + drawn.area.width > attributes.x &&
                                drawn.area.y < attributes.y + attributes.height &&
                                drawn.area.y + drawn.area.height > attributes.y;
            if (inside && colours_in(display, window, attributes.width, attributes.height, shot) >=
                              kPaintedColours)
                frame_ms = at;
        }
    }
    XDamageDestroy(display, damage);
    XSync(display, False);

    const Usage at_frame = usage(child);
    std::this_thread::sleep_for(std::chrono::duration<double>(idle_seconds));
    const Usage after_idle = usage(child);
    const std::string status = "/proc/" + std::to_string(child) + "/status";
    const long peak_kb = status_field(status, "VmHWM");
    const long threads = status_field(status, "Threads");
    const std::string probed = probe ? run_probe(probe, child) : std::string();

    std::printf("map_ms=%.1f frame_ms=%.1f startup_cpu_ms=%.1f idle_cpu_ms=%.2f "
                "idle_tick_ms=%.0f idle_switches=%ld peak_kb=%ld threads=%ld %s\n",
                map_ms, frame_ms, at_frame.cpu_ms, after_idle.cpu_ms - at_frame.cpu_ms,
                after_idle.process_ms - at_frame.process_ms,
                after_idle.switches - at_frame.switches, peak_kb, threads, probed.c_str());

    kill(child, SIGTERM);
    for (int i = 0; i < 50; ++i) {
        if (waitpid(child, nullptr, WNOHANG) == child)
            return 0;
        usleep(100000);
    }
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    return 0;
}
