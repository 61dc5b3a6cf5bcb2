#!/usr/bin/python3
"""Start-up with and without a sound device, and with a sound server that is
missing or never answers: from spawning the game to its first status line,
which it prints right after its first frame, on SDL's dummy video driver
unless SDL_VIDEODRIVER names another (x11 under xvfb-run, for a real window).
Each setting runs ROUNDS times, the settings taking turns; the figures are
medians in milliseconds, with the time from SIGTERM to the process's end.

Usage: bench/sound_startup.py GAME [GAME_BEFORE_SOUND]
With PULSE_SERVER set, the server it names is one more setting.
"""
import os, socket, statistics, subprocess, sys, tempfile, threading, time  # noqa: E401

ROUNDS = 25


def start_up(binary, env):
    """Seconds to the first status line, and from SIGTERM to the exit."""
    began = time.monotonic()
    game = subprocess.Popen([binary], env=env, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
    while game.stdout.read(1) not in (b"\r", b""):
        pass
    shown = time.monotonic() - began
    stopped = time.monotonic()
    game.terminate()
    game.stdout.read()
    if game.wait(60) != 0:
        raise RuntimeError("%s ended with %d" % (binary, game.returncode))
    return shown, time.monotonic() - stopped


def silent_server(path):
    """A PulseAudio socket that takes every connection and never answers."""
    server = socket.socket(socket.AF_UNIX)
    server.bind(path)
    server.listen(64)
    held = []

    def serve():
        while True:
            held.append(server.accept())
    threading.Thread(target=serve, daemon=True).start()


def main(game, before=None):
    base = {k: v for k, v in os.environ.items() if not k.startswith(("SDL_", "PULSE_"))}
    base["SDL_VIDEODRIVER"] = os.environ.get("SDL_VIDEODRIVER", "dummy")
    folder = tempfile.mkdtemp()
    silent_server(os.path.join(folder, "silent"))
    settings = [
        ("dummy audio device", game, dict(base, SDL_AUDIODRIVER="dummy")),
        ("no device: no server, no sound card", game, dict(base, PULSE_SERVER="unix:/nonexistent")),
        ("a server that never answers", game, dict(base, PULSE_SERVER="unix:" + os.path.join(folder, "silent"))),
    ]
    if "PULSE_SERVER" in os.environ:
        settings.append(("the server PULSE_SERVER names", game, dict(base, PULSE_SERVER=os.environ["PULSE_SERVER"])))
    if before:
        settings.append(("the game before sound", before, dict(base, PULSE_SERVER="unix:/nonexistent")))
    times = {name: [] for name, _, _ in settings}
    for _ in range(ROUNDS):
        for name, binary, env in settings:
            times[name].append(start_up(binary, env))
    print("| setting | first frame | SIGTERM to exit |\n|---|---:|---:|")
    for name, runs in times.items():
        shown = statistics.median(t[0] for t in runs) * 1e3
        ended = statistics.median(t[1] for t in runs) * 1e3
        print("| %s | %.1f ms (%.1f to %.1f) | %.1f ms |" % (
            name, shown, min(t[0] for t in runs) * 1e3, max(t[0] for t in runs) * 1e3, ended))


if __name__ == "__main__":
    main(*sys.argv[1:])
