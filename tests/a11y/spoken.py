# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 ぴこまる developers
"""Plays a problem of the real program by keys alone under a real screen reader, Orca, speaking
through speech-dispatcher, and checks what Orca says: the problem as a row opens, the mark, the
row's new status line with its next problem, and the text of a message and of a question as they
open. Runs inside its own D-Bus session on $DISPLAY; starts openbox, the speech server, Orca and
the program, and ends them. Every wait is for a line of Orca's own log, within a bound generous
enough for a loaded machine. Exits non-zero on any failure.

    spoken.py PROGRAM WORK_FOLDER
"""
import atexit
import os
import re
import subprocess
import sys
import time

program, work = sys.argv[1], sys.argv[2]
BOUND = 90  # seconds for any one wait; a whole run takes about twenty
log_path = os.path.join(work, "orca.log")
processes = []

# Orca as its launcher starts it, but with a log written line by line (the launcher's is written
# a block at a time, too late to wait for) and without the launcher's check for other screen
# readers of this user, which would refuse to start beside one in the user's own session.
ORCA = """
import sys
from orca import debug, orca
debug.debugLevel = debug.LEVEL_INFO
debug.debugFile = open(sys.argv[1], "w", buffering=1)
manager = orca.getSettingsManager()
manager.activate(sys.argv[2], {})
sys.path.insert(0, manager.getPrefsDir())
sys.exit(orca.main())
"""

# A speech-dispatcher output module that takes every line and says nothing, on no sound card.
SPEECHD_CONF = 'AddModule "silent" "sd_generic" "silent.conf"\nDefaultModule silent\n' \
    'AudioOutputMethod "alsa"\nAudioALSADevice "null"\nDisableAutoSpawn\n'
SILENT_CONF = 'GenericExecuteSynth "true"\nGenericLanguage "en" "en" "utf-8"\n' \
    'AddVoice "en" "MALE1" "en"\n'


def start(*command, **options):
    process = subprocess.Popen(command, **options)
    processes.append(process)
    return process


def wait_until(what, ready):
    deadline = time.monotonic() + BOUND
    while time.monotonic() < deadline:
        found = ready()
        if found:
            return found
        for p in processes:
            if p.poll() is not None:
                fail(f"{p.args[0]} ended (status {p.returncode}) while waiting for {what}")
        time.sleep(0.05)
    fail(f"timed out after {BOUND} s waiting for {what}")


def spoken():
    """Every line Orca has said, in order."""
    try:
        with open(log_path, encoding="utf-8", errors="replace") as log:
            return re.findall(r"SPEECH OUTPUT: '(.*?)'[ {]", log.read())
    except FileNotFoundError:
        return []


heard = 0  # how many of Orca's lines the steps so far have looked at


def hear(what, pattern):
    """Waits for Orca to say a line matching pattern after the lines already heard; returns its
    match."""
    global heard

    def find():
        global heard
        lines = spoken()
        for i in range(heard, len(lines)):
            match = re.search(pattern, lines[i])
            if match:
                heard = i + 1
                return match
        return None
    return wait_until(what, find)


def keys(*names):
    subprocess.run(["xdotool", "key", "--delay", "50", *names], check=True)


def fail(message):
    print(f"FAILED: {message}\nOrca said, last first:", file=sys.stderr)
    for line in reversed(spoken()[-25:]):
        print(f"  {line}", file=sys.stderr)
    stop()
    sys.exit(1)


def stop():
    """Ends what was started, the last first, each before the next: Orca says goodbye through the
    speech server."""
    for p in reversed(processes):
        p.terminate()
        try:
            p.wait(timeout=30)
        except subprocess.TimeoutExpired:
            p.kill()
            p.wait()
    processes.clear()


# Whatever ends the run, a failed key press or any other exception included, ends what it started.
atexit.register(stop)


def setting_up():
    home = os.path.join(work, "home")
    for sub in ("runtime", "config/speech-dispatcher/modules", "prefs", "home"):
        os.makedirs(os.path.join(work, sub), mode=0o700, exist_ok=True)
    os.environ.update(HOME=home, XDG_RUNTIME_DIR=os.path.join(work, "runtime"),
                      XDG_CONFIG_HOME=os.path.join(work, "config"),
                      XDG_DATA_HOME=os.path.join(home, "data"),
                      XDG_CACHE_HOME=os.path.join(home, "cache"), GSETTINGS_BACKEND="memory",
                      LANG="C.UTF-8", LC_ALL="C.UTF-8")
    conf = os.path.join(work, "config", "speech-dispatcher")
    with open(os.path.join(conf, "speechd.conf"), "w") as f:
        f.write(SPEECHD_CONF)
    with open(os.path.join(conf, "modules", "silent.conf"), "w") as f:
        f.write(SILENT_CONF)

    quiet = {"stdout": subprocess.DEVNULL, "stderr": open(os.path.join(work, "services.log"), "w")}
    start("openbox", **quiet)
    wait_until("openbox", lambda: b" = " in subprocess.run(
        ["xprop", "-root", "_NET_WORKAREA"], capture_output=True).stdout)
    start("speech-dispatcher", "--run-single", "--timeout", "0", "--log-dir", work, **quiet)
    socket = os.path.join(work, "runtime", "speech-dispatcher", "speechd.sock")
    wait_until("the speech server", lambda: os.path.exists(socket))
    start("/usr/bin/python3", "-c", ORCA, log_path, os.path.join(work, "prefs"), **quiet)
    hear("Orca", r"^Screen reader on")
    env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_QPA_PLATFORM="xcb")
    start(program, env=env, stdout=subprocess.DEVNULL,
          stderr=open(os.path.join(work, "program.log"), "w"))
    window = wait_until("the window", lambda: subprocess.run(
        ["xdotool", "search", "--onlyvisible", "--name", "ぴこまる Ver"],
        capture_output=True, text=True).stdout.split())
    subprocess.run(["xdotool", "windowactivate", "--sync", window[0]], check=True)


setting_up()
hear("the first button", r"^たしざん push button")
keys("space")
hear("the addition panel's first level", r"^L01 ")
keys("Down", "Down")
hear("level 3", r"^L03 ")
keys("Tab")
hear("けってい", r"^けってい push button")
keys("space")
hear("the first row", r"^ここをクリックしてください。（1ばんめ） push button")

keys("space")
problem = hear("the problem as the row opens",
               r"^notification レベル 3 \( 1\) せいせき： (\d+) ＋ (\d+) ＝$")
keys("Return")
hear("the message's text", r"^ぴこまる01 dialog こたえをタイプしてください。$")
keys("Return")
hear("the focus back in the answer box", r"^こたえ（1ばんめ） text")
keys(*str(int(problem[1]) + int(problem[2])), "Return")
hear("せいかい", r"^notification せいかい（1ばんめ）$")
problem = hear("the next problem with the mark in the status line",
               r"^notification レベル 3 \( 2\) せいせき：○ (\d+) ＋ (\d+) ＝$")
keys(*str(int(problem[1]) + int(problem[2]) + 1), "Return")
hear("ちがう", r"^notification ちがう（1ばんめ）$")
# Keys pressed while the mark shows wait for it to go.
keys("shift+Tab", "shift+Tab")
hear("終わる", r"^終わる push button")
keys("space")
hear("the question's text",
     r"^ぴこまる01 dialog けいさんれんしゅうは、みなさん　おわりましたか？$")
hear("the question's default button", r"^いいえ push button")
stop()

lines = spoken()
print("what Orca said:")
for line in lines[lines.index("Screen reader on."):]:
    print(f"  {line}")
