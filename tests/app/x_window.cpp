// The program's window on an X display, as a window manager sees it:
//   x_window wait    waits until the window is shown
//   x_window close   then asks it to close (WM_DELETE_WINDOW), as a click on
//                    a title bar's close button does
// DISPLAY and XAUTHORITY name the display. Status 1 when no window shows
// within kPatience.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <string_view>
#include <thread>

namespace {

using namespace std::chrono_literals;

constexpr auto kPatience = 60s;  // a sanitized build on a busy machine starts slowly
constexpr auto kPoll = 100ms;
constexpr std::string_view kProgramClass = "temperature1";  // its WM_CLASS name, as Qt sets it

bool isProgram(Display* display, Window window)
{
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(display, window, &attributes) || attributes.map_state != IsViewable)
        return false;
    XClassHint hint{};
    if (!XGetClassHint(display, window, &hint))
        return false;
    const bool program = hint.res_name && kProgramClass == hint.res_name;
    XFree(hint.res_name);
    XFree(hint.res_class);
    return program;
}

Window programWindow(Display* display)
{
    Window root = 0;
    Window parent = 0;
    Window* children = nullptr;
    unsigned count = 0;
    Window found = 0;
    if (XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count)) {
        for (unsigned i = 0; i < count && !found; ++i)
            if (isProgram(display, children[i]))
                found = children[i];
        XFree(children);
    }
    return found;
}

void askToClose(Display* display, Window window)
{
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, window, False, NoEventMask, &event);
    XFlush(display);
}

}  // namespace

int main(int argc, char** argv)
{
    const bool close = argc == 2 && std::strcmp(argv[1], "close") == 0;
    if (argc != 2 || (!close && std::strcmp(argv[1], "wait") != 0)) {
        std::fputs("usage: x_window wait|close\n", stderr);
        return 2;
    }
    const auto deadline = std::chrono::steady_clock::now() + kPatience;
    Display* display = nullptr;
    Window window = 0;
    while (!window && std::chrono::steady_clock::now() < deadline) {
        if (!display)
            display = XOpenDisplay(nullptr);
        if (display)
            window = programWindow(display);
        if (!window)
            std::this_thread::sleep_for(kPoll);
    }
    if (!window) {
        std::fputs("x_window: the program's window did not show\n", stderr);
        return 1;
    }
    if (close)
        askToClose(display, window);
    XCloseDisplay(display);
    return 0;
}
