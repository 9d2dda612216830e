"""Hears the program as a blind student does: Debian's Orca in its default
settings, in Spanish, keys typed through the X server, and what Orca says
read from its debug log, on the desktop, then in Chromium and Firefox.

Run by scripts/test.sh through xsession.sh, on a display and session bus of its own:
    /usr/bin/python3 orca_client.py DESKTOP_PROGRAM PAGE.html
Each row waits for Orca's words, never for a fixed time: it falls behind
under a burst of keys, and a slow machine only waits longer.
"""
import fcntl
import json
import os
import pty
import re
import shutil
import subprocess
import sys
import tempfile
import threading
import time
import tty

DEADLINE = 30.0  # seconds for the words of any one row
SPEECH = "SPEECH OUTPUT: "
UTTERANCE = re.compile(SPEECH + r"'(.*)'\s*(\{[^{}]*\})?$")

# Onda 1 with A1 = 50, ω1 = 10 and T = 100, each slider at its end; worked
# out by hand from 50·sin(10·t) at the plot's samples t = 100·k/9500: the
# text 50,0 is first reached at k = 15 (t = 0,158), -50,0 at k = 45
# (t = 0,474). At the trace points: sin 10 = -0,544, sin 110 = -0,044,
# sin 1000 = 0,827, sin 990 = -0,388.
WORDS = ("Onda 1, en azul. Valores de -50 a 50; tiempo de 0 a 100. "
         "Onda 1: mínimo -50,0 en t = 0,5; máximo 50,0 en t = 0,2.")
KEYS = "Alt+T: modo de audio. Intro: escuchar. Flechas: recorrer."

# The keys, as xdotool names them, and what Orca must say after them, in
# order. From the plot box, Tab reaches HScroll1 to HScroll6, "Onda 1",
# "Onda 2", "Todas", "Regresar", HScroll7 ("Rango"), "Resultante", "Vorel 1
# y 2"; Shift+Tab goes back the same way.
SCENARIO = [
    ("space", ["Gráfica", KEYS]),
    ("alt+t", ["Modo de audio activado."]),
    ("Return", ["No hay gráfico."]),
    ("alt+t", ["Modo de audio desactivado."]),
    ("Tab", ["Amplitud 1"]),
    ("End", ["50"]),
    ("Tab Tab", ["Frecuencia 1"]),
    ("End", ["10"]),
    ("Tab " * 8, ["Rango"]),
    ("End", ["100"]),
    ("shift+Tab " * 4, ["Onda 1"]),
    ("space", [WORDS]),
    ("shift+Tab " * 7, ["Gráfica", WORDS + " " + KEYS]),
    ("alt+t", ["Modo de audio activado."]),
    ("Right", ["t = 0,0: onda 1, 0,0"]),
    ("Right", ["t = 1,0: onda 1, -27,2"]),
    ("Next", ["t = 11,0: onda 1, -2,2"]),
    ("End", ["t = 100,0: onda 1, 41,3"]),
    ("Right", ["t = 100,0: onda 1, 41,3"]),
    # Tab and Shift+Tab leave the box at its place in the order, the mode on.
    ("Tab", ["Amplitud 1"]),
    ("Left", ["49"]),
    ("shift+Tab", ["Gráfica"]),
    ("Left", ["t = 99,0: onda 1, -19,4"]),
    ("shift+Tab", ["Vorel 1 y 2"]),
    ("Tab", ["Gráfica"]),
    ("alt+t", ["Modo de audio desactivado."]),
    ("Tab", ["Amplitud 1"]),
    ("Right", ["50"]),
]


class Failure(Exception):
    pass


class Log:
    """Orca's debug log, through a terminal so that each line comes as it
    is written rather than when Orca's file buffer fills."""

    def __init__(self, path):
        self.master, slave = pty.openpty()
        tty.setraw(slave)
        self.terminal = os.ttyname(slave)
        self.copy = open(path, "w", encoding="utf-8", errors="replace")
        self.spoken = []
        self.changed = threading.Condition()
        threading.Thread(target=self.read, daemon=True).start()

    def read(self):
        pending = b""
        while chunk := os.read(self.master, 65536):
            *lines, pending = (pending + chunk).split(b"\n")
            with self.changed:
                for line in (raw.decode("utf-8", "replace") for raw in lines):
                    self.copy.write(line + "\n")
                    if SPEECH in line:
                        said = UTTERANCE.search(line)
                        self.spoken.append(said.group(1) if said else line.split(SPEECH, 1)[1])
                self.changed.notify_all()

    def mark(self):
        with self.changed:
            return len(self.spoken)

    def wait_for(self, texts, since, what):
        """Each text in order, each within an utterance after the last."""
        deadline = time.monotonic() + DEADLINE
        at = since
        with self.changed:
            for text in texts:
                while (found := next((i for i in range(at, len(self.spoken)) if said(text, self.spoken[i])), None)) is None:
                    if not self.changed.wait(deadline - time.monotonic()):
                        heard = "\n  ".join(self.spoken[since:]) or "(nothing)"
                        raise Failure(f"{what}: Orca did not say {text!r}; it said:\n  {heard}")
                at = found + 1
            return self.spoken[since:at]


def said(text, utterance):
    """A slider's number is the whole utterance (the desktop's "10.0" for
    10); any other text may stand within a longer one."""
    if text.isdigit():
        return re.fullmatch(re.escape(text) + r"(\.0*)?\.?", utterance.strip()) is not None
    return text in utterance


def start(command, log, environment):
    return subprocess.Popen(command, env=environment, stdout=log, stderr=subprocess.STDOUT)


def end(process):
    """Asks first, as a session's end does: Orca then writes the last of its
    log, a browser ends its own helpers."""
    process.terminate()
    try:
        process.wait(10)
    except subprocess.TimeoutExpired:
        process.kill()
        process.wait()


def run_scenario(name, log):
    print(f"{name}:")
    log.wait_for(["Continuar"], log.mark(), f"{name}, the title window")
    for sequence, texts in SCENARIO:
        since = log.mark()
        subprocess.run(["xdotool", "key", "--delay", "150"] + sequence.split(), check=True)
        heard = log.wait_for(texts, since, f"{name}, after {sequence.strip()!r}")
        print(f"  {sequence.strip():<24} {' | '.join(heard)}")


# Spanish browsers, as the class's: their languages give the page's decimal
# comma, and they offer no translation of a Spanish page and no first-run
# pages of their own.
def chromium(work, page):
    profile = os.path.join(work, "chromium")
    os.makedirs(os.path.join(profile, "Default"))
    with open(os.path.join(profile, "Default", "Preferences"), "w") as preferences:
        json.dump({"intl": {"accept_languages": "es-ES,es"}, "translate": {"enabled": False}}, preferences)
    return ["chromium", "--no-sandbox", "--force-renderer-accessibility", "--lang=es-ES", "--no-first-run",
            "--disable-background-networking", "--disable-component-update", "--disable-sync", "--disable-gpu",
            "--disable-quic", f"--user-data-dir={profile}", "--window-size=1200,900", "file://" + page]


def firefox(work, page):
    profile = os.path.join(work, "firefox")
    os.makedirs(profile)
    with open(os.path.join(profile, "user.js"), "w") as user:
        for name, value in {"intl.accept_languages": "es-ES, es", "browser.translations.enable": False,
                            "browser.shell.checkDefaultBrowser": False, "browser.aboutwelcome.enabled": False,
                            "browser.startup.homepage_override.mstone": "ignore",
                            "datareporting.policy.firstRunURL": "", "browser.startup.page": 0,
                            "browser.newtab.preload": False}.items():
            user.write(f"user_pref({json.dumps(name)}, {json.dumps(value)});\n")
    return ["firefox-esr", "--no-remote", "--new-instance", "--profile", profile, "--width", "1200",
            "--height", "900", "file://" + page]


def main():
    desktop, page = sys.argv[1], os.path.abspath(sys.argv[2])
    work = tempfile.mkdtemp(prefix="orca-")
    environment = dict(os.environ, LANG="es_ES.UTF-8", LANGUAGE="es")
    environment.pop("LC_ALL", None)
    log = Log(os.path.join(work, "orca.log"))
    started = []
    try:
        for helper in (["openbox", "--sm-disable"], ["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"]):
            started.append(start(helper, subprocess.DEVNULL, environment))
        # Orca refuses to start while another of the same user runs: a
        # second check on this machine waits for the first.
        lock = open(os.path.join(tempfile.gettempdir(), f"vorel-orca-{os.getuid()}.lock"), "w")
        fcntl.flock(lock, fcntl.LOCK_EX)
        started.append(start(["orca", "--debug-file", log.terminal], open(f"{work}/orca.out", "w"), environment))
        log.wait_for([""], 0, f"Orca starting (see {work}/orca.out)")
        for name, command in (("desktop", [desktop]), ("Chromium", chromium(work, page)),
                              ("Firefox", firefox(work, page))):
            program = start(command, open(f"{work}/{name}.out", "w"), environment)
            try:
                run_scenario(name, log)
            finally:
                end(program)
    except Failure as failure:
        print("FAIL:", failure)
        print("Orca's whole log, and what the programs printed:", work)
        return 1
    finally:
        # Orca first, so that the last of its log is written.
        for process in reversed(started):
            end(process)
    shutil.rmtree(work, ignore_errors=True)
    print("PASS")
    return 0


if __name__ == "__main__":
    sys.exit(main())
