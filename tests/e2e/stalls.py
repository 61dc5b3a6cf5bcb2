# The game's status lines as the end-to-end and Wine tests read them, and
# telling a stalled machine from a fault. No pass of the main loop has a time
# limit: a player standing on the floor sinks out of the window in one pass
# longer than SINKING_PASS seconds, which the tuning values fix. Only a death
# after such a pass is a reason to play a run again; both tests share this rule.
import pathlib, re  # noqa: E401
from collections import namedtuple

TUNING = {name: float(value) for name, value in re.findall(r"double (\w+) = ([\d.]+);", (
    pathlib.Path(__file__).resolve().parents[2] / "src/world/Tuning.h").read_text())}
# The standing player's top is the floor's, 1 - blockHeight, less its own height; below 1 it has died.
SINKING_PASS = (TUNING["blockHeight"] + TUNING["playerCellSize"] * TUNING["playerHeightCells"]) / \
    TUNING["gravity"]
# Left alone on the floor, the player drifts with it out of the window's left edge after this many
# seconds of play: its right edge starts at playerStartX plus its width.
DRIFT_DEATH = (TUNING["playerStartX"] + TUNING["playerCellSize"] * TUNING["playerWidthCells"]) / TUNING["scrollSpeed"]


Status = namedtuple("Status", "dt score state debug")
STATUS = re.compile(r"(-?\d+\.\d{8}) sec\.\tScore: +(\d+) \tState: (\d) "
                    r"\tBlocks: \d+ \tTimer: -?\d+\.\d{6} \tDebug: ([01])\r")


def statuses(output):
    return [Status(float(m[1]), *map(int, m.groups()[1:])) for m in STATUS.finditer(output)]


# Whether to play a failed run again, saying why: only when the pass that killed the player was
# longer than SINKING_PASS (that pass moved the world by the time the status line before it
# prints), and at most three runs in all.
def play_again(passes, attempt, output):
    death = next((i for i, s in enumerate(passes) if s.state == 2), 0)
    if attempt == 3 or not death or passes[death - 1].dt <= SINKING_PASS:
        return False
    print("Playing again: the player died after a pass of %.3f s (%.3f s sinks it), output in %s"
          % (passes[death - 1].dt, SINKING_PASS, output), flush=True)
    return True
