"""What every benchmark shares: data folders, and whole processes timed from outside, side by side.

Each program is run in turn with the others (A B A B ...), each run timed with time.perf_counter
around subprocess.run and its peak memory read from /usr/bin/time; a figure is the median. A figure
of a few milliseconds inside a longer process (a key in the exam) is timed by the program itself:
it prints "<name> <count> <nanoseconds>" as its last line, and the time of one is taken."""
import contextlib
import os
import signal
import statistics
import subprocess
import sys
import tempfile
import time

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), ".."))
BUILD = os.path.join(ROOT, "build")


def program(name):
    path = os.path.join(BUILD, "bench", name)
    if not os.path.exists(path):
        sys.exit(f"{path} is missing: build the tree first (cmake --build build)")
    return path


def shipped_data(where):
    """A data folder made from the bank's sources; returns the XDG_DATA_HOME that holds it."""
    subprocess.run([os.path.join(BUILD, "tools", "make-datadir"), "--out", os.path.join(where, "vkimgdir")],
                   check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    return where


def scaled_data(source_home, questions, where):
    subprocess.run([os.path.join(ROOT, "bench", "scale", "make-bank"), os.path.join(source_home, "vkimgdir"),
                    str(questions), os.path.join(where, "vkimgdir")], check=True, stdout=subprocess.DEVNULL)
    return where


def inner_seconds(output):
    """The time of one of what the program timed itself, from its last line "<name> <count> <ns>"."""
    _, count, nanoseconds = output.split()[-3:]
    return int(nanoseconds) / int(count) / 1e9


def measure(commands, data_home, runs, inner=False):
    """commands: {label: argv} run over data_home, or {label: (argv, its own data home)}.
    Returns {label: (median seconds, median peak MiB)}; with inner, the seconds are what each
    program timed itself (see inner_seconds) instead of the whole process."""
    homes = {label: c[1] if isinstance(c, tuple) else data_home for label, c in commands.items()}
    commands = {label: c[0] if isinstance(c, tuple) else c for label, c in commands.items()}
    times = {label: [] for label in commands}
    memory = {label: [] for label in commands}
    with tempfile.NamedTemporaryFile() as report:
        def once(label):
            start = time.perf_counter()
            env = dict(os.environ, QT_QPA_PLATFORM="offscreen", XDG_DATA_HOME=homes[label])
            done = subprocess.run(["/usr/bin/time", "-f", "%M", "-o", report.name] + commands[label], env=env,
                                  check=True, stdout=subprocess.PIPE if inner else subprocess.DEVNULL,
                                  stderr=subprocess.DEVNULL, text=True)
            elapsed = inner_seconds(done.stdout) if inner else time.perf_counter() - start
            with open(report.name) as f:
                return elapsed, int(f.read().split()[-1]) / 1024
        for label in commands:  # warm the file cache and the loader
            once(label)
        for _ in range(runs):
            for label in commands:
                t, m = once(label)
                times[label].append(t)
                memory[label].append(m)
    return {label: (statistics.median(times[label]), statistics.median(memory[label])) for label in commands}


ACTIONS = [
    ("review", "opening the question review window"),
    ("signs", "opening the signs window"),
    ("category", "picking a category"),
    ("next", "one next step with its picture"),
    ("grade", "grade, result window"),
]


# A key in an open exam, its repaint included, with the exam's overview against the same keys with
# the overview hidden: the same program, so the ratio is what the overview adds.
EXAM_KEYS = ("keys", "keys-bare", "a key in the exam with its overview")

# Opening the Leitner window against opening a review window, each timed by the program from the
# idle main window to the window painted.
LEITNER_OPEN = ("open-leitner", "open-review", "opening Leitner (floor: review window)")


# The read-aloud key to the engine speaking, against a bare program with the same engine saying a
# sentence: as soon as the window shows (the engine still being made; floor: making it and saying),
# the first key once the engine is ready, and a key after a reading was stopped (floor: a ready
# engine saying). The figures: (ours' action, the floor's, the figure's name).
SPEECH = [
    ("cold", "cold", "F4 to speech, at the window's opening"),
    ("first", "warm", "F4 to speech, first key"),
    ("again", "warm", "F4 to speech, again"),
]


@contextlib.contextmanager
def private_speech(where):
    """A speech-dispatcher of the benchmark's own, spawned by the first program that speaks: its
    runtime folder and configuration under where, its sound to ALSA's null device. Ended after."""
    runtime = os.path.join(where, "speech-run")
    config = os.path.join(where, "speech-config", "speech-dispatcher")
    os.makedirs(runtime, mode=0o700, exist_ok=True)
    os.makedirs(config, exist_ok=True)
    with open(os.path.join(config, "speechd.conf"), "w") as f:
        f.write('AudioOutputMethod "alsa"\nAudioALSADevice "null"\nDefaultModule espeak-ng\n')
    before = {k: os.environ.get(k) for k in ("XDG_RUNTIME_DIR", "XDG_CONFIG_HOME")}
    os.environ["XDG_RUNTIME_DIR"] = runtime
    os.environ["XDG_CONFIG_HOME"] = os.path.dirname(config)
    try:
        yield
    finally:
        for k, v in before.items():
            if v is None:
                os.environ.pop(k, None)
            else:
                os.environ[k] = v
        pid_file = os.path.join(runtime, "speech-dispatcher", "pid", "speech-dispatcher.pid")
        with contextlib.suppress(OSError, ValueError):
            with open(pid_file) as f:
                os.kill(int(f.read().strip()), signal.SIGTERM)


def within(seconds, limit):
    """An absolute target beside the ratio: "(within 300 ms)" or "(OVER 300 ms)"."""
    return f"   {'within' if seconds <= limit else 'OVER'} {limit * 1000:.0f} ms"


def row(figure, ours, floor, target):
    ratio = ours / floor
    mark = "" if ratio <= target else "  OVER"
    # Figures under 10 ms (a single key) get a second decimal.
    places = 2 if max(ours, floor) < 0.01 else 1
    return (f"{figure:40s} {ours * 1000:8.{places}f} ms {floor * 1000:8.{places}f} ms {ratio:6.2f}   "
            f"<= {target:.1f}{mark}")


def header():
    return f"{'figure':40s} {'ours':>11s} {'floor':>11s} {'ratio':>6s}   target"
