// How long the window takes to show what the user does, measured from
// outside the program as a user would see it: the pointer is moved over one
// control every 10 ms through the XTest extension, alternately onto it and off
// it, so that each move changes the control's face; the delay from each move
// to the window's next repaint of that control is read from the X server's
// Damage events. Actions (clicks, key presses, window messages) happen at
// fixed times in between, so the delays show how long the window stalls
// while it carries them out.
//
//   k4812-repaint-latency --window ID --target X,Y,W,H --away X,Y --duration MS
//                         [--action MS:click:X,Y] [--action MS:key:KEYSYM]
//                         [--action MS:post:MESSAGE] [--label NAME] [--until-window WxH]
//
// Coordinates are the window's own. Prints one line: the label, the number of
// moves, how many of them were seen repainted, and the 50th and 99th
// percentile and the longest delay in milliseconds. A move whose repaint never
// came before the end counts with the time it waited.
//
// --until-window WxH ends the phase when a new top-level window of that size
// (the dialog the action opened) first paints: the moves still waiting then waited for it,
// and later moves would be over a window that a modal dialog blocks.

#include "platform/desktop/MonitorLinkNames.h"
#include "platform/desktop/WindowMessages.h"

#include <QCoreApplication>

#include <X11/Xlib.h>
#include <X11/extensions/Xdamage.h>
#include <X11/extensions/XTest.h>

#include <poll.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

struct Point {
    int x = 0;
    int y = 0;
};

struct Rect {
    int x = 0, y = 0, w = 0, h = 0;
    bool intersects(const XRectangle& r) const
    {
        return r.x < x + w && x < r.x + int(r.width) && r.y < y + h && y < r.y + int(r.height);
    }
    Point centre() const { return {x + w / 2, y + h / 2}; }
};

struct Action {
    int atMs = 0;
    enum class Kind { Click, Key, Post } kind = Kind::Click;
    Point point;
    std::string keysym;
    int message = 0;
};

struct Options {
    Window window = 0;
    Rect target;
    Point away;
    int durationMs = 3000;
    std::vector<Action> actions;
    std::string label = "phase";
    int untilWidth = 0; // --until-window; 0 when not given
    int untilHeight = 0;
};

[[noreturn]] void usage(const char* why)
{
    std::fprintf(stderr, "k4812-repaint-latency: %s\n", why);
    std::fprintf(stderr, "usage: k4812-repaint-latency --window ID --target X,Y,W,H --away X,Y --duration MS "
                         "[--action MS:click:X,Y|MS:key:KEYSYM|MS:post:MESSAGE] [--label NAME]\n");
    std::exit(2);
}

std::vector<int> numbers(const std::string& text, std::size_t count)
{
    std::vector<int> values;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t comma = text.find(',', start);
        const std::string part = text.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        char* end = nullptr;
        const long value = std::strtol(part.c_str(), &end, 10);
        if (part.empty() || *end != '\0')
            usage(("not a number list: " + text).c_str());
        values.push_back(int(value));
        if (comma == std::string::npos)
            break;
        start = comma + 1;
    }
    if (values.size() != count)
        usage(("expected " + std::to_string(count) + " numbers: " + text).c_str());
    return values;
}

Action parseAction(const std::string& text)
{
    const std::size_t first = text.find(':');
    const std::size_t second = first == std::string::npos ? first : text.find(':', first + 1);
    if (second == std::string::npos)
        usage(("bad action: " + text).c_str());
    Action action;
    action.atMs = numbers(text.substr(0, first), 1)[0];
    const std::string kind = text.substr(first + 1, second - first - 1);
    const std::string argument = text.substr(second + 1);
    if (kind == "click") {
        const std::vector<int> xy = numbers(argument, 2);
        action.kind = Action::Kind::Click;
        action.point = {xy[0], xy[1]};
    } else if (kind == "key") {
        action.kind = Action::Kind::Key;
        action.keysym = argument;
    } else if (kind == "post") {
        action.kind = Action::Kind::Post;
        action.message = numbers(argument, 1)[0];
    } else {
        usage(("unknown action kind: " + kind).c_str());
    }
    return action;
}

Options parse(int argc, char* argv[])
{
    Options options;
    bool haveTarget = false;
    bool haveAway = false;
    for (int i = 1; i < argc; ++i) {
        const std::string name = argv[i];
        if (i + 1 >= argc)
            usage(("missing value of " + name).c_str());
        const std::string value = argv[++i];
        if (name == "--window") {
            options.window = Window(std::strtoul(value.c_str(), nullptr, 0));
        } else if (name == "--target") {
            const std::vector<int> r = numbers(value, 4);
            options.target = {r[0], r[1], r[2], r[3]};
            haveTarget = true;
        } else if (name == "--away") {
            const std::vector<int> p = numbers(value, 2);
            options.away = {p[0], p[1]};
            haveAway = true;
        } else if (name == "--duration") {
            options.durationMs = numbers(value, 1)[0];
        } else if (name == "--action") {
            options.actions.push_back(parseAction(value));
        } else if (name == "--until-window") {
            const std::size_t x = value.find('x');
            if (x == std::string::npos)
                usage(("not WxH: " + value).c_str());
            options.untilWidth = numbers(value.substr(0, x), 1)[0];
            options.untilHeight = numbers(value.substr(x + 1), 1)[0];
        } else if (name == "--label") {
            options.label = value;
        } else {
            usage(("unknown option " + name).c_str());
        }
    }
    if (options.window == 0 || !haveTarget || !haveAway)
        usage("--window, --target and --away are needed");
    std::sort(options.actions.begin(), options.actions.end(),
              [](const Action& a, const Action& b) { return a.atMs < b.atMs; });
    return options;
}

double percentile(std::vector<double> values, double p)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const std::size_t index = std::min(values.size() - 1, std::size_t(p * double(values.size() - 1) + 0.5));
    return values[index];
}

double msBetween(Clock::time_point from, Clock::time_point to)
{
    return std::chrono::duration<double, std::milli>(to - from).count();
}

class Probe {
public:
    Probe(Display* display, const Options& options) : m_display(display), m_options(options)
    {
        int errorBase = 0;
        if (!XDamageQueryExtension(display, &m_damageEvent, &errorBase))
            usage("the X server has no Damage extension");
        int eventBase = 0, major = 0, minor = 0;
        if (!XTestQueryExtension(display, &eventBase, &errorBase, &major, &minor))
            usage("the X server has no XTest extension");
        // Raw rectangles: every repaint is reported with where it happened,
        // so only repaints of the target control answer a move.
        m_damage = XDamageCreate(display, options.window, XDamageReportRawRectangles);
        if (options.untilWidth > 0)
            XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
        Window child = 0;
        XTranslateCoordinates(display, options.window, DefaultRootWindow(display), 0, 0, &m_originX, &m_originY,
                              &child);
        XSync(display, False);
    }

    void run()
    {
        const Clock::time_point start = Clock::now();
        m_start = start;
        const auto deadline = start + std::chrono::milliseconds(m_options.durationMs);
        auto nextMove = start;
        std::size_t nextAction = 0;
        while (Clock::now() < deadline && !m_newWindowPainted) {
            const Clock::time_point now = Clock::now();
            if (nextAction < m_options.actions.size()
                && now >= start + std::chrono::milliseconds(m_options.actions[nextAction].atMs)) {
                perform(m_options.actions[nextAction++]);
            }
            if (now >= nextMove) {
                move();
                nextMove += std::chrono::milliseconds(10);
            }
            readEvents(1);
        }
        // Moves still waiting for their repaint wait until the end.
        const Clock::time_point end = Clock::now();
        for (const Clock::time_point sent : m_pending)
            m_unanswered.push_back(msBetween(sent, end));
    }

    void print() const
    {
        std::vector<double> all = m_delays;
        all.insert(all.end(), m_unanswered.begin(), m_unanswered.end());
        std::printf("%-16s moves %4zu  repainted %4zu  p50 %7.2f ms  p99 %7.2f ms  max %7.2f ms",
                    m_options.label.c_str(), all.size(), m_delays.size(), percentile(all, 0.5),
                    percentile(all, 0.99), all.empty() ? 0.0 : *std::max_element(all.begin(), all.end()));
        if (m_options.untilWidth > 0) {
            if (m_newWindowAfterMs >= 0)
                std::printf("  (the new window painted %.2f ms after the phase began)", m_newWindowAfterMs);
            else
                std::printf("  (no new window painted)");
        }
        std::printf("\n");
        std::fflush(stdout);
    }

private:
    void pointerTo(Point p)
    {
        XTestFakeMotionEvent(m_display, DefaultScreen(m_display), m_originX + p.x, m_originY + p.y, CurrentTime);
    }

    // Onto the control when the pointer is off it, and off it when on it, so
    // that every move changes the control's face.
    void move()
    {
        m_onTarget = !m_onTarget;
        pointerTo(m_onTarget ? m_options.target.centre() : m_options.away);
        XFlush(m_display);
        m_pending.push_back(Clock::now());
    }

    void perform(const Action& action)
    {
        switch (action.kind) {
        case Action::Kind::Click:
            pointerTo(action.point);
            XTestFakeButtonEvent(m_display, 1, True, CurrentTime);
            XTestFakeButtonEvent(m_display, 1, False, CurrentTime);
            m_onTarget = false;
            break;
        case Action::Kind::Key: {
            const KeySym sym = XStringToKeysym(action.keysym.c_str());
            const KeyCode code = sym == NoSymbol ? 0 : XKeysymToKeycode(m_display, sym);
            if (code == 0)
                usage(("unknown key " + action.keysym).c_str());
            XTestFakeKeyEvent(m_display, code, True, CurrentTime);
            XTestFakeKeyEvent(m_display, code, False, CurrentTime);
            break;
        }
        case Action::Kind::Post:
            // The post waits for its delivery; the moves go on meanwhile.
            std::thread([message = action.message] {
                k4812::postWindowMessage(QString::fromLatin1(k4812::kConfigWindowClass), {message, 0, 0});
            }).detach();
            break;
        }
        XFlush(m_display);
    }

    void readEvents(int timeoutMs)
    {
        pollfd fd{ConnectionNumber(m_display), POLLIN, 0};
        if (XPending(m_display) == 0)
            poll(&fd, 1, timeoutMs);
        while (XPending(m_display) > 0) {
            XEvent event;
            XNextEvent(m_display, &event);
            if (event.type == MapNotify && m_options.untilWidth > 0) {
                XWindowAttributes attributes;
                if (XGetWindowAttributes(m_display, event.xmap.window, &attributes) != 0
                    && attributes.width == m_options.untilWidth && attributes.height == m_options.untilHeight)
                    XDamageCreate(m_display, event.xmap.window, XDamageReportNonEmpty);
                continue;
            }
            if (event.type != m_damageEvent + XDamageNotify)
                continue;
            const auto& damage = reinterpret_cast<const XDamageNotifyEvent&>(event);
            if (damage.drawable != m_options.window) {
                m_newWindowPainted = true;
                m_newWindowAfterMs = msBetween(m_start, Clock::now());
            } else if (!m_options.target.intersects(damage.area)) {
                continue;
            }
            const Clock::time_point now = Clock::now();
            for (const Clock::time_point sent : m_pending)
                m_delays.push_back(msBetween(sent, now));
            m_pending.clear();
        }
    }

    Display* m_display;
    const Options& m_options;
    Damage m_damage = 0;
    bool m_newWindowPainted = false;
    Clock::time_point m_start;
    double m_newWindowAfterMs = -1;
    int m_damageEvent = 0;
    int m_originX = 0;
    int m_originY = 0;
    bool m_onTarget = false;
    std::deque<Clock::time_point> m_pending;
    std::vector<double> m_delays;
    std::vector<double> m_unanswered;
};

} // namespace

int main(int argc, char* argv[])
{
    const Options options = parse(argc, argv);
    // The window messages of --action post use Qt's local sockets.
    QCoreApplication app(argc, argv);
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr)
        usage("cannot open the X display (DISPLAY)");
    {
        Probe probe(display, options);
        probe.run();
        probe.print();
    }
    XCloseDisplay(display);
    return 0;
}
