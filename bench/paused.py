"""Measures what a paused game costs: the real program in the X server that
DISPLAY names, a run begun with Space and paused with Enter, its CPU time
(user and system, from /proc/PID/stat) over 10 s paused, against 4 s of the
same run playing (left alone, the player drifts out of the window in 5). Usage: xvfb-run -a python3 paused.py BINARY [ROUNDS]"""
import os
import statistics
import subprocess
import sys
import time

PAUSED = 10.0  # seconds measured
PLAYING = 4.0
SETTLE = 0.5  # seconds after a key before the measurement starts
TICKS = os.sysconf("SC_CLK_TCK")


def cpu_seconds(pid):
    # utime and stime, the 14th and 15th fields, after the command's closing parenthesis.
    fields = open("/proc/%d/stat" % pid).read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / TICKS


def xdotool(*args):
    return subprocess.run(["xdotool", *args], capture_output=True, text=True, timeout=30).stdout.strip()


def share_of_a_core(pid, seconds):
    start_cpu, start = cpu_seconds(pid), time.monotonic()
    time.sleep(seconds)
    return (cpu_seconds(pid) - start_cpu) / (time.monotonic() - start)


def one_round(binary):
    game = subprocess.Popen([binary], stdout=subprocess.DEVNULL, env=dict(os.environ, SDL_VIDEODRIVER="x11"))
    try:
        window = ""
        while not window:
            time.sleep(0.1)
            window = xdotool("search", "--onlyvisible", "--name", "^Skerrion$")
        xdotool("windowfocus", "--sync", window)
        xdotool("key", "Return")  # nothing on the start screen; the run begins with Space
        xdotool("key", "space", "Return")
        time.sleep(SETTLE)
        paused = share_of_a_core(game.pid, PAUSED)
        xdotool("key", "Return")
        time.sleep(SETTLE)
        return paused, share_of_a_core(game.pid, PLAYING)
    finally:
        game.terminate()
        game.wait(20)


def main(binary, rounds):
    results = [one_round(binary) for _ in range(rounds)]
    print("load average %.1f %.1f %.1f" % os.getloadavg())
    for name, values in zip(("paused", "playing"), zip(*results)):
        print("%s: %s of a core (median %.2f %%)" % (
            name, ", ".join("%.2f %%" % (100 * v) for v in values), 100 * statistics.median(values)))


if __name__ == "__main__":
    main(os.path.abspath(sys.argv[1]), int(sys.argv[2]) if len(sys.argv) > 2 else 3)
