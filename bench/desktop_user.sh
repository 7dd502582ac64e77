#!/bin/sh
# The desktop program's search as a user waits for it, beside kowacht's:
#
#   bench/desktop_user.sh TREE [turns]
#
# On an X server of its own under openbox, the program starts with TREE as its start folder
# (subfolders included, no marked folders); once its window is up, the key that presses
# "Starten" (Alt+S) goes to it, and the time runs until openbox manages a window titled
# "Suchergebnis …", its list of windows polled every 20 ms. kowacht -r -q TREE runs in turns with it. Prints the medians:
# desktop seconds, kowacht seconds.
set -eu
TREE=$1
TURNS=${2:-15}
HERE=$(cd "$(dirname "$0")" && pwd)
ROOT=$(cd "$HERE/.." && pwd)
export KW_DESKTOP=${KW_DESKTOP:-$ROOT/build/bin/kopienwacht} KW_KOWACHT=$ROOT/build/bin/kowacht KW_TREE=$TREE KW_TURNS=$TURNS
for tool in xvfb-run openbox xdotool python3; do
    command -v "$tool" >/dev/null || { echo "$tool is needed" >&2; exit 2; }
done
xvfb-run -a -s "-screen 0 1280x1024x24" sh -c '
    openbox >/dev/null 2>&1 &
    python3 - <<"PY"
import os, shutil, statistics, subprocess, sys, tempfile, time

desktop, kowacht, tree, turns = (os.environ[k] for k in ("KW_DESKTOP", "KW_KOWACHT", "KW_TREE", "KW_TURNS"))
# The windows openbox manages, by title, asked of the X server directly (Xlib through
# ctypes): a poll costs microseconds, not a process, and takes nothing from the search.
import ctypes
x11 = ctypes.CDLL("libX11.so.6")
x11.XOpenDisplay.restype = ctypes.c_void_p
x11.XDefaultRootWindow.restype = ctypes.c_ulong
x11.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
x11.XInternAtom.restype = ctypes.c_ulong
x11.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
x11.XGetWindowProperty.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_ulong, ctypes.c_long, ctypes.c_long,
    ctypes.c_int, ctypes.c_ulong, ctypes.POINTER(ctypes.c_ulong), ctypes.POINTER(ctypes.c_int),
    ctypes.POINTER(ctypes.c_ulong), ctypes.POINTER(ctypes.c_ulong), ctypes.POINTER(ctypes.c_void_p)]
x11.XFree.argtypes = [ctypes.c_void_p]
display = x11.XOpenDisplay(None)
root = x11.XDefaultRootWindow(display)
CLIENTS = x11.XInternAtom(display, b"_NET_CLIENT_LIST", 0)
NAME = x11.XInternAtom(display, b"_NET_WM_NAME", 0)
ANY = 0

def prop(window, atom):
    kind, fmt, count, after, data = ctypes.c_ulong(), ctypes.c_int(), ctypes.c_ulong(), ctypes.c_ulong(), ctypes.c_void_p()
    if x11.XGetWindowProperty(display, window, atom, 0, 1 << 16, 0, ANY, ctypes.byref(kind), ctypes.byref(fmt),
                              ctypes.byref(count), ctypes.byref(after), ctypes.byref(data)) != 0 or not data.value:
        return fmt.value, count.value, None
    return fmt.value, count.value, data

def titles():
    fmt, count, data = prop(root, CLIENTS)
    if data is None:
        return {}
    windows = list(ctypes.cast(data, ctypes.POINTER(ctypes.c_ulong))[:count])
    x11.XFree(data)
    found = {}
    for window in windows:
        fmt, count, name = prop(window, NAME)
        if name is not None:
            found[window] = ctypes.string_at(name, count).decode("utf-8", "replace")
            x11.XFree(name)
    return found

def wait_for(prefix, step, limit=60.0):
    end = time.perf_counter() + limit
    while time.perf_counter() < end:
        for window, title in titles().items():
            if title.startswith(prefix):
                return str(window)
        time.sleep(step)
    raise SystemExit("no window " + prefix)

gui, cli = [], []
for turn in range(int(turns)):
    home = tempfile.mkdtemp(prefix="kw-bench-home-")
    os.makedirs(home + "/.config/Ostwerk")
    with open(home + "/.config/Ostwerk/Kopienwacht.conf", "w") as conf:
        conf.write("[General]\nPfad=%s\nUnterOrdner=True\nXPos=100\nYPos=100\nAnsicht=Ordner\n" % tree)
    env = dict(os.environ, HOME=home, XDG_CONFIG_HOME=home + "/.config", XDG_RUNTIME_DIR=home,
               QT_QPA_PLATFORM="xcb", LANG="de_DE.UTF-8")
    program = subprocess.Popen([desktop], env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    window = wait_for("Kopienwacht", 0.05)
    subprocess.run(["xdotool", "windowactivate", "--sync", window], capture_output=True)
    time.sleep(0.5)  # let the folder view settle, as a user looks before pressing
    start = time.perf_counter()
    subprocess.run(["xdotool", "key", "--window", window, "alt+s"], capture_output=True)
    wait_for("Suchergebnis", 0.02)
    gui.append(time.perf_counter() - start)
    program.kill()
    program.wait()
    shutil.rmtree(home, ignore_errors=True)
    start = time.perf_counter()
    subprocess.run([kowacht, "-r", "-q", tree], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    cli.append(time.perf_counter() - start)
print("%.3f %.3f" % (statistics.median(gui), statistics.median(cli)))
PY
    status=$?
    kill %1 2>/dev/null
    exit $status'
